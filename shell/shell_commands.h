#pragma once
// The small operations that belong to the window itself: copying the
// information panel, the management mode, the rating, the option boxes and
// the two remembered switches, always-on-top, opening the library folder and
// the site texts (title link and introduction).

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
    // A click on a remembered switch stores its new state; when config.ini
    // does not take it, the box goes back to the stored state and a notice
    // says why.
    void store_lantern_switch();
    void store_proportion_switch();
    void store_thumbnails_switch();

    // Start-up: local mode, every option ticked, the site texts' defaults,
    // then the remembered switches as config.ini stores them.
    void choose_local_mode();
    void tick_options();
    void show_default_site_texts();
    void restore_switches();

    const Rating& rating() const { return rating_; }

  private:
    template <typename Store>
    void store_switch(ControlId box, const Text& setting, Store&& store);

    Controls& ui_;
    DesktopServices& desktop_;
    const GalleryConfig& config_;
    Text library_root_;
    Rating rating_;
};

}  // namespace galmora
