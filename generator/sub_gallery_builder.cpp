#include "generator/sub_gallery_builder.h"

#include <utility>

#include "core/files.h"
#include "generator/asset_store.h"
#include "generator/page_composer.h"
#include "generator/sub_gallery_name.h"

namespace galmora {

Text compose_sub_gallery_page(std::string_view name, PageBlocks blocks, int per_page) {
    const int pages = blocks.page_count;
    const bool even = nearly_equal(double(pages) * double(per_page), double(blocks.picture_count));
    const int shown_total = even ? pages : pages + 1;
    return PageComposer::sub_gallery_page(name, to_text(shown_total),
                                          std::move(blocks.pages_markup), pages + 1,
                                          blocks.current_page_markup);
}

bool write_sub_gallery(const Text& main_gallery, const Text& name, bool keep_proportions,
                       std::string_view page) {
    if (!path_exists(main_gallery)) create_directory(main_gallery);
    AssetStore::place_main_gallery_assets(main_gallery);
    const Text folder = main_gallery + "/" + name;
    create_directory(folder);  // an existing folder is reused
    AssetStore::place_sub_gallery_assets(folder, keep_proportions);
    return PageComposer::write_page(folder + "/index.html", page);
}

std::optional<GeneratedSubGallery> build_sub_gallery(const SubGalleryRequest& request) {
    if (sub_gallery_name_problem(request.name) != SubGalleryNameProblem::None) return std::nullopt;
    PageBlocks blocks = ImageScanner::scan_pictures(request.picture_folder, request.settings);
    const int picture_count = blocks.picture_count;
    const Text page =
        compose_sub_gallery_page(request.name, std::move(blocks), request.settings.per_page);
    if (!write_sub_gallery(request.main_gallery, request.name, request.keep_proportions, page))
        return std::nullopt;
    return GeneratedSubGallery{request.name, picture_count};
}

}  // namespace galmora
