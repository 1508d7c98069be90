#pragma once
// Deleting one sub-gallery of a main gallery: its cover, its record and its
// folder, all or nothing, with the records compacted. Its progress is told
// in texts that each replace the one before.

#include <functional>
#include <optional>

#include "core/text.h"
#include "library/gallery_config.h"

namespace galmora {

// A folder of a main gallery that may be deleted: one entry of it, and
// never one of its asset folders.
bool is_deletable_sub_gallery(const Text& name);

// The first progress text, shown before the confirmation is asked.
const Text& deletion_announcement();
Text deletion_confirmation(const Text& name);
// What a deletion that went ahead left behind.
struct DeletionOutcome {
    bool folder_gone = false;
    Text cover_left;          // the cover file that could not be deleted, or empty
    int thumbnails_left = 0;  // thumbnails no page names that could not be deleted
    Text unread_page = {};    // a page that could not be read: no thumbnail was deleted
};

// The last progress text of a deletion that went ahead.
Text deletion_result(const DeletionOutcome& outcome);

// Deletes main_gallery/name, a deletable sub-gallery of a main gallery, with
// the thumbnails that no other sub-gallery's page names, giving each
// progress text to progress. nullopt when something could not
// go: nothing was changed and the last text named the cause.
std::optional<DeletionOutcome> delete_sub_gallery(const GalleryConfig& config,
                                                  const Text& main_gallery, const Text& name,
                                                  const std::function<void(const Text&)>& progress);

}  // namespace galmora
