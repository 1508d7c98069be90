#include "shell/qt/gradual_text_fill.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

#include "shell/qt/qt_text.h"

namespace galmora {

namespace {

// About ten milliseconds of converting and document building on a busy
// machine.
constexpr std::size_t kSliceBytes = 64 * 1024;

}  // namespace

GradualTextFill::GradualTextFill(QPlainTextEdit* edit) : QObject(edit), edit_(edit) {
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &GradualTextFill::insert_next_slice);
}

void GradualTextFill::set_text(std::shared_ptr<const Text> text) {
    stop();
    text_ = std::move(text);
    const std::size_t first_end = slice_end(0);
    edit_->setPlainText(
        to_qstring(first_end == text_->size() ? *text_ : text_->substr(0, first_end)));
    next_ = first_end;
    if (filling())
        timer_.start();
    else
        stop();
}

void GradualTextFill::finish() {
    while (filling()) insert_next_slice();
}

std::size_t GradualTextFill::slice_end(std::size_t from) const {
    if (text_->size() - from <= kSliceBytes) return text_->size();
    const std::size_t line_feed = text_->find('\n', from + kSliceBytes - 1);
    return line_feed == Text::npos ? text_->size() : line_feed + 1;
}

void GradualTextFill::insert_next_slice() {
    QTextDocument* document = edit_->document();
    // Someone typed into the box meanwhile: their text now stands.
    if (document->isModified()) return stop();
    const std::size_t end = slice_end(next_);
    // As in setPlainText, the filling leaves nothing to undo.
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(to_qstring(text_->substr(next_, end - next_)));
    document->setUndoRedoEnabled(undo);
    document->setModified(false);
    next_ = end;
    if (!filling()) stop();
}

void GradualTextFill::stop() {
    timer_.stop();
    text_.reset();  // the memory stays with whoever else holds the text
    next_ = 0;
}

}  // namespace galmora
