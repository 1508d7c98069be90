#include "library/logo_cover_selection.h"

#include "core/codepage.h"
#include "core/files.h"
#include "generator/image_scanner.h"
#include "library/library_paths.h"
#include "library/library_texts.h"

namespace galmora {

using namespace galmora::literals;

namespace {

constexpr int kChoosingColour = rgb(128, 0, 0);
constexpr int kChosenColour = rgb(0, 136, 255);

// The last three bytes of the path, whatever they are: "x.jpeg" gives "peg".
Text extension_of(const Text& path) {
    return right_text(path, 3);
}

}  // namespace

LogoCoverSelection::LogoCoverSelection(LibraryContext context) : context_(std::move(context)) {}

void LogoCoverSelection::choose_logo() {
    begin_choice(ControlId::LogoBox, library_texts::default_logo());
    const Text source = context_.desktop.choose_open_file();
    if (!source.empty()) take_logo(source);
}

void LogoCoverSelection::drop_logo(const Text& dropped) {
    if (!accept_drop(dropped)) return;
    begin_choice(ControlId::LogoBox, library_texts::default_logo());
    take_logo(dropped);
}

void LogoCoverSelection::choose_cover() {
    begin_choice(ControlId::CoverBox, library_texts::default_cover());
    const Text source = context_.desktop.choose_open_file();
    if (!source.empty()) take_cover(source);
}

void LogoCoverSelection::drop_cover(const Text& dropped) {
    if (!accept_drop(dropped)) return;
    begin_choice(ControlId::CoverBox, library_texts::default_cover());
    take_cover(dropped);
}

void LogoCoverSelection::show_default_captions() const {
    constexpr int kDefaultCaptionColour = rgb(255, 0, 0);
    Controls& ui = context_.ui;
    ui.set_text(ControlId::CoverBox, library_texts::default_cover());
    ui.set_text_colour(ControlId::CoverBox, kDefaultCaptionColour);
    ui.set_text(ControlId::LogoBox, library_texts::default_logo());
    ui.set_text_colour(ControlId::LogoBox, kDefaultCaptionColour);
}

bool LogoCoverSelection::accept_drop(const Text& dropped) {
    static const Text several = "请只拖放一个图片文件。"_t;
    static const Text missing = "拖放的不是一个存在的文件。"_t;
    static const Text not_picture =
        "拖放的文件不是支持的图片格式（jpg、jpeg、png、gif、bmp、webp）。"_t;
    const Text* refusal = nullptr;
    const int attributes = file_attributes(dropped);
    if (dropped.find_first_of("\r\n") != Text::npos) {
        refusal = &several;
    } else if (attributes == -1 || (attributes & kDirectory) || !(attributes & kArchive)) {
        refusal = &missing;
    } else if (!ImageScanner::is_picture_name(dropped)) {
        refusal = &not_picture;
    }
    if (refusal == nullptr) return true;
    show_notice(context_.desktop, *refusal);
    return false;
}

void LogoCoverSelection::begin_choice(ControlId box, const Text& caption) {
    context_.ui.set_text_colour(box, kChoosingColour);
    context_.ui.set_text(box, caption);
}

void LogoCoverSelection::take_logo(const Text& source) {
    const Text img_folder = prepare_img_folder();
    if (img_folder.empty()) return;
    delete_previous_logo(img_folder, source);
    const Text name = "logo" + context_.state.logo_suffix + "." + extension_of(source);
    copy_file(source, child_path(img_folder, name));
    context_.config.update([&](GalleryConfig::Edit& edit) { edit.set_site_logo(name); });
    logo_file_name_ = name;
    context_.state.logo_suffix = random_suffix();
    show_chosen(ControlId::LogoBox, library_texts::chosen_logo());
}

void LogoCoverSelection::take_cover(const Text& source) {
    const Text img_folder = prepare_img_folder();
    if (img_folder.empty()) return;
    const Text name = "fm" + context_.state.cover_suffix + "." + extension_of(source);
    copy_file(source, child_path(img_folder, name));
    cover_file_name_ = name;
    show_chosen(ControlId::CoverBox, library_texts::chosen_cover());
}

Text LogoCoverSelection::prepare_img_folder() {
    const Text& main_gallery = context_.state.current_main_gallery;
    if (!is_main_gallery_path(context_.library_root, main_gallery)) return Text();
    Text img_folder = main_gallery + "/img";
    if (!entry_exists(img_folder)) create_directory(img_folder);
    return img_folder;
}

// The logo in use makes way for the new one. A damaged weblogo that is not
// a bare name never leads the deletion out of img, and a previous logo that
// is itself the chosen file is kept so that it can still be copied.
void LogoCoverSelection::delete_previous_logo(const Text& img_folder, const Text& source) {
    const Text previous = context_.config.snapshot().site_logo();
    if (!is_bare_name(previous)) return;
    const Text path = child_path(img_folder, previous);
    const auto previous_identity = file_identity(path);
    if (previous_identity && previous_identity == file_identity(source)) return;
    delete_file(path);
}

void LogoCoverSelection::show_chosen(ControlId box, const Text& caption) {
    context_.ui.set_text(box, caption);
    context_.ui.set_text_colour(box, kChosenColour);
}

}  // namespace galmora
