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

int common_prefix(const QString& a, const QString& b) {
    const int shorter = int(std::min(a.size(), b.size()));
    int length = 0;
    while (length < shorter && a[length] == b[length]) ++length;
    return length;
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
    if (max_bytes_ <= 0) return Acceptable;
    const std::size_t size = local_size(input);
    // A text that the program set longer than the limit may still be shortened.
    if (size <= limit || size < local_size(previous_)) return Acceptable;
    return cut_insertion(input, cursor) ? Acceptable : Invalid;
}

bool FieldValidator::cut_insertion(QString& input, int& cursor) const {
    // What was just inserted ends at the cursor and begins where the text
    // first differs from the accepted one: a paste or an input-method commit
    // over a selection replaced part of it, typing into an empty box did not.
    const int kept_after = int(input.size()) - cursor;
    int begin = common_prefix(input, previous_);
    begin = std::max(0, std::min({begin, cursor, int(previous_.size()) - kept_after}));
    if (begin > 0 && input[begin - 1].isHighSurrogate()) --begin;
    // Keep as much of the insertion as fits, possibly nothing, as Qt's own
    // length limit does: the selection is replaced by what fits.
    const std::size_t limit = max_bytes_;
    std::size_t used = local_size(input.left(begin) + input.mid(cursor));
    int end = begin;
    while (end < cursor) {
        int width = char_width(input, end);
        used += local_size(input.mid(end, width));
        if (used > limit) break;
        end += width;
    }
    input.remove(end, cursor - end);
    cursor = end;
    return input != previous_;
}

void set_text_unchecked(QLineEdit* edit, const QString& text) {
    const QValidator* validator = edit->validator();
    edit->setValidator(nullptr);
    edit->setText(text);
    edit->setValidator(validator);
}

}  // namespace galmora
