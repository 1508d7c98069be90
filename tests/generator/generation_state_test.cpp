#include "generator/generation_state.h"

#include <gtest/gtest.h>

namespace galmora {
namespace {

TEST(ResetForGeneration, ClearsTheScanValuesAndKeepsTheRest) {
    GenerationState state;
    state.picture_count = 40;
    state.page_count = 3;
    state.in_page_counter = 7;
    state.current_page_markup = "<li>";
    state.pages_markup = "<div>";
    state.sub_gallery_name = "old";
    state.current_main_gallery = "/lib/main";
    state.sub_gallery_folder = "/lib/main/old";
    state.star_string = "stars";
    state.quality_label = "label";
    state.rebuild_flag = true;

    state.reset_for_generation("new");

    EXPECT_EQ(state.picture_count, 0);
    EXPECT_EQ(state.page_count, 0);
    EXPECT_EQ(state.in_page_counter, 1);
    EXPECT_EQ(state.current_page_markup, "");
    EXPECT_EQ(state.pages_markup, "");
    EXPECT_EQ(state.sub_gallery_name, "new");
    EXPECT_EQ(state.current_main_gallery, "/lib/main");
    EXPECT_EQ(state.sub_gallery_folder, "/lib/main/old");
    EXPECT_EQ(state.star_string, "stars");
    EXPECT_EQ(state.quality_label, "label");
    EXPECT_TRUE(state.rebuild_flag);
}

TEST(ResetForGeneration, StartsFromTheStartUpValues) {
    const GenerationState state;
    EXPECT_EQ(state.picture_count, 0);
    EXPECT_EQ(state.in_page_counter, 1);
    EXPECT_FALSE(state.rebuild_flag);
}

}  // namespace
}  // namespace galmora
