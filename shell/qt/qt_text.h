#pragma once
// Conversions between local-code-page texts and Qt's Unicode strings, used
// wherever a text enters or leaves a widget, a dialog or the clipboard.

#include <QString>
#include <cstddef>

#include "core/text.h"

namespace galmora {

// A byte sequence that is not GB18030 shows as U+FFFD.
QString to_qstring(const Text& text);
// A character that has no local form becomes "?".
Text from_qstring(const QString& text);
// How many local-code-page bytes the string takes: what a maximum length counts.
std::size_t local_size(const QString& text);

}  // namespace galmora
