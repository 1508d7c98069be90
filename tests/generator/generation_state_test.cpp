#include "generator/generation_state.h"

#include <gtest/gtest.h>

#include <set>

namespace galmora {
namespace {

TEST(GenerationState, StartsFromTheStartUpValues) {
    const GenerationState state;
    EXPECT_EQ(state.picture_count, 0);
    EXPECT_FALSE(state.rebuild_flag);
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
