#pragma once
// The working values of generation that live for the whole program run.

#include "core/text.h"

namespace galmora {

struct GenerationState {
    // Accumulated by one scan; reset at the start of every generation.
    int picture_count = 0;
    int page_count = 0;
    int in_page_counter = 1;
    Text current_page_markup;
    Text pages_markup;

    Text sub_gallery_name;
    Text current_main_gallery;  // library root + "/" + selected main gallery
    Text sub_gallery_folder;    // current main gallery + "/" + sub-gallery name

    // Chosen with the star list; recorded as pstar and phd.
    Text star_string;
    Text quality_label;

    // Rebuild the main page after the next sub-gallery list refresh.
    bool rebuild_flag = false;

    void reset_for_generation(const Text& name);
};

}  // namespace galmora
