// Looking for what would stop a removal, before anything is removed: the
// same walk as remove_tree, asking at each entry whether it could go.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "core/codepage.h"
#include "core/files.h"
#include "core/folder_listing.h"
#include "core/system_path.h"
#include "core/tree_parts.h"

namespace galmora {

namespace {

using Reason = RemovalObstacle::Reason;

// Whether this user may remove entries from the open folder: writing and
// searching it.
bool may_remove_from(int folder_fd) {
    return ::faccessat(folder_fd, ".", W_OK | X_OK, AT_EACCESS) == 0;
}

class ObstacleSearch {
  public:
    std::optional<RemovalObstacle> found;

    // The entry name of the open folder, shown as path.
    void check_entry(int folder_fd, const std::string& name, const Text& path) {
        struct stat status;
        if (::fstatat(folder_fd, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) return;
        if (!may_remove_from(folder_fd)) return report(Reason::NotPermitted, path);
        if (!S_ISDIR(status.st_mode)) return;
        if (is_mount_point(folder_fd, name.c_str())) return report(Reason::MountPoint, path);
        const int folder = open_folder_at(folder_fd, name.c_str());
        if (folder < 0) return report(Reason::Unreadable, path);
        check_contents(folder, path);
        ::close(folder);
    }

  private:
    void check_contents(int folder_fd, const Text& path) {
        const auto names = entry_names(folder_fd);
        if (!names) return report(Reason::Unreadable, path);
        for (const std::string& name : *names) {
            if (found) return;
            const Text entry_path = path + "/" + local_text(name);
            if (name[0] == '.') return report(Reason::DotEntry, entry_path);
            check_entry(folder_fd, name, entry_path);
        }
    }

    void report(Reason reason, const Text& path) { found = RemovalObstacle{reason, path}; }
};

}  // namespace

std::optional<RemovalObstacle> removal_obstacle(const Text& path) {
    std::string_view trimmed(path);
    while (!trimmed.empty() && trimmed.front() == ' ') trimmed.remove_prefix(1);
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.remove_suffix(1);
    const auto system = system_path(trimmed);
    if (!system) return std::nullopt;
    const SplitPath split = split_last_element(*system);
    const int parent = ::open(split.folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (parent < 0) {
        struct stat status;
        const bool absent =
            ::lstat(system->c_str(), &status) != 0 && (errno == ENOENT || errno == ENOTDIR);
        if (absent) return std::nullopt;
        return RemovalObstacle{Reason::NotPermitted, Text(trimmed)};
    }
    ObstacleSearch search;
    search.check_entry(parent, split.name, Text(trimmed));
    ::close(parent);
    return search.found;
}

}  // namespace galmora
