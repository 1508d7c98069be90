// The channel between two starts on one library, within one process: the
// holder's window comes to the front when asked, silence is told apart, and
// only the holder takes the channel.

#include "shell/qt/raise_channel.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QWidget>
#include <chrono>
#include <cstring>
#include <future>

#include "tests/shell/qt/private_runtime_folder.h"
#include "tests/support/temp_dir.h"

namespace galmora::testing {
namespace {

using namespace std::chrono_literals;

// What a start killed while it listened leaves behind: a socket file that
// nobody accepts on.
void leave_dead_socket(const QString& path) {
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(address.sun_path, name.constData(),
                std::min(std::size_t(name.size()), sizeof address.sun_path - 1));
    ::bind(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    ::close(descriptor);
}

class RaiseChannel : public ::testing::Test {
  protected:
    RaiseChannel() {
        window.show();
        other.show();
    }
    // Asked from a thread of its own while this one runs its events, as a
    // second start asks from a process of its own.
    bool asked_while_events_run() {
        auto answered = std::async(std::launch::async, [this] { return ask_to_raise(root()); });
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return answered.wait_for(0s) == std::future_status::ready; }, 20'000));
        return answered.get();
    }
    Text root() const { return library.text(); }

    PrivateRuntimeFolder runtime;
    TempDir library;
    QWidget window;
    QWidget other;
};

TEST_F(RaiseChannel, BringsTheHoldersMinimizedWindowToTheFront) {
    const FolderLock lock(root());
    const RaiseOnRequest raise_on_request(window, root(), lock);
    ASSERT_TRUE(raise_on_request.listening());
    window.showMinimized();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));

    EXPECT_TRUE(asked_while_events_run());
    EXPECT_FALSE(window.isMinimized());
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
}

TEST_F(RaiseChannel, UnansweredWhenNothingListensOrTheHolderIsBusy) {
    EXPECT_FALSE(ask_to_raise(root()));
    const FolderLock lock(root());
    const RaiseOnRequest raise_on_request(window, root(), lock);
    ASSERT_TRUE(raise_on_request.listening());
    // Asked on this thread, the holder's events wait as a hung start's do.
    EXPECT_FALSE(ask_to_raise(root(), 200ms));
    EXPECT_TRUE(asked_while_events_run());
}

TEST_F(RaiseChannel, OnlyTheHolderTakesItAndReplacesWhatAKilledStartLeft) {
    leave_dead_socket(raise_channel_path(root()));
    ASSERT_TRUE(QFileInfo::exists(raise_channel_path(root())));
    EXPECT_FALSE(ask_to_raise(root()));

    const FolderLock holder(root());
    const FolderLock later(root());
    ASSERT_EQ(later.outcome(), FolderLock::Outcome::HeldByAnother);
    const RaiseOnRequest later_before(other, root(), later);
    EXPECT_FALSE(later_before.listening());
    const RaiseOnRequest raise_on_request(window, root(), holder);
    ASSERT_TRUE(raise_on_request.listening());
    const RaiseOnRequest later_after(other, root(), later);
    EXPECT_FALSE(later_after.listening());

    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_TRUE(asked_while_events_run());
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
}

}  // namespace
}  // namespace galmora::testing
