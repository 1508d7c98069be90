#pragma once
// The site logo and the next sub-gallery's cover: each picture is copied at
// once into the current main gallery's img folder under a fresh name, and
// stands chosen until its next choice begins or the main page rebuild ends
// the choices. A generation records the chosen ones.

#include <optional>

#include "core/text.h"
#include "library/gallery_config.h"

namespace galmora {

// What became of a logo or cover choice: taken (the copy stands chosen) or
// not, and a notice for the user when something failed. Not taken without a
// notice: no main gallery to take it into.
struct PictureTaking {
    bool taken = false;
    Text notice;
};

class LogoCoverSelection {
  public:
    LogoCoverSelection(const GalleryConfig& config, Text library_root);

    // Fresh nine-digit suffixes for the next cover, then the next logo.
    void draw_suffixes();
    const Text& cover_suffix() const { return cover_suffix_; }
    const Text& logo_suffix() const { return logo_suffix_; }

    void begin_logo_choice() { chosen_logo_.clear(); }
    void begin_cover_choice() { chosen_cover_.clear(); }
    void end_choices();

    // Copies source into main_gallery's img folder as "logo<suffix>.<ext>",
    // deletes the logo it replaces, stores the name as weblogo and draws the
    // next logo suffix. Nothing done when main_gallery is not a main gallery
    // of the library or the copy fails.
    PictureTaking take_logo(const Text& main_gallery, const Text& source);
    // Copies source into main_gallery's img folder as "fm<suffix>.<ext>".
    PictureTaking take_cover(const Text& main_gallery, const Text& source);

    // The file names in img of the logo and cover that stand chosen; empty
    // when none does.
    const Text& chosen_logo() const { return chosen_logo_; }
    const Text& chosen_cover() const { return chosen_cover_; }

  private:
    // The img folder of main_gallery, created when missing; empty when
    // main_gallery is not a main gallery of the library.
    Text img_folder_of(const Text& main_gallery) const;
    // The copy of source as img_folder/name; the notice when it fails.
    Text copy_notice(const Text& source, const Text& img_folder, const Text& name) const;
    // false when a previous logo had to go and could not.
    bool delete_previous_logo(const Text& img_folder, const Text& source,
                              const Text& successor) const;

    const GalleryConfig& config_;
    Text library_root_;
    Text cover_suffix_, logo_suffix_;
    Text chosen_logo_, chosen_cover_;
};

// Why a dropped text is not one existing picture file; nullopt when it is.
std::optional<Text> dropped_picture_refusal(const Text& dropped);

}  // namespace galmora
