#include "library/generation_recorder.h"

#include <algorithm>

#include "library/library_controls.h"
#include "library/library_texts.h"
#include "library/post_actions.h"

namespace galmora {

namespace lc = library_controls;

GenerationRecorder::GenerationRecorder(LibraryContext context, SubGalleries& sub_galleries,
                                       const LogoCoverSelection& selection)
    : context_(std::move(context)), sub_galleries_(sub_galleries), selection_(selection) {}

void GenerationRecorder::record_generation() {
    const GalleryConfig& config = context_.config;
    // weblogo first, then the record P<num + 1> key by key, then num: the
    // record is complete before the count points at it.
    config.set_site_logo(chosen_logo_name());
    config.append_record(new_record());
    sub_galleries_.refresh_sub_gallery_list();
    open_main_gallery_after_change(context_);
    reset_form_for_next();
    // Stored last; a selection of none is stored as the first entry.
    config.set_selected_index(std::max(0, context_.ui.selected_index(lc::kMainGalleryList)));
}

Text GenerationRecorder::chosen_logo_name() const {
    const bool chosen = context_.ui.text(lc::kLogoBox) == library_texts::chosen_logo();
    if (chosen && !selection_.logo_file_name().empty()) return selection_.logo_file_name();
    return "logo.png";
}

SubGalleryRecord GenerationRecorder::new_record() const {
    const bool cover_chosen = context_.ui.text(lc::kCoverBox) == library_texts::chosen_cover() &&
                              !selection_.cover_file_name().empty();
    const GenerationState& state = context_.state;
    return SubGalleryRecord{state.sub_gallery_name,
                            cover_chosen ? selection_.cover_file_name() : Text("fm.jpg"),
                            to_text(state.picture_count), state.quality_label, state.star_string};
}

void GenerationRecorder::reset_form_for_next() {
    Controls& ui = context_.ui;
    GenerationState& state = context_.state;
    selection_.show_default_captions();
    const Text suffix = random_suffix();
    state.sub_gallery_name = suffix;
    ui.set_text(lc::kSubGalleryName, library_texts::gallery_name_prefix() + suffix);
    state.cover_suffix = random_suffix();
    state.logo_suffix = random_suffix();
}

}  // namespace galmora
