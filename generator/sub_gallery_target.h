#pragma once
// Whether a generation may write the sub-gallery of a typed name into the
// selected main gallery, and the notice that says why not.

#include <optional>

#include "core/text.h"

namespace galmora {

// The notice refusing the target, or std::nullopt when the name can name a
// new folder inside the selected main gallery and no other main gallery of
// the library root has a sub-gallery of that name. The name is checked
// first, then the selection, then the other main galleries.
std::optional<Text> sub_gallery_target_refusal(const Text& library_root, const Text& name,
                                               const Text& main_gallery_name);

}  // namespace galmora
