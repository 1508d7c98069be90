#include "library/thumbnail_store.h"

#include <unordered_set>

#include "core/directory_scan.h"
#include "core/files.h"
#include "generator/thumbnail_names.h"
#include "library/library_paths.h"
#include "library/sub_galleries.h"

namespace galmora {

namespace {

// A name the thumbnail folder holds for a write in progress: "." + a
// thumbnail's name + "." + six random characters.
bool is_temporary_thumbnail(std::string_view name) {
    const std::size_t last_dot = name.rfind('.');
    if (name.size() < 2 || name[0] != '.' || last_dot == 0) return false;
    return parse_thumbnail_file_name(name.substr(1, last_dot - 1)).has_value();
}

// The thumbnail files (names in the thumbnail folder) the page names.
std::vector<Text> thumbnails_named_by_page(const Text& page_path) {
    std::vector<Text> named;
    const std::optional<Bytes> page = read_file(page_path);
    if (!page) return named;
    const std::string_view text(reinterpret_cast<const char*>(page->data()), page->size());
    for (std::size_t at = text.find(kThumbnailAddress); at != std::string_view::npos;
         at = text.find(kThumbnailAddress, at)) {
        at += kThumbnailAddress.size();
        const std::size_t end = text.find_first_of(" \"", at);
        const std::string_view name = text.substr(at, end == std::string_view::npos ? 0 : end - at);
        if (parse_thumbnail_file_name(name)) named.emplace_back(name);
    }
    return named;
}

}  // namespace

std::vector<Text> unnamed_thumbnails(const Text& main_gallery, const Text& leaving) {
    const Text folder = thumbnail_folder(main_gallery);
    std::vector<Text> files;
    DirectoryScan scan;
    for (Text name = scan.find_first(folder + "/*.*", kArchive); !name.empty();
         name = scan.find_next()) {
        if (parse_thumbnail_file_name(name) || is_temporary_thumbnail(name))
            files.push_back(std::move(name));
    }
    if (files.empty()) return files;
    std::unordered_set<Text> named;
    for (const Text& sub : sub_gallery_folders(main_gallery)) {
        if (sub == leaving) continue;
        for (Text& name : thumbnails_named_by_page(child_path(main_gallery, sub) + "/index.html"))
            named.insert(std::move(name));
    }
    std::vector<Text> unnamed;
    for (const Text& name : files)
        if (!named.count(name)) unnamed.push_back(child_path(folder, name));
    return unnamed;
}

std::vector<Text> remove_thumbnails(const std::vector<Text>& paths) {
    std::vector<Text> left;
    for (const Text& path : paths)
        if (!delete_file(path) && entry_exists(path)) left.push_back(path);
    return left;
}

void take_back_made_files(const Text& main_gallery, const Text& made_cover) {
    remove_thumbnails(unnamed_thumbnails(main_gallery, Text()));
    if (is_bare_name(made_cover)) delete_file(child_path(main_gallery + "/img", made_cover));
}

}  // namespace galmora
