#include "shell/qt/text_wrapping.h"

#include <QPlainTextEdit>

namespace galmora {

namespace {

bool is_white_space(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

// Any run too long that starts at or after start covers the byte kTooLong - 1
// further on. Looking back from that byte either meets no white space (the
// run is there) or lets the next look start after the space it met: a page
// of short words is read a few bytes in a thousand.
bool has_long_unbroken_run(std::string_view text) {
    constexpr std::size_t kTooLong = kLongestWrappedWord + 1;
    std::size_t start = 0;  // no run too long starts before it
    while (text.size() - start >= kTooLong) {
        std::size_t after_space = start + kTooLong;
        while (after_space > start && !is_white_space(text[after_space - 1])) --after_space;
        if (after_space == start) return true;
        start = after_space;
    }
    return false;
}

void wrap_for(QPlainTextEdit* edit, std::string_view text) {
    edit->setWordWrapMode(has_long_unbroken_run(text) ? QTextOption::WrapAnywhere
                                                      : QTextOption::WrapAtWordBoundaryOrAnywhere);
}

}  // namespace galmora
