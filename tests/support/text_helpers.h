#pragma once
// Small text helpers that only tests need.

#include <string_view>

#include "core/text.h"

namespace galmora::testing {

// Byte-wise, unsigned, like strcmp: -1, 0 or 1.
inline int compare_text(std::string_view a, std::string_view b) {
    // char_traits<char> compares as unsigned char, exactly like strcmp.
    const int order = a.compare(b);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

inline Bytes to_bytes(std::string_view t) {
    return Bytes(t.begin(), t.end());
}

}  // namespace galmora::testing
