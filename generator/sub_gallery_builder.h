#pragma once
// The steps of one generation on plain values: compose the sub-gallery page
// from the scanned blocks and write the sub-gallery into its main gallery.
// build_sub_gallery runs them all, scan included, without a window.

#include <optional>
#include <string_view>

#include "core/text.h"
#include "generator/image_scanner.h"
#include "generator/page_blocks.h"

namespace galmora {

struct SubGalleryRequest {
    Text picture_folder;
    ScanSettings settings;
    Text name;          // the sub-gallery's folder name, already checked
    Text main_gallery;  // full path of the main gallery folder
    bool keep_proportions = true;
};

// A sub-gallery whose index.html was written, as config.ini records it.
struct GeneratedSubGallery {
    Text name;
    int picture_count = 0;
};

// The page of a finished scan: the last, possibly empty, block carries number
// page count + 1; the shown total counts it unless the pages came out even.
// Blocks moved in are composed in place.
Text compose_sub_gallery_page(std::string_view name, PageBlocks blocks, int per_page);

// Main gallery folder and assets, the folder main_gallery/name and its
// assets, then its index.html holding page. Only the write of index.html is
// judged: true when it was written.
bool write_sub_gallery(const Text& main_gallery, const Text& name, bool keep_proportions,
                       std::string_view page);

// Scan, compose and write; std::nullopt for an unsafe name or an unwritten
// page.
std::optional<GeneratedSubGallery> build_sub_gallery(const SubGalleryRequest& request);

}  // namespace galmora
