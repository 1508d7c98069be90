#pragma once
// One generation on plain values, without a window: scan the picture folder,
// compose the sub-gallery page and write the sub-gallery into its main
// gallery. SiteGenerator runs the same steps against the form.

#include <string_view>

#include "core/text.h"
#include "generator/generation_state.h"
#include "generator/image_scanner.h"

namespace galmora {

struct SubGalleryRequest {
    Text picture_folder;
    ScanSettings settings;
    Text name;          // the sub-gallery's folder name, already checked
    Text main_gallery;  // full path of the main gallery folder
    bool keep_proportions = true;
};

// The page of a finished scan: the last, possibly empty, block carries number
// page count + 1; the shown total counts it unless the pages came out even.
Text compose_sub_gallery_page(const GenerationState& state, int per_page);

// Main gallery folder and assets, sub-gallery folder and assets, then
// index.html holding page. Sets the main gallery and sub-gallery folder of
// state from main_gallery and state's sub-gallery name. Only the write of
// index.html is judged: true when it was written.
bool write_sub_gallery(const Text& main_gallery, bool keep_proportions, std::string_view page,
                       GenerationState& state);

// Reset, scan, compose and write; false for an unsafe name or an unwritten page.
bool build_sub_gallery(const SubGalleryRequest& request, GenerationState& state);

}  // namespace galmora
