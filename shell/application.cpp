#include "shell/application.h"

#include "core/codepage.h"
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
                         UpdateSettings update_settings, UpdateWindowHooks update_hooks)
    : ui_(ui),
      desktop_(desktop),
      library_root_(std::move(library_root)),
      config_(library_root_ + "/config.ini"),
      context_{ui_, desktop_, state_, config_, library_root_},
      sub_galleries_(context_),
      main_galleries_(context_, sub_galleries_),
      deletion_(context_, sub_galleries_),
      logo_cover_(context_),
      recorder_(context_, sub_galleries_, logo_cover_),
      scanner_(ui_, desktop_, state_),
      generator_(ui_, desktop_, state_, library_root_),
      updater_(ui_, desktop_, std::move(update_settings), std::move(update_hooks)),
      commands_(ui_, desktop_, state_, config_, library_root_) {}

void Application::start_up() {
    seed_random();
    wire_commands();
    wire_generation();
    wire_library();
    wire_options();
    ui_.set_selected_index("组合框1", 0);
    const Text name_suffix = random_suffix();
    state_.sub_gallery_name = name_suffix;
    ui_.set_text("图库名称", "图库"_t + name_suffix);
    state_.cover_suffix = random_suffix();
    state_.logo_suffix = random_suffix();
    // A write killed before it finished leaves its temporary file beside
    // config.ini; the file itself is whole, the old one or the new one.
    config_.remove_abandoned_writes();
    config_.ensure_file();
    main_galleries_.restore_main_gallery();
    ui_.set_selected_index("组合框3", 0);
    commands_.apply_management_mode();
    for (const char* box : {"选择框1", "灯笼开关", "选择框3", "保证图片比例", "选择框5", "选择框6",
                            "选择框7", "选择框8", "选择框10", "选择框11"})
        ui_.set_checked(box, true);
    state_.in_page_counter = 1;
    logo_cover_.show_default_captions();
    ui_.set_visible("新建主图库名称", false);
    ui_.set_visible("新建主图库按钮", false);
    ui_.set_visible("标签3", true);
    const Text main_gallery = selected_text(ui_, "组合框1");
    ui_.set_text("网站标题", main_gallery);
    ui_.set_text("网站标题链接", "#");
    ui_.set_text("网站介绍", default_introduction());
    ui_.set_text("编辑框3", startup_information(main_gallery, name_suffix, maker_site()));
    commands_.apply_rating();
    apply_stored_switches();
}

void Application::apply_stored_switches() {
    // The stored switches override the ticks; nothing else keeps a copy,
    // because the main page rebuild and generation read config.ini themselves.
    const GalleryConfig::Snapshot stored = config_.snapshot();
    ui_.set_checked("灯笼开关", stored.lanterns_on());
    ui_.set_checked("保证图片比例", stored.keep_proportions());
}

void Application::show_help() {
    ui_.set_text("编辑框3", help_text(maker_site()));
}

void Application::on(std::string_view control, ControlEvent event,
                     std::function<void()> operation) {
    ui_.on(control, event, [operation = std::move(operation)](const Text&) { operation(); });
}

void Application::wire_commands() {
    on("复制", ControlEvent::Clicked, [this] { commands_.copy_information_panel(); });
    on("按钮10", ControlEvent::Clicked, [this] { updater_.open_home_page(); });
    on("按钮12", ControlEvent::Clicked, [this] { updater_.check_for_update(); });
    on("按钮13", ControlEvent::Clicked, [this] { show_help(); });
    on("按钮6", ControlEvent::Clicked, [this] { commands_.open_library_root(); });
    on("按钮15", ControlEvent::Clicked, [this] { commands_.clear_title_link(); });
    on("按钮14", ControlEvent::Clicked, [this] { commands_.clear_introduction(); });
}

void Application::wire_generation() {
    on("浏览目录", ControlEvent::ContentChanged, [this] { commands_.reset_field_colours(); });
    on("按钮8", ControlEvent::Clicked, [this] { scanner_.count_pictures_from_browser(); });
    ui_.on("浏览目录", ControlEvent::FilesDropped,
           [this](const Text& dropped) { scanner_.count_pictures_from_drop(dropped); });
    on("单页数量", ControlEvent::ContentChanged, [this] { generator_.on_per_page_changed(); });
    on("页总数", ControlEvent::ContentChanged, [this] { generator_.on_page_count_changed(); });
    on("生成图片库", ControlEvent::Clicked, [this] {
        if (generator_.generate_gallery(config_.snapshot().keep_proportions()))
            recorder_.record_generation();
    });
}

void Application::wire_library() {
    on("新建主图库", ControlEvent::Clicked,
       [this] { main_galleries_.begin_create_main_gallery(); });
    on("新建主图库按钮", ControlEvent::Clicked, [this] { main_galleries_.create_main_gallery(); });
    on("组合框1", ControlEvent::ItemSelected, [this] { main_galleries_.choose_main_gallery(); });
    on("清除子图库", ControlEvent::Clicked, [this] { deletion_.delete_sub_gallery(); });
    on("按钮7", ControlEvent::Clicked, [this] { logo_cover_.choose_cover(); });
    ui_.on("浏览目录1", ControlEvent::FilesDropped,
           [this](const Text& dropped) { logo_cover_.drop_cover(dropped); });
    on("按钮20", ControlEvent::Clicked, [this] { logo_cover_.choose_logo(); });
    ui_.on("浏览目录3", ControlEvent::FilesDropped,
           [this](const Text& dropped) { logo_cover_.drop_logo(dropped); });
}

void Application::wire_options() {
    on("组合框2", ControlEvent::ItemSelected, [this] { commands_.apply_rating(); });
    on("灯笼开关", ControlEvent::Clicked, [this] { commands_.store_lantern_switch(); });
    on("保证图片比例", ControlEvent::Clicked, [this] { commands_.store_proportion_switch(); });
    on("组合框3", ControlEvent::ItemSelected, [this] { commands_.apply_management_mode(); });
    on("选择框9", ControlEvent::Clicked, [this] { commands_.toggle_always_on_top(); });
}

}  // namespace galmora
