#pragma once
// The sub-gallery list of the selected main gallery (组合框4) and the main
// page that shows one card per recorded sub-gallery.

#include "library/gallery_config.h"
#include "library/library_context.h"

namespace galmora {

class SubGalleries {
  public:
    explicit SubGalleries(LibraryContext context);

    // Lists the folders of the selected main gallery after the prompt; then
    // rebuilds the main page when the rebuild flag is set.
    void refresh_sub_gallery_list();
    // Writes current main gallery + "/index.html" from its folders and the
    // records, then puts the cover and logo boxes back to their defaults.
    void rebuild_main_page();

  private:
    void write_main_page(const Text& main_gallery);

    LibraryContext context_;
};

}  // namespace galmora
