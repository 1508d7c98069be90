#include "core/directory_scan.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "core/codepage.h"
#include "core/files.h"
#include "tests/support/child_run.h"
#include "tests/support/hostile_tree.h"
#include "tests/support/temp_dir.h"

namespace galmora {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

using Entries = std::vector<std::pair<std::string, int>>;
using Names = std::vector<std::string>;

// Every name a scan yields, as UTF-8, with its attributes.
Entries scan_all(const Text& pattern, int mask) {
    Entries found;
    DirectoryScan scan;
    for (Text name = scan.find_first(pattern, mask); !name.empty(); name = scan.find_next())
        found.emplace_back(utf8_string(name), scan.attributes());
    EXPECT_EQ(scan.attributes(), -1);
    return found;
}

Names names_of(const Entries& found) {
    Names names;
    for (const auto& entry : found) names.push_back(entry.first);
    return names;
}

Names listing(const Text& pattern) {
    return names_of(scan_all(pattern, kAllEntries));
}

TEST(DirectoryScan, ListsDotsFirstInAnEmptyFolder) {
    TempDir dir;
    EXPECT_EQ(scan_all(dir.file_text("*.*"), kAllEntries), (Entries{{".", 0x10}, {"..", 0x10}}));
    EXPECT_EQ(scan_all(dir.file_text("*"), kDirectory), (Entries{{".", 0x10}, {"..", 0x10}}));
}

TEST(DirectoryScan, SortsLikeAnNtfsListing) {
    TempDir dir;
    for (const char* name : {"a_b.txt", "b", "ab.txt", "B2", "Zeta", "风景", "a", "_x", "1"})
        dir.put(name);
    EXPECT_EQ(listing(dir.file_text("*.*")),
              (Names{".", "..", "1", "a", "ab.txt", "a_b.txt", "b", "B2", "Zeta", "_x", "风景"}));
}

TEST(DirectoryScan, MaskSelectsByAttributes) {
    TempDir dir;
    dir.put("file.jpg");
    dir.put(".hidden.jpg");
    fs::create_directory(dir.file("folder"));
    fs::create_directory(dir.file(".dots"));
    EXPECT_EQ(scan_all(dir.file_text("*.*"), kDirectory),
              (Entries{{".", 0x10}, {"..", 0x10}, {".dots", 0x12}, {"folder", 0x10}}));
    EXPECT_EQ(scan_all(dir.file_text("*.*"), kHidden),
              (Entries{{".dots", 0x12}, {".hidden.jpg", 0x22}}));
    EXPECT_EQ(scan_all(dir.file_text("*.*"), kArchive),
              (Entries{{".hidden.jpg", 0x22}, {"file.jpg", 0x20}}));
    EXPECT_TRUE(scan_all(dir.file_text("*.*"), 0).empty());
}

TEST(DirectoryScan, MatchesWildcardsWithoutRegardToCase) {
    TempDir dir;
    for (const char* name : {"a.jpg", "b.JPG", "c.jpeg", "jpg", "d.png"}) dir.put(name);
    EXPECT_EQ(listing(dir.file_text("*.jpg")), (Names{"a.jpg", "b.JPG"}));
    EXPECT_EQ(listing(dir.file_text("?.*")),
              (Names{".", "..", "a.jpg", "b.JPG", "c.jpeg", "d.png"}));
    EXPECT_EQ(listing(dir.file_text("jpg")), (Names{"jpg"}));
}

TEST(DirectoryScan, SkipsNamesThatAreNotUtf8) {
    TempDir dir;
    dir.put("good.jpg");
    dir.put("bad\xFF\xFE.jpg");
    dir.put("cut\xE9.jpg");
    fs::create_directory(dir.file("folder\xC0"));
    EXPECT_EQ(listing(dir.file_text("*.*")), (Names{".", "..", "good.jpg"}));
}

TEST(DirectoryScan, SkipsLinksThatLeadNowhere) {
    TempDir dir;
    fs::create_symlink("nowhere", dir.file("dangling.jpg"));
    fs::create_directory(dir.file("folder"));
    fs::create_directory_symlink("folder", dir.file("link"));
    EXPECT_EQ(scan_all(dir.file_text("*.*"), kAllEntries),
              (Entries{{".", 0x10}, {"..", 0x10}, {"folder", 0x10}, {"link", 0x10}}));
}

TEST(DirectoryScan, AMissingFolderListsNothing) {
    TempDir dir;
    dir.put("file");
    EXPECT_TRUE(scan_all(dir.file_text("missing/*.*"), kAllEntries).empty());
    EXPECT_TRUE(scan_all(dir.file_text("file/*.*"), kAllEntries).empty());
    EXPECT_TRUE(scan_all("", kAllEntries).empty());
    EXPECT_TRUE(scan_all(dir.text() + "/\xFF*.*", kAllEntries).empty());
}

TEST(DirectoryScan, AnUnreadableFolderListsAsEmpty) {
    TempDir dir;
    fs::create_directory(dir.file("closed"));
    dir.put("closed/inside");
    ::chmod(dir.file("closed").c_str(), 0);
    testing::run_unprivileged(dir.path(), [&] {
        EXPECT_EQ(listing(dir.file_text("closed/*.*")), (Names{".", ".."}));
    });
}

TEST(DirectoryScan, ScansRunIndependently) {
    TempDir dir;
    dir.put("a");
    dir.put("b");
    DirectoryScan outer, inner;
    EXPECT_EQ(outer.find_first(dir.file_text("?"), kArchive), "a");
    EXPECT_EQ(inner.find_first(dir.file_text("*"), kArchive), "a");
    EXPECT_EQ(inner.find_next(), "b");
    EXPECT_EQ(outer.find_next(), "b");
    EXPECT_EQ(outer.find_next(), "");
    EXPECT_EQ(outer.find_next(), "");
    // find_first starts over; close ends the listing.
    EXPECT_EQ(inner.find_first(dir.file_text("*"), kArchive), "a");
    inner.close();
    EXPECT_EQ(inner.find_next(), "");
    EXPECT_EQ(inner.attributes(), -1);
    inner.close();
}

TEST(DirectoryScan, OrdersNamesThatDifferOnlyInCaseByTheirBytes) {
    TempDir dir;
    for (const char* name : {"b.jpg", "风景b", "B.jpg", "风景a", "风景B", "a_b", "A_B"})
        dir.put(name);
    EXPECT_EQ(listing(dir.file_text("*.*")),
              (Names{".", "..", "A_B", "a_b", "B.jpg", "b.jpg", "风景a", "风景B", "风景b"}));
}

TEST(DirectoryScan, TellsReadOnlyFilesWhenAsked) {
    TempDir dir;
    dir.put("locked.jpg");
    dir.put("open.jpg");
    fs::create_directory(dir.file("folder"));
    ::chmod(dir.file("locked.jpg").c_str(), 0444);
    fs::create_symlink("locked.jpg", dir.file("link.jpg"));
    // A mask of read-only alone finds the files that are, links followed.
    EXPECT_EQ(scan_all(dir.file_text("*.*"), kReadOnly),
              (Entries{{"link.jpg", 0x21}, {"locked.jpg", 0x21}}));
    DirectoryScan scan;
    EXPECT_EQ(scan.find_first(dir.file_text("locked.jpg"), kAllEntries), "locked.jpg");
    EXPECT_FALSE(scan.is_plain_folder());
    EXPECT_EQ(scan.attributes(), 0x21);
    EXPECT_EQ(scan.attributes(), 0x21);
    EXPECT_EQ(scan.find_next(), "");
    EXPECT_EQ(scan.attributes(), -1);
}

TEST(DirectoryScan, AFolderThatCannotBeSearchedListsAsEmpty) {
    TempDir dir;
    fs::create_directory(dir.file("closed"));
    dir.put("closed/inside.jpg");
    fs::create_directory(dir.file("closed/folder"));
    ::chmod(dir.file("closed").c_str(), 0444);  // readable, not searchable
    testing::run_unprivileged(dir.path(), [&] {
        EXPECT_EQ(listing(dir.file_text("closed/*.*")), (Names{".", ".."}));
        EXPECT_FALSE(path_exists(dir.file_text("closed/*.jpg")));
    });
    ::chmod(dir.file("closed").c_str(), 0755);
}

// The hostile tree's root in the order DirectoryScan lists it, "/" marking
// the entries it takes for plain folders (attributes exactly 0x10).
const Names kHostileRootMarked = {"./",
                                  "../",
                                  ".dot folder",
                                  ".hidden.jpg",
                                  "100%.gif",
                                  "<img src=x onerror=alert(1)>/",
                                  "a.jpg",
                                  "a<b/",
                                  "b.PNG",
                                  "back\\slash.jpg",
                                  "c.Gif",
                                  "d.jPg",
                                  "e.txt",
                                  "empty/",
                                  "folder #?%\"\\ name/",
                                  "hash#1.jpg",
                                  "line\nbreak.jpg",
                                  "link to dot/",
                                  "link to 风景/",
                                  "notes.md",
                                  "photojpg",
                                  "quote\".jpg",
                                  "README",
                                  "tab\there.jpg",
                                  "what?.png",
                                  "x&copy/",
                                  "x&copy.jpg",
                                  "x.jpeg",
                                  "y&amp;z.jpg",
                                  "只读.jpg",
                                  "癨.png",
                                  "风景/",
                                  "风景.jpg",
                                  "😀 smile.gif"};

Names without_marks(Names names) {
    for (std::string& name : names)
        if (name.ends_with('/')) name.pop_back();
    return names;
}

// Each entry's name, with "/" when the scan takes it for a plain folder.
std::vector<std::string> plain_folders_marked(const Text& folder) {
    std::vector<std::string> names;
    DirectoryScan scan;
    for (Text name = scan.find_first(folder + "/*.*", kAllEntries); !name.empty();
         name = scan.find_next()) {
        const bool plain = scan.is_plain_folder();
        EXPECT_EQ(plain, file_attributes(folder + "/" + name) == kDirectory) << name;
        EXPECT_EQ(plain, scan.attributes() == kDirectory) << name;
        EXPECT_EQ(plain, scan.is_plain_folder());
        names.push_back(utf8_string(name) + (plain ? "/" : ""));
    }
    EXPECT_FALSE(scan.is_plain_folder());
    return names;
}

TEST(DirectoryScan, IsPlainFolderAgreesWithTheAttributes) {
    TempDir dir;
    testing::make_hostile_tree(dir.path());
    int folders = 0;
    for (const auto& item : fs::recursive_directory_iterator(dir.path())) {
        if (!item.is_directory() || item.is_symlink()) continue;
        plain_folders_marked(local_text(item.path().string()));
        ++folders;
    }
    EXPECT_GE(folders, 5);
    EXPECT_EQ(plain_folders_marked(dir.text()), kHostileRootMarked);
}

// The picture scan other modules build on: depth-first, descending only into
// plain folders (exactly 0x10), pictures recognised by their name's ending.
bool is_picture_name(const Text& name) {
    for (const char* suffix : {"jpg", "png", "gif", "bmp", "jpeg", "webp", "JPG", "PNG", "GIF",
                               "BMP", "JPEG", "WEBP", "Jpg", "Png", "Gif", "Bmp", "Jpeg", "Webp"}) {
        const std::string_view s(suffix);
        if (right_text(name, static_cast<int>(s.size())) == s) return true;
    }
    return false;
}

struct PictureScan {
    bool follow_links = false;
    std::vector<FileIdentity> seen;
    std::vector<std::string> found;

    void scan(const Text& root, const Text& relative) {
        const Text folder = relative.empty() ? root : root + "/" + relative;
        if (follow_links) {
            const auto identity = file_identity(folder);
            if (!identity || std::find(seen.begin(), seen.end(), *identity) != seen.end()) return;
            seen.push_back(*identity);
        }
        DirectoryScan listing;
        for (Text name = listing.find_first(folder + "/*.*", kAllEntries); !name.empty();
             name = listing.find_next()) {
            if (name == "." || name == "..") continue;
            const Text path = relative.empty() ? name : relative + "/" + name;
            const bool link = fs::is_symlink(utf8_string(root + "/" + path));
            if (file_attributes(root + "/" + path) == kDirectory) {
                if (!link || follow_links) scan(root, path);
            } else if (is_picture_name(name)) {
                found.push_back(utf8_string(path));
            }
        }
    }
};

TEST(HostileTree, ListsItsRootInTheDocumentedOrder) {
    TempDir dir;
    testing::make_hostile_tree(dir.path());
    EXPECT_EQ(listing(dir.file_text("*.*")), without_marks(kHostileRootMarked));
    DirectoryScan scan;
    EXPECT_EQ(scan.find_first(dir.file_text(".dot folder"), kAllEntries), ".dot folder");
    EXPECT_EQ(scan.attributes(), kDirectory | kHidden);
    EXPECT_EQ(scan.find_first(dir.file_text("只读.jpg"), kAllEntries), "\xD6\xBB\xB6\xC1.jpg");
    EXPECT_EQ(scan.attributes(), kArchive | kReadOnly);
    EXPECT_EQ(listing(dir.file_text("empty/*.*")), (Names{".", ".."}));
}

TEST(HostileTree, ADepthFirstScanFindsTheDocumentedPictures) {
    TempDir dir;
    testing::make_hostile_tree(dir.path());
    PictureScan plain;
    plain.scan(dir.text(), "");
    EXPECT_EQ(plain.found, testing::hostile_pictures());
    EXPECT_EQ(static_cast<int>(plain.found.size()), testing::kHostilePictureCount);

    PictureScan following;
    following.follow_links = true;
    following.scan(dir.text(), "");
    EXPECT_EQ(static_cast<int>(following.found.size()),
              testing::kHostilePictureCountFollowingLinks);
}

}  // namespace
}  // namespace galmora
