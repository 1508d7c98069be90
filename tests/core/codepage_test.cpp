#include "core/codepage.h"

#include <gtest/gtest.h>

namespace galmora {
namespace {

using namespace galmora::literals;

TEST(ToUtf8, ConvertsLocalText) {
    EXPECT_EQ(utf8_string("\xCD\xBC\xBF\xE2"), "图库");
    EXPECT_EQ(utf8_string("\xB0\x5C"), "癨");
    EXPECT_EQ(utf8_string("\x94\x39\xFC\x36"), "😀");  // four-byte form
    EXPECT_EQ(to_utf8("a\xB7\xE7"), (Bytes{'a', 0xE9, 0xA3, 0x8E}));
    EXPECT_TRUE(to_utf8("").empty());
    EXPECT_EQ(utf8_string(std::string_view("a\0b", 3)), std::string("a\0b", 3));
}

TEST(ToUtf8, ReplacesBrokenSequences) {
    EXPECT_EQ(utf8_string("a\xFF"
                          "b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(utf8_string("\x80"), "\xEF\xBF\xBD");
    // A lead byte at the very end, and one followed by ASCII.
    EXPECT_EQ(utf8_string("ab\xB0"), "ab\xEF\xBF\xBD");
    EXPECT_EQ(utf8_string("\xB0 a"), "\xEF\xBF\xBD a");
    // Every byte value in every position converts without crashing.
    std::string all;
    for (int i = 0; i < 256; ++i)
        for (int j = 0; j < 256; j += 7) all += {static_cast<char>(i), static_cast<char>(j)};
    EXPECT_FALSE(utf8_string(all).empty());
}

TEST(StrictConversions, RefuseWhatDoesNotConvert) {
    EXPECT_EQ(strict_utf8("\xB7\xE7\xBE\xB0"), "风景");
    EXPECT_EQ(strict_utf8("ab\xB0"), std::nullopt);
    EXPECT_EQ(strict_utf8("\xFF"), std::nullopt);
    EXPECT_EQ(strict_utf8(""), "");
    EXPECT_EQ(strict_local("风景"), "\xB7\xE7\xBE\xB0");
    EXPECT_EQ(strict_local("a\xC3"), std::nullopt);
    EXPECT_EQ(strict_local("\xED\xA0\x80"), std::nullopt);  // a UTF-16 surrogate
    // A failed strict conversion does not disturb the next one.
    EXPECT_EQ(strict_local("ok"), "ok");
}

TEST(StrictConversions, RoundTripEveryUnicodeName) {
    for (const char* name : {"风景", "😀 emoji", "a#?%\"\\b", "\xEF\xBF\xBD", "癨"}) {
        const auto local = strict_local(name);
        ASSERT_TRUE(local.has_value()) << name;
        EXPECT_EQ(strict_utf8(*local), name);
    }
}

TEST(LocalText, ReplacesBrokenUtf8WithQuestionMarks) {
    EXPECT_EQ(local_text("图库"), "\xCD\xBC\xBF\xE2");
    EXPECT_EQ(local_text("a\xFF"
                         "b"),
              "a?b");
    EXPECT_EQ(local_text("a\xE4\xBD"), "a?");  // one cut character, one "?"
    EXPECT_EQ(local_text(""), "");
}

TEST(LocalLiteral, ConvertsSourceText) {
    EXPECT_EQ("图库"_t, "\xCD\xBC\xBF\xE2");
    EXPECT_EQ("ab"_t, "ab");
}

}  // namespace
}  // namespace galmora
