#pragma once
// What a generation leaves in config.ini once its page has been written.

#include "core/text.h"
#include "library/gallery_config.h"

namespace galmora {

struct GeneratedEntry {
    Text sub_gallery_name;
    int picture_count = 0;
    Text quality_label;  // phd
    Text star_string;    // pstar
    // The copies in img that stand chosen; empty for the shared defaults.
    Text chosen_logo;
    Text chosen_cover;
    int main_gallery_index = 0;  // the list's selection, -1 for none
};

// weblogo, the record P<num + 1>, num and the selected main gallery (a
// selection of none stored as the first entry) in one replacement of
// config.ini: a kill leaves the file without the record or with all of it.
void record_generation(const GalleryConfig& config, const GeneratedEntry& entry);

}  // namespace galmora
