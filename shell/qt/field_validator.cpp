#include "shell/qt/field_validator.h"

#include <QLineEdit>
#include <algorithm>

#include "shell/qt/qt_text.h"

namespace galmora {

namespace {

bool integer_characters(const QString& text) {
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return (c >= u'0' && c <= u'9') || c == u'-'; });
}

// The width in UTF-16 units of the character at position i.
int char_width(const QString& text, int i) {
    return text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
}

}  // namespace

FieldValidator::FieldValidator(QLineEdit* edit, int max_bytes, bool integer_only)
    : QValidator(edit),
      max_bytes_(max_bytes),
      integer_only_(integer_only),
      previous_(edit->text()) {
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { previous_ = text; });
}

QValidator::State FieldValidator::validate(QString& input, int& cursor) const {
    if (input == previous_) return Acceptable;
    if (integer_only_ && !integer_characters(input)) return Invalid;
    const std::size_t limit = max_bytes_;
    if (max_bytes_ <= 0 || local_size(input) <= limit) return Acceptable;
    const int grown = int(input.size()) - int(previous_.size());
    // A text that the program set longer than the limit may still be shortened.
    if (grown <= 0) return local_size(input) < local_size(previous_) ? Acceptable : Invalid;
    // Too long: keep as much of what was just inserted (it ends at the cursor)
    // as fits, as a paste into a nearly full box does.
    const int begin = std::max(0, cursor - grown);
    std::size_t used = local_size(input.left(begin) + input.mid(cursor));
    int end = begin;
    while (end < cursor) {
        int width = char_width(input, end);
        used += local_size(input.mid(end, width));
        if (used > limit) break;
        end += width;
    }
    if (end == begin) return Invalid;
    input.remove(end, cursor - end);
    cursor = end;
    return Acceptable;
}

void set_text_unchecked(QLineEdit* edit, const QString& text) {
    const QValidator* validator = edit->validator();
    edit->setValidator(nullptr);
    edit->setText(text);
    edit->setValidator(validator);
}

}  // namespace galmora
