// One whole session on the real window, offscreen: first start, two
// generations from a chosen folder, then deleting the first sub-gallery.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "core/codepage.h"
#include "core/files.h"
#include "core/profile.h"
#include "shell/application.h"
#include "tests/shell/qt/widget_lookup.h"
#include "tests/support/scripted_desktop.h"
#include "tests/support/temp_dir.h"
#include "tests/support/profile_calls.h"

namespace galmora::testing {
namespace {

using namespace literals;

std::size_t count_of(const std::string& haystack, const std::string& needle) {
    std::size_t count = 0;
    for (auto at = haystack.find(needle); at != std::string::npos;
         at = haystack.find(needle, at + needle.size()))
        ++count;
    return count;
}

class Session : public ::testing::Test {
  protected:
    Session() {
        for (const char* name : {"a.jpg", "b.png", "c.gif"})
            write_file(pictures.file_text(name), as_bytes("picture"));
        UpdateSettings offline;
        offline.network.system_online = [] { return false; };
        app = std::make_unique<Application>(window.controls(), desktop, root.text(), offline);
        app->start_up();
    }

    void click(ControlId name) { QTest::mouseClick(widget(window, name), Qt::LeftButton); }
    std::string config(const char* section, const char* key) {
        return utf8_string(read_profile(root.file_text("config.ini"), section, key));
    }
    std::string sub_gallery_name() { return utf8_string(window.text(ControlId::SubGalleryName)); }

    TempDir root;
    TempDir pictures;
    ShellWindow window;
    ScriptedDesktop desktop;
    std::unique_ptr<Application> app;
};

TEST_F(Session, GenerateTwiceThenDeleteTheFirst) {
    const std::string gallery = "我的图片库/";
    EXPECT_EQ(utf8_string(window.text(ControlId::SiteTitle)), "我的图片库");

    desktop.folder_answers.push_back(pictures.text());
    click(ControlId::ChoosePictureFolder);
    EXPECT_EQ(window.text(ControlId::PictureTotal), "3");
    type_keys(widget(window, ControlId::PerPage), q("2"));
    EXPECT_EQ(window.text(ControlId::PageCount), "1");

    const std::string first = sub_gallery_name();
    click(ControlId::GenerateButton);
    const std::string first_page = root.contents(gallery + first + "/index.html");
    EXPECT_NE(first_page.find("class=\"page-1\""), std::string::npos);
    EXPECT_NE(first_page.find("class=\"page-2\""), std::string::npos);
    EXPECT_EQ(config("P1", "pname"), first);
    EXPECT_EQ(config("P1", "pnum"), "3");
    EXPECT_EQ(config("images", "num"), "1");
    std::string main_page = root.contents(gallery + "index.html");
    EXPECT_NE(main_page.find("./" + first + "/index.html"), std::string::npos);

    const std::string second = sub_gallery_name();
    ASSERT_NE(second, first);
    click(ControlId::GenerateButton);
    EXPECT_EQ(config("P2", "pname"), second);
    main_page = root.contents(gallery + "index.html");
    EXPECT_EQ(count_of(main_page, "class=\"item\""), 2u);
    EXPECT_EQ(desktop.opened.size(), 4u);  // folder, then page, after each generation

    auto* list = widget<QComboBox>(window, ControlId::SubGalleryList);
    const int index = list->findText(QString::fromStdString(first));
    ASSERT_GT(index, 0);
    window.set_selected_index(ControlId::SubGalleryList, index);
    desktop.message_box_answers.push_back(kResultOk);
    click(ControlId::DeleteSubGalleryButton);

    EXPECT_EQ(file_attributes(root.file_text(gallery + first)), -1);
    EXPECT_EQ(utf8_string(root.contents("config.ini")),
              "[NAME]\r\nname=0\r\n[images]\r\nnum=1\r\n[Logo]\r\nweblogo=logo.png\r\n[P1]\r\n"
              "pname=" +
                  second +
                  "\r\npimg=fm.jpg\r\npnum=3\r\nphd=高清\r\npstar=★★★★★\r\n"
                  "[dl]\r\nd=1\r\n[bl]\r\nd=1\r\n");
    main_page = root.contents(gallery + "index.html");
    EXPECT_EQ(count_of(main_page, "class=\"item\""), 1u);
    EXPECT_EQ(main_page.find("./" + first + "/"), std::string::npos);
    EXPECT_NE(main_page.find("./" + second + "/index.html"), std::string::npos);
    const std::string panel = utf8_string(window.text(ControlId::InformationPanel));
    EXPECT_EQ(panel.substr(panel.size() - std::string("完成删除^^!").size()), "完成删除^^!");
}

}  // namespace
}  // namespace galmora::testing
