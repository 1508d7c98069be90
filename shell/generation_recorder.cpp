#include "shell/generation_recorder.h"

#include "library/generation_record.h"
#include "shell/current_main_gallery.h"
#include "shell/library_captions.h"
#include "shell/logo_cover_controller.h"

namespace galmora {

GenerationRecorder::GenerationRecorder(Controls& ui, DesktopServices& desktop,
                                       const GalleryConfig& config, Text library_root,
                                       SubGalleryList& sub_galleries, LogoCoverSelection& selection)
    : ui_(ui),
      desktop_(desktop),
      config_(config),
      library_root_(std::move(library_root)),
      sub_galleries_(sub_galleries),
      selection_(selection) {}

void GenerationRecorder::record_generation(const Text& name, int picture_count,
                                           const Text& quality_label, const Text& star_string) {
    // Recorded before the rebuild, which reads the record from config.ini
    // and ends the choices.
    galmora::record_generation(
        config_, {name, picture_count, quality_label, star_string, selection_.chosen_logo(),
                  selection_.chosen_cover(), ui_.selected_index(ControlId::MainGalleryList)});
    sub_galleries_.refresh();
    sub_galleries_.rebuild_main_page();
    open_main_gallery_after_change(ui_, desktop_, library_root_);
    reset_form_for_next();
}

// The next name's suffix, then the next cover's and logo's.
void GenerationRecorder::reset_form_for_next() {
    show_default_logo_cover_captions(ui_);
    ui_.set_text(ControlId::SubGalleryName,
                 library_captions::gallery_name_prefix() + random_suffix());
    selection_.draw_suffixes();
}

}  // namespace galmora
