#pragma once
// The small operations that belong to the window itself: copying the
// information panel, the management mode, the rating, the two switches,
// always-on-top, opening the library folder and clearing the site texts.

#include "core/controls.h"
#include "core/desktop.h"
#include "generator/generation_state.h"
#include "library/gallery_config.h"

namespace galmora {

class ShellCommands {
  public:
    ShellCommands(Controls& ui, DesktopServices& desktop, GenerationState& state,
                  const GalleryConfig& config, Text library_root);

    void reset_field_colours();
    void copy_information_panel();
    void open_library_root();
    void clear_title_link();
    void clear_introduction();
    void apply_management_mode();
    void apply_rating();
    void toggle_always_on_top();
    void store_lantern_switch();
    void store_proportion_switch();

  private:
    Controls& ui_;
    DesktopServices& desktop_;
    GenerationState& state_;
    const GalleryConfig& config_;
    Text library_root_;
};

}  // namespace galmora
