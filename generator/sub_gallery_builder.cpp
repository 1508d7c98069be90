#include "generator/sub_gallery_builder.h"

#include "core/files.h"
#include "generator/asset_store.h"
#include "generator/page_composer.h"
#include "generator/sub_gallery_name.h"

namespace galmora {

Text compose_sub_gallery_page(const GenerationState& state, int per_page) {
    const int pages = state.page_count;
    const bool even = nearly_equal(double(pages) * double(per_page), double(state.picture_count));
    const int shown_total = even ? pages : pages + 1;
    return PageComposer::sub_gallery_page(state.sub_gallery_name, to_text(shown_total),
                                          state.pages_markup, pages + 1, state.current_page_markup);
}

bool write_sub_gallery(const Text& main_gallery, bool keep_proportions, std::string_view page,
                       GenerationState& state) {
    state.current_main_gallery = main_gallery;
    if (!path_exists(main_gallery)) create_directory(main_gallery);
    AssetStore::place_main_gallery_assets(main_gallery);
    state.sub_gallery_folder = main_gallery + "/" + state.sub_gallery_name;
    create_directory(state.sub_gallery_folder);  // an existing folder is reused
    AssetStore::place_sub_gallery_assets(state.sub_gallery_folder, keep_proportions);
    return PageComposer::write_page(state.sub_gallery_folder + "/index.html", page);
}

bool build_sub_gallery(const SubGalleryRequest& request, GenerationState& state) {
    if (sub_gallery_name_problem(request.name) != SubGalleryNameProblem::None) return false;
    state.reset_for_generation(request.name);
    ImageScanner::scan_pictures(request.picture_folder, request.settings, state);
    const Text page = compose_sub_gallery_page(state, request.settings.per_page);
    return write_sub_gallery(request.main_gallery, request.keep_proportions, page, state);
}

}  // namespace galmora
