#include "core/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

#include "core/codepage.h"
#include "core/files.h"
#include "core/listing_order.h"
#include "core/system_path.h"

namespace galmora {

namespace {

// Code points of a UTF-8 name with ASCII letters folded to upper case. The
// names reaching here are valid UTF-8; a stray byte simply stands for itself.
std::vector<std::uint32_t> folded_code_points(std::string_view utf8) {
    std::vector<std::uint32_t> points;
    points.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        std::uint32_t point = length == 1 ? lead : lead & (0x7F >> length);
        std::size_t n = 1;
        for (; n < length && i + n < utf8.size(); ++n)
            point = (point << 6) | (static_cast<unsigned char>(utf8[i + n]) & 0x3F);
        if (point >= 'a' && point <= 'z') point -= 'a' - 'A';
        points.push_back(point);
        i += n;
    }
    return points;
}

// Greedy matching with one remembered "*": linear in practice, never
// exponential.
bool match_points(const std::vector<std::uint32_t>& pattern,
                  const std::vector<std::uint32_t>& name) {
    std::size_t p = 0, n = 0;
    std::size_t star = std::string_view::npos, star_name = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            star_name = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++star_name;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

// What the listing tells of an entry by its type, which spares a look-up of
// every file and folder; only links (followed) and entries of unknown type
// are looked up. nullopt for an entry to be left out.
std::optional<ListedEntry> listed_entry(DIR* folder, const dirent& entry, Text local) {
    const std::string_view name(entry.d_name);
    if (entry.d_type == DT_DIR)
        return ListedEntry{std::move(local), attributes_without_read_only(true, name), false};
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN)
        return ListedEntry{std::move(local), attributes_without_read_only(false, name), true};
    struct stat status;
    if (::fstatat(::dirfd(folder), entry.d_name, &status, 0) != 0) return std::nullopt;
    return ListedEntry{std::move(local), attributes_from_status(status, name), false};
}

// Without search permission on a folder none of its entries can be looked
// up, so none can be told to exist: its listing is as empty as that of an
// unreadable folder.
bool may_look_up_entries(DIR* folder) {
    struct stat status;
    return ::fstatat(::dirfd(folder), ".", &status, 0) == 0;
}

void append_entries(DIR* folder, std::string_view pattern, std::vector<ListedEntry>& entries) {
    std::vector<ListedEntry> found;
    ListingOrder order;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string_view name(entry->d_name);
        if (name == "." || name == ".." || !wildcard_match(pattern, name)) continue;
        std::optional<Text> local = local_name(name);
        if (!local) continue;
        std::optional<ListedEntry> listed = listed_entry(folder, *entry, std::move(*local));
        if (!listed) continue;
        order.add(name);
        found.push_back(std::move(*listed));
    }
    // Names whose folded forms are equal have the same non-ASCII parts, which
    // convert alike, so their local texts compare as their UTF-8 bytes do.
    const auto sorted = order.sorted(
        [&found](std::uint32_t a, std::uint32_t b) { return found[a].name < found[b].name; });
    entries.reserve(entries.size() + found.size());
    for (std::uint32_t index : sorted) entries.push_back(std::move(found[index]));
}

}  // namespace

namespace {

bool is_ascii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::optional<Text> local_name(std::string_view utf8) {
    if (is_ascii(utf8)) return Text(utf8);
    std::optional<Text> local = strict_local(utf8);
    if (!local) return std::nullopt;
    const std::optional<std::string> back = strict_utf8(*local);
    if (!back || *back != utf8) return std::nullopt;
    return local;
}

bool wildcard_match(std::string_view pattern, std::string_view name) {
    if (pattern == "*" || pattern == "*.*") return true;
    const auto names = folded_code_points(name);
    if (match_points(folded_code_points(pattern), names)) return true;
    return pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
           match_points(folded_code_points(pattern.substr(0, pattern.size() - 2)), names);
}

std::optional<std::vector<ListedEntry>> list_folder(const std::string& folder,
                                                    std::string_view pattern) {
    struct stat status;
    if (::stat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return std::nullopt;
    std::vector<ListedEntry> entries;
    for (const char* dots : {".", ".."})
        if (wildcard_match(pattern, dots)) entries.push_back({dots, kDirectory, false});
    if (DIR* listing = ::opendir(folder.c_str())) {
        if (may_look_up_entries(listing)) append_entries(listing, pattern, entries);
        ::closedir(listing);
    }
    return entries;
}

int with_read_only(const std::string& folder, const ListedEntry& entry) {
    if (!entry.read_only_open) return entry.attributes;
    const std::optional<std::string> name = strict_utf8(entry.name);  // listed, so it converts
    struct stat status;
    if (!name || ::stat((folder + "/" + *name).c_str(), &status) != 0) return entry.attributes;
    return is_read_only(status) ? entry.attributes | kReadOnly : entry.attributes;
}

SplitPath split_last_element(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) return {".", std::string(path)};
    return {slash == 0 ? std::string("/") : std::string(path.substr(0, slash)),
            std::string(path.substr(slash + 1))};
}

}  // namespace galmora
