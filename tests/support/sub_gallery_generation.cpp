#include "tests/support/sub_gallery_generation.h"

#include "generator/image_scanner.h"
#include "generator/page_blocks.h"
#include "generator/sub_gallery_builder.h"
#include "generator/sub_gallery_name.h"

namespace galmora::testing {

std::optional<GeneratedSubGallery> build_sub_gallery(const SubGalleryRequest& request) {
    if (sub_gallery_name_problem(request.name) != SubGalleryNameProblem::None) return std::nullopt;
    const PictureList pictures =
        ImageScanner::scan_pictures(request.picture_folder, request.addressing);
    const Text page = compose_sub_gallery_page(
        request.name, page_blocks(pictures, request.per_page), request.per_page);
    if (!write_sub_gallery(request.main_gallery, request.name, request.keep_proportions, page)
             .page_written)
        return std::nullopt;
    return GeneratedSubGallery{request.name, static_cast<int>(pictures.size())};
}

}  // namespace galmora::testing
