#pragma once
// The tail of a generation, right after the sub-gallery's page has been
// written: its record in config.ini, the refreshed list and main page, the
// optional openings, and the form made ready for the next sub-gallery.

#include "library/gallery_config.h"
#include "library/logo_cover_selection.h"
#include "shell/controls.h"
#include "shell/desktop.h"
#include "shell/sub_gallery_list.h"

namespace galmora {

class GenerationRecorder {
  public:
    GenerationRecorder(Controls& ui, DesktopServices& desktop, const GalleryConfig& config,
                       Text library_root, SubGalleryList& sub_galleries,
                       LogoCoverSelection& selection);

    // Runs when the generation reports the page of sub-gallery name written.
    void record_generation(const Text& name, int picture_count, const Text& quality_label,
                           const Text& star_string);

  private:
    void reset_form_for_next();

    Controls& ui_;
    DesktopServices& desktop_;
    const GalleryConfig& config_;
    Text library_root_;
    SubGalleryList& sub_galleries_;
    LogoCoverSelection& selection_;
};

}  // namespace galmora
