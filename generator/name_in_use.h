#pragma once
// Whether a new sub-gallery's name is already taken in another main gallery.
// Records name only the sub-gallery folder, so one name in two main
// galleries would give each main page the other's cards, and deleting one
// would blank the other's record.

#include <optional>

#include "core/text.h"

namespace galmora {

// The first main gallery of the library root, other than the one named
// current_main_gallery, that holds a folder named sub_gallery_name;
// std::nullopt when none does.
std::optional<Text> other_main_gallery_holding(const Text& library_root,
                                               const Text& current_main_gallery,
                                               const Text& sub_gallery_name);

}  // namespace galmora
