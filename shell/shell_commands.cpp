#include "shell/shell_commands.h"

#include <array>

#include "core/codepage.h"

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
    const bool on = ui_.checked(ControlId::LanternSwitch);
    config_.update([&](GalleryConfig::Edit& edit) { edit.set_lanterns_on(on); });
}

void ShellCommands::store_proportion_switch() {
    const bool on = ui_.checked(ControlId::KeepProportions);
    config_.update([&](GalleryConfig::Edit& edit) { edit.set_keep_proportions(on); });
}

}  // namespace galmora
