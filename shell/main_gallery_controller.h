#pragma once
// The main-gallery list (MainGalleryList): restoring the stored choice at
// start-up, creating a main gallery and choosing one. Each of them ends with
// the sub-gallery list refreshed; none rebuilds a main page.

#include "library/gallery_config.h"
#include "shell/controls.h"
#include "shell/desktop.h"
#include "shell/sub_gallery_list.h"

namespace galmora {

class MainGalleryController {
  public:
    MainGalleryController(Controls& ui, DesktopServices& desktop, const GalleryConfig& config,
                          Text library_root, SubGalleryList& sub_galleries);

    // Selects the list's first entry, the default main gallery.
    void select_default();
    void restore();
    void begin_create();  // NewMainGalleryButton
    // The new name's box and button hidden, the list's label shown.
    void hide_new_name();
    void create();  // NewMainGalleryConfirm
    void choose();  // a pick in MainGalleryList
    // Selects the entry at index again, storing nothing.
    void show_selected(int index);

  private:
    void select_stored();
    void select_first_when_none();
    void show_title();
    // Store and create, telling the user when it fails.
    void store_index(int index);
    void create_folder(const Text& name);

    Controls& ui_;
    DesktopServices& desktop_;
    const GalleryConfig& config_;
    Text library_root_;
    SubGalleryList& sub_galleries_;
};

}  // namespace galmora
