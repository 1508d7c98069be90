#include "shell/sub_gallery_list.h"

#include <gtest/gtest.h>

#include "core/codepage.h"
#include "tests/shell/library_window.h"

namespace galmora {
namespace {

using namespace galmora::literals;

using SubGalleryListTest = testing::LibraryWindowTest;

TEST_F(SubGalleryListTest, RefreshReplacesTheOldListAndSelectsThePrompt) {
    make_folder("我的图片库/b 风景");
    make_folder("我的图片库/A#1");
    make_folder("我的图片库/img");
    put_file("我的图片库/c.txt", "");
    start();
    ui().append_item(ControlId::SubGalleryList, "stale");
    ui().set_selected_index(ControlId::SubGalleryList, 2);
    window_->sub_galleries.refresh();
    EXPECT_EQ(items(ControlId::SubGalleryList),
              (std::vector<Text>{"选择要删除的子图库后点击 →"_t, "A#1", "b 风景"_t}));
    EXPECT_EQ(ui().selected_index(ControlId::SubGalleryList), 0);
    EXPECT_FALSE(entry_exists("我的图片库/index.html"));  // a refresh alone rebuilds nothing
}

// What a generation or a deletion does after it: the page rebuilt, the
// choices ended.
TEST_F(SubGalleryListTest, RebuildTakesTheFormsTextsAndTheChoicesEnd) {
    start();
    put_pictures();
    window_->selection.take_logo(current(), local("pictures/logo.png"));
    ui().set_text(ControlId::CoverBox, "已选封面"_t);
    ui().set_text_colour(ControlId::CoverBox, rgb(0, 136, 255));
    ui().set_text(ControlId::LogoBox, "已选Logo"_t);
    ui().set_text(ControlId::SiteTitleLink, "http://example.test/");
    ui().set_text(ControlId::SiteIntroduction, "介绍文字"_t);
    EXPECT_TRUE(window_->sub_galleries.rebuild_main_page());
    window_->logo_cover.end_choices();

    const std::string page = file_bytes("我的图片库/index.html");
    EXPECT_NE(page.find("<title>我的图片库</title>"), std::string::npos);
    EXPECT_NE(page.find("http://example.test/"), std::string::npos);
    EXPECT_NE(page.find("介绍文字"), std::string::npos);
    EXPECT_EQ(ui().text(ControlId::CoverBox), "默认封面"_t);
    EXPECT_EQ(ui().text(ControlId::LogoBox), "默认Logo"_t);
    EXPECT_EQ(ui().text_colour(ControlId::CoverBox), rgb(0, 136, 255));
    EXPECT_EQ(window_->selection.chosen_logo(), "");
}

}  // namespace
}  // namespace galmora
