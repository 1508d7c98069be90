#pragma once
// The steps of one generation after the scan, on plain values: compose the
// sub-gallery page from its blocks and write the sub-gallery into its main
// gallery.

#include <string_view>

#include "core/text.h"
#include "generator/page_blocks.h"

namespace galmora {

// The page of a finished scan: the last, possibly empty, block carries number
// page count + 1; the shown total counts it unless the pages came out even.
// Blocks moved in are composed in place.
Text compose_sub_gallery_page(std::string_view name, PageBlocks blocks, int per_page);

struct WrittenSubGallery {
    bool page_written = false;
    // The folder was made by this write (and is still there); a folder that
    // was there is reused.
    bool folder_created = false;
};

// Main gallery folder and assets, the folder main_gallery/name and its
// assets, then its index.html holding page. Only the write of index.html is
// judged; when it fails, a folder this write made is removed again.
WrittenSubGallery write_sub_gallery(const Text& main_gallery, const Text& name,
                                    bool keep_proportions, std::string_view page);

}  // namespace galmora
