#include "core/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

#include "core/codepage.h"
#include "core/files.h"
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

std::string sort_key(std::string_view utf8) {
    std::string key(utf8);
    for (char& c : key)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return key;
}

// The local text of a name read from disk, only when it converts back to
// exactly the same bytes.
std::optional<Text> local_name(std::string_view utf8) {
    std::optional<Text> local = strict_local(utf8);
    if (!local) return std::nullopt;
    const std::optional<std::string> back = strict_utf8(*local);
    if (!back || *back != utf8) return std::nullopt;
    return local;
}

void append_entries(DIR* folder, std::string_view pattern, std::vector<ListedEntry>& entries) {
    std::vector<std::pair<std::string, ListedEntry>> found;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string_view name(entry->d_name);
        if (name == "." || name == ".." || !wildcard_match(pattern, name)) continue;
        std::optional<Text> local = local_name(name);
        struct stat status;
        if (!local || ::fstatat(::dirfd(folder), entry->d_name, &status, 0) != 0) continue;
        found.emplace_back(std::string(name),
                           ListedEntry{std::move(*local), attributes_from_status(status, name)});
    }
    std::vector<std::pair<std::string, std::size_t>> order;
    order.reserve(found.size());
    for (std::size_t i = 0; i < found.size(); ++i) order.emplace_back(sort_key(found[i].first), i);
    std::sort(order.begin(), order.end(), [&found](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first
                                  : found[a.second].first < found[b.second].first;
    });
    for (const auto& [key, index] : order) entries.push_back(std::move(found[index].second));
}

}  // namespace

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
        if (wildcard_match(pattern, dots)) entries.push_back({dots, kDirectory});
    if (DIR* listing = ::opendir(folder.c_str())) {
        append_entries(listing, pattern, entries);
        ::closedir(listing);
    }
    return entries;
}

SplitPath split_last_element(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) return {".", std::string(path)};
    return {slash == 0 ? std::string("/") : std::string(path.substr(0, slash)),
            std::string(path.substr(slash + 1))};
}

}  // namespace galmora
