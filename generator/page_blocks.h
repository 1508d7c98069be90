#pragma once
// The pictures of one generation in page blocks.

#include <string_view>
#include <vector>

#include "core/text.h"
#include "generator/picture_list.h"
#include "generator/thumbnail_names.h"

namespace galmora {

struct PageBlocks {
    int picture_count = 0;
    int page_count = 0;       // closed blocks in pages_markup
    int in_page_counter = 1;  // the place of the next picture in its page
    Text current_page_markup;
    Text pages_markup;
};

// Appends picture number picture_count + 1 with its source to the current
// page and closes the page into the next block once it holds per_page
// pictures (0 or less never closes one). The sub-gallery page is then
// compose_sub_gallery_page(name, blocks, per_page).
void add_picture_to_pages(PageBlocks& blocks, std::string_view source, int per_page);

// Every picture of the list, in order, as add_picture_to_pages puts them;
// with thumbnails (one per picture, by index), a picture that has one names
// it for the grid and its display copies for the viewer
// (PageComposer::append_thumbnail).
PageBlocks page_blocks(const PictureList& pictures, int per_page,
                       const std::vector<PictureThumbnail>* thumbnails = nullptr);

}  // namespace galmora
