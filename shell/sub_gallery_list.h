#pragma once
// The sub-gallery list of the selected main gallery (SubGalleryList) and the
// rebuild of that main gallery's page from the form.

#include "library/gallery_config.h"
#include "shell/controls.h"

namespace galmora {

class SubGalleryList {
  public:
    SubGalleryList(Controls& ui, const GalleryConfig& config, Text library_root);

    // The prompt, selected, then the sub-galleries of the selected main
    // gallery.
    void refresh();
    // Writes the current main gallery's index.html with the form's title
    // link and introduction; false when it could not be written.
    bool rebuild_main_page();

  private:
    Controls& ui_;
    const GalleryConfig& config_;
    Text library_root_;
};

}  // namespace galmora
