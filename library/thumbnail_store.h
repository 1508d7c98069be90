#pragma once
// The thumbnails of a main gallery as the library keeps them: a thumbnail
// stays as long as a sub-gallery page names it, and goes when none does, so
// that thumbnails of deleted sub-galleries (or of a generation that was
// taken back) never pile up.

#include <vector>

#include "core/text.h"

namespace galmora {

// The files of main_gallery's thumbnail folder that no sub-gallery page
// names, leaving out the sub-gallery `leaving` (about to be deleted; empty
// for none): thumbnails and the temporary files of writes that were killed.
// Empty when the folder is missing.
std::vector<Text> unnamed_thumbnails(const Text& main_gallery, const Text& leaving);

// Removes them; the paths that could not be removed.
std::vector<Text> remove_thumbnails(const std::vector<Text>& paths);

// After a generation that made thumbnails (and perhaps made_cover, a file
// name in img) was taken back: what no page names goes again. Whatever
// cannot go now is unnamed still and goes with the next deletion.
void take_back_made_files(const Text& main_gallery, const Text& made_cover);

}  // namespace galmora
