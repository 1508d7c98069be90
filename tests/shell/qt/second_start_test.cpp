// The real program started twice on one library, offscreen. Its library is
// the folder that holds it, so each library gets a copy of the program. A
// later start ends as soon as the running one has raised its window; it
// only ends with 0 when that one answered, and without an answer it would
// stay in its notice, which nothing here clicks.

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>
#include <filesystem>
#include <memory>

#include "shell/qt/raise_channel.h"
#include "tests/shell/qt/private_runtime_folder.h"
#include "tests/support/temp_dir.h"

namespace galmora::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int kPatience = 30'000;  // ms; a sanitized build starts slowly

// One start of the program, killed at the end of the test if still running.
class Start {
  public:
    explicit Start(const std::string& program) {
        process_.setProcessChannelMode(QProcess::ForwardedChannels);
        process_.start(QString::fromStdString(program), {});
        EXPECT_TRUE(process_.waitForStarted(kPatience));
    }
    ~Start() {
        process_.kill();
        process_.waitForFinished(kPatience);
    }
    Start(const Start&) = delete;
    Start& operator=(const Start&) = delete;

    bool running() const { return process_.state() == QProcess::Running; }
    void kill() {
        process_.kill();
        EXPECT_TRUE(process_.waitForFinished(kPatience));
    }
    // Ends promptly with 0: the start holding the library answered.
    void expect_ended_after_raising_the_holder() {
        ASSERT_TRUE(process_.waitForFinished(kPatience)) << "the later start did not end";
        EXPECT_EQ(process_.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process_.exitCode(), 0);
    }

  private:
    QProcess process_;
};

class Library {
  public:
    Library() {
        fs::copy_file(GALMORA_PROGRAM, program());
        fs::permissions(program(), fs::perms::owner_all);
    }
    std::unique_ptr<Start> start() const { return std::make_unique<Start>(program()); }
    // Waits until the start that holds the library answers on its channel
    // (its window is up and its events run).
    bool answers(const Start& holder) const {
        const QDeadlineTimer deadline(kPatience);
        while (!deadline.hasExpired() && holder.running()) {
            if (ask_to_raise(folder.text(), 1s)) return true;
            QThread::msleep(50);
        }
        return false;
    }

  private:
    std::string program() const { return folder.file("galmora"); }
    TempDir folder;
};

class SecondStart : public ::testing::Test {
  protected:
    PrivateRuntimeFolder runtime;
};

TEST_F(SecondStart, RaisesTheRunningWindowAndEndsAlsoAfterAKilledStart) {
    const Library library;
    const auto first = library.start();
    ASSERT_TRUE(library.answers(*first));
    library.start()->expect_ended_after_raising_the_holder();
    EXPECT_TRUE(first->running());

    // Killed, the first leaves its socket behind, and no lock.
    first->kill();
    const auto next = library.start();
    ASSERT_TRUE(library.answers(*next));
    library.start()->expect_ended_after_raising_the_holder();
    EXPECT_TRUE(next->running());
}

TEST_F(SecondStart, OnAnotherLibraryOpensAWindowOfItsOwn) {
    const Library library;
    const Library other;
    const auto first = library.start();
    ASSERT_TRUE(library.answers(*first));
    const auto beside = other.start();
    ASSERT_TRUE(other.answers(*beside));
    // Each on a channel of its own.
    EXPECT_TRUE(library.answers(*first));
}

}  // namespace
}  // namespace galmora::testing
