#include "shell/qt/shell_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <vector>

#include "core/codepage.h"
#include "shell/qt/control_widgets.h"
#include "shell/qt/field_validator.h"
#include "shell/qt/file_drop_filter.h"
#include "shell/qt/qt_text.h"
#include "shell/qt/sunken_edit_style.h"
#include "shell/qt/text_wrapping.h"

namespace galmora {

namespace {

QString utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

template <typename W>
W* as(QWidget* widget) {
    return qobject_cast<W*>(widget);
}

}  // namespace

ShellWindow::ShellWindow(QWidget* parent) : QWidget(parent), desktop_(this) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    setWindowTitle(utf8(kWindowTitle));
    create_controls();
    centre_on_screen();
}

ShellWindow::~ShellWindow() {
    if (busy_) QApplication::restoreOverrideCursor();
}

void ShellWindow::create_controls() {
    // Parented to the window, so it lives as long as the edit boxes.
    auto* edit_style = new SunkenEditStyle;
    edit_style->setParent(this);
    for (const ControlDefinition& definition : window_layout()) {
        Control control;
        control.definition = &definition;
        control.widget = create_control(definition, this, edit_style);
        control.text_colour = definition.text_colour;
        control.background_colour = definition.background_colour;
        if (auto* edit = as<QPlainTextEdit>(control.widget)) {
            control.program_text = std::make_shared<const Text>(local_text(definition.caption));
            control.fill = new GradualTextFill(edit);
        }
        auto [it, inserted] = controls_.emplace(definition.id, std::move(control));
        connect_events(it->second);
    }
}

void ShellWindow::connect_events(Control& control) {
    Control* c = &control;
    QWidget* widget = control.widget;
    if (auto* button = as<QPushButton>(widget))
        connect(button, &QPushButton::clicked, this,
                [this, c] { raise(*c, ControlEvent::Clicked); });
    if (auto* box = as<QCheckBox>(widget))
        connect(box, &QCheckBox::clicked, this, [this, c] { raise(*c, ControlEvent::Clicked); });
    if (auto* combo = as<QComboBox>(widget))
        connect(combo, &QComboBox::activated, this,
                [this, c] { raise(*c, ControlEvent::ItemSelected); });
    if (auto* edit = as<QLineEdit>(widget))
        connect(edit, &QLineEdit::textEdited, this,
                [this, c] { raise(*c, ControlEvent::ContentChanged); });
    if (control.definition->drop_target)
        new FileDropFilter(widget, [this, c](const QString& paths) {
            raise(*c, ControlEvent::FilesDropped, from_qstring(paths));
        });
}

void ShellWindow::centre_on_screen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect area = screen->availableGeometry();
    // move() places the outer frame, so centre the outer size.
    int left = area.left() + std::max(0, (area.width() - kWindowWidth) / 2);
    int top = area.top() + std::max(0, (area.height() - kWindowHeight) / 2);
    move(left, top);
}

ShellWindow::Control* ShellWindow::find(ControlId control) {
    auto it = controls_.find(control);
    if (it != controls_.end()) return &it->second;
    qWarning("no control %d", int(control));
    return nullptr;
}

const ShellWindow::Control* ShellWindow::find(ControlId control) const {
    return const_cast<ShellWindow*>(this)->find(control);
}

void ShellWindow::raise(Control& control, ControlEvent event, const Text& argument) {
    // A handler may register further handlers; run those present now.
    std::vector<Handler> handlers;
    auto [first, last] = control.handlers.equal_range(event);
    for (auto it = first; it != last; ++it) handlers.push_back(it->second);
    for (const Handler& handler : handlers) handler(argument);
}

Text ShellWindow::text(ControlId control) const {
    const Control* c = find(control);
    if (!c) return {};
    QWidget* w = c->widget;
    if (auto* edit = as<QLineEdit>(w)) return from_qstring(edit->text());
    if (auto* edit = as<QPlainTextEdit>(w)) {
        if (!edit->document()->isModified()) return *c->program_text;
        return from_qstring(edit->toPlainText().replace(u'\n', QStringLiteral("\r\n")));
    }
    if (auto* label = as<QLabel>(w)) return from_qstring(label->text());
    if (auto* button = as<QAbstractButton>(w)) return from_qstring(button->text());
    if (auto* combo = as<QComboBox>(w)) return from_qstring(combo->currentText());
    return {};
}

void ShellWindow::set_text(ControlId control, const Text& text) {
    Control* c = find(control);
    if (!c) return;
    QWidget* w = c->widget;
    if (auto* edit = as<QLineEdit>(w)) {
        set_text_unchecked(edit, to_qstring(text));
        raise(*c, ControlEvent::ContentChanged);
    } else if (c->fill) {
        fill_box(*c, std::make_shared<const Text>(text));
    } else if (auto* label = as<QLabel>(w)) {
        label->setText(to_qstring(text));
    } else if (auto* button = as<QAbstractButton>(w)) {
        button->setText(to_qstring(text));
    }
}

void ShellWindow::move_text_into(ControlId control, Text text) {
    Control* c = find(control);
    if (c && c->fill)
        fill_box(*c, std::make_shared<const Text>(std::move(text)));
    else
        set_text(control, text);
}

void ShellWindow::fill_box(Control& control, std::shared_ptr<const Text> text) {
    auto* edit = as<QPlainTextEdit>(control.widget);
    control.program_text = text;
    wrap_for(edit, *text);
    control.fill->set_text(std::move(text));
    edit->document()->setModified(false);
}

bool ShellWindow::checked(ControlId control) const {
    const Control* c = find(control);
    auto* box = c ? as<QCheckBox>(c->widget) : nullptr;
    return box && box->isChecked();
}

void ShellWindow::set_checked(ControlId control, bool checked) {
    Control* c = find(control);
    if (auto* box = c ? as<QCheckBox>(c->widget) : nullptr) box->setChecked(checked);
}

int ShellWindow::selected_index(ControlId control) const {
    const Control* c = find(control);
    auto* combo = c ? as<QComboBox>(c->widget) : nullptr;
    return combo ? combo->currentIndex() : -1;
}

void ShellWindow::set_selected_index(ControlId control, int index) {
    Control* c = find(control);
    if (auto* combo = c ? as<QComboBox>(c->widget) : nullptr)
        combo->setCurrentIndex(std::clamp(index, -1, combo->count() - 1));
}

Text ShellWindow::item_text(ControlId control, int index) const {
    const Control* c = find(control);
    auto* combo = c ? as<QComboBox>(c->widget) : nullptr;
    if (!combo || index < 0 || index >= combo->count()) return {};
    return from_qstring(combo->itemText(index));
}

void ShellWindow::append_item(ControlId control, const Text& text) {
    Control* c = find(control);
    auto* combo = c ? as<QComboBox>(c->widget) : nullptr;
    if (!combo) return;
    const int selected = combo->currentIndex();
    combo->addItem(to_qstring(text));
    // Qt selects the first item added to an empty list; the window keeps
    // "nothing selected" until the program selects something.
    if (combo->currentIndex() != selected) combo->setCurrentIndex(selected);
}

void ShellWindow::clear_items(ControlId control) {
    Control* c = find(control);
    if (auto* combo = c ? as<QComboBox>(c->widget) : nullptr) combo->clear();
}

int ShellWindow::item_count(ControlId control) const {
    const Control* c = find(control);
    auto* combo = c ? as<QComboBox>(c->widget) : nullptr;
    return combo ? combo->count() : 0;
}

bool ShellWindow::visible(ControlId control) const {
    const Control* c = find(control);
    return c && !c->widget->isHidden();
}

void ShellWindow::set_visible(ControlId control, bool visible) {
    if (Control* c = find(control)) c->widget->setVisible(visible);
}

bool ShellWindow::enabled(ControlId control) const {
    const Control* c = find(control);
    return c && c->widget->isEnabledTo(this);
}

void ShellWindow::set_enabled(ControlId control, bool enabled) {
    if (Control* c = find(control)) c->widget->setEnabled(enabled);
}

int ShellWindow::text_colour(ControlId control) const {
    const Control* c = find(control);
    return c ? c->text_colour : 0;
}

void ShellWindow::set_text_colour(ControlId control, int colour) {
    Control* c = find(control);
    if (!c) return;
    c->text_colour = colour;
    apply_colours(c->widget, c->definition->kind, c->text_colour, c->background_colour);
}

int ShellWindow::background_colour(ControlId control) const {
    const Control* c = find(control);
    return c ? c->background_colour : -1;
}

void ShellWindow::set_background_colour(ControlId control, int colour) {
    Control* c = find(control);
    if (!c) return;
    c->background_colour = colour;
    apply_colours(c->widget, c->definition->kind, c->text_colour, c->background_colour);
}

void ShellWindow::focus(ControlId control) {
    if (Control* c = find(control)) c->widget->setFocus(Qt::OtherFocusReason);
}

void ShellWindow::select_all(ControlId control) {
    Control* c = find(control);
    if (!c) return;
    if (c->fill) c->fill->finish();  // everything the box will hold is selected
    if (auto* edit = as<QLineEdit>(c->widget)) edit->selectAll();
    if (auto* edit = as<QPlainTextEdit>(c->widget)) edit->selectAll();
}

Text ShellWindow::title() const {
    return from_qstring(windowTitle());
}

void ShellWindow::set_title(const Text& title) {
    setWindowTitle(to_qstring(title));
}

bool ShellWindow::always_on_top() const {
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void ShellWindow::set_always_on_top(bool on) {
    if (on == always_on_top()) return;
    const bool shown = isVisible();
    // Changing a window flag hides the window; show it again in place.
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (shown) show();
}

void ShellWindow::set_busy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void ShellWindow::on(ControlId control, ControlEvent event, Handler handler) {
    if (Control* c = find(control)) c->handlers.emplace(event, std::move(handler));
}

}  // namespace galmora
