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

// Sorted by the UTF-8 bytes with ASCII letters folded to upper case, ties by
// the bytes themselves, as DirectoryScan lists. An ASCII name is the same in
// both code pages, so only other names keep their UTF-8 form apart.
struct SortKey {
    std::string folded;
    std::uint32_t index;
};

std::string folded_key(std::string_view utf8) {
    std::string key(utf8);
    for (char& c : key)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return key;
}

}  // namespace

std::vector<ScanEntry> list_scan_entries(const Text& folder) {
    std::vector<ScanEntry> found;
    const std::optional<std::string> system = strict_utf8(folder);
    if (!system || system->empty() || system->find('\0') != std::string::npos) return found;
    DIR* listing = ::opendir(system->c_str());
    if (!listing) return found;
    std::vector<SortKey> keys;
    std::vector<std::string> utf8_names;  // empty for an ASCII name
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name(entry->d_name);
        if (name == "." || name == "..") continue;
        std::optional<Text> local = local_name(name);
        const int kind = local ? folder_kind(listing, *entry) : -1;
        if (kind < 0) continue;
        keys.push_back({folded_key(name), static_cast<std::uint32_t>(found.size())});
        utf8_names.push_back(is_ascii(name) ? std::string() : std::string(name));
        found.push_back({std::move(*local), kind == 1 && name.front() != '.'});
    }
    ::closedir(listing);
    auto utf8_of = [&](std::uint32_t i) -> std::string_view {
        return utf8_names[i].empty() ? std::string_view(found[i].name) : utf8_names[i];
    };
    std::sort(keys.begin(), keys.end(), [&](const SortKey& a, const SortKey& b) {
        const int order = a.folded.compare(b.folded);
        return order != 0 ? order < 0 : utf8_of(a.index) < utf8_of(b.index);
    });
    std::vector<ScanEntry> entries;
    entries.reserve(found.size());
    for (const SortKey& key : keys) entries.push_back(std::move(found[key.index]));
    return entries;
}

}  // namespace galmora
