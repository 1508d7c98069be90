#include "shell/deletion_controller.h"

#include <gtest/gtest.h>

#include "core/codepage.h"
#include "tests/shell/library_window.h"
#include "tests/support/file_writes.h"

namespace galmora {
namespace {

using namespace galmora::literals;
using testing::kDeletionSteps;

class DeletionControllerTest : public testing::LibraryWindowTest {
  protected:
    // Sub-galleries of 我的图片库 with covers fm1.jpg, fm2.jpg, ...; the list
    // and the main page built from them.
    void start_with(const std::vector<std::string>& names) {
        std::vector<std::pair<std::string, std::string>> records;
        for (const std::string& name : names)
            records.emplace_back(name, "fm" + std::to_string(records.size() + 1) + ".jpg");
        library_with(records);
        start();
        window_->sub_galleries.rebuild_main_page();
    }
    void delete_confirmed(const std::string& name) {
        pick_sub_gallery(local_text(name));
        desktop().message_box_answers.push_back(kResultOk);
        window_->deletion.delete_selected();
    }
};

TEST_F(DeletionControllerTest, ConfirmedDeletionRebuildsTheListAndThePage) {
    start_with({"一", "二", "三"});
    testing::FileWriteCounter writes(disk("config.ini"));
    delete_confirmed("二");

    EXPECT_EQ(writes.count(), 1);
    EXPECT_FALSE(entry_exists("我的图片库/二"));
    EXPECT_EQ(items(ControlId::SubGalleryList),
              (std::vector<Text>{"选择要删除的子图库后点击 →"_t, "一"_t, "三"_t}));
    EXPECT_EQ(card_count("我的图片库"), 2);
    EXPECT_EQ(panel(), kDeletionSteps + "完成删除^^!"_t);
    ASSERT_EQ(desktop().message_boxes.size(), 1u);
    const auto& box = desktop().message_boxes[0];
    EXPECT_EQ(box.message, "确认删除【二】子图库吗？\r\n此操作不可恢复"_t);
    EXPECT_EQ(box.button_set, 1);
    EXPECT_EQ(box.caption, "确认信息:"_t);
}

TEST_F(DeletionControllerTest, CancelChangesNothingButThePanel) {
    start_with({"a"});
    const std::string config = config_text(), page = file_bytes("我的图片库/index.html");
    pick_sub_gallery("a");
    desktop().message_box_answers.push_back(kResultCancel);
    window_->deletion.delete_selected();

    EXPECT_EQ(panel(), "即将删除被选择的子图库所有相关数据...\r\n"_t);
    EXPECT_EQ(config_text(), config);
    EXPECT_EQ(file_bytes("我的图片库/index.html"), page);
    EXPECT_TRUE(entry_exists("我的图片库/a/index.html"));
    EXPECT_TRUE(entry_exists("我的图片库/img/fm1.jpg"));
    EXPECT_EQ(ui().selected_index(ControlId::SubGalleryList), 1);
    EXPECT_TRUE(desktop().opened.empty());
}

TEST_F(DeletionControllerTest, PromptOrANameOutsideTheMainGalleryAsksNothing) {
    start_with({"a"});
    ui().set_text(ControlId::InformationPanel, "start-up text");
    window_->deletion.delete_selected();  // the prompt is selected
    std::vector<Text> names = testing::kNotSubGalleries;
    names.push_back("选择要删除的子图库后点击 →"_t);
    for (const Text& name : names) {
        ui().append_item(ControlId::SubGalleryList, name);
        ui().set_selected_index(ControlId::SubGalleryList,
                                ui().item_count(ControlId::SubGalleryList) - 1);
        desktop().message_box_answers.push_back(kResultOk);
        window_->deletion.delete_selected();
    }
    EXPECT_TRUE(desktop().message_boxes.empty());
    EXPECT_EQ(panel(), "start-up text");
    EXPECT_TRUE(entry_exists("我的图片库/a"));
    EXPECT_TRUE(entry_exists("我的图片库/img/fm1.jpg"));
}

TEST_F(DeletionControllerTest, RefusalIsTheLastTextAndNothingIsRebuiltOrOpened) {
    start_with({"a"});
    put_file("我的图片库/a/.keep", "");  // never removed: the folder would stay
    const std::string page = file_bytes("我的图片库/index.html");
    ui().set_checked(ControlId::OpenFolderAfter, true);
    delete_confirmed("a");
    EXPECT_EQ(panel(), kDeletionSteps + "未删除任何数据：“"_t + local("我的图片库/a/.keep") +
                           "”以“.”开头，不会被删除。"_t);
    EXPECT_EQ(items(ControlId::SubGalleryList).size(), 2u);
    EXPECT_EQ(ui().selected_index(ControlId::SubGalleryList), 1);
    EXPECT_EQ(file_bytes("我的图片库/index.html"), page);
    EXPECT_TRUE(desktop().opened.empty());
}

TEST_F(DeletionControllerTest, AMainPageThatCannotBeRewrittenIsToldInTheLastLine) {
    start_with({"a"});
    std::filesystem::remove(disk("我的图片库/index.html"));
    make_folder("我的图片库/index.html");  // the page's path is taken
    delete_confirmed("a");
    EXPECT_FALSE(entry_exists("我的图片库/a"));
    EXPECT_EQ(panel(), kDeletionSteps + "完成删除^^!\r\n主图库页面“"_t + current() +
                           "/index.html”无法写入，页面中仍有已删除子图库的卡片；"
                           "排除问题后，下一次生成或删除子图库时会重新写入。"_t);
}

TEST_F(DeletionControllerTest, OpensFolderThenPageWhenTicked) {
    start_with({"a", "b"});
    expect_openings([&] { delete_confirmed("a"); }, [&] { delete_confirmed("b"); });
}

}  // namespace
}  // namespace galmora
