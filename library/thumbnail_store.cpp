#include "library/thumbnail_store.h"

#include <unordered_set>

#include "core/directory_scan.h"
#include "core/files.h"
#include "generator/thumbnail_names.h"
#include "library/library_paths.h"
#include "library/sub_galleries.h"

namespace galmora {

namespace {

constexpr std::string_view kWorkMark = ".making";

bool is_thumbnail_name(std::string_view name) {
    return parse_thumbnail_file_name(name).has_value();
}

// A cover made from a folder's first picture: "fm" + a key + its extension.
bool is_made_cover_name(std::string_view name) {
    constexpr std::size_t kStem = 2 + 16;
    if (!name.starts_with("fm") || name.size() <= kStem) return false;
    const std::string_view extension = name.substr(kStem);
    if (extension != ".jpg" && extension != ".webp") return false;
    return is_thumbnail_key(name.substr(2, 16));
}

// The keys of the thumbnail folder's files the page names; nullopt when the
// page cannot be read.
std::optional<std::unordered_set<Text>> keys_named_by_page(const Text& page_path) {
    const std::optional<Bytes> page = read_file(page_path);
    if (!page) return std::nullopt;
    std::unordered_set<Text> keys;
    const std::string_view text(reinterpret_cast<const char*>(page->data()), page->size());
    for (std::size_t at = text.find(kThumbnailAddress); at != std::string_view::npos;
         at = text.find(kThumbnailAddress, at)) {
        at += kThumbnailAddress.size();
        const std::size_t end = text.find_first_of(" \"", at);
        const std::string_view name = text.substr(at, end == std::string_view::npos ? 0 : end - at);
        if (const auto parsed = parse_thumbnail_file_name(name)) keys.insert(parsed->key);
    }
    return keys;
}

std::vector<Text> files_of(const Text& folder, bool (*wanted)(std::string_view)) {
    std::vector<Text> files;
    DirectoryScan scan;
    for (Text name = scan.find_first(folder + "/*.*", kArchive); !name.empty();
         name = scan.find_next())
        if (wanted(name)) files.push_back(std::move(name));
    return files;
}

// A sub-gallery page that exists but cannot be read stops the sweep; a
// folder without a page names nothing.
std::optional<Text> unreadable_page(const Text& page) {
    if (!entry_exists(page) || read_file(page)) return std::nullopt;
    return page;
}

}  // namespace

ThumbnailSweep sweep_thumbnails(const Text& main_gallery, const Text& leaving) {
    const Text folder = thumbnail_folder(main_gallery);
    ThumbnailSweep sweep;
    const std::vector<Text> files = files_of(folder, is_thumbnail_name);
    if (files.empty()) return sweep;
    std::unordered_set<Text> named;
    for (const Text& sub : sub_gallery_folders(main_gallery)) {
        if (sub == leaving) continue;
        const Text page = child_path(main_gallery, sub) + "/index.html";
        std::optional<std::unordered_set<Text>> keys = keys_named_by_page(page);
        if (!keys) {
            if (const std::optional<Text> unreadable = unreadable_page(page)) {
                sweep.unreadable_page = *unreadable;
                return sweep;
            }
            continue;
        }
        named.merge(*keys);
    }
    for (const Text& name : files)
        if (!named.count(parse_thumbnail_file_name(name)->key))
            sweep.unnamed.push_back(child_path(folder, name));
    return sweep;
}

std::vector<Text> remove_thumbnails(const Text& main_gallery, const std::vector<Text>& paths) {
    remove_abandoned_replacements_in(thumbnail_folder(main_gallery),
                                     [](std::string_view name) { return is_thumbnail_name(name); });
    std::vector<Text> left;
    for (const Text& path : paths)
        if (!delete_file(path) && entry_exists(path)) left.push_back(path);
    return left;
}

void take_back_made_files(const Text& main_gallery, const Text& made_cover) {
    const ThumbnailSweep sweep = sweep_thumbnails(main_gallery, Text());
    if (sweep.unreadable_page.empty()) remove_thumbnails(main_gallery, sweep.unnamed);
    if (is_bare_name(made_cover)) delete_file(child_path(main_gallery + "/img", made_cover));
}

void mark_picture_work(const Text& main_gallery) {
    write_file(child_path(thumbnail_folder(main_gallery), kWorkMark), ByteView());
}

void unmark_picture_work(const Text& main_gallery) {
    delete_file(child_path(thumbnail_folder(main_gallery), kWorkMark));
}

void clear_killed_picture_work(const Text& library_root, const GalleryConfig& config) {
    const GalleryConfig::Snapshot snapshot = config.snapshot();
    std::unordered_set<Text> recorded_covers;
    for (int slot : snapshot.slots_present())
        recorded_covers.insert(snapshot.read_record(slot).pimg);
    DirectoryScan folders;
    for (Text name = folders.find_first(library_root + "/*.*", kDirectory); !name.empty();
         name = folders.find_next()) {
        if (name == "." || name == "..") continue;
        const Text main_gallery = child_path(library_root, name);
        if (!entry_exists(child_path(thumbnail_folder(main_gallery), kWorkMark))) continue;
        const ThumbnailSweep sweep = sweep_thumbnails(main_gallery, Text());
        if (!sweep.unreadable_page.empty()) continue;
        remove_thumbnails(main_gallery, sweep.unnamed);
        const Text img = main_gallery + "/img";
        remove_abandoned_replacements_in(img, is_made_cover_name);
        for (const Text& cover : files_of(img, is_made_cover_name))
            if (!recorded_covers.count(cover)) delete_file(child_path(img, cover));
        unmark_picture_work(main_gallery);
    }
}

}  // namespace galmora
