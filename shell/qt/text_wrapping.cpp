#include "shell/qt/text_wrapping.h"

#include <QPlainTextEdit>

namespace galmora {

bool has_long_unbroken_run(const QString& text) {
    int run = 0;
    for (QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > kLongestWrappedWord) return true;
    }
    return false;
}

void wrap_for(QPlainTextEdit* edit, const QString& text) {
    edit->setWordWrapMode(has_long_unbroken_run(text) ? QTextOption::WrapAnywhere
                                                      : QTextOption::WrapAtWordBoundaryOrAnywhere);
}

}  // namespace galmora
