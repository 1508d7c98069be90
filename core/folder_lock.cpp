#include "core/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "core/system_path.h"

namespace galmora {

FolderLock::FolderLock(const Text& folder) {
    const std::optional<std::string> path = system_path(folder);
    if (!path) return;
    // Close-on-exec: a program the window starts (a browser, a file manager)
    // must not keep the lock alive after this process has ended.
    const int descriptor = ::open(path->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
    int result;
    while ((result = ::flock(descriptor, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    if (result == 0) {
        descriptor_ = descriptor;
        outcome_ = Outcome::Taken;
        return;
    }
    if (errno == EWOULDBLOCK) outcome_ = Outcome::HeldByAnother;
    ::close(descriptor);
}

FolderLock::~FolderLock() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

}  // namespace galmora
