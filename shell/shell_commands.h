#pragma once
// The small operations that belong to the window itself: copying the
// information panel, the management mode, the rating, the two switches,
// always-on-top, opening the library folder and clearing the site texts.

#include "library/gallery_config.h"
#include "shell/controls.h"
#include "shell/desktop.h"

namespace galmora {

// The rating drawn from the star list, recorded with the next sub-gallery
// as pstar and phd.
struct Rating {
    Text stars;
    Text quality;
};

class ShellCommands {
  public:
    ShellCommands(Controls& ui, DesktopServices& desktop, const GalleryConfig& config,
                  Text library_root);

    void copy_information_panel();
    void open_library_root();
    void clear_title_link();
    void clear_introduction();
    void apply_management_mode();
    void apply_rating();
    void toggle_always_on_top();
    void store_lantern_switch();
    void store_proportion_switch();

    const Rating& rating() const { return rating_; }

  private:
    Controls& ui_;
    DesktopServices& desktop_;
    const GalleryConfig& config_;
    Text library_root_;
    Rating rating_;
};

}  // namespace galmora
