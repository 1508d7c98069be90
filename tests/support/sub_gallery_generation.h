#pragma once
// A whole generation without a window, scan to written page, for the tests
// and benchmarks that need a real sub-gallery on disk.

#include <optional>

#include "core/text.h"
#include "generator/picture_list.h"

namespace galmora::testing {

struct SubGalleryRequest {
    Text picture_folder;
    PictureAddressing addressing;
    int per_page = 0;
    Text name;          // the sub-gallery's folder name
    Text main_gallery;  // full path of the main gallery folder
    bool keep_proportions = true;
};

struct GeneratedSubGallery {
    Text name;
    int picture_count = 0;
};

// Scan, compose and write; std::nullopt for an unsafe name or an unwritten
// page.
std::optional<GeneratedSubGallery> build_sub_gallery(const SubGalleryRequest& request);

}  // namespace galmora::testing
