#pragma once
// Conversions between the local code page (GB18030) and UTF-8, used only at
// the edges: file names, written pages, the window and the clipboard.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/text.h"

namespace galmora {

// UTF-8 without byte-order mark; an unconvertible sequence becomes U+FFFD.
Bytes to_utf8(std::string_view local);
std::string utf8_string(std::string_view local);
// The same conversion handed to sink a piece of about piece_size bytes at a
// time, so that a text of many megabytes is never held twice; the pieces
// joined are to_utf8(local). False when sink or the conversion fails.
bool to_utf8_in_pieces(std::string_view local, const std::function<bool(ByteView)>& sink,
                       std::size_t piece_size = std::size_t(1) << 20);
// Strict conversions: nullopt when a byte sequence does not convert, so that
// nothing is ever opened or written under a mangled name.
std::optional<std::string> strict_utf8(std::string_view local);
std::optional<Text> strict_local(std::string_view utf8);
// Lenient UTF-8 to local text; unconvertible sequences become "?".
Text local_text(std::string_view utf8);

namespace literals {
// "图库"_t is the local-code-page text of a UTF-8 source literal.
inline Text operator""_t(const char* utf8, std::size_t size) {
    return local_text(std::string_view(utf8, size));
}
}  // namespace literals

}  // namespace galmora
