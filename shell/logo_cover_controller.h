#pragma once
// The logo and cover boxes (LogoBox, CoverBox), written here only: a picture
// chosen in the open-file dialog (ChooseLogoButton, ChooseCoverButton) or
// dropped onto a box is taken by the selection, and the box's caption and
// colour tell whether one stands chosen.

#include "library/logo_cover_selection.h"
#include "shell/controls.h"
#include "shell/desktop.h"

namespace galmora {

class LogoCoverController {
  public:
    LogoCoverController(Controls& ui, DesktopServices& desktop, LogoCoverSelection& selection,
                        Text library_root);

    void choose_logo();
    void drop_logo(const Text& dropped);
    void choose_cover();
    void drop_cover(const Text& dropped);

    // The choices end when the main page is rebuilt: both boxes say
    // "默认封面" and "默认Logo" again.
    void end_choices();
    // Both boxes back to "默认封面" and "默认Logo" in red: at start-up and
    // after every generation.
    void show_default_captions();
    // Fresh suffixes for the next cover and logo copies.
    void draw_suffixes() { selection_.draw_suffixes(); }

  private:
    bool accept_drop(const Text& dropped);
    void begin_logo_choice();
    void begin_cover_choice();
    void take_logo(const Text& source);
    void take_cover(const Text& source);
    void show_taking(const PictureTaking& taking, ControlId box, const Text& chosen_caption);

    Controls& ui_;
    DesktopServices& desktop_;
    LogoCoverSelection& selection_;
    Text library_root_;
};

}  // namespace galmora
