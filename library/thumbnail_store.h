#pragma once
// The thumbnails of a main gallery as the library keeps them: a picture's
// files (its thumbnail and display copies, one key) stay as long as a
// sub-gallery page names that key, and go when none does, so that the files
// of deleted sub-galleries (or of a generation that was taken back or
// killed) never pile up. A page that cannot be read might name any of them:
// then none goes.

#include <optional>
#include <vector>

#include "core/text.h"
#include "library/gallery_config.h"

namespace galmora {

struct ThumbnailSweep {
    std::vector<Text> unnamed;  // the files of the thumbnail folder no page names
    Text unreadable_page;       // not empty: this page could not be read, nothing may go
};

// What main_gallery's thumbnail folder holds that no sub-gallery page names,
// leaving out the sub-gallery `leaving` (about to be deleted; empty for
// none). Nothing when the folder is missing.
ThumbnailSweep sweep_thumbnails(const Text& main_gallery, const Text& leaving);

// Removes them, and the temporary files of writes that were killed (those
// no running write holds); the paths that could not be removed.
std::vector<Text> remove_thumbnails(const Text& main_gallery, const std::vector<Text>& paths);

// After a generation that made thumbnails (and perhaps made_cover, a file
// name in img) was taken back: what no page names goes again. Whatever
// cannot go now is unnamed still and goes with the next deletion.
void take_back_made_files(const Text& main_gallery, const Text& made_cover);

// Picture work in a main gallery is marked while it runs, so that a program
// killed meanwhile is cleared up after at its next start.
void mark_picture_work(const Text& main_gallery);
void unmark_picture_work(const Text& main_gallery);
// At start-up, in every main gallery still marked: the thumbnails no page
// names, the covers no record names, and temporary files no write holds.
// A main gallery with a page that cannot be read keeps everything and its
// mark, for the next start.
void clear_killed_picture_work(const Text& library_root, const GalleryConfig& config);

}  // namespace galmora
