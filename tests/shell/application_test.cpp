#include "shell/application.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/codepage.h"
#include "core/files.h"
#include "core/profile.h"
#include "tests/support/fake_controls.h"
#include "tests/support/scripted_desktop.h"
#include "tests/support/temp_dir.h"

namespace galmora {
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

std::string read_all(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream out;
    out << in.rdbuf();
    return out.str();
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

    TempDir root;
    FakeControls ui;
    ScriptedDesktop desktop;
    std::unique_ptr<Application> app;
};

TEST_F(ApplicationTest, FirstStartInAnEmptyLibraryRoot) {
    start();
    EXPECT_EQ(read_all(root.file("config.ini")),
              "[NAME]\r\nname=0\r\n[images]\r\nnum=0\r\n[Logo]\r\nweblogo=logo.png\r\n"
              "[dl]\r\nd=1\r\n[bl]\r\nd=1\r\n");
    EXPECT_EQ(file_attributes(root.file_text("我的图片库")), kDirectory);
    EXPECT_EQ(ui.item_count("组合框1"), 1);
    EXPECT_EQ(ui.text("网站标题"), "我的图片库"_t);
    EXPECT_TRUE(ui.checked("灯笼开关"));
    EXPECT_TRUE(ui.checked("保证图片比例"));
    EXPECT_TRUE(ui.checked("选择框1"));
    EXPECT_TRUE(ui.checked("选择框3"));
    EXPECT_FALSE(ui.checked("选择框9"));
    EXPECT_EQ(ui.text("网站标题链接"), "#");
    EXPECT_FALSE(ui.visible("新建主图库名称"));
    EXPECT_FALSE(ui.visible("新建主图库按钮"));
    EXPECT_TRUE(ui.visible("标签3"));
    EXPECT_EQ(ui.text("浏览目录1"), "默认封面"_t);
    EXPECT_EQ(ui.text_colour("浏览目录3"), rgb(255, 0, 0));
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
    EXPECT_EQ(read_all(root.file("config.ini")), config);
}

TEST_F(ApplicationTest, StartupTextNamesTheGalleryAndTheNineDigitsOfTheNameField) {
    start();
    const Text name = ui.text("图库名称");
    ASSERT_EQ(name.size(), 13u);
    ASSERT_EQ(name.substr(0, 4), "图库"_t);
    const Text digits = name.substr(4);
    EXPECT_EQ(digits.find_first_not_of("0123456789"), Text::npos);
    const Text panel = ui.text("编辑框3");
    EXPECT_NE(panel.find("主图库为："_t + "我的图片库"_t), Text::npos);
    EXPECT_NE(panel.find("即将生成新的子图库名称为：图库"_t + digits), Text::npos);
}

TEST_F(ApplicationTest, StoredSwitchesOverrideTheTicks) {
    GalleryConfig(root.file_text("config.ini")).ensure_file();
    write_profile(root.file_text("config.ini"), "dl", "d", "0");
    start();
    EXPECT_FALSE(ui.checked("灯笼开关"));
    EXPECT_TRUE(ui.checked("保证图片比例"));
}

TEST_F(ApplicationTest, SwitchesAreWrittenAtOnce) {
    start();
    ui.click("灯笼开关");
    EXPECT_EQ(config_value("dl", "d"), "0");
    ui.click("保证图片比例");
    EXPECT_EQ(config_value("bl", "d"), "0");
    ui.click("保证图片比例");
    EXPECT_EQ(config_value("bl", "d"), "1");
}

TEST_F(ApplicationTest, ManagementModeSwitchesTheAddressField) {
    start();
    EXPECT_FALSE(ui.enabled("网络地址"));
    EXPECT_EQ(ui.text_colour("标签11"), rgb(128, 128, 128));
    EXPECT_FALSE(ui.type("网络地址", "x"));
    ui.pick("组合框3", 1);
    EXPECT_TRUE(ui.enabled("网络地址"));
    EXPECT_EQ(ui.text_colour("标签11"), rgb(255, 0, 0));
    ui.type("网络地址", "http://pics.test/");
    ui.pick("组合框3", 0);
    EXPECT_FALSE(ui.enabled("网络地址"));
    EXPECT_EQ(ui.text("网络地址"), "http://pics.test/");
}

TEST_F(ApplicationTest, CopyWithAnEmptyPanelChangesNothing) {
    start();
    ui.set_text("编辑框3", "");
    ui.click("复制");
    EXPECT_EQ(desktop.clipboard, "");
    EXPECT_EQ(ui.title(), local_text(kWindowTitle));
}

TEST_F(ApplicationTest, CopyPutsThePanelOnTheClipboardAndChangesTheTitle) {
    start();
    const Text panel = ui.text("编辑框3");
    ui.click("复制");
    EXPECT_EQ(desktop.clipboard, panel);
    EXPECT_EQ(ui.title(), "Galmora-已复制代码到剪贴板"_t);
    EXPECT_EQ(ui.focused(), "编辑框3");
    EXPECT_EQ(ui.selected_all(), "编辑框3");
}

TEST_F(ApplicationTest, FailedClipboardLeavesTheTitle) {
    start();
    desktop.clipboard_works = false;
    ui.click("复制");
    EXPECT_EQ(ui.title(), local_text(kWindowTitle));
}

TEST_F(ApplicationTest, FailingGenerateKeepsTheCopyTitleAndPassingOneRestoresIt) {
    start();
    ui.click("复制");
    ui.click("生成图片库");
    EXPECT_EQ(ui.title(), "Galmora-已复制代码到剪贴板"_t);
    EXPECT_EQ(ui.background_colour("浏览目录"), rgb(255, 0, 0));

    TempDir pictures;
    write_file(pictures.file_text("a.jpg"), as_bytes("x"));
    desktop.folder_answers.push_back(pictures.text());
    ui.click("按钮8");
    ui.type("单页数量", "2");
    EXPECT_EQ(ui.background_colour("浏览目录"), rgb(243, 255, 240));
    ui.click("生成图片库");
    EXPECT_EQ(ui.title(), local_text(kWindowTitle));
}

TEST_F(ApplicationTest, HelpReplacesThePanel) {
    start();
    ui.click("按钮13");
    const std::string panel = utf8_string(ui.text("编辑框3"));
    EXPECT_EQ(panel.rfind("使用帮助：\r\n\r\n", 0), 0u);
    ui.click("复制");
    EXPECT_EQ(utf8_string(desktop.clipboard).rfind("使用帮助：", 0), 0u);
}

TEST_F(ApplicationTest, OpeningTheLibraryRootAndClearingTheSiteTexts) {
    start();
    ui.click("按钮6");
    ASSERT_EQ(desktop.opened.size(), 1u);
    EXPECT_EQ(desktop.opened[0], "open:" + root.text());
    ui.click("按钮15");
    ui.click("按钮14");
    EXPECT_EQ(ui.text("网站标题链接"), "");
    EXPECT_EQ(ui.text("网站介绍"), "");
}

TEST_F(ApplicationTest, TheChosenRatingIsRecordedWithTheNextSubGallery) {
    start();
    TempDir pictures;
    write_file(pictures.file_text("a.jpg"), as_bytes("x"));
    desktop.folder_answers.push_back(pictures.text());
    ui.click("按钮8");
    ui.type("单页数量", "2");
    ui.pick("组合框2", 2);
    ui.click("生成图片库");
    EXPECT_EQ(config_value("P1", "pstar"), "★★★"_t);
    EXPECT_EQ(config_value("P1", "phd"), "普清"_t);
    ui.pick("组合框2", 1);
    ui.click("生成图片库");
    EXPECT_EQ(config_value("P2", "pstar"), "★★★★"_t);
    EXPECT_EQ(config_value("P2", "phd"), "高清"_t);
}

TEST_F(ApplicationTest, AlwaysOnTopFollowsItsBox) {
    start();
    ui.click("选择框9");
    EXPECT_TRUE(ui.always_on_top());
    ui.click("选择框9");
    EXPECT_FALSE(ui.always_on_top());
}

TEST_F(ApplicationTest, UpdateCheckWithoutNetworkOnlyShowsTheMessage) {
    start();
    const Text panel = ui.text("编辑框3");
    ui.click("按钮12");
    ASSERT_EQ(desktop.message_boxes.size(), 1u);
    EXPECT_EQ(desktop.message_boxes[0].message, "未检测到网络，无法检测更新"_t);
    EXPECT_EQ(ui.text("按钮12"), "检测更新"_t);
    EXPECT_TRUE(ui.enabled("按钮12"));
    EXPECT_EQ(ui.text("编辑框3"), panel);
}

}  // namespace
}  // namespace galmora
