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
    bool drop(const char* name, const QMimeData& data) {
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
    void listen(const char* name) {
        window.on(name, ControlEvent::FilesDropped,
                  [this, name](const Text& text) { received.emplace_back(name, text); });
    }

    ShellWindow window;
    std::vector<std::pair<std::string, Text>> received;
};

TEST_F(ShellWindowDrops, OneFolderArrivesAsItsPath) {
    listen("浏览目录");
    std::unique_ptr<QMimeData> data(files({q("/home/用户/图片 #1 100%")}));
    EXPECT_TRUE(drop("浏览目录", *data));
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].second, "/home/用户/图片 #1 100%"_t);
    EXPECT_EQ(window.text("浏览目录"), "");  // the drop operation decides what to show
}

TEST_F(ShellWindowDrops, SeveralItemsArriveAsLinesEachEndingInCrLf) {
    listen("浏览目录1");
    listen("浏览目录3");
    std::unique_ptr<QMimeData> data(files({q("/a/封面.jpg"), q("/b/c d/"), q("/e.png")}));
    EXPECT_TRUE(drop("浏览目录1", *data));
    EXPECT_TRUE(drop("浏览目录3", *data));
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].first, "浏览目录1");
    EXPECT_EQ(received[0].second, "/a/封面.jpg\r\n/b/c d\r\n/e.png\r\n"_t);
    EXPECT_EQ(received[1].first, "浏览目录3");
}

TEST_F(ShellWindowDrops, OnlyLocalFilesAreTaken) {
    listen("浏览目录");
    QMimeData web;
    web.setUrls({QUrl("https://example.com/a.jpg")});
    EXPECT_FALSE(drop("浏览目录", web));
    QMimeData text;
    text.setText("/home/user/pictures");
    EXPECT_FALSE(drop("浏览目录", text));
    QMimeData mixed;
    mixed.setUrls({QUrl("https://example.com/a.jpg"), QUrl::fromLocalFile("/x")});
    EXPECT_TRUE(drop("浏览目录", mixed));
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].second, "/x");
}

TEST_F(ShellWindowDrops, EveryOtherControlRefusesDrops) {
    EXPECT_FALSE(window.acceptDrops());
    for (const ControlSpec& spec : window_layout()) {
        QWidget* w =
            window.findChild<QWidget*>(QString::fromUtf8(spec.name.data(), spec.name.size()));
        EXPECT_EQ(w->acceptDrops(), spec.drop_target) << spec.name;
        if (spec.drop_target) continue;
        for (QWidget* part : w->findChildren<QWidget*>())
            EXPECT_FALSE(part->acceptDrops())
                << spec.name << " " << part->metaObject()->className();
        listen(spec.name.data());  // the names are literals, so they end in a zero
    }
    std::unique_ptr<QMimeData> data(files({"/a"}));
    drop("图库名称", *data);
    drop("网站介绍", *data);
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(window.text("图库名称"), "");
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
