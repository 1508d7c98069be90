#include "core/files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "core/codepage.h"
#include "tests/support/child_run.h"
#include "tests/support/hostile_tree.h"
#include "tests/support/temp_dir.h"

namespace galmora {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

int entry_count(const std::string& folder) {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++count;
    return count;
}

TEST(ProgramDirectory, IsTheExecutablesFolder) {
    const Text folder = program_directory();
    EXPECT_EQ(utf8_string(folder), fs::read_symlink("/proc/self/exe").parent_path().string());
    EXPECT_NE(folder.back(), '/');
    EXPECT_EQ(file_attributes(folder), kDirectory);
}

TEST(SetCurrentDirectory, MakesRelativePathsResolveThere) {
    TempDir dir;
    const fs::path before = fs::current_path();
    ASSERT_TRUE(set_current_directory(dir.text()));
    EXPECT_TRUE(write_file("relative.txt", as_bytes("x")));
    EXPECT_FALSE(set_current_directory(dir.file_text("missing")));
    fs::current_path(before);
    EXPECT_EQ(dir.contents("relative.txt"), "x");
}

TEST(PathExists, FindsFilesFoldersAndWildcardMatches) {
    TempDir dir;
    dir.put("A.JPG", "");
    dir.put("noext", "");
    fs::create_directory(dir.file("sub"));
    EXPECT_TRUE(path_exists(dir.file_text("A.JPG")));
    EXPECT_TRUE(path_exists(dir.file_text("sub")));
    EXPECT_FALSE(path_exists(dir.file_text("a.jpg")));  // names on disk are case-sensitive
    EXPECT_FALSE(path_exists(dir.file_text("missing")));
    EXPECT_FALSE(path_exists(""));
    EXPECT_TRUE(path_exists(dir.file_text("*.jpg")));  // wildcards match either case
    EXPECT_TRUE(path_exists(dir.file_text("no?xt")));
    EXPECT_TRUE(path_exists(dir.file_text("noext.*")));
    EXPECT_FALSE(path_exists(dir.file_text("*.png")));
    EXPECT_FALSE(path_exists(dir.file_text("s?b/x*")));
    EXPECT_FALSE(path_exists(dir.file_text("missing/*.*")));
}

TEST(FileAttributes, MapsEntriesToAttributeBits) {
    TempDir dir;
    dir.put("file", "");
    dir.put(".hidden", "");
    dir.put("locked", "");
    ::chmod(dir.file("locked").c_str(), 0444);
    fs::create_directory(dir.file("folder"));
    fs::create_directory(dir.file(".dots"));
    fs::create_directory(dir.file("sealed"));
    ::chmod(dir.file("sealed").c_str(), 0555);
    fs::create_directory_symlink("folder", dir.file("link"));
    fs::create_symlink("nowhere", dir.file("dangling"));

    EXPECT_EQ(file_attributes(dir.file_text("file")), kArchive);
    EXPECT_EQ(file_attributes(dir.file_text(".hidden")), kArchive | kHidden);
    EXPECT_EQ(file_attributes(dir.file_text("locked")), kArchive | kReadOnly);
    EXPECT_EQ(file_attributes(dir.file_text("folder")), kDirectory);
    EXPECT_EQ(file_attributes(dir.file_text("folder/")), kDirectory);
    EXPECT_EQ(file_attributes(dir.file_text(".dots")), kDirectory | kHidden);
    EXPECT_EQ(file_attributes(dir.file_text("sealed")), kDirectory);
    EXPECT_EQ(file_attributes(dir.file_text("link")), kDirectory);
    EXPECT_EQ(file_attributes(dir.file_text("dangling")), -1);
    EXPECT_EQ(file_attributes(dir.file_text("missing")), -1);
    EXPECT_EQ(file_attributes(""), -1);
}

TEST(CreateDirectory, CreatesExactlyOneLevel) {
    TempDir dir;
    EXPECT_TRUE(create_directory(dir.file_text("new")));
    EXPECT_TRUE(fs::is_directory(dir.file("new")));
    dir.put("new/keep", "k");
    EXPECT_FALSE(create_directory(dir.file_text("new")));
    EXPECT_EQ(dir.contents("new/keep"), "k");
    EXPECT_FALSE(create_directory(dir.file_text("missing/child")));
    EXPECT_FALSE(fs::exists(dir.file("missing")));
    EXPECT_FALSE(create_directory(dir.file_text("new/keep")));
    EXPECT_FALSE(create_directory(""));
}

TEST(RemoveTree, RefusesEmptyPathsAndRoots) {
    for (const char* path : {"", "   ", "/", "//", "///", " /", "C:", "c:/", "C:\\"})
        EXPECT_FALSE(remove_tree(path)) << '"' << path << '"';
    // A drive root written the Windows way is refused even where such a
    // folder exists.
    TempDir dir;
    fs::create_directory(dir.file("C:"));
    const fs::path before = fs::current_path();
    fs::current_path(dir.path());
    EXPECT_FALSE(remove_tree("C:"));
    fs::current_path(before);
    EXPECT_TRUE(fs::exists(dir.file("C:")));
}

TEST(RemoveTree, RemovesNestedFoldersAndFiles) {
    TempDir dir;
    dir.put("tree/a/b/c/file");
    dir.put("tree/top");
    EXPECT_TRUE(remove_tree("  " + dir.file_text("tree")));
    EXPECT_FALSE(fs::exists(dir.file("tree")));
    EXPECT_FALSE(remove_tree(dir.file_text("tree")));
}

TEST(RemoveTree, NeverFollowsSymbolicLinks) {
    TempDir dir;
    dir.put("outside/deep/precious", "p");
    fs::create_directory(dir.file("tree"));
    fs::create_directory_symlink(dir.file("outside"), dir.file("tree/link"));
    fs::create_symlink(dir.file("outside/deep/precious"), dir.file("tree/file-link"));
    fs::create_directory_symlink(dir.file("outside"), dir.file("top-link"));

    EXPECT_TRUE(remove_tree(dir.file_text("tree")));
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir.file("tree"))));
    // A link named as the tree itself goes, not what it points to, also
    // when the name ends in "/".
    EXPECT_TRUE(remove_tree(dir.file_text("top-link/")));
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir.file("top-link"))));
    EXPECT_EQ(dir.contents("outside/deep/precious"), "p");
}

TEST(RemoveTree, LeavesDotEntriesAndTheirFolder) {
    TempDir dir;
    fs::create_directories(dir.file("tree/.git"));
    dir.put("tree/.keep", "k");
    dir.put("tree/plain");
    EXPECT_FALSE(remove_tree(dir.file_text("tree")));
    EXPECT_TRUE(fs::exists(dir.file("tree/.keep")));
    EXPECT_TRUE(fs::exists(dir.file("tree/.git")));
    EXPECT_FALSE(fs::exists(dir.file("tree/plain")));
}

TEST(RemoveTree, ClearsTheHostileTreeButItsDotEntries) {
    TempDir dir;
    const std::string root = dir.file("tree");
    testing::make_hostile_tree(root);
    dir.put("outside/inner/precious.jpg", "p");
    fs::create_directory_symlink("../outside", root + "/风景/away");

    EXPECT_TRUE(remove_tree(local_text(root + "/folder #?%\"\\ name")));
    EXPECT_FALSE(fs::exists(root + "/folder #?%\"\\ name"));
    EXPECT_FALSE(remove_tree(local_text(root)));
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(root)) left.push_back(entry.path().filename());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{".dot folder", ".hidden.jpg"}));
    EXPECT_TRUE(fs::exists(root + "/.dot folder/hidden1.jpg"));
    EXPECT_EQ(dir.contents("outside/inner/precious.jpg"), "p");
}

TEST(RemoveTree, DoesNotRemoveFiles) {
    TempDir dir;
    dir.put("file");
    EXPECT_FALSE(remove_tree(dir.file_text("file")));
    EXPECT_TRUE(fs::exists(dir.file("file")));
}

TEST(ReplacementProblem, AnswersAsTheReplacementWouldAndTouchesNothing) {
    TempDir dir;
    dir.put("config.ini", "old");
    dir.put("locked.ini", "old");
    ::chmod(dir.file("locked.ini").c_str(), 0444);
    fs::create_directory(dir.file("folder.ini"));
    fs::create_directory(dir.file("closed"));
    const auto problem = [&](const char* name) {
        return replacement_problem(dir.file_text(name), as_bytes("new"));
    };
    EXPECT_EQ(problem("config.ini"), std::nullopt);
    EXPECT_EQ(problem("new.ini"), std::nullopt);
    EXPECT_EQ(problem("locked.ini"), WriteProblem::ReadOnlyFile);
    EXPECT_EQ(problem("folder.ini"), WriteProblem::IsFolder);
    EXPECT_EQ(problem("missing/x.ini"), WriteProblem::Other);
    ::chmod(dir.file("closed").c_str(), 0555);
    testing::run_unprivileged(
        dir.path(), [&] { EXPECT_EQ(problem("closed/x.ini"), WriteProblem::FolderNotWritable); });
    EXPECT_EQ(dir.contents("config.ini"), "old");
    EXPECT_EQ(entry_count(dir.path()), 4);  // no trial file left behind
}

TEST(FileReplacement, TheOldFileStaysWholeUntilTheNewOneIsComplete) {
    TempDir dir;
    dir.put("page.html", "old page");
    ::chmod(dir.file("page.html").c_str(), 0640);
    {
        FileReplacement abandoned(dir.file_text("page.html"));
        EXPECT_TRUE(abandoned.write(as_bytes("half a ")));
        EXPECT_EQ(dir.contents("page.html"), "old page");
    }  // never finished: nothing changes, nothing is left behind
    EXPECT_EQ(dir.contents("page.html"), "old page");
    EXPECT_EQ(entry_count(dir.path()), 1);

    FileReplacement output(dir.file_text("page.html"));
    EXPECT_TRUE(output.write(as_bytes("new ")));
    EXPECT_TRUE(output.write(as_bytes("page")));
    EXPECT_EQ(dir.contents("page.html"), "old page");
    EXPECT_TRUE(output.finish());
    EXPECT_EQ(dir.contents("page.html"), "new page");
    struct stat status;
    ASSERT_EQ(::stat(dir.file("page.html").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    EXPECT_EQ(entry_count(dir.path()), 1);

    fs::create_directory(dir.file("taken.html"));
    EXPECT_FALSE(FileReplacement(dir.file_text("taken.html")).finish());
}

TEST(CopyFile, CopiesAndOverwrites) {
    TempDir dir;
    dir.put("source", std::string("new\0data", 8));
    dir.put("target", "a much longer old content");
    EXPECT_TRUE(copy_file(dir.file_text("source"), dir.file_text("target")));
    EXPECT_EQ(dir.contents("target"), std::string("new\0data", 8));
    EXPECT_TRUE(copy_file(dir.file_text("source"), dir.file_text("fresh")));
    EXPECT_EQ(dir.contents("fresh"), std::string("new\0data", 8));
}

TEST(CopyFile, FailsWithoutSourceOrDestinationFolder) {
    TempDir dir;
    dir.put("source", "s");
    fs::create_directory(dir.file("folder"));
    EXPECT_FALSE(copy_file(dir.file_text("missing"), dir.file_text("target")));
    EXPECT_FALSE(fs::exists(dir.file("target")));
    EXPECT_FALSE(copy_file(dir.file_text("source"), dir.file_text("missing/target")));
    EXPECT_FALSE(copy_file(dir.file_text("folder"), dir.file_text("target")));
    EXPECT_FALSE(copy_file(dir.file_text("source"), dir.file_text("folder")));
}

TEST(CopyFile, RefusesToCopyAFileOntoItself) {
    TempDir dir;
    dir.put("source", "keep me");
    fs::create_hard_link(dir.file("source"), dir.file("alias"));
    EXPECT_FALSE(copy_file(dir.file_text("source"), dir.file_text("source")));
    EXPECT_FALSE(copy_file(dir.file_text("source"), dir.file_text("alias")));
    EXPECT_EQ(dir.contents("source"), "keep me");
}

TEST(DeleteFile, DeletesOnlyFiles) {
    TempDir dir;
    dir.put("file");
    fs::create_directory(dir.file("folder"));
    EXPECT_TRUE(delete_file(dir.file_text("file")));
    EXPECT_FALSE(fs::exists(dir.file("file")));
    EXPECT_FALSE(delete_file(dir.file_text("file")));
    EXPECT_FALSE(delete_file(dir.file_text("folder")));
    EXPECT_TRUE(fs::exists(dir.file("folder")));
}

TEST(WriteFile, CreatesOrTruncatesAndWritesPartsInOrder) {
    TempDir dir;
    EXPECT_FALSE(write_file("", as_bytes("x")));
    const Text path = dir.file_text("out");
    dir.put("out", std::string(1000, 'o'));
    EXPECT_TRUE(write_file(path, {as_bytes("ab"), as_bytes(""), as_bytes("cd")}));
    EXPECT_EQ(dir.contents("out"), "abcd");
    EXPECT_TRUE(write_file(path, {as_bytes(""), as_bytes("")}));
    EXPECT_TRUE(fs::exists(dir.file("out")));
    EXPECT_EQ(fs::file_size(dir.file("out")), 0u);
    EXPECT_FALSE(write_file(dir.file_text("missing/out"), as_bytes("x")));
    EXPECT_FALSE(write_file(dir.text(), as_bytes("x")));
}

TEST(WriteFile, NeverWritesUnderAMangledName) {
    TempDir dir;
    EXPECT_FALSE(write_file(dir.text() + "/bad\xFF"
                                         "name",
                            as_bytes("x")));
    EXPECT_FALSE(write_file(dir.text() + "/cut\xB0", as_bytes("x")));
    EXPECT_FALSE(write_file(dir.text() + std::string("/zero\0name", 10), as_bytes("x")));
    EXPECT_FALSE(create_directory(dir.text() + "/bad\xFF"));
    EXPECT_EQ(entry_count(dir.path()), 0);
    // A good Chinese name lands on disk as UTF-8.
    EXPECT_TRUE(write_file(dir.text() + "/\xB7\xE7\xBE\xB0", as_bytes("x")));
    EXPECT_TRUE(fs::exists(dir.file("风景")));
}

TEST(ReplaceFileAtomically, ReplacesContentsAndKeepsTheMode) {
    TempDir dir;
    dir.put("config.ini", "old");
    ::chmod(dir.file("config.ini").c_str(), 0640);
    EXPECT_TRUE(replace_file_atomically(dir.file_text("config.ini"), as_bytes("new")));
    EXPECT_EQ(dir.contents("config.ini"), "new");
    EXPECT_EQ(fs::status(dir.file("config.ini")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_TRUE(replace_file_atomically(dir.file_text("fresh"), as_bytes("")));
    EXPECT_TRUE(fs::exists(dir.file("fresh")));
    EXPECT_EQ(entry_count(dir.path()), 2);  // no temporary file left
}

TEST(ReplaceFileAtomically, WritesThroughALink) {
    TempDir dir;
    dir.put("real.ini", "old");
    fs::create_symlink("real.ini", dir.file("link.ini"));
    EXPECT_TRUE(replace_file_atomically(dir.file_text("link.ini"), as_bytes("new")));
    EXPECT_TRUE(fs::is_symlink(dir.file("link.ini")));
    EXPECT_EQ(dir.contents("real.ini"), "new");
}

TEST(ReplaceFileAtomically, FailsAndLeavesTheOldFile) {
    TempDir dir;
    dir.put("file", "old");
    fs::create_directory(dir.file("folder"));
    EXPECT_FALSE(replace_file_atomically(dir.file_text("missing/file"), as_bytes("x")));
    EXPECT_FALSE(replace_file_atomically(dir.file_text("file/inner"), as_bytes("x")));
    EXPECT_FALSE(replace_file_atomically(dir.file_text("folder"), as_bytes("x")));
    EXPECT_FALSE(replace_file_atomically("", as_bytes("x")));
    EXPECT_EQ(dir.contents("file"), "old");
    dir.put("locked", "old");
    ::chmod(dir.file("locked").c_str(), 0444);
    EXPECT_FALSE(replace_file_atomically(dir.file_text("locked"), as_bytes("x")));
    EXPECT_EQ(dir.contents("locked"), "old");
    EXPECT_EQ(entry_count(dir.path()), 3);
    EXPECT_EQ(entry_count(dir.file("folder")), 0);
}

std::vector<std::string> temporary_files_of(const std::string& folder, const std::string& name) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string entry_name = entry.path().filename().string();
        if (entry_name.starts_with("." + name + ".")) found.push_back(entry_name);
    }
    return found;
}

// A writer killed between creating its temporary file and renaming it: the
// file keeps its old contents and the temporary file stays behind.
std::string kill_a_writer_midway(const TempDir& dir, const std::string& new_contents) {
    const pid_t writer = ::fork();
    if (writer == 0) {
        for (;;) replace_file_atomically(dir.file_text("config.ini"), as_bytes(new_contents));
    }
    for (int attempt = 0; attempt < 100000; ++attempt) {
        if (temporary_files_of(dir.path(), "config.ini").empty()) continue;
        ::kill(writer, SIGSTOP);
        ::waitpid(writer, nullptr, WUNTRACED);
        const std::vector<std::string> left = temporary_files_of(dir.path(), "config.ini");
        if (!left.empty()) {
            ::kill(writer, SIGKILL);
            ::waitpid(writer, nullptr, 0);
            return left.front();
        }
        ::kill(writer, SIGCONT);
    }
    ::kill(writer, SIGKILL);
    ::waitpid(writer, nullptr, 0);
    return std::string();
}

TEST(RemoveAbandonedReplacements, RemovesWhatAKilledWriterLeftAndNothingElse) {
    TempDir dir;
    dir.put("config.ini", "old");
    const std::string new_contents(4 << 20, 'n');
    const std::string abandoned = kill_a_writer_midway(dir, new_contents);
    ASSERT_FALSE(abandoned.empty());
    const std::string whole = dir.contents("config.ini");
    EXPECT_TRUE(whole == "old" || whole == new_contents) << whole.size() << " bytes";

    // A live writer's file (locked), and names no replacement of config.ini makes.
    const std::vector<std::string> kept = {".config.ini.Lock3d", ".config.ini.k-ep12",
                                           ".config.ini.abc",    ".other.ini.AbC123",
                                           "config.ini.AbC123",  ".config.ini.AbC1234"};
    for (const std::string& name : kept) dir.put(name);
    const int live = ::open(dir.file(".config.ini.Lock3d").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);
    fs::create_directory(dir.file(".config.ini.Dir123"));

    remove_abandoned_replacements(dir.file_text("config.ini"));
    ::close(live);
    EXPECT_FALSE(fs::exists(dir.file(abandoned)));
    for (const std::string& name : kept) EXPECT_TRUE(fs::exists(dir.file(name))) << name;
    EXPECT_TRUE(fs::exists(dir.file(".config.ini.Dir123")));
    EXPECT_EQ(dir.contents("config.ini"), whole);
}

TEST(ReadFile, ReadsEveryByte) {
    TempDir dir;
    dir.put("data", std::string("a\0b\xFF", 4));
    EXPECT_EQ(read_file(dir.file_text("data")), (Bytes{'a', 0, 'b', 0xFF}));
    dir.put("empty", "");
    EXPECT_EQ(read_file(dir.file_text("empty")), Bytes());
    EXPECT_EQ(read_file(dir.file_text("missing")), std::nullopt);
    EXPECT_EQ(read_file(dir.text()), std::nullopt);
}

// The bound holds inside the read: /proc/self/status says it is empty and
// is not, like a file that grows between a look at its size and its read.
TEST(ReadFileCapped, RefusesWhatIsLargerThanTheBoundWhateverItsSizeSays) {
    TempDir dir;
    dir.put("ten", "0123456789");
    dir.put("empty", "");
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0644), 0);
    using Status = CappedRead::Status;
    const struct {
        Text path;
        std::int64_t cap;
        Status status;
        std::size_t size;
    } cases[] = {
        {dir.file_text("ten"), 10, Status::Read, 10},
        {dir.file_text("ten"), 9, Status::TooLarge, 0},
        {dir.file_text("empty"), 0, Status::Read, 0},
        {"/proc/self/status", 10, Status::TooLarge, 0},
        {dir.file_text("missing"), 10, Status::Unreadable, 0},
        {dir.text(), 10, Status::Unreadable, 0},
        {dir.file_text("fifo"), 10, Status::Unreadable, 0},
    };
    for (const auto& c : cases) {
        const CappedRead read = read_file_capped(c.path, c.cap);
        EXPECT_EQ(read.status, c.status) << c.path << " within " << c.cap;
        EXPECT_EQ(read.bytes.size(), c.size) << c.path << " within " << c.cap;
    }
}

TEST(ReadFileEnds, GivesTheFirstAndLastBytesAndTheSize) {
    TempDir dir;
    dir.put("data", "0123456789");
    const auto ends = read_file_ends(dir.file_text("data"), 3, 2);
    ASSERT_TRUE(ends);
    EXPECT_EQ(ends->head, (Bytes{'0', '1', '2'}));
    EXPECT_EQ(ends->tail, (Bytes{'8', '9'}));
    EXPECT_EQ(ends->stamp.size, 10);
    const auto whole = read_file_ends(dir.file_text("data"), 64, 64);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->head.size(), 10u);
    EXPECT_EQ(whole->tail.size(), 10u);
    EXPECT_EQ(read_file_ends(dir.file_text("missing"), 3, 2), std::nullopt);
}

// Temporary files of many targets in one folder: only those of the names
// asked for, and only when no writer holds them.
TEST(RemoveAbandonedReplacements, InAFolderOnlyTheAskedForAndUnheld) {
    TempDir dir;
    const std::vector<std::string> abandoned = {".a-1.jpg.Ab12Cd", ".a-2.jpg.x9Y8z7"};
    const std::vector<std::string> kept = {".b-1.jpg.Ab12Cd", ".a-3.jpg.Lock3d", "a-1.jpg",
                                           ".a-1.jpg.Ab12C", ".a-1.jpg"};
    for (const std::string& name : abandoned) dir.put(name);
    for (const std::string& name : kept) dir.put(name);
    const int live = ::open(dir.file(".a-3.jpg.Lock3d").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);
    remove_abandoned_replacements_in(dir.text(),
                                     [](std::string_view name) { return name.starts_with("a-"); });
    ::close(live);
    for (const std::string& name : abandoned) EXPECT_FALSE(fs::exists(dir.file(name))) << name;
    for (const std::string& name : kept) EXPECT_TRUE(fs::exists(dir.file(name))) << name;
}

TEST(SpecialFiles, NeverHangOrCountAsFiles) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0644), 0);
    EXPECT_EQ(read_file(dir.file_text("fifo")), std::nullopt);
    EXPECT_FALSE(write_file(dir.file_text("fifo"), as_bytes("x")));
    EXPECT_FALSE(copy_file(dir.file_text("fifo"), dir.file_text("copy")));
    EXPECT_FALSE(fs::exists(dir.file("copy")));
}

TEST(FileIdentity, FollowsLinksToTheSameFolder) {
    TempDir dir;
    fs::create_directory(dir.file("a"));
    fs::create_directory(dir.file("b"));
    fs::create_directory_symlink("a", dir.file("link"));
    const auto a = file_identity(dir.file_text("a"));
    ASSERT_TRUE(a.has_value());
    EXPECT_EQ(file_identity(dir.file_text("link")), a);
    EXPECT_NE(file_identity(dir.file_text("b")), a);
    EXPECT_EQ(file_identity(dir.file_text("missing")), std::nullopt);
}

}  // namespace
}  // namespace galmora
