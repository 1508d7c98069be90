// Files and folders dropped from a file manager.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>

#include "core/codepage.h"
#include "shell/qt/file_drop_filter.h"
#include "tests/shell/qt/widget_lookup.h"

namespace galmora::testing {
namespace {

using namespace galmora::literals;

class ShellWindowDrops : public ::testing::Test {
  protected:
    // Drags the data onto the control and drops it; true when it was taken.
    bool drop(ControlId name, const QMimeData& data) {
        QWidget* target = widget(window, name);
        QDragEnterEvent enter(QPoint(4, 4), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        enter.ignore();
        QApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(4, 4), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        drop.ignore();
        QApplication::sendEvent(target, &drop);
        QCoreApplication::processEvents();
        return enter.isAccepted() && drop.isAccepted();
    }
    static QMimeData* files(const QStringList& paths) {
        auto* data = new QMimeData;
        QList<QUrl> urls;
        for (const QString& path : paths) urls.append(QUrl::fromLocalFile(path));
        data->setUrls(urls);
        return data;
    }
    void listen(ControlId name) {
        window.on(name, ControlEvent::FilesDropped,
                  [this, name](const Text& text) { received.emplace_back(name, text); });
    }

    ShellWindow window;
    std::vector<std::pair<ControlId, Text>> received;
};

TEST_F(ShellWindowDrops, OneFolderArrivesAsItsPath) {
    listen(ControlId::PictureFolder);
    std::unique_ptr<QMimeData> data(files({q("/home/用户/图片 #1 100%")}));
    EXPECT_TRUE(drop(ControlId::PictureFolder, *data));
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].second, "/home/用户/图片 #1 100%"_t);
    EXPECT_EQ(window.text(ControlId::PictureFolder),
              "");  // the drop operation decides what to show
}

TEST_F(ShellWindowDrops, SeveralItemsArriveAsLinesEachEndingInCrLf) {
    listen(ControlId::CoverBox);
    listen(ControlId::LogoBox);
    std::unique_ptr<QMimeData> data(files({q("/a/封面.jpg"), q("/b/c d/"), q("/e.png")}));
    EXPECT_TRUE(drop(ControlId::CoverBox, *data));
    EXPECT_TRUE(drop(ControlId::LogoBox, *data));
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].first, ControlId::CoverBox);
    EXPECT_EQ(received[0].second, "/a/封面.jpg\r\n/b/c d\r\n/e.png\r\n"_t);
    EXPECT_EQ(received[1].first, ControlId::LogoBox);
}

TEST_F(ShellWindowDrops, OnlyLocalFilesAreTaken) {
    listen(ControlId::PictureFolder);
    QMimeData web;
    web.setUrls({QUrl("https://example.com/a.jpg")});
    EXPECT_FALSE(drop(ControlId::PictureFolder, web));
    QMimeData text;
    text.setText("/home/user/pictures");
    EXPECT_FALSE(drop(ControlId::PictureFolder, text));
    QMimeData mixed;
    mixed.setUrls({QUrl("https://example.com/a.jpg"), QUrl::fromLocalFile("/x")});
    EXPECT_TRUE(drop(ControlId::PictureFolder, mixed));
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].second, "/x");
}

TEST_F(ShellWindowDrops, EveryOtherControlRefusesDrops) {
    EXPECT_FALSE(window.acceptDrops());
    for (const ControlDefinition& definition : window_layout()) {
        QWidget* w = window.findChild<QWidget*>(q(definition.name));
        EXPECT_EQ(w->acceptDrops(), definition.drop_target) << definition.name;
        if (definition.drop_target) continue;
        for (QWidget* part : w->findChildren<QWidget*>())
            EXPECT_FALSE(part->acceptDrops())
                << definition.name << " " << part->metaObject()->className();
        listen(definition.id);
    }
    std::unique_ptr<QMimeData> data(files({"/a"}));
    drop(ControlId::SubGalleryName, *data);
    drop(ControlId::SiteIntroduction, *data);
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(window.text(ControlId::SubGalleryName), "");
}

TEST(DroppedPathsText, FormsOneTextFromTheLocalPaths) {
    EXPECT_EQ(dropped_paths_text({}), "");
    EXPECT_EQ(dropped_paths_text({QUrl::fromLocalFile("/")}), "/");
    EXPECT_EQ(dropped_paths_text({QUrl("file:///tmp/x//")}), "/tmp/x");
    EXPECT_EQ(dropped_paths_text({QUrl::fromLocalFile("/a"), QUrl::fromLocalFile("/b")}),
              "/a\r\n/b\r\n");
}

}  // namespace
}  // namespace galmora::testing
