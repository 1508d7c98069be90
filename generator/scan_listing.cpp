#include "generator/scan_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/codepage.h"

namespace galmora {

namespace {

bool is_ascii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// ASCII is the same in both code pages; anything else must convert there and
// back to exactly the same bytes.
std::optional<Text> local_name(std::string_view utf8) {
    if (is_ascii(utf8)) return Text(utf8);
    std::optional<Text> local = strict_local(utf8);
    if (!local) return std::nullopt;
    const std::optional<std::string> back = strict_utf8(*local);
    if (!back || *back != utf8) return std::nullopt;
    return local;
}

// -1 when the entry cannot be looked up, else whether it is a folder.
int folder_kind(DIR* listing, const dirent& entry) {
    if (entry.d_type == DT_DIR) return 1;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return 0;
    struct stat status;
    if (::fstatat(::dirfd(listing), entry.d_name, &status, 0) != 0) return -1;
    return S_ISDIR(status.st_mode) ? 1 : 0;
}

// The listing order: UTF-8 bytes with ASCII letters folded to upper case,
// ties by the bytes themselves. Each folded name is packed into 64-bit words
// of 8 bytes, big-endian and padded with zero bytes, so that comparing words
// in turn compares bytes in turn (no name holds a zero byte, so a name that is
// a prefix of another comes first) without a library call per comparison.
class ListingOrder {
  public:
    void add(std::string_view utf8) {
        keys_.push_back({static_cast<std::uint32_t>(words_.size()),
                         static_cast<std::uint32_t>((utf8.size() + 7) / 8),
                         static_cast<std::uint32_t>(keys_.size())});
        for (std::size_t at = 0; at < utf8.size(); at += 8) {
            std::uint64_t word = 0;
            for (std::size_t i = at; i < at + 8; ++i)
                word = word << 8 | (i < utf8.size() ? folded(utf8[i]) : 0);
            words_.push_back(word);
        }
    }
    // Indexes in listing order; raw(i) gives the UTF-8 bytes of name i.
    template <typename Raw>
    std::vector<std::uint32_t> sorted(Raw&& raw) {
        std::sort(keys_.begin(), keys_.end(), [&](const Key& a, const Key& b) {
            const std::uint32_t common = std::min(a.words, b.words);
            for (std::uint32_t i = 0; i < common; ++i) {
                const std::uint64_t x = words_[a.first + i], y = words_[b.first + i];
                if (x != y) return x < y;
            }
            if (a.words != b.words) return a.words < b.words;
            return raw(a.index) < raw(b.index);
        });
        std::vector<std::uint32_t> order;
        order.reserve(keys_.size());
        for (const Key& key : keys_) order.push_back(key.index);
        return order;
    }

  private:
    struct Key {
        std::uint32_t first, words, index;
    };
    static unsigned char folded(char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 'a' && byte <= 'z' ? byte - 'a' + 'A' : byte;
    }
    std::vector<Key> keys_;
    std::vector<std::uint64_t> words_;
};

}  // namespace

std::vector<ScanEntry> list_scan_entries(const Text& folder) {
    std::vector<ScanEntry> found;
    const std::optional<std::string> system = strict_utf8(folder);
    if (!system || system->empty() || system->find('\0') != std::string::npos) return found;
    DIR* listing = ::opendir(system->c_str());
    if (!listing) return found;
    ListingOrder order;
    std::vector<std::string> utf8_names;  // empty for an ASCII name: it is the local name
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name(entry->d_name);
        if (name == "." || name == "..") continue;
        std::optional<Text> local = local_name(name);
        const int kind = local ? folder_kind(listing, *entry) : -1;
        if (kind < 0) continue;
        order.add(name);
        utf8_names.push_back(is_ascii(name) ? std::string() : std::string(name));
        found.push_back({std::move(*local), kind == 1 && name.front() != '.'});
    }
    ::closedir(listing);
    const auto sorted = order.sorted([&](std::uint32_t i) -> std::string_view {
        return utf8_names[i].empty() ? std::string_view(found[i].name) : utf8_names[i];
    });
    std::vector<ScanEntry> entries;
    entries.reserve(found.size());
    for (std::uint32_t index : sorted) entries.push_back(std::move(found[index]));
    return entries;
}

}  // namespace galmora
