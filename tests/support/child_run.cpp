#include "tests/support/child_run.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace galmora::testing {

namespace {

namespace fs = std::filesystem;

// Exit codes of the child.
constexpr int kBodyPassed = 0;
constexpr int kBodyFailed = 1;
constexpr int kSetUpFailed = 2;

// Runs set_up and then body in a forked child; the child's exit code.
// The parent waits; nothing of the child's state comes back but the code.
int run_in_child(const std::function<bool()>& set_up, const std::function<void()>& body) {
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t child = ::fork();
    if (child < 0) {
        ADD_FAILURE() << "fork failed: " << std::strerror(errno);
        return kSetUpFailed;
    }
    if (child == 0) {
        int code = kSetUpFailed;
        if (set_up()) {
            body();
            code = ::testing::Test::HasFailure() ? kBodyFailed : kBodyPassed;
        }
        std::fflush(stdout);
        std::fflush(stderr);
        ::_exit(code);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status)) {
        ADD_FAILURE() << "the child process of the test did not end normally";
        return kBodyFailed;
    }
    return WEXITSTATUS(status);
}

void hand_over(const fs::path& folder) {
    ::lchown(folder.c_str(), kUnprivilegedId, kUnprivilegedId);
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error))
        ::lchown(it->path().c_str(), kUnprivilegedId, kUnprivilegedId);
}

bool give_up_root() {
    return ::setgroups(0, nullptr) == 0 &&
           ::setresgid(kUnprivilegedId, kUnprivilegedId, kUnprivilegedId) == 0 &&
           ::setresuid(kUnprivilegedId, kUnprivilegedId, kUnprivilegedId) == 0;
}

bool write_text(const char* path, const std::string& text) {
    const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool written = ::write(fd, text.data(), text.size()) == ssize_t(text.size());
    return ::close(fd) == 0 && written;
}

}  // namespace

bool enter_own_namespaces(int flags) {
    if (::unshare(flags) != 0) {
        const uid_t user = ::geteuid();
        const gid_t group = ::getegid();
        if (::unshare(CLONE_NEWUSER | flags) != 0) return false;
        if (!write_text("/proc/self/setgroups", "deny") ||
            !write_text("/proc/self/uid_map", "0 " + std::to_string(user) + " 1") ||
            !write_text("/proc/self/gid_map", "0 " + std::to_string(group) + " 1"))
            return false;
    }
    return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

void run_unprivileged(const std::string& folder, const std::function<void()>& body) {
    if (::geteuid() != 0) {
        body();
        return;
    }
    hand_over(folder);
    const int code = run_in_child(give_up_root, body);
    if (code == kSetUpFailed)
        ADD_FAILURE() << "cannot run as user " << kUnprivilegedId << " (setresuid refused)";
    else if (code != kBodyPassed)
        ADD_FAILURE() << "the part run as user " << kUnprivilegedId << " failed (see above)";
}

bool run_with_own_mounts(const std::function<void()>& body, std::string& why) {
    const int code = run_in_child([] { return enter_own_namespaces(CLONE_NEWNS); }, body);
    if (code == kSetUpFailed) {
        why = "this machine gives the test no mount namespace of its own (unshare refused)";
        return false;
    }
    if (code != kBodyPassed) ADD_FAILURE() << "the part run with its own mounts failed (see above)";
    return true;
}

}  // namespace galmora::testing
