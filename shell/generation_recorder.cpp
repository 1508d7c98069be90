#include "shell/generation_recorder.h"

#include "shell/current_main_gallery.h"
#include "shell/failure_notices.h"
#include "shell/library_captions.h"

namespace galmora {

GenerationRecorder::GenerationRecorder(Controls& ui, DesktopServices& desktop,
                                       const GalleryConfig& config, Text library_root,
                                       SubGalleryList& sub_galleries,
                                       LogoCoverController& logo_cover)
    : ui_(ui),
      desktop_(desktop),
      config_(config),
      library_root_(std::move(library_root)),
      sub_galleries_(sub_galleries),
      logo_cover_(logo_cover) {}

bool GenerationRecorder::record_generation(const GenerationRequest& request,
                                           const GenerationResult& result) {
    GeneratedEntry entry = request.entry;
    entry.picture_count = result.picture_count;
    // Recorded before the rebuild, which reads the record from config.ini.
    const CommitOutcome outcome =
        commit_generation(config_, library_root_, entry, request.main_page,
                          {result.folder_created, result.cover_made});
    sub_galleries_.refresh();
    if (outcome.state != GenerationCommit::Committed) {
        report_failure(request, result, outcome);
        return false;
    }
    logo_cover_.end_choices();  // the rebuilt page shows them
    open_after_change(desktop_, request.main_gallery, request.open_folder_after,
                      request.open_page_after);
    reset_form_for_next();
    return true;
}

Text GenerationRecorder::show_next_name() {
    const Text suffix = random_suffix();
    ui_.set_text(ControlId::SubGalleryName, library_captions::gallery_name_prefix() + suffix);
    return suffix;
}

void GenerationRecorder::report_failure(const GenerationRequest& request,
                                        const GenerationResult& result,
                                        const CommitOutcome& outcome) {
    const Text notice =
        commit_failure_notice({outcome, result.folder_created, config_.path(),
                               config_.rewrite_problem(), request.main_gallery + "/index.html",
                               request.main_gallery + "/" + request.entry.sub_gallery_name});
    // The panel's result line would claim a sub-gallery that is not there.
    ui_.set_text(ControlId::InformationPanel, notice);
    show_notice(desktop_, notice);
}

// The next name's suffix, then the next cover's and logo's.
void GenerationRecorder::reset_form_for_next() {
    logo_cover_.show_default_captions();
    show_next_name();
    logo_cover_.draw_suffixes();
}

}  // namespace galmora
