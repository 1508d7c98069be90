#pragma once
// Qt wraps a run of text that offers no break opportunity by searching it to
// its end for every line it makes of it, so one long unbroken run (a page
// that is a single megabyte-long word) takes minutes to lay out. A multi-line
// box given a text with such a run wraps it anywhere instead, which takes
// time in proportion to the text; other texts keep wrapping at word
// boundaries.

#include <string_view>

class QPlainTextEdit;

namespace galmora {

// Runs up to this many bytes without white space wrap at words. No byte of
// a two- or four-byte local-code-page character is ASCII white space, so
// runs are counted on the text before it is converted.
inline constexpr int kLongestWrappedWord = 1000;

bool has_long_unbroken_run(std::string_view text);
// Sets the wrapping that lays the text out quickly; call before setting it.
void wrap_for(QPlainTextEdit* edit, std::string_view text);

}  // namespace galmora
