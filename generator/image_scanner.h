#pragma once
// Finds the pictures of a folder tree by their name suffix: counts them for
// the form, and lists them for a generation.

#include <string_view>

#include "core/text.h"
#include "generator/picture_list.h"

namespace galmora {

class ImageScanner {
  public:
    // One of the 18 accepted suffixes, byte for byte; no dot needed.
    static bool is_picture_name(std::string_view name);

    // Depth-first over folder and its plain subfolders, each real folder at
    // most once: the pictures in the order met, with their sources written
    // as addressing says.
    static PictureList scan_pictures(const Text& folder, const PictureAddressing& addressing);
    // The number of pictures scan_pictures would find, without listing them.
    static int count_picture_files(const Text& folder);
};

}  // namespace galmora
