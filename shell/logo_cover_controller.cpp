#include "shell/logo_cover_controller.h"

#include "shell/current_main_gallery.h"
#include "shell/library_captions.h"

namespace galmora {

namespace {

constexpr int kChoosingColour = rgb(128, 0, 0);
constexpr int kChosenColour = rgb(0, 136, 255);
constexpr int kDefaultCaptionColour = rgb(255, 0, 0);

void show_caption(Controls& ui, ControlId box, const Text& caption, int colour) {
    ui.set_text(box, caption);
    ui.set_text_colour(box, colour);
}

}  // namespace

LogoCoverController::LogoCoverController(Controls& ui, DesktopServices& desktop,
                                         LogoCoverSelection& selection, Text library_root)
    : ui_(ui), desktop_(desktop), selection_(selection), library_root_(std::move(library_root)) {}

void LogoCoverController::choose_logo() {
    begin_logo_choice();
    const Text source = desktop_.choose_open_file();
    if (!source.empty()) take_logo(source);
}

void LogoCoverController::drop_logo(const Text& dropped) {
    if (!accept_drop(dropped)) return;
    begin_logo_choice();
    take_logo(dropped);
}

void LogoCoverController::choose_cover() {
    begin_cover_choice();
    const Text source = desktop_.choose_open_file();
    if (!source.empty()) take_cover(source);
}

void LogoCoverController::drop_cover(const Text& dropped) {
    if (!accept_drop(dropped)) return;
    begin_cover_choice();
    take_cover(dropped);
}

bool LogoCoverController::accept_drop(const Text& dropped) {
    const std::optional<Text> refusal = dropped_picture_refusal(dropped);
    if (refusal) show_notice(desktop_, *refusal);
    return !refusal;
}

void LogoCoverController::begin_logo_choice() {
    selection_.begin_logo_choice();
    ui_.set_text_colour(ControlId::LogoBox, kChoosingColour);
    ui_.set_text(ControlId::LogoBox, library_captions::default_logo());
}

void LogoCoverController::begin_cover_choice() {
    selection_.begin_cover_choice();
    ui_.set_text_colour(ControlId::CoverBox, kChoosingColour);
    ui_.set_text(ControlId::CoverBox, library_captions::default_cover());
}

void LogoCoverController::take_logo(const Text& source) {
    show_taking(selection_.take_logo(current_main_gallery(ui_, library_root_), source),
                ControlId::LogoBox, library_captions::chosen_logo());
}

void LogoCoverController::take_cover(const Text& source) {
    show_taking(selection_.take_cover(current_main_gallery(ui_, library_root_), source),
                ControlId::CoverBox, library_captions::chosen_cover());
}

void LogoCoverController::show_taking(const PictureTaking& taking, ControlId box,
                                      const Text& chosen_caption) {
    if (taking.taken) show_caption(ui_, box, chosen_caption, kChosenColour);
    if (!taking.notice.empty()) show_notice(desktop_, taking.notice);
}

void LogoCoverController::end_choices() {
    selection_.end_choices();
    ui_.set_text(ControlId::CoverBox, library_captions::default_cover());
    ui_.set_text(ControlId::LogoBox, library_captions::default_logo());
}

void LogoCoverController::show_default_captions() {
    show_caption(ui_, ControlId::CoverBox, library_captions::default_cover(),
                 kDefaultCaptionColour);
    show_caption(ui_, ControlId::LogoBox, library_captions::default_logo(), kDefaultCaptionColour);
}

}  // namespace galmora
