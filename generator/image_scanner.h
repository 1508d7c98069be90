#pragma once
// Finds the pictures of a folder tree by their name suffix: counts them for
// the form, and during a generation puts their markup into page blocks.

#include <string_view>

#include "core/text.h"
#include "generator/page_blocks.h"

namespace galmora {

// The form values one scan depends on, read once before it: nothing can
// change them while the blocking scan runs.
struct ScanSettings {
    bool network_mode = false;  // "网络模式": sources start with the web address
    Text web_address;
    int per_page = 0;  // 0 or less never closes a page
};

class ImageScanner {
  public:
    // One of the 18 accepted suffixes, byte for byte; no dot needed.
    static bool is_picture_name(std::string_view name);

    // Depth-first over folder and its plain subfolders, each real folder at
    // most once. The pictures in the order met, in blocks of per_page.
    static PageBlocks scan_pictures(const Text& folder, const ScanSettings& settings);
    // The number of pictures scan_pictures would find, without markup.
    static int count_picture_files(const Text& folder);
};

}  // namespace galmora
