#pragma once
// Before a sub-gallery deletion changes anything: whether its folder and
// cover can be removed and config.ini rewritten, so that the deletion
// happens whole or not at all.

#include <optional>
#include <vector>

#include "core/text.h"
#include "library/gallery_config.h"

namespace galmora {

// The line that tells the user why nothing was deleted, naming the file or
// folder in the way; nullopt when everything can go. cover is empty when no
// cover file is to be deleted; thumbnails are the thumbnail files to go
// with the folder (all in one folder).
std::optional<Text> deletion_refusal(const Text& folder, const Text& cover,
                                     const std::vector<Text>& thumbnails,
                                     const GalleryConfig& config);

}  // namespace galmora
