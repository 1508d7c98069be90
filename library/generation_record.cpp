#include "library/generation_record.h"

#include <algorithm>

namespace galmora {

void record_generation(const GalleryConfig& config, const GeneratedEntry& entry) {
    const Text logo = entry.chosen_logo.empty() ? Text("logo.png") : entry.chosen_logo;
    const SubGalleryRecord record{
        entry.sub_gallery_name, entry.chosen_cover.empty() ? Text("fm.jpg") : entry.chosen_cover,
        to_text(entry.picture_count), entry.quality_label, entry.star_string};
    const int selected = std::max(0, entry.main_gallery_index);
    config.update([&](GalleryConfig::Edit& edit) {
        edit.set_site_logo(logo);
        edit.append_record(record);
        edit.set_selected_index(selected);
    });
}

}  // namespace galmora
