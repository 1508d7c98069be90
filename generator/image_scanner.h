#pragma once
// Finds the pictures of a folder tree by their name suffix: counts them for
// the form, and during a generation appends their markup and page blocks to
// the generation state.

#include <string_view>

#include "core/controls.h"
#include "core/desktop.h"
#include "core/text.h"
#include "generator/generation_state.h"

namespace galmora {

// The form values one scan depends on; read once from the window because
// nothing can change them while the blocking scan runs.
struct ScanSettings {
    bool network_mode = false;  // 组合框3 at "网络模式"
    Text web_address;           // 网络地址, the source prefix in network mode
    int per_page = 0;           // 单页数量; 0 or less never closes a page
};

class ImageScanner {
  public:
    ImageScanner(Controls& ui, DesktopServices& desktop, GenerationState& state);

    // One of the 18 accepted suffixes, byte for byte; no dot needed.
    static bool is_picture_name(std::string_view name);

    // Depth-first over folder and its plain subfolders, each real folder at
    // most once. Adds to the picture count, the page count and both markup
    // texts of state; callers reset state first.
    static void scan_pictures(const Text& folder, const ScanSettings& settings,
                              GenerationState& state);
    // The number of pictures scan_pictures would find, without markup.
    static int count_picture_files(const Text& folder);
    static ScanSettings read_settings(const Controls& ui);

    // The click of 按钮8: choose the folder, then count.
    void count_pictures_from_browser();
    // Files dropped onto 浏览目录 (拖放对象1).
    void count_pictures_from_drop(const Text& dropped);

  private:
    void empty_paging_fields();
    void count_folder_field();

    Controls& ui_;
    DesktopServices& desktop_;
    GenerationState& state_;
};

}  // namespace galmora
