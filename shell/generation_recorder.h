#pragma once
// The tail of a generation, right after the sub-gallery's page has been
// written: its record in config.ini and the rebuilt main page (or, when
// either fails, the generation taken back with a notice), the refreshed
// list, the optional openings, and the form made ready for the next
// sub-gallery. It owns 图库名称, the next sub-gallery's name.

#include "library/gallery_config.h"
#include "shell/controls.h"
#include "shell/desktop.h"
#include "shell/generation_controller.h"
#include "shell/generation_request.h"
#include "shell/logo_cover_controller.h"
#include "shell/sub_gallery_list.h"

namespace galmora {

class GenerationRecorder {
  public:
    GenerationRecorder(Controls& ui, DesktopServices& desktop, const GalleryConfig& config,
                       Text library_root, SubGalleryList& sub_galleries,
                       LogoCoverController& logo_cover);

    // Runs when the generation reports the page written. True when the
    // sub-gallery is recorded and on the main page; otherwise a notice says
    // what failed, the generation is taken back, and the form stays as it
    // was for another try.
    bool record_generation(const GenerationRequest& request, const GenerationResult& result);

    // "图库" + a fresh suffix into 图库名称; returns the suffix.
    Text show_next_name();

  private:
    void report_failure(const GenerationRequest& request, const GenerationResult& result,
                        const CommitOutcome& outcome);
    void reset_form_for_next();

    Controls& ui_;
    DesktopServices& desktop_;
    const GalleryConfig& config_;
    Text library_root_;
    SubGalleryList& sub_galleries_;
    LogoCoverController& logo_cover_;
};

}  // namespace galmora
