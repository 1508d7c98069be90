#pragma once
// After a generation or a deletion: open the main gallery folder when
// 选择框1 is ticked, then its main page when 选择框3 is ticked.

#include "library/library_context.h"

namespace galmora {

void open_main_gallery_after_change(const LibraryContext& context);

}  // namespace galmora
