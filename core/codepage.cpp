#include "core/codepage.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>

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

// One iconv descriptor, opened on first use and kept for the whole run.
class Converter {
  public:
    Converter(std::string_view to, std::string_view from)
        : descriptor_(iconv_open(std::string(to).c_str(), std::string(from).c_str())) {}
    ~Converter() {
        if (usable()) iconv_close(descriptor_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Without a recovery any unconvertible sequence makes the result nullopt.
    std::optional<std::string> convert(std::string_view input, const Recovery* recovery) {
        if (input.empty()) return std::string();
        if (!usable()) return fallback(input, recovery);
        iconv(descriptor_, nullptr, nullptr, nullptr, nullptr);
        std::string output(input.size() * 2 + 16, '\0');
        char* in = const_cast<char*>(input.data());
        std::size_t in_left = input.size();
        std::size_t written = 0;
        while (in_left > 0) {
            char* out = output.data() + written;
            std::size_t out_left = output.size() - written;
            const std::size_t result = iconv(descriptor_, &in, &in_left, &out, &out_left);
            const int error = errno;
            written = output.size() - out_left;
            if (result != static_cast<std::size_t>(-1)) {
                if (result > 0 && recovery == nullptr) return std::nullopt;  // irreversible
                break;
            }
            if (error == E2BIG) {
                output.resize(output.size() * 2);
                continue;
            }
            if (recovery == nullptr || (error != EILSEQ && error != EINVAL)) return std::nullopt;
            output.resize(written);
            output.append(recovery->replacement);
            const std::size_t skipped =
                std::min(in_left, recovery->skip(std::string_view(in, in_left)));
            in += skipped;
            in_left -= skipped;
            written = output.size();
            output.resize(written + in_left * 2 + 16);
            iconv(descriptor_, nullptr, nullptr, nullptr, nullptr);
        }
        output.resize(written);
        return output;
    }

  private:
    bool usable() const { return descriptor_ != reinterpret_cast<iconv_t>(-1); }

    // Without a converter only ASCII passes; everything else is replaced.
    static std::optional<std::string> fallback(std::string_view input, const Recovery* recovery) {
        std::string output;
        for (char c : input) {
            if (static_cast<unsigned char>(c) < 0x80) {
                output.push_back(c);
            } else if (recovery == nullptr) {
                return std::nullopt;
            } else {
                output.append(recovery->replacement);
            }
        }
        return output;
    }

    iconv_t descriptor_;
};

Converter& local_to_utf8() {
    static Converter converter(kUtf8, kLocalCodePage);
    return converter;
}

Converter& utf8_to_local() {
    static Converter converter(kLocalCodePage, kUtf8);
    return converter;
}

const Recovery kLocalRecovery{kReplacementCharacter, skip_one_byte};
const Recovery kUtf8Recovery{"?", skip_utf8_sequence};

}  // namespace

std::string utf8_string(std::string_view local) {
    return local_to_utf8().convert(local, &kLocalRecovery).value_or(std::string());
}

Bytes to_utf8(std::string_view local) {
    const std::string utf8 = utf8_string(local);
    return Bytes(utf8.begin(), utf8.end());
}

std::optional<std::string> strict_utf8(std::string_view local) {
    return local_to_utf8().convert(local, nullptr);
}

std::optional<Text> strict_local(std::string_view utf8) {
    return utf8_to_local().convert(utf8, nullptr);
}

Text local_text(std::string_view utf8) {
    return utf8_to_local().convert(utf8, &kUtf8Recovery).value_or(Text());
}

}  // namespace galmora
