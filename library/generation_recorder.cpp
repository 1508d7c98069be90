#include "library/generation_recorder.h"

#include <algorithm>

#include "library/library_texts.h"
#include "library/post_actions.h"

namespace galmora {

GenerationRecorder::GenerationRecorder(LibraryContext context, SubGalleries& sub_galleries,
                                       const LogoCoverSelection& selection)
    : context_(std::move(context)), sub_galleries_(sub_galleries), selection_(selection) {}

void GenerationRecorder::record_generation() {
    // weblogo, the record P<num + 1>, num and the selected main gallery (a
    // selection of none stored as the first entry) in one replacement of
    // config.ini: a kill leaves the file without the record or with all of
    // it. The main page rebuild below reads them from the file.
    const int selected = std::max(0, context_.ui.selected_index(ControlId::MainGalleryList));
    context_.config.update([&](GalleryConfig::Edit& edit) {
        edit.set_site_logo(chosen_logo_name());
        edit.append_record(new_record());
        edit.set_selected_index(selected);
    });
    sub_galleries_.refresh_sub_gallery_list();
    open_main_gallery_after_change(context_);
    reset_form_for_next();
}

Text GenerationRecorder::chosen_logo_name() const {
    const bool chosen = context_.ui.text(ControlId::LogoBox) == library_texts::chosen_logo();
    if (chosen && !selection_.logo_file_name().empty()) return selection_.logo_file_name();
    return "logo.png";
}

SubGalleryRecord GenerationRecorder::new_record() const {
    const bool cover_chosen =
        context_.ui.text(ControlId::CoverBox) == library_texts::chosen_cover() &&
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
    ui.set_text(ControlId::SubGalleryName, library_texts::gallery_name_prefix() + suffix);
    state.cover_suffix = random_suffix();
    state.logo_suffix = random_suffix();
}

}  // namespace galmora
