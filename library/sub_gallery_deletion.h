#pragma once
// Deleting one sub-gallery of the selected main gallery: its cover, its
// record and its folder, then the records are compacted and the list and
// the main page are rebuilt. Progress is shown in the information panel.

#include "library/library_context.h"
#include "library/sub_galleries.h"

namespace galmora {

class SubGalleryDeletion {
  public:
    SubGalleryDeletion(LibraryContext context, SubGalleries& sub_galleries);

    // The click of 清除子图库 ("删除子图库").
    void delete_sub_gallery();

  private:
    bool confirm(const Text& name);
    // The record's own cover file in the main gallery's img folder, or the
    // empty text when there is none to delete.
    static Text cover_to_delete(const Text& main_gallery, const Text& pimg);
    void show(const Text& panel_text);

    LibraryContext context_;
    SubGalleries& sub_galleries_;
};

}  // namespace galmora
