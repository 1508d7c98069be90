#include "shell/application.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "core/codepage.h"
#include "core/files.h"
#include "core/profile.h"
#include "tests/library/config_files.h"
#include "tests/support/child_run.h"
#include "tests/support/fake_controls.h"
#include "tests/support/scripted_desktop.h"
#include "tests/support/temp_dir.h"
#include "tests/support/profile_calls.h"

namespace galmora {

using testing::read_profile;
using testing::write_profile;
namespace {

using namespace literals;
using testing::FakeControls;
using testing::ScriptedDesktop;
using testing::TempDir;

UpdateSettings offline() {
    UpdateSettings settings;
    settings.network.system_online = [] { return false; };
    return settings;
}

class ApplicationTest : public ::testing::Test {
  protected:
    void start() {
        app = std::make_unique<Application>(ui, desktop, root.text(), offline());
        app->start_up();
    }
    Text config_value(std::string_view section, std::string_view key) {
        return read_profile(root.file_text("config.ini"), section, key);
    }
    // A folder of one picture chosen in the dialog, two pictures a page: a
    // form that passes the checks.
    void fill_form() {
        pictures.put("a.jpg");
        desktop.folder_answers.push_back(pictures.text());
        ui.click(ControlId::ChoosePictureFolder);
        ui.type(ControlId::PerPage, "2");
    }

    TempDir root, pictures;
    FakeControls ui;
    ScriptedDesktop desktop;
    std::unique_ptr<Application> app;
};

TEST_F(ApplicationTest, FirstStartInAnEmptyLibraryRoot) {
    start();
    EXPECT_EQ(root.contents("config.ini"), testing::kDefaultConfig);
    EXPECT_EQ(file_attributes(root.file_text("我的图片库")), kDirectory);
    EXPECT_EQ(ui.item_count(ControlId::MainGalleryList), 1);
    EXPECT_EQ(ui.text(ControlId::SiteTitle), "我的图片库"_t);
    EXPECT_TRUE(ui.checked(ControlId::LanternSwitch));
    EXPECT_TRUE(ui.checked(ControlId::KeepProportions));
    EXPECT_TRUE(ui.checked(ControlId::OpenFolderAfter));
    EXPECT_TRUE(ui.checked(ControlId::OpenPageAfter));
    EXPECT_FALSE(ui.checked(ControlId::AlwaysOnTop));
    EXPECT_FALSE(ui.checked(ControlId::Thumbnails));
    EXPECT_EQ(ui.text(ControlId::SiteTitleLink), "#");
    EXPECT_FALSE(ui.visible(ControlId::NewMainGalleryName));
    EXPECT_FALSE(ui.visible(ControlId::NewMainGalleryConfirm));
    EXPECT_TRUE(ui.visible(ControlId::MainGalleryLabel));
    EXPECT_EQ(ui.text(ControlId::CoverBox), "默认封面"_t);
    EXPECT_EQ(ui.text_colour(ControlId::LogoBox), rgb(255, 0, 0));
    EXPECT_EQ(ui.title(), local_text(kWindowTitle));
}

TEST_F(ApplicationTest, StartRemovesWhatAKilledConfigWriteLeft) {
    const std::string config = "[NAME]\r\nname=0\r\n[images]\r\nnum=0\r\n";
    std::ofstream(root.file("config.ini"), std::ios::binary) << config;
    std::ofstream(root.file(".config.ini.q7XbZ2"), std::ios::binary) << "[NAME]\r\nna";
    std::ofstream(root.file(".config.ini.keep"), std::ios::binary) << "not ours";
    start();
    EXPECT_FALSE(std::filesystem::exists(root.file(".config.ini.q7XbZ2")));
    EXPECT_TRUE(std::filesystem::exists(root.file(".config.ini.keep")));
    EXPECT_EQ(root.contents("config.ini"), config);
}

TEST_F(ApplicationTest, StartupTextNamesTheGalleryAndTheNineDigitsOfTheNameField) {
    start();
    const Text name = ui.text(ControlId::SubGalleryName);
    ASSERT_EQ(name.size(), 13u);
    ASSERT_EQ(name.substr(0, 4), "图库"_t);
    const Text digits = name.substr(4);
    EXPECT_EQ(digits.find_first_not_of("0123456789"), Text::npos);
    const Text panel = ui.text(ControlId::InformationPanel);
    EXPECT_NE(panel.find("主图库为："_t + "我的图片库"_t), Text::npos);
    EXPECT_NE(panel.find("即将生成新的子图库名称为：图库"_t + digits), Text::npos);
}

TEST_F(ApplicationTest, StoredSwitchesOverrideTheTicks) {
    GalleryConfig(root.file_text("config.ini")).ensure_file();
    write_profile(root.file_text("config.ini"), "dl", "d", "0");
    start();
    EXPECT_FALSE(ui.checked(ControlId::LanternSwitch));
    EXPECT_TRUE(ui.checked(ControlId::KeepProportions));
}

TEST_F(ApplicationTest, SwitchesAreWrittenAtOnce) {
    start();
    ui.click(ControlId::LanternSwitch);
    EXPECT_EQ(config_value("dl", "d"), "0");
    ui.click(ControlId::KeepProportions);
    EXPECT_EQ(config_value("bl", "d"), "0");
    ui.click(ControlId::KeepProportions);
    EXPECT_EQ(config_value("bl", "d"), "1");
}

TEST_F(ApplicationTest, ASwitchThatCannotBeStoredSaysSoAndShowsWhatIsStored) {
    start();
    ::chmod(root.file("config.ini").c_str(), 0444);
    ui.click(ControlId::LanternSwitch);
    ::chmod(root.file("config.ini").c_str(), 0644);
    EXPECT_TRUE(ui.checked(ControlId::LanternSwitch));
    EXPECT_EQ(config_value("dl", "d"), "1");
    ASSERT_EQ(desktop.message_boxes.size(), 1u);
    EXPECT_TRUE(desktop.message_boxes[0].is_notice());
    EXPECT_EQ(desktop.message_boxes[0].message, "“灯笼开关”的设置未能保存：配置文件“"_t +
                                                    root.file_text("config.ini") +
                                                    "”无法写入（文件是只读的）。"_t);
}

TEST_F(ApplicationTest, AStartInARootThatCannotBeWrittenSaysWhatCannotBeMade) {
    testing::run_unprivileged(root.path(), [&] {
        std::filesystem::permissions(
            root.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        start();
        std::filesystem::permissions(root.path(), std::filesystem::perms::owner_all);
        ASSERT_EQ(desktop.message_boxes.size(), 2u);
        EXPECT_EQ(
            desktop.message_boxes[0].message,
            "配置文件“"_t + root.file_text("config.ini") +
                "”无法创建（没有权限在它所在的目录中写入），设置和子图库的记录都将无法保存。"_t);
        EXPECT_NE(desktop.message_boxes[1].message.find(root.file_text("我的图片库")), Text::npos);
        EXPECT_EQ(ui.text(ControlId::SiteTitle), "我的图片库"_t);  // the window still starts
    });
}

TEST_F(ApplicationTest, ManagementModeSwitchesTheAddressField) {
    start();
    EXPECT_FALSE(ui.enabled(ControlId::SiteAddress));
    EXPECT_EQ(ui.text_colour(ControlId::SiteAddressLabel), rgb(128, 128, 128));
    EXPECT_FALSE(ui.type(ControlId::SiteAddress, "x"));
    ui.pick(ControlId::ModeList, 1);
    EXPECT_TRUE(ui.enabled(ControlId::SiteAddress));
    EXPECT_EQ(ui.text_colour(ControlId::SiteAddressLabel), rgb(255, 0, 0));
    ui.type(ControlId::SiteAddress, "http://pics.test/");
    ui.pick(ControlId::ModeList, 0);
    EXPECT_FALSE(ui.enabled(ControlId::SiteAddress));
    EXPECT_EQ(ui.text(ControlId::SiteAddress), "http://pics.test/");
}

TEST_F(ApplicationTest, CopyWithAnEmptyPanelChangesNothing) {
    start();
    ui.set_text(ControlId::InformationPanel, "");
    ui.click(ControlId::CopyButton);
    EXPECT_EQ(desktop.clipboard, "");
    EXPECT_EQ(ui.title(), local_text(kWindowTitle));
}

TEST_F(ApplicationTest, CopyPutsThePanelOnTheClipboardAndChangesTheTitle) {
    start();
    const Text panel = ui.text(ControlId::InformationPanel);
    ui.click(ControlId::CopyButton);
    EXPECT_EQ(desktop.clipboard, panel);
    EXPECT_EQ(ui.title(), "Galmora-已复制代码到剪贴板"_t);
    EXPECT_EQ(ui.focused(), ControlId::InformationPanel);
    EXPECT_EQ(ui.selected_all(), ControlId::InformationPanel);
}

TEST_F(ApplicationTest, FailedClipboardLeavesTheTitle) {
    start();
    desktop.clipboard_works = false;
    ui.click(ControlId::CopyButton);
    EXPECT_EQ(ui.title(), local_text(kWindowTitle));
}

TEST_F(ApplicationTest, FailingGenerateKeepsTheCopyTitleAndPassingOneRestoresIt) {
    start();
    ui.click(ControlId::CopyButton);
    ui.click(ControlId::GenerateButton);
    EXPECT_EQ(ui.title(), "Galmora-已复制代码到剪贴板"_t);
    EXPECT_EQ(ui.background_colour(ControlId::PictureFolder), rgb(255, 0, 0));

    fill_form();
    EXPECT_EQ(ui.background_colour(ControlId::PictureFolder), rgb(243, 255, 240));
    ui.click(ControlId::GenerateButton);
    EXPECT_EQ(ui.title(), local_text(kWindowTitle));
}

TEST_F(ApplicationTest, HelpReplacesThePanel) {
    start();
    ui.click(ControlId::HelpButton);
    const std::string panel = utf8_string(ui.text(ControlId::InformationPanel));
    EXPECT_EQ(panel.rfind("使用帮助：\r\n\r\n", 0), 0u);
    ui.click(ControlId::CopyButton);
    EXPECT_EQ(utf8_string(desktop.clipboard).rfind("使用帮助：", 0), 0u);
}

TEST_F(ApplicationTest, OpeningTheLibraryRootAndClearingTheSiteTexts) {
    start();
    ui.click(ControlId::OpenRootButton);
    ASSERT_EQ(desktop.opened.size(), 1u);
    EXPECT_EQ(desktop.opened[0], "open:" + root.text());
    ui.click(ControlId::ClearTitleLinkButton);
    ui.click(ControlId::ClearIntroductionButton);
    EXPECT_EQ(ui.text(ControlId::SiteTitleLink), "");
    EXPECT_EQ(ui.text(ControlId::SiteIntroduction), "");
}

TEST_F(ApplicationTest, TheChosenRatingIsRecordedWithTheNextSubGallery) {
    start();
    fill_form();
    ui.pick(ControlId::RatingList, 2);
    ui.click(ControlId::GenerateButton);
    EXPECT_EQ(config_value("P1", "pstar"), "★★★"_t);
    EXPECT_EQ(config_value("P1", "phd"), "普清"_t);
    ui.pick(ControlId::RatingList, 1);
    ui.click(ControlId::GenerateButton);
    EXPECT_EQ(config_value("P2", "pstar"), "★★★★"_t);
    EXPECT_EQ(config_value("P2", "phd"), "高清"_t);
}

TEST_F(ApplicationTest, AlwaysOnTopFollowsItsBox) {
    start();
    ui.click(ControlId::AlwaysOnTop);
    EXPECT_TRUE(ui.always_on_top());
    ui.click(ControlId::AlwaysOnTop);
    EXPECT_FALSE(ui.always_on_top());
}

TEST_F(ApplicationTest, UpdateCheckWithoutNetworkOnlyShowsTheMessage) {
    start();
    const Text panel = ui.text(ControlId::InformationPanel);
    ui.click(ControlId::CheckUpdateButton);
    ASSERT_EQ(desktop.message_boxes.size(), 1u);
    EXPECT_EQ(desktop.message_boxes[0].message, "未检测到网络，无法检测更新"_t);
    EXPECT_EQ(ui.text(ControlId::CheckUpdateButton), "检测更新"_t);
    EXPECT_TRUE(ui.enabled(ControlId::CheckUpdateButton));
    EXPECT_EQ(ui.text(ControlId::InformationPanel), panel);
}

}  // namespace
}  // namespace galmora
