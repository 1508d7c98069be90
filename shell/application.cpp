#include "shell/application.h"

#include "core/codepage.h"
#include "library/thumbnail_store.h"
#include "shell/current_main_gallery.h"
#include "shell/failure_notices.h"
#include "shell/generation_request.h"
#include "shell/info_texts.h"
#include "update/maker_site.h"

namespace galmora {

using namespace literals;

namespace {

Text maker_site() {
    return local_text(kMakerSite);
}

}  // namespace

Application::Application(Controls& ui, DesktopServices& desktop, Text library_root,
                         UpdateSettings update_settings, UpdateWindowHooks update_hooks,
                         BackgroundServices background)
    : ui_(ui),
      desktop_(desktop),
      library_root_(std::move(library_root)),
      config_(library_root_ + "/config.ini"),
      selection_(config_, library_root_),
      sub_galleries_(ui_, config_, library_root_),
      main_galleries_(ui_, desktop_, config_, library_root_, sub_galleries_),
      logo_cover_(ui_, desktop_, selection_, library_root_),
      deletion_(ui_, desktop_, config_, library_root_, sub_galleries_, logo_cover_),
      recorder_(ui_, desktop_, config_, library_root_, sub_galleries_, logo_cover_),
      jobs_(ui_, desktop_, background.window, background.memory_budget),
      generation_(ui_, desktop_, config_, library_root_, &jobs_, std::move(background.pictures)),
      updater_(ui_, desktop_, std::move(update_settings), std::move(update_hooks)),
      commands_(ui_, desktop_, config_, library_root_) {}

void Application::start_up() {
    seed_random();
    wire_commands();
    wire_generation();
    wire_library();
    wire_options();
    main_galleries_.select_default();
    const Text name_suffix = recorder_.show_next_name();
    logo_cover_.draw_suffixes();
    // A write killed before it finished leaves its temporary file beside
    // config.ini; the file itself is whole, the old one or the new one.
    config_.remove_abandoned_writes();
    clear_killed_picture_work(library_root_, config_);
    if (!config_.ensure_file())
        show_notice(desktop_, config_not_created(config_.path(), config_.rewrite_problem()));
    main_galleries_.restore();
    commands_.choose_local_mode();
    commands_.tick_options();
    logo_cover_.show_default_captions();
    main_galleries_.hide_new_name();
    commands_.show_default_site_texts();
    ui_.set_text(ControlId::InformationPanel,
                 startup_information(selected_main_gallery_name(ui_), name_suffix, maker_site()));
    commands_.apply_rating();
    commands_.restore_switches();
}

void Application::show_help() {
    ui_.set_text(ControlId::InformationPanel, help_text(maker_site()));
}

void Application::shut_down() {
    generation_.prepare_for_exit();
    jobs_.finish_before_exit();
}

void Application::on(ControlId control, ControlEvent event, std::function<void()> operation) {
    ui_.on(control, event, [operation = std::move(operation)](const Text&) { operation(); });
}

void Application::on_library_change(ControlId control, ControlEvent event,
                                    std::function<void(const Text&)> operation) {
    ui_.on(control, event, [this, operation = std::move(operation)](const Text& argument) {
        if (!jobs_.refuses_library_change()) operation(argument);
    });
}

// The same button starts a generation and, while its thumbnails are being
// made, stops them.
void Application::click_generate() {
    if (jobs_.stops_with(ControlId::GenerateButton)) return jobs_.stop();
    if (jobs_.refuses_library_change()) return;
    const GenerationRequest request = read_generation_request(
        ui_, config_.snapshot(), commands_.rating(), selection_, library_root_);
    generation_.generate(request, [this](const GenerationRequest& done, GenerationResult& result) {
        result.taken_back = !recorder_.record_generation(done, result);
    });
}

void Application::wire_commands() {
    on(ControlId::CopyButton, ControlEvent::Clicked,
       [this] { commands_.copy_information_panel(); });
    on(ControlId::HomePageButton, ControlEvent::Clicked, [this] { updater_.open_home_page(); });
    on(ControlId::CheckUpdateButton, ControlEvent::Clicked,
       [this] { updater_.check_for_update(); });
    on(ControlId::HelpButton, ControlEvent::Clicked, [this] { show_help(); });
    on(ControlId::OpenRootButton, ControlEvent::Clicked, [this] { commands_.open_library_root(); });
    on(ControlId::ClearTitleLinkButton, ControlEvent::Clicked,
       [this] { commands_.clear_title_link(); });
    on(ControlId::ClearIntroductionButton, ControlEvent::Clicked,
       [this] { commands_.clear_introduction(); });
}

void Application::wire_generation() {
    on(ControlId::PictureFolder, ControlEvent::ContentChanged,
       [this] { generation_.reset_field_colours(); });
    on(ControlId::ChoosePictureFolder, ControlEvent::Clicked,
       [this] { generation_.count_pictures_from_browser(); });
    ui_.on(ControlId::PictureFolder, ControlEvent::FilesDropped,
           [this](const Text& dropped) { generation_.count_pictures_from_drop(dropped); });
    on(ControlId::PerPage, ControlEvent::ContentChanged,
       [this] { generation_.on_per_page_changed(); });
    on(ControlId::PageCount, ControlEvent::ContentChanged,
       [this] { generation_.on_page_count_changed(); });
    on(ControlId::GenerateButton, ControlEvent::Clicked, [this] { click_generate(); });
}

void Application::wire_library() {
    on_library_change(ControlId::NewMainGalleryButton, ControlEvent::Clicked,
                      [this](const Text&) { main_galleries_.begin_create(); });
    on_library_change(ControlId::NewMainGalleryConfirm, ControlEvent::Clicked,
                      [this](const Text&) { main_galleries_.create(); });
    // A pick made meanwhile is taken back: the running generation's main
    // gallery stays the selected one.
    on(ControlId::MainGalleryList, ControlEvent::ItemSelected, [this] {
        if (jobs_.refuses_library_change())
            main_galleries_.show_selected(generation_.running_main_gallery_index());
        else
            main_galleries_.choose();
    });
    on_library_change(ControlId::DeleteSubGalleryButton, ControlEvent::Clicked,
                      [this](const Text&) { deletion_.delete_selected(); });
    on_library_change(ControlId::ChooseCoverButton, ControlEvent::Clicked,
                      [this](const Text&) { logo_cover_.choose_cover(); });
    on_library_change(ControlId::CoverBox, ControlEvent::FilesDropped,
                      [this](const Text& dropped) { logo_cover_.drop_cover(dropped); });
    on_library_change(ControlId::ChooseLogoButton, ControlEvent::Clicked,
                      [this](const Text&) { logo_cover_.choose_logo(); });
    on_library_change(ControlId::LogoBox, ControlEvent::FilesDropped,
                      [this](const Text& dropped) { logo_cover_.drop_logo(dropped); });
}

void Application::wire_options() {
    on(ControlId::RatingList, ControlEvent::ItemSelected, [this] { commands_.apply_rating(); });
    on(ControlId::LanternSwitch, ControlEvent::Clicked,
       [this] { commands_.store_lantern_switch(); });
    on(ControlId::KeepProportions, ControlEvent::Clicked,
       [this] { commands_.store_proportion_switch(); });
    on(ControlId::Thumbnails, ControlEvent::Clicked, [this] {
        commands_.store_thumbnails_switch();
        generation_.recount_pictures();
    });
    on(ControlId::ModeList, ControlEvent::ItemSelected,
       [this] { commands_.apply_management_mode(); });
    on(ControlId::AlwaysOnTop, ControlEvent::Clicked, [this] { commands_.toggle_always_on_top(); });
}

}  // namespace galmora
