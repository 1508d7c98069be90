#include "generator/image_scanner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "core/codepage.h"
#include "generator/page_blocks.h"
#include "tests/support/child_run.h"
#include "tests/support/hostile_tree.h"
#include "tests/support/temp_dir.h"

namespace galmora {
namespace {

namespace fs = std::filesystem;
using namespace galmora::literals;
using testing::TempDir;

// The sources of the pictures in markup order.
std::vector<std::string> sources(const Text& markup) {
    static const std::regex picture(R"re(id="Img(\d+)" class="myImg" src="([^"]*)")re");
    std::vector<std::string> found;
    for (std::sregex_iterator it(markup.begin(), markup.end(), picture), end; it != end; ++it)
        found.push_back((*it)[1].str() + " " + (*it)[2].str());
    return found;
}

// The scan's pictures in blocks of per_page, as a generation composes them.
struct ScanSettings {
    bool network_mode = false;
    Text web_address;
    int per_page = 0;
};
PageBlocks scan(const fs::path& folder, ScanSettings settings = {}) {
    const PictureList pictures = ImageScanner::scan_pictures(
        local_text(folder.string()), {settings.network_mode, settings.web_address});
    return page_blocks(pictures, settings.per_page);
}

TEST(IsPictureName, AcceptsExactlyTheEighteenSuffixForms) {
    for (const char* name :
         {"a.jpg", "a.png", "a.gif", "a.bmp", "a.jpeg", "a.webp", "a.JPG", "a.PNG", "a.GIF",
          "a.BMP", "a.JPEG", "a.WEBP", "a.Jpg", "a.Png", "a.Gif", "a.Bmp", "a.Jpeg", "a.Webp"})
        EXPECT_TRUE(ImageScanner::is_picture_name(name)) << name;
    EXPECT_TRUE(ImageScanner::is_picture_name("photojpg"));  // no dot needed
    EXPECT_TRUE(ImageScanner::is_picture_name("jpg"));       // compared whole
    for (const char* name : {"x.jPg", "x.JPeG", "x.tif", "pg", "", "a.jpg ", "a.jp"})
        EXPECT_FALSE(ImageScanner::is_picture_name(name)) << name;
}

// HEIC, HEIF and AVIF in the same three forms, counted only where asked;
// with them, every other picture keeps its place in the scan's order.
TEST(IsPictureName, PhoneFormatsCountOnlyWhenAsked) {
    const auto phone = PictureFormats::WebAndPhone;
    for (const char* name : {"a.heic", "a.heif", "a.avif", "a.HEIC", "a.HEIF", "a.AVIF", "a.Heic",
                             "a.Heif", "a.Avif", "IMG_0001heic"}) {
        EXPECT_TRUE(ImageScanner::is_picture_name(name, phone)) << name;
        EXPECT_FALSE(ImageScanner::is_picture_name(name)) << name;
    }
    for (const char* name : {"a.hEiC", "a.HEic", "a.heics", "a.hei", "a.avi"})
        EXPECT_FALSE(ImageScanner::is_picture_name(name, phone)) << name;
    EXPECT_TRUE(ImageScanner::is_picture_name("a.Jpeg", phone));

    TempDir dir;
    for (const char* name : {"a.jpg", "b.HEIC", "c.png", "d.avif", "e.Heif", "f.hEiC"})
        dir.put(name);
    EXPECT_EQ(ImageScanner::count_picture_files(dir.text()), 2);
    EXPECT_EQ(ImageScanner::count_picture_files(dir.text(), phone), 5);
    const PictureList pictures = ImageScanner::scan_pictures(dir.text(), {}, phone);
    std::vector<Text> names;
    for (std::size_t i = 0; i < pictures.size(); ++i) names.push_back(pictures.name(i));
    EXPECT_EQ(names, (std::vector<Text>{"a.jpg", "b.HEIC", "c.png", "d.avif", "e.Heif"}));
}

TEST(ScanPictures, CountsByNameSuffixOnly) {
    TempDir dir;
    for (const char* name : {"a.jpg", "b.PNG", "c.Gif", "d.jPg", "e.txt"}) dir.put(name);
    dir.put("photojpg");
    dir.put("x.jpeg");
    PageBlocks blocks = scan(fs::path(dir.path()));
    EXPECT_EQ(blocks.picture_count, 5);
    EXPECT_EQ(sources(blocks.current_page_markup).size(), 5u);  // x.jpeg only once
    EXPECT_EQ(ImageScanner::count_picture_files(dir.text()), 5);
}

TEST(ScanPictures, NumbersNestedFoldersWhereTheyAreMet) {
    TempDir dir;
    const fs::path root = fs::path(dir.path());
    for (const char* name :
         {"a.jpg", "B/c.jpg", "B/deep/d.png", "B/e.jpg", "b_f.jpg", ".hidden/h.jpg", "z.jpg"})
        dir.put(name);
    const std::string base = root.string() + "/";
    EXPECT_EQ(sources(scan(root).current_page_markup),
              (std::vector<std::string>{"1 " + base + "a.jpg", "2 " + base + "B/c.jpg",
                                        "3 " + base + "B/deep/d.png", "4 " + base + "B/e.jpg",
                                        "5 " + base + "b_f.jpg", "6 " + base + "z.jpg"}));
    // A trailing "/" is not doubled.
    EXPECT_EQ(sources(scan(root.string() + "/").current_page_markup)[0], "1 " + base + "a.jpg");
}

TEST(ScanPictures, ScansEveryRealFolderOnceThroughLinks) {
    TempDir dir;
    const fs::path root = fs::path(dir.path());
    dir.put("a/1.jpg");
    dir.put("a/inner/2.jpg");
    fs::create_directory_symlink(root, root / "a" / "inner" / "loop");  // back to the top
    fs::create_directory_symlink(root / "a", root / "b-link");          // a second way into a
    dir.put("c/3.jpg");
    fs::create_directory_symlink(root / "c", root / "a" / "to-c");  // met before c itself
    PageBlocks blocks = scan(root);
    EXPECT_EQ(blocks.picture_count, 3);
    EXPECT_EQ(sources(blocks.current_page_markup),
              (std::vector<std::string>{"1 " + (root / "a/1.jpg").string(),
                                        "2 " + (root / "a/inner/2.jpg").string(),
                                        "3 " + (root / "a/to-c/3.jpg").string()}));
}

TEST(ScanPictures, UnreadableFolderContributesNothing) {
    TempDir dir;
    dir.put("a.jpg");
    dir.put("locked/b.jpg");
    fs::permissions(fs::path(dir.path()) / "locked", fs::perms::none);
    testing::run_unprivileged(dir.path(), [&] { EXPECT_EQ(scan(dir.path()).picture_count, 1); });
    fs::permissions(fs::path(dir.path()) / "locked", fs::perms::owner_all);
}

TEST(ScanPictures, NothingToScanGivesNoPictures) {
    TempDir dir;
    dir.put("file.jpg");
    for (const std::string& folder :
         {std::string(), (fs::path(dir.path()) / "missing").string(),
          (fs::path(dir.path()) / "file.jpg").string(),
          fs::path(dir.path()).string() + "\r\n" + fs::path(dir.path()).string() + "\r\n"}) {
        PageBlocks blocks = scan(folder);
        EXPECT_EQ(blocks.picture_count, 0) << folder;
        EXPECT_TRUE(blocks.current_page_markup.empty());
    }
}

TEST(ScanPictures, HostileTreeGivesItsDocumentedCount) {
    TempDir dir;
    testing::make_hostile_tree(dir.path());
    // Links are followed, each real folder entered once.
    PageBlocks blocks = scan(dir.path());
    EXPECT_EQ(blocks.picture_count, testing::kHostilePictureCountFollowingLinks);
    // No name breaks out of its src attribute (quote".jpg, what?.png, hash#1.jpg ...).
    EXPECT_EQ(int(sources(blocks.current_page_markup).size()), blocks.picture_count);
    EXPECT_EQ(ImageScanner::count_picture_files(dir.text()),
              testing::kHostilePictureCountFollowingLinks);
}

TEST(ScanPictures, SourcesFollowTheAddressingMode) {
    TempDir dir;
    for (const char* name : {"sub/a.jpg", "sub/b#1.jpg", "sub/c&amp;\t.jpg"}) dir.put(name);
    ScanSettings network{true, "http://example.test/pics/", 0};
    EXPECT_EQ(sources(scan(fs::path(dir.path()), network).current_page_markup),
              (std::vector<std::string>{"1 http://example.test/pics/a.jpg",
                                        "2 http://example.test/pics/b%231.jpg",
                                        "3 http://example.test/pics/c%26amp;%09.jpg"}));
    ScanSettings local{false, "http://ignored/", 0};
    EXPECT_EQ(
        sources(scan(fs::path(dir.path()), local).current_page_markup),
        (std::vector<std::string>{"1 " + (fs::path(dir.path()) / "sub/a.jpg").string(),
                                  "2 " + (fs::path(dir.path()) / "sub/b%231.jpg").string(),
                                  "3 " + (fs::path(dir.path()) / "sub/c%26amp;%09.jpg").string()}));
}

TEST(ScanPictures, EncodesTheFolderPartOfLocalSources) {
    TempDir dir;
    dir.put("50% #2/a.jpg");
    EXPECT_EQ(sources(scan(fs::path(dir.path()) / "50% #2").current_page_markup),
              std::vector<std::string>{"1 " + fs::path(dir.path()).string() + "/50%25 %232/a.jpg"});
}

// Pictures per closed page block, checking that blocks are numbered 1, 2, ...
std::vector<int> block_sizes(const Text& pages) {
    std::vector<int> sizes;
    std::size_t at = 0;
    for (int n = 1;; ++n) {
        const std::string head = "<div class=\"page-" + std::to_string(n) + "\">\r\n";
        if (pages.compare(at, head.size(), head) != 0) break;
        const std::size_t end = pages.find("</div>\r\n", at);
        sizes.push_back(int(sources(pages.substr(at, end - at)).size()));
        at = end + 8;
    }
    EXPECT_EQ(at, pages.size()) << "unexpected text after the blocks";
    return sizes;
}

TEST(ScanPaging, ClosesAPageEveryPerPagePictures) {
    TempDir dir;
    for (const char* name : {"1.jpg", "2.jpg", "3.jpg", "4.jpg", "5.jpg"}) dir.put(name);
    PageBlocks blocks = scan(fs::path(dir.path()), {false, "", 2});
    EXPECT_EQ(blocks.page_count, 2);
    EXPECT_EQ(block_sizes(blocks.pages_markup), (std::vector<int>{2, 2}));
    EXPECT_EQ(sources(blocks.current_page_markup),
              std::vector<std::string>{"5 " + (fs::path(dir.path()) / "5.jpg").string()});
    EXPECT_EQ(blocks.in_page_counter, 2);
    EXPECT_EQ(PageBlocks().in_page_counter, 1);  // where every scan starts

    for (int per_page : {0, -3}) {  // never closes a page
        PageBlocks all = scan(fs::path(dir.path()), {false, "", per_page});
        EXPECT_EQ(all.page_count, 0);
        EXPECT_TRUE(all.pages_markup.empty());
        EXPECT_EQ(sources(all.current_page_markup).size(), 5u);
    }
}

}  // namespace
}  // namespace galmora
