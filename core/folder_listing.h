#pragma once
// Internal to core: one folder's entries as a listing delivers them, shared
// by DirectoryScan, the wildcard form of path_exists and OpenFolder.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/text.h"

namespace galmora {

// An entry as the listing delivers it. Telling whether a file is read-only
// takes a look-up of its own, so for files the listing leaves that bit open
// (read_only_open) until with_read_only is asked.
struct ListedEntry {
    Text name;
    int attributes;
    bool read_only_open = false;
};

// The local text of a name read from disk, only when it converts back to
// exactly the same bytes. ASCII is the same in both.
std::optional<Text> local_name(std::string_view utf8);

// Windows wildcard rules on UTF-8 names: "*" any run, "?" one character,
// ASCII letters match either case, and a final ".*" may also match nothing
// (so "*.*" matches every name).
bool wildcard_match(std::string_view pattern, std::string_view name);

// The entries of folder whose names match pattern (both UTF-8): "." and ".."
// first, as folders, then by name with ASCII letters folded to upper case.
// Names that are not valid UTF-8, and links that lead nowhere (or entries
// that vanish while they are looked up), are left out. nullopt when folder is no folder at all; a
// folder that cannot be read lists only "." and "..".
std::optional<std::vector<ListedEntry>> list_folder(const std::string& folder,
                                                    std::string_view pattern);

// The attributes of an entry of folder (UTF-8) with the read-only bit
// settled. An entry that can no longer be looked up keeps what was listed.
int with_read_only(const std::string& folder, const ListedEntry& entry);

// Splits "folder/name" at the last "/"; a bare name lies in ".".
struct SplitPath {
    std::string folder;
    std::string name;
};
SplitPath split_last_element(std::string_view path);

}  // namespace galmora
