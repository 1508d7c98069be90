#pragma once
// The tail of a generation, right after the sub-gallery's page has been
// written: its record in config.ini, the refreshed list and main page, the
// optional openings, and the form made ready for the next sub-gallery.

#include "library/library_context.h"
#include "library/logo_cover_selection.h"
#include "library/sub_galleries.h"

namespace galmora {

class GenerationRecorder {
  public:
    GenerationRecorder(LibraryContext context, SubGalleries& sub_galleries,
                       const LogoCoverSelection& selection);

    // Runs when SiteGenerator::generate_gallery reports the page written.
    void record_generation();

  private:
    Text chosen_logo_name() const;
    SubGalleryRecord new_record() const;
    void reset_form_for_next();

    LibraryContext context_;
    SubGalleries& sub_galleries_;
    const LogoCoverSelection& selection_;
};

}  // namespace galmora
