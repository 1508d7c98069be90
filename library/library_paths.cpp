#include "library/library_paths.h"

#include <algorithm>

#include "core/files.h"

namespace galmora {

bool is_bare_name(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

bool has_control_character(std::string_view name) {
    return std::any_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

bool is_asset_folder(std::string_view name) {
    return name == "img" || name == "js" || name == "stylecss";
}

bool entry_exists(const Text& path) {
    return file_attributes(path) != -1;
}

Text child_path(const Text& folder, std::string_view name) {
    Text path;
    path.reserve(folder.size() + 1 + name.size());
    path.append(folder).append("/").append(name);
    return path;
}

bool is_main_gallery_path(const Text& root, const Text& path) {
    if (root.empty() || path.size() <= root.size() + 1) return false;
    if (path.compare(0, root.size(), root) != 0 || path[root.size()] != '/') return false;
    return is_bare_name(std::string_view(path).substr(root.size() + 1));
}

}  // namespace galmora
