#pragma once
// Background colours of the form's edit boxes.

#include "core/text.h"
#include "shell/controls.h"

namespace galmora {

inline constexpr int kNormalFieldColour = rgb(243, 255, 240);
// A required value missing or out of range.
inline constexpr int kAlertFieldColour = rgb(255, 0, 0);

// 单页数量, 页总数 and 浏览目录 are marked together: red when a generate
// check fails, back to normal whenever one of them is edited.
inline void paint_paging_fields(Controls& ui, int colour) {
    for (ControlId field : {ControlId::PerPage, ControlId::PageCount, ControlId::PictureFolder})
        ui.set_background_colour(field, colour);
}

}  // namespace galmora
