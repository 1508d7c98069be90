#include "core/codepage.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <random>
#include <vector>

namespace galmora {
namespace {

using namespace galmora::literals;

// The whole text through iconv in one go, each unconvertible byte replaced by
// U+FFFD: what the conversions must give, however they get there. nullopt
// (for the strict form) when any byte needed replacing.
std::optional<std::string> plain_iconv(std::string_view local, bool strict) {
    iconv_t descriptor = iconv_open("UTF-8", "GB18030");
    std::string utf8;
    bool replaced = false;
    char* in = const_cast<char*>(local.data());
    std::size_t in_left = local.size();
    while (in_left > 0) {
        char buffer[64];
        char* out = buffer;
        std::size_t out_left = sizeof buffer;
        const std::size_t result = iconv(descriptor, &in, &in_left, &out, &out_left);
        const int error = errno;
        utf8.append(buffer, out);
        if (result != static_cast<std::size_t>(-1)) break;
        if (error == E2BIG) continue;
        utf8 += "\xEF\xBF\xBD";
        replaced = true;
        ++in;
        --in_left;
        iconv(descriptor, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(descriptor);
    if (strict && replaced) return std::nullopt;
    return utf8;
}

void expect_plain_conversion(const std::string& local) {
    const std::string expected = *plain_iconv(local, false);
    EXPECT_EQ(utf8_string(local), expected) << testing::PrintToString(local);
    EXPECT_EQ(to_utf8(local), Bytes(expected.begin(), expected.end()));
    // Cut into pieces anywhere near a hard spot, the joined pieces still match.
    for (std::size_t piece_size : {1, 2, 5}) {
        std::string joined;
        EXPECT_TRUE(to_utf8_in_pieces(
            local, [&](ByteView piece) { return joined.append(piece.begin(), piece.end()), true; },
            piece_size));
        EXPECT_EQ(joined, expected) << "pieces of " << piece_size;
    }
    EXPECT_EQ(strict_utf8(local), plain_iconv(local, true)) << testing::PrintToString(local);
}

// Pieces that are hard on a conversion that copies ASCII itself: characters
// whose trail bytes are ASCII digits or letters, four-byte forms, and lead
// bytes left without their trail.
const std::vector<std::string> kHardPieces = {"a",
                                              "7",
                                              "\\",
                                              " ",
                                              std::string(1, '\0'),
                                              "\x7F",
                                              "\xB0\x5C",          // 癨: trail byte "\"
                                              "\x81\x40",          // trail byte "@"
                                              "\xCD\xBC",          // 图
                                              "\x81\x30\x81\x30",  // U+0080, four bytes
                                              "\x94\x39\xFC\x36",  // 😀, four bytes
                                              "\xE3\x32\x9A\x35",  // U+10FFFF
                                              "\x84\x31\xA4\x39",  // U+FFFF
                                              "\x81",
                                              "\x81\x30",
                                              "\x81\x30\x81",
                                              "\x80",
                                              "\xFF",
                                              "\xFE",
                                              "\x30",
                                              "\x39",
                                              "\x40",
                                              "\x7E"};

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

TEST(ToUtf8, MatchesAPlainConversionOfMixedText) {
    for (const char* text : {"plain ASCII only, long enough for whole words of it 0123456789",
                             "\xCD\xBC\xBF\xE2 gallery \xB7\xE7\xBE\xB0.jpg",
                             "1\x81\x30\x81\x30"
                             "2",
                             "\x94\x39\xFC\x36"
                             "12 \x94\x39\xFC\x36\x94\x39\xFC\x36"
                             "ab",
                             "\xB0\x5C\xB0\x5C\\\xB0\x5C"
                             "a",
                             "<img src=\"C:/\xB7\xE7\xBE\xB0/\xB0\x5C.png\" />\r\n"})
        expect_plain_conversion(text);
    // Every pair and triple of the hard pieces, so that each meets each
    // neighbour on either side.
    for (const std::string& a : kHardPieces)
        for (const std::string& b : kHardPieces) {
            expect_plain_conversion(a + b);
            for (const std::string& c : kHardPieces) expect_plain_conversion(a + b + c);
        }
}

TEST(ToUtf8, MatchesAPlainConversionOfBrokenText) {
    for (const char* text :
         {"\x81\x30"
          "A",
          "\x81\x30\x30\x30", "\x81\x30\x81\x41\x30", "\xFF\x30\x81\x30\x81\x30", "ab\x81\x30\x81",
          "\x94\x39\xFC", "\x94\x39\xFC\x36\x94", "\x80\x80\x41\x41"})
        expect_plain_conversion(text);
    // Random texts of the hard pieces and of single bytes a lead byte may
    // swallow; a fixed seed keeps any failure reproducible.
    std::mt19937 random(20240601);
    const std::string loose = "\x81\x84\x94\xB0\xE3\xFE\xFF\x80\x30\x35\x39\x40\x5C\x7E aZ";
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int pieces = static_cast<int>(random() % 24);
        for (int i = 0; i < pieces; ++i)
            text += random() % 2 ? kHardPieces[random() % kHardPieces.size()]
                                 : std::string(1, loose[random() % loose.size()]);
        expect_plain_conversion(text);
    }
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

TEST(StrictConversions, LeaveAsciiAsItIs) {
    // Folder listings take an ASCII name as its own local text.
    std::string ascii;
    for (int c = 1; c < 0x80; ++c) ascii += static_cast<char>(c);
    EXPECT_EQ(strict_local(ascii), ascii);
    EXPECT_EQ(strict_utf8(ascii), ascii);
}

TEST(StrictConversions, GrowPastTheFirstGuessOfTheirSize) {
    // U+0080 takes two bytes in UTF-8 and four in GB18030.
    std::string utf8;
    for (int i = 0; i < 1000; ++i) utf8 += "\xC2\x80";
    const auto local = strict_local(utf8);
    ASSERT_TRUE(local.has_value());
    EXPECT_EQ(local->size(), 4000u);
    EXPECT_EQ(strict_utf8(*local), utf8);
    EXPECT_EQ(local_text(utf8), *local);
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
