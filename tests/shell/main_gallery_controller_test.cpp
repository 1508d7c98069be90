#include "shell/main_gallery_controller.h"

#include <gtest/gtest.h>

#include "core/codepage.h"
#include "library/main_galleries.h"
#include "tests/shell/library_window.h"

namespace galmora {
namespace {

using namespace galmora::literals;
using testing::local_texts;

using MainGalleryControllerTest = testing::LibraryWindowTest;

TEST_F(MainGalleryControllerTest, FirstStartCreatesTheDefaultMainGallery) {
    start();
    EXPECT_TRUE(entry_exists("我的图片库"));
    EXPECT_EQ(items(ControlId::MainGalleryList), local_texts({"我的图片库"}));
    EXPECT_EQ(ui().selected_index(ControlId::MainGalleryList), 0);
    EXPECT_EQ(config_text(), testing::kDefaultConfig);
    EXPECT_EQ(ui().text(ControlId::SiteTitle), "我的图片库"_t);
    EXPECT_EQ(current(), local("我的图片库"));
    EXPECT_EQ(items(ControlId::SubGalleryList), local_texts({"选择要删除的子图库后点击 →"}));
    EXPECT_FALSE(entry_exists("我的图片库/index.html"));
}

TEST_F(MainGalleryControllerTest, StoredIndexOutOfRangeSelectsTheLastOrTheFirstEntry) {
    make_folder("A/inside");
    make_folder("B");
    for (const auto& [stored, expected] : {std::pair{"7", "B"}, {"-1", "我的图片库"}}) {
        put_config(std::string("[NAME]\r\nname=") + stored + "\r\n");
        restart();
        start();
        EXPECT_EQ(items(ControlId::MainGalleryList), local_texts({"我的图片库", "A", "B"}));
        EXPECT_EQ(selected_text(ui(), ControlId::MainGalleryList), local_text(expected));
        EXPECT_EQ(current(), local(expected));
        EXPECT_EQ(ui().text(ControlId::SiteTitle), local_text(expected));
        // The library root's folders never become sub-galleries.
        EXPECT_EQ(ui().item_count(ControlId::SubGalleryList), 1);
    }
}

TEST_F(MainGalleryControllerTest, CreateAppendsSelectsStoresCountAndIsSelectedAgainAtNextStart) {
    make_folder("B");
    start();
    window_->main_galleries.begin_create();
    EXPECT_FALSE(ui().visible(ControlId::MainGalleryLabel));
    ui().type(ControlId::NewMainGalleryName, "旅行"_t);
    window_->main_galleries.create();

    EXPECT_EQ(items(ControlId::MainGalleryList), local_texts({"我的图片库", "B", "旅行"}));
    EXPECT_EQ(ui().selected_index(ControlId::MainGalleryList), 2);
    EXPECT_EQ(config_.snapshot().read_value("NAME", "name"), "3");
    EXPECT_TRUE(entry_exists("旅行"));
    EXPECT_EQ(current(), local("旅行"));
    EXPECT_EQ(ui().text(ControlId::SiteTitle), "旅行"_t);
    EXPECT_EQ(ui().text(ControlId::NewMainGalleryName), "");
    EXPECT_FALSE(ui().visible(ControlId::NewMainGalleryName));
    EXPECT_TRUE(ui().visible(ControlId::MainGalleryLabel));
    EXPECT_FALSE(entry_exists("旅行/index.html"));  // no main page rebuild

    restart();
    start();
    EXPECT_EQ(selected_text(ui(), ControlId::MainGalleryList), "旅行"_t);
}

TEST_F(MainGalleryControllerTest, CreateWithAnEmptyNameChangesNothingButCreatesAMissingFolder) {
    make_folder("B");
    put_config("[NAME]\r\nname=1\r\n");
    start();
    std::filesystem::remove(disk("B"));
    window_->main_galleries.create();
    EXPECT_EQ(items(ControlId::MainGalleryList), local_texts({"我的图片库", "B"}));
    EXPECT_EQ(config_.snapshot().read_value("NAME", "name"), "1");
    EXPECT_TRUE(entry_exists("B"));
    EXPECT_TRUE(desktop().message_boxes.empty());
}

TEST_F(MainGalleryControllerTest, CreateRefusesNamesThatAreNotOneFolder) {
    start();
    const std::string before = config_text();
    for (const Text& name : {Text("a/b"), Text(".."), Text("."), Text("x\ty"), Text("/")}) {
        ui().set_text(ControlId::NewMainGalleryName, name);
        window_->main_galleries.create();
        EXPECT_EQ(items(ControlId::MainGalleryList), local_texts({"我的图片库"})) << name;
        EXPECT_EQ(ui().text(ControlId::NewMainGalleryName), name);
    }
    ASSERT_EQ(desktop().message_boxes.size(), 5u);
    for (const auto& box : desktop().message_boxes) {
        EXPECT_TRUE(box.is_notice());
        EXPECT_EQ(box.message, *new_main_gallery_name_refusal("/"));
    }
    EXPECT_EQ(config_text(), before);
    EXPECT_FALSE(entry_exists("a"));
    EXPECT_EQ(current(), local("我的图片库"));
}

TEST_F(MainGalleryControllerTest, ChooseStoresAndAppliesTheSelection) {
    make_folder("B/sub");
    start();
    ui().pick(ControlId::MainGalleryList, 1);
    window_->main_galleries.choose();
    EXPECT_EQ(config_.snapshot().read_value("NAME", "name"), "1");
    EXPECT_EQ(ui().text(ControlId::SiteTitle), "B");
    EXPECT_EQ(current(), local("B"));
    EXPECT_EQ(items(ControlId::SubGalleryList), local_texts({"选择要删除的子图库后点击 →", "sub"}));
    EXPECT_FALSE(entry_exists("B/index.html"));  // no main page rebuild
}

}  // namespace
}  // namespace galmora
