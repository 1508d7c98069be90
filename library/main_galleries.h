#pragma once
// The main galleries: the folders of the library root. Which of them exist,
// which one was chosen last, whether a new name is acceptable, and making
// one's folder.

#include <optional>
#include <vector>

#include "core/text.h"
#include "library/gallery_config.h"

namespace galmora {

// Every folder of the library root but "我的图片库", in listing order: the
// list always holds that one first.
std::vector<Text> main_gallery_names(const Text& library_root);

// The stored index, where a damaged value below 0 counts as 0: with nothing
// selected the library root would become the main gallery.
int stored_main_gallery_index(const GalleryConfig& config);
// False when config.ini did not take it.
bool store_main_gallery_index(const GalleryConfig& config, int index);

// Why a new main gallery may not be called that; nullopt when it may. The
// empty name is no refusal: it adds nothing.
std::optional<Text> new_main_gallery_name_refusal(const Text& name);

// Creates library_root/name when name is one bare name and nothing is there.
// False when a folder was wanted and could not be made.
bool create_main_gallery_folder(const Text& library_root, const Text& name);
bool main_gallery_exists(const Text& library_root, const Text& name);

}  // namespace galmora
