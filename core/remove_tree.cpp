// Removing a folder with everything in it, without ever leaving it through
// a symbolic link.

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "core/files.h"
#include "core/system_path.h"

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
// Links are removed as links; folders on another device are not entered.
void empty_folder(int folder_fd, dev_t device) {
    DIR* folder = ::fdopendir(folder_fd);
    if (folder == nullptr) {
        ::close(folder_fd);
        return;
    }
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(folder))
        if (entry->d_name[0] != '.') names.emplace_back(entry->d_name);
    const int fd = ::dirfd(folder);
    for (const std::string& name : names) {
        struct stat status;
        if (::fstatat(fd, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISDIR(status.st_mode)) {
            ::unlinkat(fd, name.c_str(), 0);
            continue;
        }
        if (status.st_dev != device) continue;
        const int child =
            ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (child >= 0) empty_folder(child, device);
        ::unlinkat(fd, name.c_str(), AT_REMOVEDIR);
    }
    ::closedir(folder);
}

}  // namespace

bool remove_tree(const Text& path) {
    std::string_view trimmed(path);
    while (!trimmed.empty() && trimmed.front() == ' ') trimmed.remove_prefix(1);
    if (trimmed.empty() || is_root_path(trimmed)) return false;
    // "link/" would name the link's target; the link itself is meant.
    while (trimmed.back() == '/') trimmed.remove_suffix(1);
    const auto system = system_path(trimmed);
    struct stat status, root;
    if (!system || ::lstat(system->c_str(), &status) != 0) return false;
    if (S_ISLNK(status.st_mode)) return ::unlink(system->c_str()) == 0;
    if (!S_ISDIR(status.st_mode)) return false;
    if (::stat("/", &root) == 0 && same_file(status, root)) return false;
    const int fd = ::open(system->c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) empty_folder(fd, status.st_dev);
    return ::rmdir(system->c_str()) == 0;
}

}  // namespace galmora
