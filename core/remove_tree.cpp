// Removing a folder with everything in it, without ever leaving it through
// a symbolic link or a mount.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "core/files.h"
#include "core/folder_listing.h"
#include "core/system_path.h"
#include "core/tree_parts.h"

namespace galmora {

namespace {

// A path that can only mean the root of the file system (or a drive root
// written the Windows way) is never removed.
bool is_root_path(std::string_view path) {
    if (path.find_first_not_of('/') == std::string_view::npos) return true;
    const bool drive = path.size() >= 2 && path[1] == ':' &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    return drive && (path.size() == 2 || (path.size() == 3 && (path[2] == '/' || path[2] == '\\')));
}

// Deletes everything in the open folder except names beginning with ".".
// Links are removed as links; a mount point is left as it is, whatever is
// mounted there, and so is the folder that holds it.
void empty_folder(int folder_fd) {
    const auto names = entry_names(folder_fd);
    if (!names) return;
    for (const std::string& name : *names) {
        if (name[0] == '.') continue;
        struct stat status;
        if (::fstatat(folder_fd, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISDIR(status.st_mode)) {
            ::unlinkat(folder_fd, name.c_str(), 0);
            continue;
        }
        if (is_mount_point(folder_fd, name.c_str())) continue;
        const int child = open_folder_at(folder_fd, name.c_str());
        if (child < 0) continue;
        empty_folder(child);
        ::close(child);
        ::unlinkat(folder_fd, name.c_str(), AT_REMOVEDIR);
    }
}

// Removes the entry name of the open folder: a link as a link, a folder
// with its contents; anything else is refused.
bool remove_entry(int parent_fd, const char* name) {
    struct stat status, root;
    if (::fstatat(parent_fd, name, &status, AT_SYMLINK_NOFOLLOW) != 0) return false;
    if (S_ISLNK(status.st_mode)) return ::unlinkat(parent_fd, name, 0) == 0;
    if (!S_ISDIR(status.st_mode)) return false;
    if (::stat("/", &root) == 0 && same_file(status, root)) return false;
    if (!is_mount_point(parent_fd, name)) {
        const int folder = open_folder_at(parent_fd, name);
        if (folder >= 0) {
            empty_folder(folder);
            ::close(folder);
        }
    }
    return ::unlinkat(parent_fd, name, AT_REMOVEDIR) == 0;
}

}  // namespace

bool remove_tree(const Text& path) {
    std::string_view trimmed(path);
    while (!trimmed.empty() && trimmed.front() == ' ') trimmed.remove_prefix(1);
    if (trimmed.empty() || is_root_path(trimmed)) return false;
    // "link/" would name the link's target; the link itself is meant.
    while (trimmed.back() == '/') trimmed.remove_suffix(1);
    const auto system = system_path(trimmed);
    if (!system) return false;
    const SplitPath split = split_last_element(*system);
    // "x/." and "x/.." name a folder by another of its names.
    if (split.name == "." || split.name == "..") return false;
    const int parent = ::open(split.folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (parent < 0) return false;
    const bool removed = remove_entry(parent, split.name.c_str());
    ::close(parent);
    return removed;
}

}  // namespace galmora
