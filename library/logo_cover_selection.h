#pragma once
// The site logo and the next sub-gallery's cover: chosen in the open-file
// dialog or dropped onto their boxes, copied at once into the current main
// gallery's img folder under a fresh name. The box text is the choice:
// "已选Logo" / "已选封面" while a copy stands chosen.

#include <string_view>

#include "library/library_context.h"

namespace galmora {

class LogoCoverSelection {
  public:
    explicit LogoCoverSelection(LibraryContext context);

    void choose_logo();                    // 按钮20
    void drop_logo(const Text& dropped);   // drop onto 浏览目录3
    void choose_cover();                   // 按钮7
    void drop_cover(const Text& dropped);  // drop onto 浏览目录1

    // Both boxes back to "默认封面" and "默认Logo" in red: at start-up and
    // after every generation.
    void show_default_captions() const;

    // The names under which the last logo and cover were copied into img.
    const Text& logo_file_name() const { return logo_file_name_; }
    const Text& cover_file_name() const { return cover_file_name_; }

  private:
    // One existing picture file, or a message and false.
    bool accept_drop(const Text& dropped);
    void begin_choice(ControlId box, const Text& caption);
    void take_logo(const Text& source);
    void take_cover(const Text& source);
    // The img folder of the current main gallery, created when missing;
    // empty when no main gallery is current.
    Text prepare_img_folder();
    void delete_previous_logo(const Text& img_folder, const Text& source);
    void show_chosen(ControlId box, const Text& caption);

    LibraryContext context_;
    Text logo_file_name_;
    Text cover_file_name_;
};

}  // namespace galmora
