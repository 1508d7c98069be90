#include "shell/shell_commands.h"

#include <array>

#include "core/codepage.h"
#include "shell/failure_notices.h"
#include "shell/info_texts.h"

namespace galmora {

using namespace literals;

namespace {

constexpr int kRed = rgb(255, 0, 0);
constexpr int kGrey = rgb(128, 128, 128);

}  // namespace

ShellCommands::ShellCommands(Controls& ui, DesktopServices& desktop, const GalleryConfig& config,
                             Text library_root)
    : ui_(ui), desktop_(desktop), config_(config), library_root_(std::move(library_root)) {}

void ShellCommands::copy_information_panel() {
    const Text panel = ui_.text(ControlId::InformationPanel);
    if (panel.empty()) return;
    if (!desktop_.set_clipboard_text(panel)) return;
    ui_.focus(ControlId::InformationPanel);
    ui_.select_all(ControlId::InformationPanel);
    ui_.set_title("Galmora-已复制代码到剪贴板"_t);
}

void ShellCommands::open_library_root() {
    desktop_.shell_open(library_root_);
}

void ShellCommands::clear_title_link() {
    ui_.set_text(ControlId::SiteTitleLink, {});
}

void ShellCommands::clear_introduction() {
    ui_.set_text(ControlId::SiteIntroduction, {});
}

void ShellCommands::apply_management_mode() {
    const bool local_mode = ui_.selected_index(ControlId::ModeList) == 0;
    ui_.set_enabled(ControlId::SiteAddress, !local_mode);
    ui_.set_text_colour(ControlId::SiteAddressLabel, local_mode ? kGrey : kRed);
}

void ShellCommands::apply_rating() {
    static const std::array<Text, 5> stars = {"★★★★★"_t, "★★★★"_t, "★★★"_t, "★★"_t, "★"_t};
    static const Text high = "高清"_t, standard = "普清"_t;
    const int index = ui_.selected_index(ControlId::RatingList);
    if (index < 0 || index >= static_cast<int>(stars.size())) return;
    rating_ = {stars[index], index <= 1 ? high : standard};
}

void ShellCommands::toggle_always_on_top() {
    ui_.set_always_on_top(ui_.checked(ControlId::AlwaysOnTop));
}

void ShellCommands::store_lantern_switch() {
    store_switch(ControlId::LanternSwitch, "“灯笼开关”的设置"_t,
                 [](GalleryConfig::Edit& edit, bool on) { edit.set_lanterns_on(on); });
}

void ShellCommands::store_proportion_switch() {
    store_switch(ControlId::KeepProportions, "“保证图片比例”的设置"_t,
                 [](GalleryConfig::Edit& edit, bool on) { edit.set_keep_proportions(on); });
}

void ShellCommands::store_thumbnails_switch() {
    store_switch(ControlId::Thumbnails, "“缩略图”的设置"_t,
                 [](GalleryConfig::Edit& edit, bool on) { edit.set_thumbnails_on(on); });
}

template <typename Store>
void ShellCommands::store_switch(ControlId box, const Text& setting, Store&& store) {
    const bool on = ui_.checked(box);
    if (config_.update([&](GalleryConfig::Edit& edit) { store(edit, on); })) return;
    ui_.set_checked(box, !on);
    show_notice(desktop_, setting_not_stored(setting, config_.path(), config_.rewrite_problem()));
}

void ShellCommands::choose_local_mode() {
    ui_.set_selected_index(ControlId::ModeList, 0);
    apply_management_mode();
}

void ShellCommands::tick_options() {
    for (ControlId box :
         {ControlId::OpenFolderAfter, ControlId::LanternSwitch, ControlId::OpenPageAfter,
          ControlId::KeepProportions, ControlId::JpgFormat, ControlId::JpegFormat,
          ControlId::PngFormat, ControlId::BmpFormat, ControlId::GifFormat, ControlId::WebpFormat})
        ui_.set_checked(box, true);
}

void ShellCommands::show_default_site_texts() {
    ui_.set_text(ControlId::SiteTitleLink, "#");
    ui_.set_text(ControlId::SiteIntroduction, default_introduction());
}

// The stored switches override the ticks; nothing else keeps a copy,
// because the main page rebuild and generation read config.ini themselves.
void ShellCommands::restore_switches() {
    const GalleryConfig::Snapshot stored = config_.snapshot();
    ui_.set_checked(ControlId::LanternSwitch, stored.lanterns_on());
    ui_.set_checked(ControlId::KeepProportions, stored.keep_proportions());
    ui_.set_checked(ControlId::Thumbnails, stored.thumbnails_on());
}

}  // namespace galmora
