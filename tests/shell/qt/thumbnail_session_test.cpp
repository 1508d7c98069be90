// A generation with the 缩略图 option on the real window, offscreen, with the
// real picture work and Qt's event loop carrying the progress back.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTest>
#include <filesystem>

#include "core/codepage.h"
#include "imaging/qt_picture_maker.h"
#include "shell/application.h"
#include "shell/qt/qt_window_thread.h"
#include "tests/shell/qt/widget_lookup.h"
#include "tests/support/scripted_desktop.h"
#include "tests/support/temp_dir.h"

namespace galmora::testing {
namespace {

namespace fs = std::filesystem;
using namespace literals;

void save_photo(const std::string& path, int width, int height) {
    QImage photo(width, height, QImage::Format_RGB32);
    QPainter painter(&photo);
    QLinearGradient sky(0, 0, width, height);
    sky.setColorAt(0, QColor(30, 60, 140));
    sky.setColorAt(1, QColor(240, 180, 90));
    painter.fillRect(photo.rect(), sky);
    painter.end();
    ASSERT_TRUE(photo.save(QString::fromStdString(path), "JPEG", 90));
}

TEST(ThumbnailSession, AGenerationMakesItsThumbnailsBesideTheWindow) {
    TempDir root, pictures;
    for (const char* name : {"风景 1.jpg", "风景 2.jpg", "风景 3.jpg"})
        save_photo(pictures.file(name), 1600, 1200);
    save_photo(pictures.file("小图.jpg"), 320, 240);
    ShellWindow window;
    ScriptedDesktop desktop;
    QtPictureMaker::set_process_limits();
    const QtPictureMaker maker;
    QtWindowThread window_thread(&window);
    UpdateSettings offline;
    offline.network.system_online = [] { return false; };
    Application app(window.controls(), desktop, root.text(), offline, {},
                    BackgroundServices{&window_thread, {&maker}});
    app.start_up();
    window.set_checked(ControlId::OpenFolderAfter, false);
    window.set_checked(ControlId::OpenPageAfter, false);
    QTest::mouseClick(widget(window, ControlId::Thumbnails), Qt::LeftButton);
    desktop.folder_answers.push_back(pictures.text());
    QTest::mouseClick(widget(window, ControlId::ChoosePictureFolder), Qt::LeftButton);
    type_keys(widget(window, ControlId::PerPage), q("4"));

    QTest::mouseClick(widget(window, ControlId::GenerateButton), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window.text(ControlId::GenerateButton) == "生成图片库"_t; }, 20000));

    const std::string panel = utf8_string(window.text(ControlId::InformationPanel));
    EXPECT_NE(panel.find("缩略图：新做 3 张，沿用 0 张，本身已经够小 1 张，未做 0 张。"),
              std::string::npos)
        << panel;
    const fs::path thumbs = fs::path(root.path()) / "我的图片库" / "img" / "thumbs";
    int made = 0;
    for (const auto& entry : fs::directory_iterator(thumbs)) {
        const QImage thumbnail(QString::fromStdString(entry.path().string()));
        EXPECT_EQ(thumbnail.size(), QSize(504, 378)) << entry.path();
        ++made;
    }
    EXPECT_EQ(made, 3);
    EXPECT_TRUE(desktop.message_boxes.empty());
}

}  // namespace
}  // namespace galmora::testing
