#include "core/codepage.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace galmora {

namespace {

constexpr std::string_view kLocalCodePage = "GB18030";
constexpr std::string_view kUtf8 = "UTF-8";
constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD

// What a lenient conversion does with a sequence it cannot convert: the text
// it writes instead, and how many input bytes it steps over.
struct Recovery {
    std::string_view replacement;
    std::size_t (*skip)(std::string_view rest);
};

std::size_t skip_one_byte(std::string_view) {
    return 1;
}

// A broken UTF-8 sequence is stepped over with its continuation bytes, so
// that one damaged character gives one "?".
std::size_t skip_utf8_sequence(std::string_view rest) {
    std::size_t n = 1;
    while (n < rest.size() && n < 4 && (static_cast<unsigned char>(rest[n]) & 0xC0) == 0x80) ++n;
    return n;
}

bool is_ascii(char c) {
    return static_cast<unsigned char>(c) < 0x80;
}

template <typename Output>
void append_bytes(Output& output, std::string_view bytes) {
    const auto* first = reinterpret_cast<const typename Output::value_type*>(bytes.data());
    output.insert(output.end(), first, first + bytes.size());
}

// One iconv descriptor, opened on a thread's first use and kept until the
// thread ends: a descriptor holds the state of the conversion in progress, so
// two threads must never share one.
class Converter {
  public:
    Converter(std::string_view to, std::string_view from)
        : descriptor_(iconv_open(std::string(to).c_str(), std::string(from).c_str())) {}
    ~Converter() {
        if (usable()) iconv_close(descriptor_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Appends the conversion of input to output. Without a recovery any
    // unconvertible sequence makes the result false (output is then partial).
    template <typename Output>
    bool append(std::string_view input, const Recovery* recovery, Output& output) {
        if (!usable()) return append_fallback(input, recovery, output);
        iconv(descriptor_, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(input.data());
        std::size_t in_left = input.size();
        while (in_left > 0) {
            // GB18030 gives at most 1.5 UTF-8 bytes per byte; the other way
            // can give 2 (U+0080 takes four bytes), which costs another round.
            const std::size_t written = output.size();
            output.resize(written + in_left + in_left / 2 + 8);
            char* out = reinterpret_cast<char*>(output.data()) + written;
            std::size_t out_left = output.size() - written;
            const std::size_t result = iconv(descriptor_, &in, &in_left, &out, &out_left);
            const int error = errno;
            output.resize(output.size() - out_left);
            if (result != static_cast<std::size_t>(-1)) return result == 0 || recovery != nullptr;
            if (error == E2BIG) continue;
            if (recovery == nullptr || (error != EILSEQ && error != EINVAL)) return false;
            append_bytes(output, recovery->replacement);
            const std::size_t skipped =
                std::min(in_left, recovery->skip(std::string_view(in, in_left)));
            in += skipped;
            in_left -= skipped;
            iconv(descriptor_, nullptr, nullptr, nullptr, nullptr);
        }
        return true;
    }

  private:
    bool usable() const { return descriptor_ != reinterpret_cast<iconv_t>(-1); }

    // Without a converter only ASCII passes; everything else is replaced.
    template <typename Output>
    static bool append_fallback(std::string_view input, const Recovery* recovery, Output& output) {
        for (char c : input) {
            if (is_ascii(c))
                output.push_back(static_cast<typename Output::value_type>(c));
            else if (recovery == nullptr)
                return false;
            else
                append_bytes(output, recovery->replacement);
        }
        return true;
    }

    iconv_t descriptor_;
};

Converter& local_to_utf8() {
    thread_local Converter converter(kUtf8, kLocalCodePage);
    return converter;
}

Converter& utf8_to_local() {
    thread_local Converter converter(kLocalCodePage, kUtf8);
    return converter;
}

const Recovery kLocalRecovery{kReplacementCharacter, skip_one_byte};
const Recovery kUtf8Recovery{"?", skip_utf8_sequence};

// The end of the run of ASCII bytes that begins at from.
std::size_t ascii_run_end(std::string_view text, std::size_t from) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
    while (from + 8 <= text.size()) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + from, 8);
        if ((word & kHighBits) != 0) break;
        from += 8;
    }
    while (from < text.size() && is_ascii(text[from])) ++from;
    return from;
}

// The first position after from where two ASCII bytes follow each other;
// the second of them is certainly a character of its own (see below).
std::size_t next_certain_ascii(std::string_view text, std::size_t from) {
    for (std::size_t at = from + 1; at < text.size(); ++at)
        if (is_ascii(text[at]) && is_ascii(text[at - 1])) return at;
    return text.size();
}

// Local text to UTF-8 with ASCII copied as it is. In GB18030 a byte below
// 0x80 may still be the second or fourth byte of a character (trail bytes
// 0x30-0x39 and 0x40-0x7E), but no character holds two such bytes in a row,
// and the third byte of a four-byte character is never one. So an ASCII byte
// that starts the text or follows another ASCII byte is always a character of
// its own, and iconv sees every stretch in between from one such boundary to
// the next, decoding it exactly as it would within the whole text. A
// sequence broken off at a boundary is replaced alike whether iconv finds it
// cut short (EINVAL) or followed by a byte that cannot continue it (EILSEQ).
template <typename Output>
bool append_local_as_utf8(std::string_view local, const Recovery* recovery, Output& output) {
    output.reserve(output.size() + local.size() + local.size() / 8 + 16);
    Converter& converter = local_to_utf8();
    std::size_t at = 0;
    while (at < local.size()) {
        const std::size_t stretch = ascii_run_end(local, at);
        append_bytes(output, local.substr(at, stretch - at));
        if (stretch == local.size()) break;
        at = next_certain_ascii(local, stretch);
        if (!converter.append(local.substr(stretch, at - stretch), recovery, output)) return false;
    }
    return true;
}

}  // namespace

// A lenient conversion fails only when iconv itself does; it then gives
// nothing rather than part of the text.
std::string utf8_string(std::string_view local) {
    std::string utf8;
    if (!append_local_as_utf8(local, &kLocalRecovery, utf8)) return {};
    return utf8;
}

// Pieces end where a stretch of append_local_as_utf8 may end, before a
// certainly separate ASCII byte, so each converts as it would in the whole.
bool to_utf8_in_pieces(std::string_view local, const std::function<bool(ByteView)>& sink,
                       std::size_t piece_size) {
    Bytes piece;
    std::size_t at = 0;
    while (at < local.size()) {
        const std::size_t end = at + piece_size >= local.size()
                                    ? local.size()
                                    : next_certain_ascii(local, at + piece_size);
        piece.clear();  // keeps its capacity for the next piece
        if (!append_local_as_utf8(local.substr(at, end - at), &kLocalRecovery, piece) ||
            !sink(ByteView(piece)))
            return false;
        at = end;
    }
    return true;
}

Bytes to_utf8(std::string_view local) {
    Bytes utf8;
    if (!append_local_as_utf8(local, &kLocalRecovery, utf8)) return {};
    return utf8;
}

std::optional<std::string> strict_utf8(std::string_view local) {
    std::string utf8;
    if (!append_local_as_utf8(local, nullptr, utf8)) return std::nullopt;
    return utf8;
}

std::optional<Text> strict_local(std::string_view utf8) {
    Text local;
    if (!utf8_to_local().append(utf8, nullptr, local)) return std::nullopt;
    return local;
}

Text local_text(std::string_view utf8) {
    Text local;
    if (!utf8_to_local().append(utf8, &kUtf8Recovery, local)) return {};
    return local;
}

}  // namespace galmora
