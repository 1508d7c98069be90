#include "shell/qt/qt_desktop_services.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <utility>
#include <vector>

#include "shell/qt/qt_text.h"

namespace galmora {

namespace {

using Button = QMessageBox::StandardButton;

// The buttons of a button set, in the order they are shown; the first is
// the default.
std::vector<Button> buttons_of(int button_set) {
    switch (button_set) {
        case kOkCancel:
            return {QMessageBox::Ok, QMessageBox::Cancel};
        case kAbortRetryIgnore:
            return {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore};
        case kYesNoCancel:
            return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
        case kYesNo:
            return {QMessageBox::Yes, QMessageBox::No};
        case kRetryCancel:
            return {QMessageBox::Retry, QMessageBox::Cancel};
        default:
            return {QMessageBox::Ok};
    }
}

int result_of(Button button) {
    switch (button) {
        case QMessageBox::Ok:
            return kResultOk;
        case QMessageBox::Abort:
            return kResultAbort;
        case QMessageBox::Retry:
            return kResultRetry;
        case QMessageBox::Ignore:
            return kResultIgnore;
        case QMessageBox::Yes:
            return kResultYes;
        case QMessageBox::No:
            return kResultNo;
        default:
            return kResultCancel;
    }
}

QString without_trailing_slash(QString path) {
    while (path.size() > 1 && path.endsWith(u'/')) path.chop(1);
    return path;
}

}  // namespace

QUrl desktop_url(const QString& address) {
    if (address.contains(QStringLiteral("://"))) return QUrl(address, QUrl::TolerantMode);
    return QUrl::fromLocalFile(QDir::current().absoluteFilePath(address));
}

bool QtDesktopServices::set_clipboard_text(const Text& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return false;
    const QString value = to_qstring(text);
    clipboard->setText(value);
    return clipboard->text() == value;
}

int QtDesktopServices::message_box(const Text& message, int button_set, const Text& caption) {
    QMessageBox box(owner_);
    box.setIcon(QMessageBox::NoIcon);
    box.setTextFormat(Qt::PlainText);
    box.setWindowTitle(caption.empty() ? QStringLiteral("信息：") : to_qstring(caption));
    box.setText(to_qstring(message));
    const std::vector<Button> buttons = buttons_of(button_set);
    for (Button button : buttons) box.addButton(button);
    box.setDefaultButton(buttons.front());
    // Esc and the close box count as Cancel where there is one, as OK when
    // OK is the only button.
    if (QAbstractButton* cancel = box.button(QMessageBox::Cancel))
        box.setEscapeButton(cancel);
    else if (buttons.size() == 1)
        box.setEscapeButton(box.button(buttons.front()));
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    return clicked ? result_of(box.standardButton(clicked)) : kResultCancel;
}

Text QtDesktopServices::choose_folder(const Text& title) {
    QString folder = QFileDialog::getExistingDirectory(owner_, to_qstring(title), QDir::homePath(),
                                                       QFileDialog::ShowDirsOnly);
    return folder.isEmpty() ? Text() : from_qstring(without_trailing_slash(folder));
}

Text QtDesktopServices::choose_open_file() {
    QString file = QFileDialog::getOpenFileName(owner_, QString(), QString(),
                                                QStringLiteral("支持格式 (*.jpg *.png *.gif)"));
    return from_qstring(file);
}

void QtDesktopServices::shell_open(const Text& path) {
    QDesktopServices::openUrl(desktop_url(to_qstring(path)));
}

void QtDesktopServices::open_web_page(const Text& address) {
    QDesktopServices::openUrl(desktop_url(to_qstring(address)));
}

}  // namespace galmora
