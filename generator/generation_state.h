#pragma once
// The working values of generation that live for the whole program run.

#include "core/text.h"

namespace galmora {

struct GenerationState {
    // The last generated sub-gallery, recorded in config.ini.
    int picture_count = 0;
    Text sub_gallery_name;

    Text current_main_gallery;  // library root + "/" + selected main gallery

    // Chosen with the star list; recorded as pstar and phd.
    Text star_string;
    Text quality_label;

    // Nine-digit suffixes naming the next copied cover and logo files.
    Text cover_suffix;
    Text logo_suffix;

    // Rebuild the main page after the next sub-gallery list refresh.
    bool rebuild_flag = false;
};

// Nine random decimal digits, leading zeros kept.
Text random_suffix();

}  // namespace galmora
