#include "shell/qt/shell_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <map>

#include "core/codepage.h"
#include "tests/shell/qt/widget_lookup.h"
#include "tests/support/controls_contract.h"

namespace galmora::testing {

INSTANTIATE_TYPED_TEST_SUITE_P(Shell, ControlsContract, ::testing::Types<ShellWindow>);

namespace {

QColor colour(int value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, value >> 16);
}

const std::map<ControlKind, std::string> kWidgetClass = {
    {ControlKind::Button, "QPushButton"}, {ControlKind::Label, "QLabel"},
    {ControlKind::LineEdit, "QLineEdit"}, {ControlKind::MultiLineEdit, "QPlainTextEdit"},
    {ControlKind::ComboBox, "QComboBox"}, {ControlKind::CheckBox, "QCheckBox"}};

void expect_edit_settings(QWidget* w, const ControlDefinition& definition) {
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        EXPECT_EQ(edit->isReadOnly(), definition.read_only);
        EXPECT_EQ(edit->alignment().testFlag(Qt::AlignHCenter), definition.centred);
        EXPECT_EQ(edit->validator() != nullptr,
                  definition.max_length > 0 || definition.integer_input);
        EXPECT_EQ(edit->palette().color(QPalette::Active, QPalette::Text),
                  colour(definition.text_colour));
        EXPECT_EQ(edit->palette().color(QPalette::Base), colour(definition.background_colour));
        EXPECT_TRUE(edit->hasFrame());
    }
    if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
        EXPECT_EQ(edit->isReadOnly(), definition.read_only);
        EXPECT_EQ(edit->frameShadow(), QFrame::Sunken);
        EXPECT_EQ(edit->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        EXPECT_EQ(edit->palette().color(QPalette::Base), colour(definition.background_colour));
    }
}

TEST(ShellWindowControls, EveryControlIsAWidgetWhereTheDefinitionPutsIt) {
    ShellWindow window;
    int widgets = 0;
    for (const ControlDefinition& definition : window_layout()) {
        SCOPED_TRACE(std::string(definition.name));
        QWidget* w = window.findChild<QWidget*>(q(definition.name), Qt::FindDirectChildrenOnly);
        ASSERT_NE(w, nullptr);
        ++widgets;
        EXPECT_EQ(w->metaObject()->className(), kWidgetClass.at(definition.kind));
        EXPECT_EQ(w->geometry(),
                  QRect(definition.left, definition.top, definition.width, definition.height));
        EXPECT_EQ(w->font().pixelSize(), definition.font_pixels);
        EXPECT_EQ(w->font().families().value(0), "SimSun");
        EXPECT_TRUE(w->font().families().contains("WenQuanYi Micro Hei"));
        EXPECT_EQ(w->isHidden(), !definition.visible);
        EXPECT_EQ(w->isEnabled(), definition.enabled);
        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            EXPECT_EQ(button->text(), q(definition.caption));
            EXPECT_EQ(button->isChecked(), definition.checked);
        }
        // The two boxes that share the row of 选择框3 keep their captions whole.
        if (definition.id == ControlId::OpenPageAfter || definition.id == ControlId::Thumbnails) {
            EXPECT_LE(w->sizeHint().width(), definition.width);
        }
        EXPECT_EQ(w->toolTip(), q(definition.tooltip));
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            EXPECT_FALSE(combo->isEditable());
            QStringList items;
            for (int i = 0; i < combo->count(); ++i) items.append(combo->itemText(i));
            EXPECT_EQ(items.join(u'\n'), q(definition.caption));
            EXPECT_EQ(combo->palette().color(QPalette::Button),
                      colour(definition.background_colour));
        }
        if (auto* label = qobject_cast<QLabel*>(w)) {
            EXPECT_EQ(label->text(), q(definition.caption));
            EXPECT_EQ(label->palette().color(QPalette::Active, QPalette::WindowText),
                      colour(definition.text_colour));
        }
        expect_edit_settings(w, definition);
    }
    EXPECT_EQ(widgets, 57);
}

TEST(ShellWindowFrame, IsAFixedWindowWithoutMaximiseHoldingTheWholeGrid) {
    ShellWindow window;
    EXPECT_EQ(window.size(), QSize(771, 663));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    Qt::WindowFlags flags = window.windowFlags();
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_EQ(window.windowTitle(), q("Galmora - 带 [星] 号为必填项目"));
    for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        EXPECT_TRUE(window.rect().contains(child->geometry())) << child->objectName().toStdString();
    QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    if (area.width() >= kWindowWidth) {
        EXPECT_NEAR(window.x() + kWindowWidth / 2, area.center().x(), 1);
    }
}

TEST(ShellWindowFrame, AlwaysOnTopSwitchesAndTheWindowStaysShown) {
    ShellWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.set_always_on_top(true);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    window.set_always_on_top(false);
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.isVisible());
}

TEST(ShellWindowFrame, BusyCursorIsBalanced) {
    {
        ShellWindow window;
        window.set_busy(true);
        window.set_busy(true);
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        window.set_busy(false);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        window.set_busy(true);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // released with the window
}

TEST(ShellWindowFrame, FocusAndSelectAll) {
    ShellWindow window;
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.set_text(ControlId::InformationPanel, "line one\r\nline two");
    window.focus(ControlId::InformationPanel);
    window.select_all(ControlId::InformationPanel);
    auto* panel = widget<QPlainTextEdit>(window, ControlId::InformationPanel);
    EXPECT_EQ(QApplication::focusWidget(), panel);
    EXPECT_EQ(panel->textCursor().selectedText(), QString("line one") + QChar(0x2029) + "line two");
    window.focus(ControlId::SubGalleryName);
    window.set_text(ControlId::SubGalleryName, "abc");
    window.select_all(ControlId::SubGalleryName);
    EXPECT_EQ(QApplication::focusWidget(), widget(window, ControlId::SubGalleryName));
    EXPECT_EQ(widget<QLineEdit>(window, ControlId::SubGalleryName)->selectedText(), "abc");
}

TEST(ShellWindowTexts, MultiLineBoxesKeepTheirLineEndsUntilTheUserEdits) {
    ShellWindow window;
    window.set_text(ControlId::SiteIntroduction, "a\r\nb\nc");
    EXPECT_EQ(window.text(ControlId::SiteIntroduction), "a\r\nb\nc");
    auto* intro = widget<QPlainTextEdit>(window, ControlId::SiteIntroduction);
    intro->moveCursor(QTextCursor::End);
    type_keys(intro, "d");
    QTest::keyClick(intro, Qt::Key_Return);
    type_keys(intro, "e");
    EXPECT_EQ(window.text(ControlId::SiteIntroduction), "a\r\nb\r\ncd\r\ne");
}

TEST(ShellWindowTexts, TextsConvertBetweenTheLocalCodePageAndTheWidgets) {
    using namespace galmora::literals;
    ShellWindow window;
    window.set_text(ControlId::SubGalleryName, "图库123456789"_t);
    EXPECT_EQ(widget<QLineEdit>(window, ControlId::SubGalleryName)->text(), q("图库123456789"));
    window.set_text(ControlId::MainGalleryLabel,
                    "€ 𠀀 癨"_t);  // four-byte and trail-byte-0x5C characters
    EXPECT_EQ(widget<QLabel>(window, ControlId::MainGalleryLabel)->text(), q("€ 𠀀 癨"));
    EXPECT_EQ(window.text(ControlId::MainGalleryLabel), "€ 𠀀 癨"_t);
    window.append_item(ControlId::MainGalleryList, "风景"_t);
    EXPECT_EQ(widget<QComboBox>(window, ControlId::MainGalleryList)->itemText(1), q("风景"));
}

TEST(ShellWindowTexts, IdentifiersOutsideTheTableAreIgnored) {
    ShellWindow window;
    const auto unknown = static_cast<ControlId>(99);
    window.set_text(unknown, "x");
    window.on(unknown, ControlEvent::Clicked, [](const Text&) {});
    EXPECT_EQ(window.text(unknown), "");
    EXPECT_EQ(window.selected_index(unknown), -1);
    EXPECT_FALSE(window.visible(unknown));
}

}  // namespace
}  // namespace galmora::testing
