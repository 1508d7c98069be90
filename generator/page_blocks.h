#pragma once
// The pictures of one generation in page blocks, as a scan meets them.

#include <string_view>

#include "generator/generation_state.h"

namespace galmora {

// Appends picture number picture_count + 1 with its source to the current
// page and closes the page into the next block once it holds per_page
// pictures (0 or less never closes one). Callers reset state first; the
// sub-gallery page is then compose_sub_gallery_page(state, per_page).
void add_picture_to_pages(GenerationState& state, std::string_view source, int per_page);

}  // namespace galmora
