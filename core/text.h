#pragma once
// Texts, byte buffers and the number rules every other module relies on.
// A Text holds bytes of the local code page (GB18030); lengths and positions
// count bytes. An absent text and the empty text are the same value.

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace galmora {

using Text = std::string;
using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

Text concat_text(std::initializer_list<std::string_view> pieces);
// The last min(n, length) bytes; n <= 0 gives the empty text.
Text right_text(std::string_view t, int n);
// 1-based byte position of the first match that starts on a character
// boundary, or -1.
int find_text(std::string_view haystack, std::string_view needle);

Text to_text(int value);
Text to_text(double value);  // "%.13g"
// The bytes up to the first zero byte.
Text to_text(ByteView bytes);
// Full-width ASCII and the ideographic space fold to ASCII first, then atoi;
// saturates at the 32-bit bounds.
int to_integer(std::string_view t);
int floor_to_int(double x);
// Equality of counts computed in double precision.
bool nearly_equal(double a, double b);

ByteView as_bytes(std::string_view t);

// r | g << 8 | b << 16.
constexpr int rgb(int r, int g, int b) {
    return r | (g << 8) | (b << 16);
}

void seed_random();
// Both ends included; negative bounds count as 0, swapped bounds are swapped.
int random_int(int lo, int hi);
// Nine random decimal digits, leading zeros kept.
Text random_suffix();

}  // namespace galmora
