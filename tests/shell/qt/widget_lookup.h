#pragma once
// Finding a control's widget by its name, and typing into it.

#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QWidget>
#include <string_view>

#include "shell/qt/shell_window.h"
#include "shell/window_layout.h"
#include "tests/support/control_printing.h"

namespace galmora::testing {

template <typename W = QWidget>
W* widget(ShellWindow& window, const char* name) {
    return window.findChild<W*>(QString::fromUtf8(name), Qt::FindDirectChildrenOnly);
}

template <typename W = QWidget>
W* widget(ShellWindow& window, ControlId id) {
    return widget<W>(window, find_control(id)->name.data());
}

inline QString q(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

// Types the text one key at a time, Chinese characters included (as a
// keyboard layout that produces them would deliver them).
inline void type_keys(QWidget* target, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &release);
    }
}

}  // namespace galmora::testing
