#include "generator/page_blocks.h"

#include "generator/page_composer.h"

namespace galmora {

namespace {

// Blocks are of about equal size and a generation accepts at most 99 of
// them, so room for 99 times the first one spares re-copying the growing
// text; memory not written to is never touched.
void reserve_for_all_blocks(Text& pages) {
    constexpr std::size_t kMostBlocks = 99;
    pages.reserve(pages.size() * kMostBlocks);
}

}  // namespace

void add_picture_to_pages(GenerationState& state, std::string_view source, int per_page) {
    PageComposer::append_picture(state.current_page_markup, state.picture_count + 1, source);
    if (nearly_equal(double(per_page) / state.in_page_counter, 1.0)) {
        PageComposer::append_page_block(state.pages_markup, state.page_count + 1,
                                        state.current_page_markup);
        if (++state.page_count == 1) reserve_for_all_blocks(state.pages_markup);
        state.in_page_counter = 0;
        state.current_page_markup.clear();  // keeps its capacity for the next page
    }
    ++state.in_page_counter;
    ++state.picture_count;
}

}  // namespace galmora
