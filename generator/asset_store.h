#pragma once
// The fixed site files compiled into the program, and where they go.

#include <string_view>

#include "core/text.h"

namespace galmora {

class AssetStore {
  public:
    // img, js, stylecss and their files, each only when missing.
    static void place_main_gallery_assets(const Text& main_gallery);
    // bg and its files when missing; script.js and mains.css always.
    static void place_sub_gallery_assets(const Text& sub_gallery, bool keep_proportions);
    // An embedded file by its name ("logo.png", "mains.css" for the
    // proportional variant, "mains-stretched.css" for the other, ...); empty
    // when unknown.
    static ByteView embedded(std::string_view name);
};

}  // namespace galmora
