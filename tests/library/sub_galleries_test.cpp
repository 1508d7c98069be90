#include "library/sub_galleries.h"

#include <gtest/gtest.h>

#include "core/codepage.h"
#include "tests/library/library_fixture.h"

namespace galmora {
namespace {

using namespace galmora::literals;
using testing::LibraryTest;

// A config.ini with the given records, in slots 1, 2, ...
std::string config_with(std::initializer_list<std::pair<const char*, const char*>> records,
                        const char* lanterns = "1") {
    std::string text = "[NAME]\r\nname=0\r\n[images]\r\nnum=" + std::to_string(records.size()) +
                       "\r\n[Logo]\r\nweblogo=logo.png\r\n";
    int slot = 1;
    for (const auto& [name, cover] : records) {
        text += "[P" + std::to_string(slot) + "]\r\npname=" + local_text(name) +
                "\r\npimg=" + cover + "\r\npnum=" + std::to_string(slot * 10) +
                "\r\nphd=" + local_text("高清") + "\r\npstar=" + local_text("★★★") + "\r\n";
        ++slot;
    }
    return text + "[dl]\r\nd=" + lanterns + "\r\n";
}

class SubGalleryTest : public LibraryTest {
  protected:
    void rebuild() {
        state().rebuild_flag = true;
        session_->sub_galleries.refresh_sub_gallery_list();
    }
    std::string page() const { return file_bytes("我的图片库/index.html"); }
};

// refresh_sub_gallery_list --------------------------------------------------

using RefreshSubGalleryList = SubGalleryTest;

TEST_F(RefreshSubGalleryList, AssetFoldersAloneListOnlyThePrompt) {
    for (const char* folder : {"img", "js", "stylecss"})
        make_folder(std::string("我的图片库/") + folder);
    put_file("我的图片库/index.html", "old");
    start();
    EXPECT_EQ(items(ControlId::SubGalleryList), std::vector<Text>{"选择要删除的子图库后点击 →"_t});
    EXPECT_EQ(ui().selected_index(ControlId::SubGalleryList), 0);
}

TEST_F(RefreshSubGalleryList, ListsFoldersNotFilesAndReplacesTheOldList) {
    make_folder("我的图片库/b 风景");
    make_folder("我的图片库/A#1");
    put_file("我的图片库/c.txt", "");
    start();
    ui().append_item(ControlId::SubGalleryList, "stale");
    ui().set_selected_index(ControlId::SubGalleryList, 2);
    session_->sub_galleries.refresh_sub_gallery_list();
    EXPECT_EQ(items(ControlId::SubGalleryList),
              (std::vector<Text>{"选择要删除的子图库后点击 →"_t, "A#1", "b 风景"_t}));
    EXPECT_EQ(ui().selected_index(ControlId::SubGalleryList), 0);
    EXPECT_FALSE(entry_exists("我的图片库/index.html"));  // flag not set
}

// rebuild_main_page ---------------------------------------------------------

using RebuildMainPage = SubGalleryTest;

TEST_F(RebuildMainPage, HandMadeFolderIsListedButHasNoCard) {
    make_folder("我的图片库/手工");
    make_folder("我的图片库/风景");
    put_config(config_with({{"风景", "fm.jpg"}}));
    start();
    rebuild();
    EXPECT_EQ(items(ControlId::SubGalleryList).size(), 3u);
    EXPECT_EQ(card_count("我的图片库"), 1);
    EXPECT_NE(page().find("风景"), std::string::npos);
    EXPECT_EQ(page().find("手工"), std::string::npos);
}

TEST_F(RebuildMainPage, CardsGroupedByFolderInListingOrderOnePerRecord) {
    make_folder("我的图片库/b");
    make_folder("我的图片库/a");
    // A record whose folder is gone shows nothing.
    put_config(
        config_with({{"b", "fm1.jpg"}, {"a", "fm2.jpg"}, {"gone", "fm3.jpg"}, {"b", "fm4.jpg"}}));
    start();
    rebuild();
    EXPECT_EQ(card_count("我的图片库"), 3);
    const std::string html = page();
    const auto a = html.find("./img/fm2.jpg"), b1 = html.find("./img/fm1.jpg"),
               b4 = html.find("./img/fm4.jpg");
    ASSERT_NE(a, std::string::npos);
    EXPECT_LT(a, b1);
    EXPECT_LT(b1, b4);
    EXPECT_EQ(html.find("fm3.jpg"), std::string::npos);
    EXPECT_NE(html.find("共计<span style=\"color: rgb(247, 150, 70);\">40</span>"),
              std::string::npos);
}

TEST_F(RebuildMainPage, FolderNamedLikeAMainGalleryStillGetsItsCard) {
    make_folder("B");
    make_folder("我的图片库/B");
    put_config(config_with({{"B", "fm.jpg"}}));
    start();
    rebuild();
    EXPECT_EQ(card_count("我的图片库"), 1);
}

TEST_F(RebuildMainPage, PageValuesComeFromTheFormAndTheFile) {
    put_config(config_with({}, "0"));
    config_.update([](GalleryConfig::Edit& edit) { edit.set_site_logo("logo123456789.gif"); });
    start();
    ui().set_text(ControlId::SiteTitleLink, "http://example.test/");
    ui().set_text(ControlId::SiteIntroduction, "介绍文字"_t);
    rebuild();
    const std::string html = page();
    EXPECT_NE(html.find("<title>我的图片库</title>"), std::string::npos);
    EXPECT_NE(html.find("type=\"image/gif\" href=\"./img/logo123456789.gif\""), std::string::npos);
    EXPECT_NE(html.find("http://example.test/"), std::string::npos);
    EXPECT_NE(html.find("介绍文字"), std::string::npos);
    EXPECT_EQ(html.find("kl.js"), std::string::npos);  // lanterns off

    config_.update([](GalleryConfig::Edit& edit) { edit.set_lanterns_on(true); });
    rebuild();
    EXPECT_NE(page().find("<script src=\"./js/kl.js\"></script>"), std::string::npos);
}

TEST_F(RebuildMainPage, ResetsTheCoverAndLogoCaptionsButNotTheirColours) {
    start();
    ui().set_text(ControlId::CoverBox, "已选封面"_t);
    ui().set_text_colour(ControlId::CoverBox, rgb(0, 136, 255));
    ui().set_text(ControlId::LogoBox, "已选Logo"_t);
    rebuild();
    EXPECT_EQ(ui().text(ControlId::CoverBox), "默认封面"_t);
    EXPECT_EQ(ui().text(ControlId::LogoBox), "默认Logo"_t);
    EXPECT_EQ(ui().text_colour(ControlId::CoverBox), rgb(0, 136, 255));
}

TEST_F(RebuildMainPage, WritesNothingWithoutACurrentMainGallery) {
    start();
    for (const Text& bad : {Text(), root_.text(), root_.text() + "/", root_.text() + "/.."}) {
        state().current_main_gallery = bad;
        session_->sub_galleries.rebuild_main_page();
    }
    EXPECT_FALSE(entry_exists("index.html"));
    EXPECT_FALSE(entry_exists("我的图片库/index.html"));
}

}  // namespace
}  // namespace galmora
