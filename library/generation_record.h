#pragma once
// What a generation leaves in config.ini once its page has been written, and
// the commitment of the whole generation: recorded and on the main page, or
// taken back.

#include "core/text.h"
#include "library/gallery_config.h"
#include "library/sub_galleries.h"

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
// False, the file untouched, when it could not be replaced.
bool record_generation(const GalleryConfig& config, const GeneratedEntry& entry);

enum class GenerationCommit {
    Committed,       // recorded, and the main page shows it
    RecordFailed,    // nothing recorded; the new folder removed again
    MainPageFailed,  // the record undone and the new folder removed again
    UndoFailed,      // the main page failed and config.ini could not be put back
};

struct CommitOutcome {
    GenerationCommit state = GenerationCommit::Committed;
    // Taken back, but the new folder could not be removed.
    bool folder_left = false;
};

// What the generation made that goes again when it is taken back.
struct MadeForGeneration {
    bool folder = false;  // the sub-gallery's folder did not exist before
    bool cover = false;   // entry.chosen_cover was made from its first picture
};

// Records the generation of entry.sub_gallery_name in the main gallery
// form.main_gallery_name, then rebuilds that main page. When either fails the
// library is put back as it was: config.ini restored byte for byte, the
// sub-gallery's folder removed when this generation created it, with the
// cover and the thumbnails made for it, so no folder is left without its
// record and no record without its card.
CommitOutcome commit_generation(const GalleryConfig& config, const Text& library_root,
                                const GeneratedEntry& entry, const MainPageForm& form,
                                MadeForGeneration made);

}  // namespace galmora
