#include "shell/qt/control_widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <limits>

#include "shell/qt/field_validator.h"

namespace galmora {

namespace {

QString utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QWidget* create_line_edit(const ControlDefinition& definition, QWidget* parent,
                          QStyle* edit_style) {
    auto* edit = new QLineEdit(utf8(definition.caption), parent);
    // The validator limits the user; the program's texts (a long list of
    // dropped paths, say) are never cut.
    edit->setMaxLength(std::numeric_limits<int>::max());
    edit->setReadOnly(definition.read_only);
    edit->setAlignment(definition.centred ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
    if (definition.max_length > 0 || definition.integer_input)
        edit->setValidator(
            new FieldValidator(edit, definition.max_length, definition.integer_input));
    edit->setStyle(edit_style);
    return edit;
}

QWidget* create_multi_line_edit(const ControlDefinition& definition, QWidget* parent) {
    auto* edit = new QPlainTextEdit(utf8(definition.caption), parent);
    edit->setReadOnly(definition.read_only);
    if (definition.read_only)
        edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    edit->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    edit->setLineWidth(2);
    edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setTabChangesFocus(true);
    edit->viewport()->setAcceptDrops(false);
    return edit;
}

QWidget* create_combo_box(const ControlDefinition& definition, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(false);
    if (!definition.caption.empty()) combo->addItems(utf8(definition.caption).split(u'\n'));
    combo->setCurrentIndex(combo->count() > 0 ? 0 : -1);
    return combo;
}

QWidget* create_label(const ControlDefinition& definition, QWidget* parent) {
    auto* label = new QLabel(utf8(definition.caption), parent);
    label->setTextFormat(Qt::PlainText);
    // One line, as wide as the label: a caption a few pixels wider than its
    // label ("网站简介：" in a wider fallback face) loses only the blank
    // edge of its last character instead of breaking onto a second line.
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setWordWrap(false);
    return label;
}

QWidget* create_widget(const ControlDefinition& definition, QWidget* parent, QStyle* edit_style) {
    switch (definition.kind) {
        case ControlKind::Button:
            return new QPushButton(utf8(definition.caption), parent);
        case ControlKind::Label:
            return create_label(definition, parent);
        case ControlKind::LineEdit:
            return create_line_edit(definition, parent, edit_style);
        case ControlKind::MultiLineEdit:
            return create_multi_line_edit(definition, parent);
        case ControlKind::ComboBox:
            return create_combo_box(definition, parent);
        case ControlKind::CheckBox: {
            auto* box = new QCheckBox(utf8(definition.caption), parent);
            box->setChecked(definition.checked);
            return box;
        }
    }
    return new QWidget(parent);
}

}  // namespace

QFont control_font(int pixel_size) {
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setPixelSize(pixel_size);
    font.setWeight(QFont::Normal);
    return font;
}

QColor to_qcolor(int colour) {
    if (colour < 0) return {};
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

QWidget* create_control(const ControlDefinition& definition, QWidget* parent, QStyle* edit_style) {
    QWidget* widget = create_widget(definition, parent, edit_style);
    widget->setObjectName(utf8(definition.name));
    widget->setGeometry(definition.left, definition.top, definition.width, definition.height);
    widget->setFont(control_font(definition.font_pixels));
    // Only the three drop targets take drops; they are attached later.
    widget->setAcceptDrops(false);
    apply_colours(widget, definition.kind, definition.text_colour, definition.background_colour);
    widget->setEnabled(definition.enabled);
    if (!definition.tooltip.empty()) widget->setToolTip(utf8(definition.tooltip));
    if (!definition.visible) widget->hide();
    return widget;
}

void apply_colours(QWidget* widget, ControlKind kind, int text_colour, int background_colour) {
    QPalette palette = QApplication::palette(widget);
    if (QColor text = to_qcolor(text_colour); text.isValid()) {
        for (auto group : {QPalette::Active, QPalette::Inactive})
            for (auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
                palette.setColor(group, role, text);
    }
    QColor background = to_qcolor(background_colour);
    if (background.isValid()) {
        for (auto role : {QPalette::Base, QPalette::Button}) palette.setColor(role, background);
        if (kind == ControlKind::Label || kind == ControlKind::CheckBox)
            palette.setColor(QPalette::Window, background);
    }
    widget->setAutoFillBackground(background.isValid() &&
                                  (kind == ControlKind::Label || kind == ControlKind::CheckBox));
    widget->setPalette(palette);
}

}  // namespace galmora
