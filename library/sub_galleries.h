#pragma once
// The sub-galleries of a main gallery and the main page that shows one card
// per recorded sub-gallery.

#include <vector>

#include "core/text.h"
#include "library/gallery_config.h"

namespace galmora {

// The folders of the main gallery at main_gallery that are sub-galleries,
// in listing order: every folder but the site's own asset folders.
std::vector<Text> sub_gallery_folders(const Text& main_gallery);

// The folders of library_root/main_gallery_name that are sub-galleries, in
// listing order: every folder but the site's own asset folders. None when
// the name is not one bare name: the library root's own folders are main
// galleries, never sub-galleries.
std::vector<Text> sub_gallery_names(const Text& library_root, const Text& main_gallery_name);

// What the main page shows besides the folders and config.ini.
struct MainPageForm {
    Text main_gallery_name;  // also the page's title
    Text title_link;
    Text introduction;
};

// Writes library_root/main_gallery_name/index.html from the main gallery's
// folders, the records, the logo and the lantern switch in config.ini and
// the form's texts. Writes nothing when the name is not one bare name; true
// when the page was written.
bool rebuild_main_page(const Text& library_root, const MainPageForm& form,
                       const GalleryConfig& config);

}  // namespace galmora
