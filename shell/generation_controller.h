#pragma once
// The window's side of a generation: the coupling of 单页数量 and 页总数,
// counting the pictures of a chosen or dropped folder, the colours of the
// paging fields, and the click of 生成图片库, which checks the request, runs
// the generator's steps and shows what they give. Recording the generation
// in config.ini follows (GenerationRecorder).

#include <optional>

#include "generator/sub_gallery_builder.h"
#include "library/gallery_config.h"
#include "shell/controls.h"
#include "shell/desktop.h"
#include "shell/generation_request.h"

namespace galmora {

// A sub-gallery whose index.html was written, to be recorded.
struct GenerationResult {
    int picture_count = 0;
    bool folder_created = false;
};

class GenerationController {
  public:
    GenerationController(Controls& ui, DesktopServices& desktop, const GalleryConfig& config,
                         Text library_root);

    // Content-changed handlers of 单页数量 and 页总数.
    void on_per_page_changed();
    void on_page_count_changed();
    // Content-changed handler of 浏览目录.
    void reset_field_colours();

    // The click of 按钮8: choose the folder, then count.
    void count_pictures_from_browser();
    // Files dropped onto 浏览目录 (拖放对象1).
    void count_pictures_from_drop(const Text& dropped);

    // The click of 生成图片库 with the request read at that moment. nullopt
    // when the paging fields fail the check (painted red), the target or
    // config.ini refuses the generation (a notice; nothing written), or the
    // page could not be written.
    std::optional<GenerationResult> generate(const GenerationRequest& request);

  private:
    // Paints the paging fields red when the form fails the generate check.
    bool check_form(const GenerationRequest& request);
    // A notice when the target or config.ini refuses the generation.
    bool refuse(const GenerationRequest& request);
    // Folders, assets, index.html holding page, then the result line and the
    // page in the panel; nullopt with a notice when index.html was not written.
    std::optional<GenerationResult> write_site(const GenerationRequest& request, const Text& page,
                                               int picture_count);

    void empty_paging_fields();
    void count_folder_field();

    Controls& ui_;
    DesktopServices& desktop_;
    const GalleryConfig& config_;
    Text library_root_;
    bool pages_guard_ = false;
    bool per_page_guard_ = false;
};

}  // namespace galmora
