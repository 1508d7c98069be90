#pragma once
// The click of 删除子图库 (DeleteSubGallery): the selected sub-gallery of the
// selected main gallery is deleted after a confirmation, its progress shown
// in the information panel; then the list and the main page are rebuilt.

#include "library/gallery_config.h"
#include "shell/controls.h"
#include "shell/desktop.h"
#include "shell/logo_cover_controller.h"
#include "shell/sub_gallery_list.h"

namespace galmora {

class DeletionController {
  public:
    DeletionController(Controls& ui, DesktopServices& desktop, const GalleryConfig& config,
                       Text library_root, SubGalleryList& sub_galleries,
                       LogoCoverController& logo_cover);

    void delete_selected();

  private:
    void show(const Text& panel_text);

    Controls& ui_;
    DesktopServices& desktop_;
    const GalleryConfig& config_;
    Text library_root_;
    SubGalleryList& sub_galleries_;
    LogoCoverController& logo_cover_;
};

}  // namespace galmora
