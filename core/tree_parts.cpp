#include "core/tree_parts.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace galmora {

namespace {

constexpr int kLookUp = AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT;

enum class Answer { Mount, NoMount, Unknown };

// The kernel's own answer, when it gives one: the mount-root attribute, or
// else the entry's mount compared with the folder's.
Answer ask_the_kernel(int folder_fd, const char* name) {
    struct statx entry {};
    if (::statx(folder_fd, name, kLookUp, STATX_TYPE | STATX_MNT_ID, &entry) != 0)
        return Answer::Unknown;
    if (entry.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT)
        return (entry.stx_attributes & STATX_ATTR_MOUNT_ROOT) ? Answer::Mount : Answer::NoMount;
    struct statx folder {};
    if (!(entry.stx_mask & STATX_MNT_ID) ||
        ::statx(folder_fd, "", AT_EMPTY_PATH, STATX_MNT_ID, &folder) != 0 ||
        !(folder.stx_mask & STATX_MNT_ID))
        return Answer::Unknown;
    return entry.stx_mnt_id != folder.stx_mnt_id ? Answer::Mount : Answer::NoMount;
}

}  // namespace

int open_folder_at(int folder_fd, const char* name) {
    return ::openat(folder_fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

std::optional<std::vector<std::string>> entry_names(int folder_fd) {
    const int own = ::dup(folder_fd);  // closedir closes the copy, not the caller's
    DIR* folder = own >= 0 ? ::fdopendir(own) : nullptr;
    if (folder == nullptr) {
        if (own >= 0) ::close(own);
        return std::nullopt;
    }
    ::rewinddir(folder);
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(folder)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.emplace_back(entry->d_name);
    }
    ::closedir(folder);
    return names;
}

bool is_mount_point(int folder_fd, const char* name) {
    const Answer answer = ask_the_kernel(folder_fd, name);
    if (answer != Answer::Unknown) return answer == Answer::Mount;
    // A kernel without these answers: a change of device is a mount for certain.
    struct stat entry, folder;
    if (::fstatat(folder_fd, name, &entry, kLookUp) != 0 || ::fstat(folder_fd, &folder) != 0)
        return true;
    return entry.st_dev != folder.st_dev;
}

}  // namespace galmora
