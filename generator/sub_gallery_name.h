#pragma once
// Whether a typed sub-gallery name can be joined into a path safely: it must
// name one new folder inside the main gallery, never the main gallery itself,
// a folder above it, its main page or one of the site's own folders.

#include <string_view>

namespace galmora {

enum class SubGalleryNameProblem {
    None,
    Empty,
    DotName,        // "." or ".."
    ForbiddenByte,  // "/" or a control character
    SiteFolder,     // img, js, stylecss or index.html
};

SubGalleryNameProblem sub_gallery_name_problem(std::string_view name);

}  // namespace galmora
