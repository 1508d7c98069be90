#include "library/main_galleries.h"

#include <algorithm>

#include "core/codepage.h"
#include "core/directory_scan.h"
#include "core/files.h"
#include "library/library_paths.h"

namespace galmora {

using namespace galmora::literals;

std::vector<Text> main_gallery_names(const Text& library_root) {
    static const Text default_name = "我的图片库"_t;
    std::vector<Text> names;
    DirectoryScan scan;
    for (Text name = scan.find_first(library_root + "/*.*", kDirectory); !name.empty();
         name = scan.find_next()) {
        if (name != "." && name != ".." && name != default_name) names.push_back(name);
    }
    return names;
}

int stored_main_gallery_index(const GalleryConfig& config) {
    return std::max(0, config.snapshot().selected_index());
}

bool store_main_gallery_index(const GalleryConfig& config, int index) {
    return config.update([&](GalleryConfig::Edit& edit) { edit.set_selected_index(index); });
}

std::optional<Text> new_main_gallery_name_refusal(const Text& name) {
    static const Text refusal = "主图库名称不能是“.”或“..”，也不能含有“/”或控制字符。"_t;
    if (name.empty() || (is_bare_name(name) && !has_control_character(name))) return std::nullopt;
    return refusal;
}

bool create_main_gallery_folder(const Text& library_root, const Text& name) {
    const Text path = child_path(library_root, name);
    if (!is_main_gallery_path(library_root, path) || entry_exists(path)) return true;
    return create_directory(path);
}

bool main_gallery_exists(const Text& library_root, const Text& name) {
    return entry_exists(child_path(library_root, name));
}

}  // namespace galmora
