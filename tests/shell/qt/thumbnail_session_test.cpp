// A generation with the 缩略图 option on the real window, offscreen, with the
// real picture work and Qt's event loop carrying the progress back: JPEGs
// get thumbnails and display copies, a phone's HEIC counts and is shown
// through JPEGs of its own, without its GPS position.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <map>

#include "core/codepage.h"
#include "imaging/qt_picture_maker.h"
#include "shell/application.h"
#include "shell/qt/qt_window_thread.h"
#include "tests/shell/qt/widget_lookup.h"
#include "tests/support/heif_files.h"
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

std::string file_text(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ThumbnailSession, AGenerationMakesItsThumbnailsAndCopiesBesideTheWindow) {
    TempDir root, pictures;
    for (const char* name : {"风景 1.jpg", "风景 2.jpg", "风景 3.jpg"})
        save_photo(pictures.file(name), 1600, 1200);
    save_photo(pictures.file("小图.jpg"), 320, 240);
    // A phone's photo: turned a quarter by its own boxes, with a GPS position.
    HeifImage phone(QImage(pictures.file("风景 1.jpg").c_str()).scaled(600, 450), 6);
    phone.exif = {6, true};
    const Bytes heic = heif_file(HeifCodec::Hevc, {phone});
    ASSERT_FALSE(heic.empty());
    std::ofstream(pictures.file("IMG_0001.HEIC"), std::ios::binary)
        .write(reinterpret_cast<const char*>(heic.data()), std::streamsize(heic.size()));
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
    desktop.folder_answers.push_back(pictures.text());
    QTest::mouseClick(widget(window, ControlId::ChoosePictureFolder), Qt::LeftButton);
    EXPECT_EQ(window.text(ControlId::PictureTotal), "4");  // unticked: no HEIC
    QTest::mouseClick(widget(window, ControlId::Thumbnails), Qt::LeftButton);
    EXPECT_EQ(window.text(ControlId::PictureTotal), "5");  // counted again
    type_keys(widget(window, ControlId::PerPage), q("5"));
    window.set_text(ControlId::SubGalleryName, "风景"_t);

    QTest::mouseClick(widget(window, ControlId::GenerateButton), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window.text(ControlId::GenerateButton) == "生成图片库"_t; }, 20000));

    const std::string panel = utf8_string(window.text(ControlId::InformationPanel));
    EXPECT_NE(panel.find("缩略图：新做 4 张，沿用 0 张，本身已经够小 1 张，未做 0 张。"
                         " 显示副本：新做 4 张，沿用 0 张；缩略图和显示副本共占 "),
              std::string::npos)
        << panel;
    const fs::path thumbs = fs::path(root.path()) / "我的图片库" / "img" / "thumbs";
    std::map<std::string, int> sizes;
    for (const auto& entry : fs::directory_iterator(thumbs)) {
        if (entry.path().filename().string().front() == '.') continue;
        const QImage made(QString::fromStdString(entry.path().string()));
        ++sizes[std::to_string(made.width()) + "x" + std::to_string(made.height())];
        EXPECT_EQ(file_text(entry.path()).find("Exif"), std::string::npos) << entry.path();
    }
    // Three photos: thumbnail and a 1280 copy each. The HEIC, upright (its
    // turn applied once): a thumbnail, and itself as a JPEG in place of a
    // copy, as no browser is asked for the original.
    EXPECT_EQ(sizes, (std::map<std::string, int>{
                         {"504x378", 3}, {"1280x960", 3}, {"378x504", 1}, {"450x600", 1}}));
    const std::string page = file_text(fs::path(root.path()) / "我的图片库/风景/index.html");
    EXPECT_NE(page.find("data-copies=\"1280x960\""), std::string::npos);
    EXPECT_NE(page.find("data-copies=\"450x600\""), std::string::npos);
    EXPECT_NE(page.find("data-original=\"" + pictures.path() + "/IMG_0001.HEIC\""),
              std::string::npos);
    EXPECT_EQ(page.find("src=\"" + pictures.path() + "/IMG_0001.HEIC\""), std::string::npos);
    EXPECT_TRUE(desktop.message_boxes.empty());
}

}  // namespace
}  // namespace galmora::testing
