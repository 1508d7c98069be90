// Which texts a multi-line box wraps anywhere: those with a run of more than
// kLongestWrappedWord bytes without white space, wherever the run lies.

#include "shell/qt/text_wrapping.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace galmora {
namespace {

std::string run(int length) {
    return std::string(length, 'x');
}

// Every byte counted, as the check must answer.
bool counted_long_run(std::string_view text) {
    int length = 0;
    for (char c : text) {
        length = (c == ' ' || (c >= '\t' && c <= '\r')) ? 0 : length + 1;
        if (length > kLongestWrappedWord) return true;
    }
    return false;
}

TEST(TextWrapping, ARunLongerThanTheLimitIsFoundWhereverItLies) {
    const int limit = kLongestWrappedWord;
    const std::string words = [] {
        std::string text;
        for (int i = 0; i < 700; ++i) text += "<img src=\"a" + std::to_string(i) + ".jpg\">\r\n";
        return text;
    }();
    const struct {
        std::string text;
        bool long_run;
    } cases[] = {
        {"", false},
        {run(limit), false},
        {run(limit + 1), true},
        {words, false},
        {words + run(limit + 1), true},
        {run(limit + 1) + words, true},
        {words + run(limit + 1) + words, true},
        {words + run(limit) + "\r\n" + words, false},
        {words + run(limit - 3) + words, true},  // "<img" goes on the run
        {run(limit) + " " + run(limit) + "\t" + run(limit) + "\n" + run(limit), false},
        {run(limit) + "\v" + run(limit) + "\f" + run(limit) + "\r" + run(limit), false},
        {"ab " + run(limit - 1) + " " + run(limit + 1), true},
        // The bytes of a two-byte character are no white space.
        {run(limit / 2) + "\xD6\xD0" + run(limit / 2), true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(has_long_unbroken_run(c.text), c.long_run) << c.text.size() << " bytes";
}

// Short words and runs about as long as the limit, apart by white space.
TEST(TextWrapping, AgreesWithCountingEveryByte) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> word(0, 80), near_limit(-2, 1), pick(0, 3);
    int long_runs = 0;
    for (int trial = 0; trial < 2000; ++trial) {
        std::string text;
        for (int pieces = trial % 9; pieces >= 0; --pieces) {
            text +=
                pick(random) ? run(word(random)) : run(kLongestWrappedWord + near_limit(random));
            text += " \t\n\r"[pick(random)];
        }
        const bool expected = counted_long_run(text);
        long_runs += expected;
        ASSERT_EQ(has_long_unbroken_run(text), expected) << trial;
    }
    EXPECT_GT(long_runs, 200);  // both answers well tried
    EXPECT_LT(long_runs, 1800);
}

}  // namespace
}  // namespace galmora
