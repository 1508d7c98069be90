#include "core/text.h"
#include "tests/support/text_helpers.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>

namespace galmora {

using testing::compare_text;
using testing::to_bytes;
namespace {

TEST(CompareText, IsByteWiseUnsignedAndCaseSensitive) {
    EXPECT_EQ(compare_text(Text(), ""), 0);
    EXPECT_EQ(compare_text("jpg", "JPG"), 1);
    EXPECT_EQ(compare_text("ab", "abc"), -1);
    EXPECT_EQ(compare_text("abc", "ab"), 1);
    // A lead byte of a two-byte character is larger than any ASCII byte.
    EXPECT_EQ(compare_text("\xB0\x5C", "z"), 1);
    EXPECT_EQ(compare_text(std::string_view("a\0b", 3), std::string_view("a\0c", 3)), -1);
}

TEST(ConcatText, JoinsPiecesInOrder) {
    EXPECT_EQ(concat_text({"", "", ""}), "");
    EXPECT_EQ(concat_text({"a", "", "bc", "d"}), "abcd");
}

TEST(RightText, CountsBytes) {
    EXPECT_EQ(right_text("photo.jpeg", 3), "peg");
    EXPECT_EQ(right_text("photo.jpeg", 4), "jpeg");
    EXPECT_EQ(right_text("ab", 5), "ab");
    EXPECT_EQ(right_text("ab", 0), "");
    EXPECT_EQ(right_text("ab", -3), "");
}

TEST(FindText, MatchesOnlyOnCharacterBoundaries) {
    const Text chinese = "\xD6\xD0\xCE\xC4";  // two characters D6D0 CEC4
    EXPECT_EQ(find_text(chinese, "\xD0\xCE"), -1);
    EXPECT_EQ(find_text(chinese, "\xCE\xC4"), 3);
    // The trail byte 5C of a character is no backslash.
    EXPECT_EQ(find_text("\xB0\x5C", "\\"), -1);
    EXPECT_EQ(find_text("\xB0\x5C\\", "\\"), 3);
    EXPECT_EQ(find_text("abc", "abc"), 1);
    EXPECT_EQ(find_text("xabc", "bc"), 3);
    EXPECT_EQ(find_text("ab", "abc"), -1);
    EXPECT_EQ(find_text("abc", ""), 1);
    EXPECT_EQ(find_text("", ""), -1);
    // A lone lead byte at the end must not read past the text.
    EXPECT_EQ(find_text("a\xB0", "b"), -1);
}

TEST(ToText, FormatsIntegersDoublesAndBytes) {
    EXPECT_EQ(to_text(-7), "-7");
    EXPECT_EQ(to_text(INT_MIN), "-2147483648");
    EXPECT_EQ(to_text(12.0), "12");
    EXPECT_EQ(to_text(0.0), "0");
    EXPECT_EQ(to_text(2.5), "2.5");
    EXPECT_EQ(to_text(1e13), "1e+13");
    EXPECT_EQ(to_text(9999999999999.0), "9999999999999");
    EXPECT_EQ(to_text(0.0001), "0.0001");
    EXPECT_EQ(to_text(0.00001), "1e-05");
    EXPECT_EQ(to_text(1.0 / 3.0), "0.3333333333333");
    const Bytes bytes = {'a', 'b', 0, 'c', 'd'};
    EXPECT_EQ(to_text(ByteView(bytes)), "ab");
    EXPECT_EQ(to_text(ByteView()), "");
}

TEST(ToInteger, ReadsLeadingDigitsLikeAtoi) {
    EXPECT_EQ(to_integer(""), 0);
    EXPECT_EQ(to_integer("12abc"), 12);
    EXPECT_EQ(to_integer("  -3"), -3);
    EXPECT_EQ(to_integer(" +7"), 7);
    EXPECT_EQ(to_integer("abc"), 0);
    EXPECT_EQ(to_integer("- 3"), 0);
    EXPECT_EQ(to_integer("\t\r\n5"), 5);
}

TEST(ToInteger, FoldsFullWidthCharacters) {
    EXPECT_EQ(to_integer("\xA3\xB1\xA3\xB2"), 12);          // full-width one, two
    EXPECT_EQ(to_integer("\xA1\xA1\xA3\xAD\xA3\xB4"), -4);  // ideographic space, full-width minus
    EXPECT_EQ(to_integer("1\xA3\xB2"
                         "3"),
              123);
    // Other two-byte characters stop the digits and are not split apart.
    EXPECT_EQ(to_integer("4\xB0\x35"
                         "6"),
              4);
    EXPECT_EQ(to_integer("\xB0\x35"), 0);
}

TEST(ToInteger, SaturatesBeyondThirtyTwoBits) {
    EXPECT_EQ(to_integer("2147483647"), INT_MAX);
    EXPECT_EQ(to_integer("2147483648"), INT_MAX);
    EXPECT_EQ(to_integer("99999999999999999999999999"), INT_MAX);
    EXPECT_EQ(to_integer("-2147483648"), INT_MIN);
    EXPECT_EQ(to_integer("-2147483649"), INT_MIN);
}

TEST(FloorToInt, TreatsNearWholeNumbersAsWhole) {
    EXPECT_EQ(floor_to_int(2.9999999999995), 3);
    EXPECT_EQ(floor_to_int(-2.9999999999995), -3);
    EXPECT_EQ(floor_to_int(2.999999999), 2);
    EXPECT_EQ(floor_to_int(2.5), 2);
    EXPECT_EQ(floor_to_int(-2.5), -3);
    EXPECT_EQ(floor_to_int(98.99), 98);
    EXPECT_EQ(floor_to_int(3.0), 3);
    EXPECT_EQ(floor_to_int(0.0), 0);
    EXPECT_EQ(floor_to_int(1e300), INT_MAX);
    EXPECT_EQ(floor_to_int(-1e300), INT_MIN);
}

TEST(NearlyEqual, AllowsOneTenMillionth) {
    EXPECT_TRUE(nearly_equal(3.0, 3.0 + 0.5e-7));
    EXPECT_FALSE(nearly_equal(3.0, 3.0 + 2e-7));
}

TEST(Bytes, KeepEveryByte) {
    const Text t("a\0\xFF", 3);
    EXPECT_EQ(to_bytes(t), (Bytes{'a', 0, 0xFF}));
    EXPECT_EQ(as_bytes(t).size(), 3u);
    EXPECT_EQ(as_bytes(t)[2], 0xFF);
}

TEST(Rgb, PutsRedInTheLowByte) {
    EXPECT_EQ(rgb(1, 2, 3), 0x030201);
}

TEST(RandomInt, KeepsWithinItsBounds) {
    seed_random();
    std::set<int> digits;
    for (int i = 0; i < 2000; ++i) {
        const int swapped = random_int(9, 0);
        ASSERT_GE(swapped, 0);
        ASSERT_LE(swapped, 9);
        digits.insert(swapped);
        const int clamped = random_int(-4, 2);
        ASSERT_GE(clamped, 0);
        ASSERT_LE(clamped, 2);
    }
    EXPECT_EQ(digits.size(), 10u);  // both ends included
    EXPECT_EQ(random_int(5, 5), 5);
    EXPECT_EQ(random_int(-5, -1), 0);
}

TEST(RandomInt, SeedingsInOneMillisecondDiffer) {
    seed_random();
    const int a = random_int(0, 30000) * 30001 + random_int(0, 30000);
    seed_random();
    const int b = random_int(0, 30000) * 30001 + random_int(0, 30000);
    EXPECT_NE(a, b);
}

TEST(RandomSuffix, NineDigitsEveryDigitAtEveryPlace) {
    seed_random();
    std::set<char> seen[9];
    std::set<Text> distinct;
    bool leading_zero = false;
    for (int draw = 0; draw < 2000; ++draw) {
        const Text suffix = random_suffix();
        ASSERT_EQ(suffix.size(), 9u) << suffix;
        for (size_t i = 0; i < 9; ++i) {
            ASSERT_TRUE(suffix[i] >= '0' && suffix[i] <= '9') << suffix;
            seen[i].insert(suffix[i]);
        }
        leading_zero = leading_zero || suffix[0] == '0';
        distinct.insert(suffix);
    }
    for (const auto& place : seen) EXPECT_EQ(place.size(), 10u);
    EXPECT_TRUE(leading_zero);
    EXPECT_GT(distinct.size(), 1990u);  // consecutive calls are fresh draws
}

}  // namespace
}  // namespace galmora
