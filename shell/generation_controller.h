#pragma once
// The window's side of a generation: the coupling of 单页数量 and 页总数,
// counting the pictures of a chosen or dropped folder, the colours of the
// paging fields, and the click of 生成图片库, which reads the form once,
// runs the generator's steps and shows what they give. Recording the
// generation in config.ini is the library's and follows.

#include <optional>

#include "generator/image_scanner.h"
#include "generator/sub_gallery_builder.h"
#include "shell/controls.h"
#include "shell/desktop.h"

namespace galmora {

class GenerationController {
  public:
    GenerationController(Controls& ui, DesktopServices& desktop, Text library_root);

    // Content-changed handlers of 单页数量 and 页总数.
    void on_per_page_changed();
    void on_page_count_changed();
    // Content-changed handler of 浏览目录.
    void reset_field_colours();

    // The click of 按钮8: choose the folder, then count.
    void count_pictures_from_browser();
    // Files dropped onto 浏览目录 (拖放对象1).
    void count_pictures_from_drop(const Text& dropped);

    // The click of 生成图片库: the sub-gallery when its index.html was
    // written and the generation is to be recorded.
    std::optional<GeneratedSubGallery> generate(bool keep_proportions);

  private:
    // The form as the generation reads it, once, before it changes anything.
    struct Form {
        Text picture_folder, picture_total, per_page, page_count;
        Text sub_gallery_name, main_gallery_name;
        Text main_gallery;  // its folder
        ScanSettings scan;
    };
    Form read_form() const;
    // Paints the paging fields red when the form fails the generate check.
    bool check_form(const Form& form);
    bool refuse_target(const Form& form);
    // Folders, assets, index.html holding page, then the result line and the
    // page in the panel; false with a notice when index.html was not written.
    bool write_site(const Form& form, const Text& page, bool keep_proportions);

    void empty_paging_fields();
    void count_folder_field();

    Controls& ui_;
    DesktopServices& desktop_;
    Text library_root_;
    bool pages_guard_ = false;
    bool per_page_guard_ = false;
};

}  // namespace galmora
