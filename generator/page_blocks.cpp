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

void add_picture_to_pages(PageBlocks& blocks, std::string_view source, int per_page) {
    PageComposer::append_picture(blocks.current_page_markup, blocks.picture_count + 1, source);
    if (nearly_equal(double(per_page) / blocks.in_page_counter, 1.0)) {
        PageComposer::append_page_block(blocks.pages_markup, blocks.page_count + 1,
                                        blocks.current_page_markup);
        if (++blocks.page_count == 1) reserve_for_all_blocks(blocks.pages_markup);
        blocks.in_page_counter = 0;
        blocks.current_page_markup.clear();  // keeps its capacity for the next page
    }
    ++blocks.in_page_counter;
    ++blocks.picture_count;
}

}  // namespace galmora
