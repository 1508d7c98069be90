#pragma once
// Fills a multi-line box with a long text a slice at a time, from the event
// loop, so that the window keeps answering while a generated page of many
// megabytes is converted and goes in. A short text goes in at once, as
// before. The box ends up holding exactly what setPlainText of the whole
// converted text would have put into it. The text is shared with whoever
// gave it (the window keeps it to read back), not copied.

#include <QObject>
#include <QTimer>
#include <memory>

#include "core/text.h"

class QPlainTextEdit;

namespace galmora {

class GradualTextFill : public QObject {
    Q_OBJECT
  public:
    // Owned by edit.
    explicit GradualTextFill(QPlainTextEdit* edit);

    // Replaces the box's text: the first slice now, the rest from the event
    // loop. A fill still running is dropped.
    void set_text(std::shared_ptr<const Text> text);
    // Puts the rest in now, for whoever needs the whole text shown (a
    // selection of everything, say).
    void finish();
    bool filling() const { return text_ && next_ < text_->size(); }

  private:
    // Where the slice starting at from ends: after a line feed, so that a
    // CR LF pair never falls apart into two line breaks (a line feed byte
    // is never part of a two- or four-byte character).
    std::size_t slice_end(std::size_t from) const;
    void insert_next_slice();
    void stop();

    QPlainTextEdit* edit_;
    QTimer timer_;
    std::shared_ptr<const Text> text_;  // none once the whole text is in
    std::size_t next_ = 0;  // where the text still to go in starts
};

}  // namespace galmora
