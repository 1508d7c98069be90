#include "library/main_galleries.h"

#include <gtest/gtest.h>

#include "core/codepage.h"
#include "tests/library/library_fixture.h"

namespace galmora {
namespace {

using namespace galmora::literals;
using testing::kDefaultConfig;
using testing::LibraryTest;

std::vector<Text> texts(std::initializer_list<const char*> utf8) {
    std::vector<Text> result;
    for (const char* item : utf8) result.push_back(local_text(item));
    return result;
}

// restore_main_gallery ------------------------------------------------------

using RestoreMainGallery = LibraryTest;

TEST_F(RestoreMainGallery, FirstStartCreatesTheDefaultMainGallery) {
    start();
    EXPECT_TRUE(entry_exists("我的图片库"));
    EXPECT_EQ(items(ControlId::MainGalleryList), texts({"我的图片库"}));
    EXPECT_EQ(ui().selected_index(ControlId::MainGalleryList), 0);
    EXPECT_EQ(config_text(), kDefaultConfig);
    EXPECT_EQ(ui().text(ControlId::SiteTitle), "我的图片库"_t);
    EXPECT_EQ(state().current_main_gallery, local("我的图片库"));
    EXPECT_EQ(items(ControlId::SubGalleryList), texts({"选择要删除的子图库后点击 →"}));
    EXPECT_FALSE(entry_exists("我的图片库/index.html"));
}

TEST_F(RestoreMainGallery, ListsEveryFolderOnceInListingOrder) {
    make_folder("我的图片库/风景");
    make_folder("旅行");
    make_folder("Beta");
    make_folder("alpha");
    put_file("notes.txt", "not a gallery");
    start();
    EXPECT_EQ(items(ControlId::MainGalleryList), texts({"我的图片库", "alpha", "Beta", "旅行"}));
    EXPECT_EQ(items(ControlId::SubGalleryList), texts({"选择要删除的子图库后点击 →", "风景"}));
}

TEST_F(RestoreMainGallery, StoredIndexPastTheEndSelectsTheLastEntry) {
    make_folder("A");
    make_folder("B");
    put_config("[NAME]\r\nname=7\r\n");
    start();
    EXPECT_EQ(selected_text(ui(), ControlId::MainGalleryList), "B");
    EXPECT_EQ(state().current_main_gallery, local("B"));
    EXPECT_EQ(ui().text(ControlId::SiteTitle), "B");
}

TEST_F(RestoreMainGallery, ConfigSavedWithAByteOrderMarkSelectsItsStoredEntry) {
    make_folder("A");
    make_folder("B");
    const std::string saved = "\xEF\xBB\xBF[NAME]\r\nname=2\r\n[images]\r\nnum=0\r\n";
    put_config(saved);
    start();
    EXPECT_EQ(selected_text(ui(), ControlId::MainGalleryList), "B");
    EXPECT_EQ(config_text(), saved);  // an existing file is never re-initialised
    ui().pick(ControlId::MainGalleryList, 1);
    session_->main_galleries.choose_main_gallery();
    EXPECT_EQ(config_text(), "\xEF\xBB\xBF[NAME]\r\nname=1\r\n[images]\r\nnum=0\r\n");
}

TEST_F(RestoreMainGallery, NegativeStoredIndexSelectsTheFirstEntry) {
    make_folder("A");
    make_folder("A/inside");
    put_config("[NAME]\r\nname=-1\r\n");
    start();
    EXPECT_EQ(ui().selected_index(ControlId::MainGalleryList), 0);
    EXPECT_EQ(state().current_main_gallery, local("我的图片库"));
    // The library root's folders never become sub-galleries.
    EXPECT_EQ(ui().item_count(ControlId::SubGalleryList), 1);
}

// create_main_gallery -------------------------------------------------------

using CreateMainGallery = LibraryTest;

TEST_F(CreateMainGallery, AppendsSelectsStoresCountAndIsSelectedAgainAtNextStart) {
    make_folder("B");
    start();
    session_->main_galleries.begin_create_main_gallery();
    EXPECT_FALSE(ui().visible(ControlId::MainGalleryLabel));
    ui().type(ControlId::NewMainGalleryName, "旅行"_t);
    state().rebuild_flag = true;
    session_->main_galleries.create_main_gallery();

    EXPECT_EQ(items(ControlId::MainGalleryList), texts({"我的图片库", "B", "旅行"}));
    EXPECT_EQ(ui().selected_index(ControlId::MainGalleryList), 2);
    EXPECT_EQ(config_.snapshot().read_value("NAME", "name"), "3");
    EXPECT_TRUE(entry_exists("旅行"));
    EXPECT_EQ(state().current_main_gallery, local("旅行"));
    EXPECT_EQ(ui().text(ControlId::SiteTitle), "旅行"_t);
    EXPECT_EQ(ui().text(ControlId::NewMainGalleryName), "");
    EXPECT_FALSE(ui().visible(ControlId::NewMainGalleryName));
    EXPECT_TRUE(ui().visible(ControlId::MainGalleryLabel));
    EXPECT_FALSE(state().rebuild_flag);
    EXPECT_FALSE(entry_exists("旅行/index.html"));

    restart();
    start();
    EXPECT_EQ(selected_text(ui(), ControlId::MainGalleryList), "旅行"_t);
}

TEST_F(CreateMainGallery, EmptyNameChangesNothingButCreatesAMissingFolder) {
    make_folder("B");
    put_config("[NAME]\r\nname=1\r\n");
    start();
    std::filesystem::remove(disk("B"));
    session_->main_galleries.create_main_gallery();
    EXPECT_EQ(items(ControlId::MainGalleryList), texts({"我的图片库", "B"}));
    EXPECT_EQ(config_.snapshot().read_value("NAME", "name"), "1");
    EXPECT_TRUE(entry_exists("B"));
    EXPECT_TRUE(desktop().message_boxes.empty());
}

TEST_F(CreateMainGallery, RefusesNamesThatAreNotOneFolder) {
    start();
    const std::string before = config_text();
    for (const Text& name : {Text("a/b"), Text(".."), Text("."), Text("x\ty"), Text("/")}) {
        ui().set_text(ControlId::NewMainGalleryName, name);
        session_->main_galleries.create_main_gallery();
        EXPECT_EQ(items(ControlId::MainGalleryList), texts({"我的图片库"})) << name;
    }
    ASSERT_EQ(desktop().message_boxes.size(), 5u);
    for (const auto& box : desktop().message_boxes) {
        EXPECT_TRUE(box.is_notice());
        EXPECT_FALSE(box.message.empty());
    }
    EXPECT_EQ(config_text(), before);
    EXPECT_FALSE(entry_exists("a"));
    EXPECT_EQ(state().current_main_gallery, local("我的图片库"));
}

// choose_main_gallery -------------------------------------------------------

using ChooseMainGallery = LibraryTest;

TEST_F(ChooseMainGallery, StoresAndAppliesTheSelection) {
    make_folder("B/sub");
    start();
    state().rebuild_flag = true;
    ui().pick(ControlId::MainGalleryList, 1);
    session_->main_galleries.choose_main_gallery();
    EXPECT_EQ(config_.snapshot().read_value("NAME", "name"), "1");
    EXPECT_EQ(ui().text(ControlId::SiteTitle), "B");
    EXPECT_EQ(state().current_main_gallery, local("B"));
    EXPECT_EQ(items(ControlId::SubGalleryList), texts({"选择要删除的子图库后点击 →", "sub"}));
    EXPECT_FALSE(state().rebuild_flag);
    EXPECT_FALSE(entry_exists("B/index.html"));
}

}  // namespace
}  // namespace galmora
