#include "shell/qt/qt_desktop_services.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "core/codepage.h"
#include "shell/application.h"
#include "shell/qt/qt_translations.h"
#include "shell/qt/shell_window.h"
#include "tests/support/temp_dir.h"

namespace galmora {
namespace {

using namespace galmora::literals;

// Runs the action on the message box as soon as it is shown.
void when_shown(std::function<void(QMessageBox&)> action) {
    QTimer::singleShot(0, [action] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        action(*box);
    });
}

// What a message box showed, taken when it came up.
struct ShownBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Information;
    QWidget* parent = nullptr;
    QStringList buttons;  // sorted
};

// Records the box when it comes up, then presses the button.
void when_shown_record(ShownBox& shown, QMessageBox::StandardButton press) {
    when_shown([&shown, press](QMessageBox& box) {
        shown = {box.windowTitle(), box.text(), box.icon(), box.parentWidget(), {}};
        for (QAbstractButton* button : box.buttons()) shown.buttons << button->text();
        shown.buttons.sort();
        box.button(press)->click();
    });
}

TEST(QtDesktopServicesMessageBox, ShowsTextAndCaptionWithoutIconOverTheWindow) {
    ShellWindow window;
    ShownBox shown;
    when_shown_record(shown, QMessageBox::Ok);
    int result = window.desktop().message_box("确认删除【风景】子图库吗？\r\n此操作不可恢复"_t,
                                              kOkCancel, "确认信息:"_t);
    EXPECT_EQ(result, kResultOk);
    EXPECT_EQ(shown.title, QString::fromUtf8("确认信息:"));
    EXPECT_EQ(shown.text, QString::fromUtf8("确认删除【风景】子图库吗？\r\n此操作不可恢复"));
    EXPECT_EQ(shown.icon, QMessageBox::NoIcon);
    EXPECT_EQ(shown.parent, &window);
    EXPECT_EQ(shown.buttons.size(), 2);
}

TEST(QtDesktopServicesMessageBox, EscapeAnswersCancelWhereThereIsOne) {
    QtDesktopServices desktop(nullptr);
    when_shown([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); });
    EXPECT_EQ(desktop.message_box("?", kOkCancel, "c"), kResultCancel);
    when_shown([](QMessageBox& box) { box.button(QMessageBox::Cancel)->click(); });
    EXPECT_EQ(desktop.message_box("?", kOkCancel, "c"), kResultCancel);
    when_shown([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); });
    EXPECT_EQ(desktop.message_box("?", kYesNoCancel, "c"), kResultCancel);
    when_shown([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); });
    EXPECT_EQ(desktop.message_box("!", kOk, "c"), kResultOk);
}

TEST(QtDesktopServicesMessageBox, EveryButtonSetAnswersWithItsCodes) {
    QtDesktopServices desktop(nullptr);
    struct Case {
        int set;
        QMessageBox::StandardButton press;
        int result;
        int buttons;
    } cases[] = {
        {kAbortRetryIgnore, QMessageBox::Ignore, kResultIgnore, 3},
        {kAbortRetryIgnore, QMessageBox::Abort, kResultAbort, 3},
        {kYesNoCancel, QMessageBox::No, kResultNo, 3},
        {kYesNo, QMessageBox::Yes, kResultYes, 2},
        {kRetryCancel, QMessageBox::Retry, kResultRetry, 2},
    };
    for (const Case& c : cases) {
        ShownBox shown;
        when_shown_record(shown, c.press);
        EXPECT_EQ(desktop.message_box("?", c.set, "c"), c.result) << c.set;
        EXPECT_EQ(shown.buttons.size(), c.buttons) << c.set;
    }
    ShownBox untitled;
    when_shown_record(untitled, QMessageBox::Ok);
    desktop.message_box("?", kOk, "");
    EXPECT_EQ(untitled.title, QString::fromUtf8("信息："));
}

TEST(QtDesktopServicesMessageBox, AfterStartUpRefusalsHaveOneChineseButtonAndQuestionsTwo) {
    ASSERT_TRUE(load_chinese_qt_translations(*QCoreApplication::instance()))
        << "Qt's Chinese translations (qtbase_zh_CN) are not installed";
    testing::TempDir root;
    ShellWindow window;
    UpdateSettings offline;
    offline.network.system_online = [] { return false; };
    Application application(window.controls(), window.desktop(), root.text(), offline);
    application.start_up();

    ShownBox refusal;
    when_shown_record(refusal, QMessageBox::Ok);
    window.findChild<QPushButton*>(QString::fromUtf8("按钮12"))->click();
    EXPECT_EQ(refusal.title, QString::fromUtf8("信息："));
    EXPECT_EQ(refusal.buttons, QStringList{QString::fromUtf8("确定")});

    ShownBox question;
    when_shown_record(question, QMessageBox::Cancel);
    EXPECT_EQ(ask_to_confirm(window.desktop(), "确认删除【风景】子图库吗？"_t), kResultCancel);
    EXPECT_EQ(question.title, QString::fromUtf8("确认信息:"));
    QStringList chinese{QString::fromUtf8("确定"), QString::fromUtf8("取消")};
    chinese.sort();
    EXPECT_EQ(question.buttons, chinese);
}

TEST(QtDesktopServicesClipboard, HoldsThePlainTextInUnicode) {
    QtDesktopServices desktop(nullptr);
    EXPECT_TRUE(desktop.set_clipboard_text("<p>图库 ★</p>\r\n"_t));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("<p>图库 ★</p>\r\n"));
}

TEST(QtDesktopServicesUrls, LocalPathsBecomeFileUrlsAndAddressesStay) {
    EXPECT_EQ(desktop_url("http://example.com/ver/pixvanever.html").toString(),
              "http://example.com/ver/pixvanever.html");
    QUrl page = desktop_url(QString::fromUtf8("/库/我的图片库 #1/index.html"));
    EXPECT_TRUE(page.isLocalFile());
    EXPECT_EQ(page.toLocalFile(), QString::fromUtf8("/库/我的图片库 #1/index.html"));
    EXPECT_EQ(desktop_url(QString::fromUtf8("我的图片库")).toLocalFile(),
              QDir::current().absoluteFilePath(QString::fromUtf8("我的图片库")));
}

}  // namespace
}  // namespace galmora
