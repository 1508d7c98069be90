#pragma once
// The generate command: checks the form, scans the picture folder, composes
// the sub-gallery page and writes the sub-gallery into the current main
// gallery. Recording it in config.ini follows in the library.

#include "core/controls.h"
#include "core/desktop.h"
#include "generator/generation_state.h"

namespace galmora {

class SiteGenerator {
  public:
    SiteGenerator(Controls& ui, DesktopServices& desktop, GenerationState& state,
                  Text library_root);

    // The coupling of 单页数量 and 页总数 (content-changed handlers).
    void on_per_page_changed();
    void on_page_count_changed();

    bool validate_generation_inputs();
    // The click of 生成图片库. True when the sub-gallery's index.html was
    // written and the generation is to be recorded.
    bool generate_gallery(bool keep_proportions);

  private:
    // The sub-gallery name and the main gallery can name a new folder inside
    // the selected main gallery, and no other main gallery has a sub-gallery
    // of that name; otherwise says why not and returns false.
    bool target_is_safe(const Text& name, const Text& main_gallery_name);
    // Folders, assets, index.html holding page, then the result line and the
    // page in the panel; false with a message when index.html could not be
    // written.
    bool write_site(const Text& page, bool keep_proportions);

    Controls& ui_;
    DesktopServices& desktop_;
    GenerationState& state_;
    Text library_root_;
    bool pages_guard_ = false;
    bool per_page_guard_ = false;
};

}  // namespace galmora
