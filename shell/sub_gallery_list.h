#pragma once
// The sub-gallery list of the selected main gallery (SubGalleryList) and the
// rebuild of that main gallery's page from the form.

#include "library/gallery_config.h"
#include "library/logo_cover_selection.h"
#include "shell/controls.h"

namespace galmora {

class SubGalleryList {
  public:
    SubGalleryList(Controls& ui, const GalleryConfig& config, Text library_root,
                   LogoCoverSelection& selection);

    // The prompt, selected, then the sub-galleries of the selected main
    // gallery.
    void refresh();
    // Writes the current main gallery's index.html with the form's title
    // link and introduction. The rebuild ends every logo and cover choice;
    // of the boxes only the captions change.
    void rebuild_main_page();

  private:
    Controls& ui_;
    const GalleryConfig& config_;
    Text library_root_;
    LogoCoverSelection& selection_;
};

}  // namespace galmora
