#include "library/generation_record.h"

#include <algorithm>

#include "core/files.h"
#include "library/library_paths.h"
#include "library/thumbnail_store.h"

namespace galmora {

bool record_generation(const GalleryConfig& config, const GeneratedEntry& entry) {
    const Text logo = entry.chosen_logo.empty() ? Text("logo.png") : entry.chosen_logo;
    const SubGalleryRecord record{
        entry.sub_gallery_name, entry.chosen_cover.empty() ? Text("fm.jpg") : entry.chosen_cover,
        to_text(entry.picture_count), entry.quality_label, entry.star_string};
    const int selected = std::max(0, entry.main_gallery_index);
    return config.update([&](GalleryConfig::Edit& edit) {
        edit.set_site_logo(logo);
        edit.append_record(record);
        edit.set_selected_index(selected);
    });
}

CommitOutcome commit_generation(const GalleryConfig& config, const Text& library_root,
                                const GeneratedEntry& entry, const MainPageForm& form,
                                MadeForGeneration made) {
    const Text main_gallery = child_path(library_root, form.main_gallery_name);
    const Text folder = child_path(main_gallery, entry.sub_gallery_name);
    const auto taken_back = [&](GenerationCommit state) {
        const bool folder_left = made.folder && !remove_tree(folder) && entry_exists(folder);
        take_back_made_files(main_gallery, made.cover ? entry.chosen_cover : Text());
        return CommitOutcome{state, folder_left};
    };
    // The bytes to put back; a file that was missing is put back by removal.
    const bool existed = entry_exists(config.path());
    const std::optional<Bytes> before = existed ? config.saved_contents() : Bytes();
    if (!before || !record_generation(config, entry))
        return taken_back(GenerationCommit::RecordFailed);
    if (rebuild_main_page(library_root, form, config)) return {GenerationCommit::Committed};
    const bool restored = existed ? config.restore(*before) : delete_file(config.path());
    if (!restored) return {GenerationCommit::UndoFailed};
    return taken_back(GenerationCommit::MainPageFailed);
}

}  // namespace galmora
