#pragma once
// The main-gallery list (组合框1): restoring the stored choice at start-up,
// creating a main gallery and choosing one. Each of them sets the current
// main gallery and refreshes the sub-gallery list without a main page
// rebuild.

#include "library/library_context.h"
#include "library/sub_galleries.h"

namespace galmora {

class MainGalleries {
  public:
    MainGalleries(LibraryContext context, SubGalleries& sub_galleries);

    // Appends every folder of the library root except "我的图片库".
    void list_main_galleries();
    void restore_main_gallery();
    void begin_create_main_gallery();
    void create_main_gallery();
    void choose_main_gallery();

  private:
    // The stored index, where a damaged value below 0 counts as 0: with
    // nothing selected the library root would become the main gallery.
    void select_stored_main_gallery();
    void select_first_when_none();
    bool refuse_new_name(const Text& name);
    Text selected_main_gallery_path() const;
    void refresh_without_rebuild();

    LibraryContext context_;
    SubGalleries& sub_galleries_;
};

}  // namespace galmora
