#include "generator/thumbnail_names.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>

namespace galmora {

namespace {

constexpr std::size_t kKeyDigits = 16;

// FNV-1a, 64 bits: stable across runs and machines, so that a name made by
// one generation is found again by the next.
class KeyHash {
  public:
    void add(std::string_view bytes) {
        for (char c : bytes) {
            value_ ^= static_cast<unsigned char>(c);
            value_ *= 0x100000001B3ull;
        }
    }
    void add(std::int64_t number) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
        add(std::string_view(digits, static_cast<std::size_t>(end - digits)));
        add(std::string_view("\0", 1));  // ends the field: "1","23" differs from "12","3"
    }
    std::uint64_t value() const { return value_; }

  private:
    std::uint64_t value_ = 0xCBF29CE484222325ull;
};

bool is_hex_digit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

// A positive decimal number without leading zeros at the start of text;
// how many bytes it took, 0 when there is none.
std::size_t read_number(std::string_view text, int& number) {
    if (text.empty() || text[0] < '1' || text[0] > '9') return 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || number <= 0) return 0;
    return static_cast<std::size_t>(end - text.data());
}

// Eight bytes at a time (little-endian, whatever the machine), so that a
// second generation of unchanged pictures stays cheap.
std::uint64_t sample_hash(ByteView bytes, std::uint64_t hash) {
    std::size_t at = 0;
    for (; at + 8 <= bytes.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + at, sizeof word);
        if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
        hash = (hash ^ word) * 0x9E3779B97F4A7C15ull;
        hash ^= hash >> 32;
    }
    for (; at < bytes.size(); ++at) hash = (hash ^ bytes[at]) * 0x100000001B3ull;
    return hash;
}

}  // namespace

std::uint64_t content_sample(ByteView head, ByteView tail) {
    const auto sample = [](ByteView part, bool from_end) {
        const std::size_t length = std::min(part.size(), kContentSampleBytes);
        return from_end ? part.last(length) : part.first(length);
    };
    const std::uint64_t hash = sample_hash(sample(head, false), 0xCBF29CE484222325ull);
    return sample_hash(sample(tail, true), hash ^ head.size());
}

Text thumbnail_key(std::string_view path, const FileStamp& stamp, std::uint64_t content,
                   std::string_view settings) {
    KeyHash hash;
    hash.add(path);
    hash.add(std::string_view("\0", 1));
    hash.add(stamp.size);
    hash.add(stamp.modified_ns);
    hash.add(stamp.changed_ns);
    hash.add(static_cast<std::int64_t>(content));
    hash.add(settings);
    static constexpr char kDigits[] = "0123456789abcdef";
    Text key(kKeyDigits, '0');
    std::uint64_t value = hash.value();
    for (std::size_t i = kKeyDigits; i-- > 0; value >>= 4) key[i] = kDigits[value & 0xF];
    return key;
}

Text thumbnail_file_name(std::string_view stem, int width, int height, std::string_view extension) {
    return Text(stem) + "-" + to_text(width) + "x" + to_text(height) + "." + Text(extension);
}

Text picture_file_stem(std::string_view key, std::int64_t files_bytes) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, files_bytes).ptr;
    return Text(key) + "-" + Text(digits, end);
}

Text copy_file_name(std::string_view thumbnail_name, PictureSize size) {
    const std::size_t dot = thumbnail_name.rfind('.');
    const std::size_t dash = thumbnail_name.rfind('-', dot);
    const std::string_view extension =
        dot == std::string_view::npos ? std::string_view() : thumbnail_name.substr(dot + 1);
    return thumbnail_file_name(thumbnail_name.substr(0, dash), size.width, size.height, extension);
}

bool is_thumbnail_key(std::string_view key) {
    return key.size() == kKeyDigits && std::all_of(key.begin(), key.end(), is_hex_digit);
}

std::optional<ThumbnailName> parse_thumbnail_file_name(std::string_view name) {
    if (name.size() <= kKeyDigits || name[kKeyDigits] != '-') return std::nullopt;
    const std::string_view key = name.substr(0, kKeyDigits);
    if (!is_thumbnail_key(key)) return std::nullopt;
    ThumbnailName parsed{Text(key)};
    std::string_view rest = name.substr(kKeyDigits + 1);
    // The bytes, when the name has them: a number followed by "-".
    const std::size_t dash = rest.find('-');
    if (dash != std::string_view::npos) {
        const auto [end, error] =
            std::from_chars(rest.data(), rest.data() + dash, parsed.files_bytes);
        if (error != std::errc() || end != rest.data() + dash || parsed.files_bytes <= 0 ||
            rest[0] == '0')
            return std::nullopt;
        rest.remove_prefix(dash + 1);
    }
    std::size_t used = read_number(rest, parsed.width);
    if (used == 0 || used >= rest.size() || rest[used] != 'x') return std::nullopt;
    rest.remove_prefix(used + 1);
    used = read_number(rest, parsed.height);
    if (used == 0) return std::nullopt;
    rest.remove_prefix(used);
    if (rest != ".jpg" && rest != ".webp") return std::nullopt;
    return parsed;
}

}  // namespace galmora
