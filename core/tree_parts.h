#pragma once
// Internal to core: the pieces shared by remove_tree and removal_obstacle,
// which walk a tree through open folders and never leave it through a link
// or a mount.

#include <optional>
#include <string>
#include <vector>

namespace galmora {

// Opens the folder name of the open folder (or a path when folder_fd is
// AT_FDCWD) without following a link; -1 on failure.
int open_folder_at(int folder_fd, const char* name);

// Every name in the open folder but "." and ".."; nullopt when it cannot be
// listed. The caller keeps folder_fd.
std::optional<std::vector<std::string>> entry_names(int folder_fd);

// Whether the entry name of the open folder is the root of a mount. The
// mount itself is detected (a bind mount shares its device with the folder
// around it); an entry that cannot be looked up counts as one, since the
// only safe thing to do with it is to leave it alone.
bool is_mount_point(int folder_fd, const char* name);

}  // namespace galmora
