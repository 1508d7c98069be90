#pragma once
// The update check blocks the window's thread while it fetches. These hooks
// let the window paint the busy caption of 检测更新 before the fetch, and
// afterwards deliver the input that piled up meanwhile while the button is
// still disabled, so that clicks on it are dropped instead of being replayed
// as new checks once it is enabled again.

#include "shell/update_controller.h"

namespace galmora {

UpdateWindowHooks window_update_hooks();

}  // namespace galmora
