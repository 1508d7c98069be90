#include "shell/qt/text_wrapping.h"

#include <QPlainTextEdit>

namespace galmora {

namespace {

bool is_white_space(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

bool has_long_unbroken_run(std::string_view text) {
    int run = 0;
    for (char c : text) {
        run = is_white_space(c) ? 0 : run + 1;
        if (run > kLongestWrappedWord) return true;
    }
    return false;
}

void wrap_for(QPlainTextEdit* edit, std::string_view text) {
    edit->setWordWrapMode(has_long_unbroken_run(text) ? QTextOption::WrapAnywhere
                                                      : QTextOption::WrapAtWordBoundaryOrAnywhere);
}

}  // namespace galmora
