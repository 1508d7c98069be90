// FolderLock: one holder per folder among processes, freed however the
// holder ends, and taken on folders where nothing can be created.

#include "core/folder_lock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "tests/support/child_run.h"
#include "tests/support/temp_dir.h"

extern char** environ;

namespace galmora {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using Outcome = FolderLock::Outcome;

// A process of its own that takes the lock on a folder, starts a program
// (which inherits what any program it starts inherits), tells the outcome
// and holds the lock until it is killed. The program outlives it.
class LockingChild {
  public:
    explicit LockingChild(const Text& folder) {
        int report_pipe[2];
        if (::pipe2(report_pipe, O_CLOEXEC) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            const FolderLock lock(folder);
            Report report{lock.outcome(), -1};
            char sleep[] = "sleep", seconds[] = "60";
            char* arguments[] = {sleep, seconds, nullptr};
            ::posix_spawn(&report.program, "/bin/sleep", nullptr, nullptr, arguments, environ);
            [[maybe_unused]] auto written = ::write(report_pipe[1], &report, sizeof report);
            for (;;) ::pause();
        }
        ::close(report_pipe[1]);
        if (::read(report_pipe[0], &report_, sizeof report_) != sizeof report_) report_ = {};
        ::close(report_pipe[0]);
    }
    ~LockingChild() {
        if (report_.program > 0) ::kill(report_.program, SIGKILL);
        kill();
    }

    // NotAvailable also when the child told nothing.
    Outcome outcome() const { return report_.outcome; }
    bool started_a_program() const { return report_.program > 0; }
    void kill() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
    }

  private:
    struct Report {
        Outcome outcome = Outcome::NotAvailable;
        pid_t program = -1;
    };
    pid_t pid_ = -1;
    Report report_;
};

TEST(FolderLock, IsExclusiveBetweenProcessesAndFreedWhenTheHolderIsKilled) {
    TempDir dir;
    LockingChild holder(dir.text());
    ASSERT_EQ(holder.outcome(), Outcome::Taken);
    ASSERT_TRUE(holder.started_a_program());
    EXPECT_EQ(FolderLock(dir.text()).outcome(), Outcome::HeldByAnother);
    EXPECT_EQ(FolderLock(dir.text()).outcome(), Outcome::HeldByAnother);  // a refusal takes nothing
    holder.kill();
    // Though the program it started still runs.
    EXPECT_EQ(FolderLock(dir.text()).outcome(), Outcome::Taken);
}

TEST(FolderLock, OneHolderPerFolderReleasedWhenDestroyed) {
    TempDir dir;
    fs::create_directories(dir.file("library/inner library"));
    fs::create_directories(dir.file("other library"));
    {
        const FolderLock first(dir.file_text("library"));
        ASSERT_EQ(first.outcome(), Outcome::Taken);
        EXPECT_EQ(FolderLock(dir.file_text("library/")).outcome(), Outcome::HeldByAnother);
        EXPECT_EQ(FolderLock(dir.file_text("library/inner library")).outcome(), Outcome::Taken);
        EXPECT_EQ(FolderLock(dir.file_text("other library")).outcome(), Outcome::Taken);
    }
    EXPECT_EQ(FolderLock(dir.file_text("library")).outcome(), Outcome::Taken);
}

TEST(FolderLock, TakenOnAFolderThatCannotBeWritten) {
    TempDir dir;
    fs::create_directories(dir.file("library"));
    ::chmod(dir.file("library").c_str(), 0555);
    testing::run_unprivileged(dir.path(), [&] {
        const FolderLock lock(dir.file_text("library"));
        EXPECT_EQ(lock.outcome(), Outcome::Taken);
        EXPECT_EQ(FolderLock(dir.file_text("library")).outcome(), Outcome::HeldByAnother);
    });
}

TEST(FolderLock, TakenOnAReadOnlyMount) {
    TempDir dir;
    dir.put("library/config.ini", "[S]\r\n");
    fs::create_directories(dir.file("medium"));
    const std::string medium = dir.file("medium");
    std::string why;
    const bool ran = testing::run_with_own_mounts(
        [&] {
            ASSERT_EQ(
                ::mount(dir.file("library").c_str(), medium.c_str(), nullptr, MS_BIND, nullptr), 0);
            ASSERT_EQ(::mount(nullptr, medium.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY,
                              nullptr),
                      0);
            ASSERT_EQ(::mkdir((medium + "/new").c_str(), 0700), -1);
            EXPECT_EQ(errno, EROFS);
            EXPECT_EQ(FolderLock(dir.file_text("medium")).outcome(), Outcome::Taken);
        },
        why);
    if (!ran) GTEST_SKIP() << why;
}

// Where no lock can be had the program works as it did without one.
TEST(FolderLock, NotAvailableWhereTheFolderCannotBeOpened) {
    TempDir dir;
    dir.put("a file", "x");
    fs::create_directories(dir.file("closed"));
    ::chmod(dir.file("closed").c_str(), 0311);
    testing::run_unprivileged(dir.path(), [&] {
        for (const char* folder : {"closed", "a file", "missing"})
            EXPECT_EQ(FolderLock(dir.file_text(folder)).outcome(), Outcome::NotAvailable) << folder;
    });
    EXPECT_EQ(FolderLock(Text("bad\xff\xff", 5)).outcome(), Outcome::NotAvailable);
}

}  // namespace
}  // namespace galmora
