// remove_tree next to mounts, and removal_obstacle: what would stay of a
// tree, found before anything is removed.

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/codepage.h"
#include "core/files.h"
#include "tests/support/child_run.h"
#include "tests/support/hostile_tree.h"
#include "tests/support/temp_dir.h"

namespace galmora {
namespace {

namespace fs = std::filesystem;
using Reason = RemovalObstacle::Reason;
using testing::TempDir;

// A folder of the same file system bound into the tree: its device is the
// tree's own, so only the mount itself can tell it apart.
class BindMount : public ::testing::Test {
  protected:
    BindMount() {
        dir.put("outside/precious.jpg", "p");
        dir.put("tree/a.jpg", "a");
        fs::create_directories(dir.file("tree/sub/mounted"));
    }
    bool bind() const {
        return ::mount(dir.file("outside").c_str(), dir.file("tree/sub/mounted").c_str(), nullptr,
                       MS_BIND, nullptr) == 0;
    }
    void run(const std::function<void()>& body) {
        std::string why;
        if (!testing::run_with_own_mounts(body, why)) GTEST_SKIP() << why;
    }

    TempDir dir;
};

TEST_F(BindMount, IsTheObstacleAndRemoveTreeNeverDescendsIntoIt) {
    run([&] {
        ASSERT_TRUE(bind());
        const auto obstacle = removal_obstacle(dir.file_text("tree"));
        ASSERT_TRUE(obstacle.has_value());
        EXPECT_EQ(obstacle->reason, Reason::MountPoint);
        EXPECT_EQ(obstacle->path, dir.file_text("tree/sub/mounted"));
        EXPECT_TRUE(fs::exists(dir.file("tree/a.jpg")));

        EXPECT_FALSE(remove_tree(dir.file_text("tree")));
        EXPECT_FALSE(fs::exists(dir.file("tree/a.jpg")));
        EXPECT_EQ(dir.contents("tree/sub/mounted/precious.jpg"), "p");
        // Nor when the mount itself is named.
        EXPECT_FALSE(remove_tree(dir.file_text("tree/sub/mounted")));
    });
    EXPECT_EQ(dir.contents("outside/precious.jpg"), "p");
}

TEST(RemovalObstacle, InTheHostileTreeOnlyADotEntry) {
    TempDir dir;
    testing::make_hostile_tree(dir.file("tree"));
    // Links, a read-only file and names of every kind are no obstacle.
    for (const char* folder : {"风景", "folder #?%\"\\ name", "x&copy", "link to dot", "empty"})
        EXPECT_FALSE(removal_obstacle(local_text(dir.file("tree/") + folder))) << folder;
    EXPECT_FALSE(removal_obstacle(local_text(dir.file("tree/只读.jpg"))));
    EXPECT_FALSE(removal_obstacle(dir.file_text("missing/deeper")));
    const auto obstacle = removal_obstacle(dir.file_text("tree"));
    ASSERT_TRUE(obstacle.has_value());
    EXPECT_EQ(obstacle->reason, Reason::DotEntry);
    EXPECT_EQ(obstacle->path, dir.file_text("tree/.dot folder"));
}

TEST(RemovalObstacle, NamesWhatThisUserMayNotRemove) {
    TempDir dir;
    dir.put("tree/open/a.jpg", "a");
    dir.put("tree/locked/inside/b.jpg", "b");
    fs::create_directories(dir.file("tree/closed"));
    fs::create_directories(dir.file("fixed/tree"));
    ::chmod(dir.file("tree/locked/inside").c_str(), 0555);
    ::chmod(dir.file("tree/closed").c_str(), 0300);  // may change, may not list
    ::chmod(dir.file("fixed").c_str(), 0555);
    testing::run_unprivileged(dir.path(), [&] {
        auto obstacle = removal_obstacle(dir.file_text("tree/locked"));
        ASSERT_TRUE(obstacle.has_value());
        EXPECT_EQ(obstacle->reason, Reason::NotPermitted);
        EXPECT_EQ(obstacle->path, dir.file_text("tree/locked/inside/b.jpg"));
        obstacle = removal_obstacle(dir.file_text("tree/closed"));
        ASSERT_TRUE(obstacle.has_value());
        EXPECT_EQ(obstacle->reason, Reason::Unreadable);
        obstacle = removal_obstacle(dir.file_text("fixed/tree"));
        ASSERT_TRUE(obstacle.has_value());
        EXPECT_EQ(obstacle->path, dir.file_text("fixed/tree"));
        EXPECT_FALSE(removal_obstacle(dir.file_text("tree/open")));
        // What it found is what remove_tree then fails on.
        EXPECT_FALSE(remove_tree(dir.file_text("tree/locked")));
        EXPECT_TRUE(fs::exists(dir.file("tree/locked/inside/b.jpg")));
    });
}

}  // namespace
}  // namespace galmora
