#include "tests/support/file_writes.h"

#include <sys/inotify.h>
#include <unistd.h>

namespace galmora::testing {

FileWriteCounter::FileWriteCounter(const std::string& file) {
    const std::size_t slash = file.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : file.substr(0, slash);
    name_ = file.substr(slash + 1);
    watcher_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watcher_ >= 0) ::inotify_add_watch(watcher_, folder.c_str(), IN_MOVED_TO | IN_CLOSE_WRITE);
}

FileWriteCounter::~FileWriteCounter() {
    if (watcher_ >= 0) ::close(watcher_);
}

int FileWriteCounter::count() {
    if (watcher_ < 0) return -1;
    // The events of a finished call are queued before the call returns.
    alignas(inotify_event) char buffer[4096];
    ssize_t length;
    while ((length = ::read(watcher_, buffer, sizeof buffer)) > 0) {
        for (char* at = buffer; at < buffer + length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            if (event->len > 0 && name_ == event->name) ++count_;
            at += sizeof(inotify_event) + event->len;
        }
    }
    return count_;
}

}  // namespace galmora::testing
