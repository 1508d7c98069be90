#include "generator/asset_store.h"

#include "core/files.h"
#include "generator/embedded_files.h"

namespace galmora {

namespace {

// Placement steps, run strictly in order. Results are not examined: a failing
// step leaves its target absent and the next one runs.
void folder_when_missing(const Text& base, std::string_view name) {
    const Text path = base + "/" + Text(name);
    if (!path_exists(path)) create_directory(path);
}

// Anything of that name, file or folder, is left alone, so that changes the
// user made to these files survive later generations.
void file_when_missing(const Text& base, std::string_view target, std::string_view asset) {
    const Text path = base + "/" + Text(target);
    if (!path_exists(path)) write_file(path, AssetStore::embedded(asset));
}

void file_always(const Text& base, std::string_view target, std::string_view asset) {
    write_file(base + "/" + Text(target), AssetStore::embedded(asset));
}

}  // namespace

void AssetStore::place_main_gallery_assets(const Text& main_gallery) {
    folder_when_missing(main_gallery, "img");
    folder_when_missing(main_gallery, "js");
    folder_when_missing(main_gallery, "stylecss");
    file_when_missing(main_gallery, "img/tkgxtb.svg", "tkgxtb.svg");
    file_when_missing(main_gallery, "img/bgh2560L30.jpg", "bgh2560L30.jpg");
    file_when_missing(main_gallery, "img/fm.jpg", "fm.jpg");
    file_when_missing(main_gallery, "img/logo.png", "logo.png");
    file_when_missing(main_gallery, "js/kl.js", "kl.js");
    file_when_missing(main_gallery, "stylecss/style.css", "style.css");
}

void AssetStore::place_sub_gallery_assets(const Text& sub_gallery, bool keep_proportions) {
    folder_when_missing(sub_gallery, "bg");
    file_when_missing(sub_gallery, "bg/bgh2560L30.jpg", "bgh2560L30.jpg");
    file_when_missing(sub_gallery, "bg/tkgxtb.svg", "tkgxtb.svg");
    // Always replaced, so a regeneration brings back the program's script and
    // the current proportion setting.
    file_always(sub_gallery, "script.js", "script.js");
    file_always(sub_gallery, "mains.css", keep_proportions ? "mains.css" : "mains-stretched.css");
}

ByteView AssetStore::embedded(std::string_view name) {
    return find_embedded(embedded_assets(), name);
}

}  // namespace galmora
