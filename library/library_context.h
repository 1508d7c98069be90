#pragma once
// What every library operation works with: the window, the desktop services,
// the working values of the run, the library's config.ini and its root.

#include "core/controls.h"
#include "core/desktop.h"
#include "core/text.h"
#include "generator/generation_state.h"
#include "library/gallery_config.h"

namespace galmora {

struct LibraryContext {
    Controls& ui;
    DesktopServices& desktop;
    GenerationState& state;
    const GalleryConfig& config;
    Text library_root;  // no trailing "/"
};

}  // namespace galmora
