#include "generator/sub_gallery_name.h"

#include <algorithm>
#include <array>

namespace galmora {

namespace {

bool forbidden_byte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte == '/' || byte < 0x20 || byte == 0x7F;
}

}  // namespace

SubGalleryNameProblem sub_gallery_name_problem(std::string_view name) {
    static constexpr std::array<std::string_view, 4> kSiteNames = {"img", "js", "stylecss",
                                                                   "index.html"};
    if (name.empty()) return SubGalleryNameProblem::Empty;
    if (name == "." || name == "..") return SubGalleryNameProblem::DotName;
    if (std::any_of(name.begin(), name.end(), forbidden_byte))
        return SubGalleryNameProblem::ForbiddenByte;
    if (std::find(kSiteNames.begin(), kSiteNames.end(), name) != kSiteNames.end())
        return SubGalleryNameProblem::SiteFolder;
    return SubGalleryNameProblem::None;
}

}  // namespace galmora
