#include "generator/page_blocks.h"

#include "generator/page_composer.h"

namespace galmora {

namespace {

// A generation accepts at most 99 blocks. Later blocks are a little longer
// than the first, their picture numbers having more digits, and the page is
// later composed around the blocks in place: room for 99 first blocks and a
// quarter more spares re-copying the growing text. Memory not written to is
// never touched.
void reserve_for_all_blocks(Text& pages) {
    constexpr std::size_t kMostBlocks = 99;
    pages.reserve(pages.size() * kMostBlocks * 5 / 4);
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

PageBlocks page_blocks(const PictureList& pictures, int per_page,
                       const std::vector<PictureThumbnail>* thumbnails) {
    PageBlocks blocks;
    Text source;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        source.clear();  // keeps its capacity for the next source
        pictures.append_source(source, i);
        if (thumbnails && i < thumbnails->size() && !(*thumbnails)[i].file_name.empty())
            PageComposer::append_thumbnail(source, (*thumbnails)[i]);
        add_picture_to_pages(blocks, source, per_page);
    }
    return blocks;
}

}  // namespace galmora
