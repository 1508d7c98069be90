#include "generator/sub_gallery_builder.h"

#include <utility>

#include "core/files.h"
#include "generator/asset_store.h"
#include "generator/page_composer.h"

namespace galmora {

Text compose_sub_gallery_page(std::string_view name, PageBlocks blocks, int per_page) {
    const int pages = blocks.page_count;
    const bool even = nearly_equal(double(pages) * double(per_page), double(blocks.picture_count));
    const int shown_total = even ? pages : pages + 1;
    return PageComposer::sub_gallery_page(name, to_text(shown_total),
                                          std::move(blocks.pages_markup), pages + 1,
                                          blocks.current_page_markup);
}

WrittenSubGallery write_sub_gallery(const Text& main_gallery, const Text& name,
                                    bool keep_proportions, std::string_view page) {
    if (!path_exists(main_gallery)) create_directory(main_gallery);
    AssetStore::place_main_gallery_assets(main_gallery);
    const Text folder = main_gallery + "/" + name;
    WrittenSubGallery written;
    written.folder_created = create_directory(folder);  // an existing folder is reused
    AssetStore::place_sub_gallery_assets(folder, keep_proportions);
    written.page_written = PageComposer::write_page(folder + "/index.html", page);
    // A folder made for a page that could not be written would be a
    // sub-gallery without a record: it goes again.
    if (!written.page_written && written.folder_created && remove_tree(folder))
        written.folder_created = false;
    return written;
}

}  // namespace galmora
