#pragma once
// Background colours of the form's edit boxes.

#include "core/text.h"

namespace galmora {

inline constexpr int kNormalFieldColour = rgb(243, 255, 240);
// A required value missing or out of range.
inline constexpr int kAlertFieldColour = rgb(255, 0, 0);

}  // namespace galmora
