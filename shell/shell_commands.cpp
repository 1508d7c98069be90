#include "shell/shell_commands.h"

#include <array>

#include "core/codepage.h"
#include "generator/form_colours.h"

namespace galmora {

using namespace literals;

namespace {

constexpr int kRed = rgb(255, 0, 0);
constexpr int kGrey = rgb(128, 128, 128);

}  // namespace

ShellCommands::ShellCommands(Controls& ui, DesktopServices& desktop, GenerationState& state,
                             const GalleryConfig& config, Text library_root)
    : ui_(ui),
      desktop_(desktop),
      state_(state),
      config_(config),
      library_root_(std::move(library_root)) {}

void ShellCommands::reset_field_colours() {
    paint_paging_fields(ui_, kNormalFieldColour);
}

void ShellCommands::copy_information_panel() {
    const Text panel = ui_.text("编辑框3");
    if (panel.empty()) return;
    if (!desktop_.set_clipboard_text(panel)) return;
    ui_.focus("编辑框3");
    ui_.select_all("编辑框3");
    ui_.set_title("Galmora-已复制代码到剪贴板"_t);
}

void ShellCommands::open_library_root() {
    desktop_.shell_open(library_root_);
}

void ShellCommands::clear_title_link() {
    ui_.set_text("网站标题链接", {});
}

void ShellCommands::clear_introduction() {
    ui_.set_text("网站介绍", {});
}

void ShellCommands::apply_management_mode() {
    const bool local_mode = ui_.selected_index("组合框3") == 0;
    ui_.set_enabled("网络地址", !local_mode);
    ui_.set_text_colour("标签11", local_mode ? kGrey : kRed);
}

void ShellCommands::apply_rating() {
    static const std::array<Text, 5> stars = {"★★★★★"_t, "★★★★"_t, "★★★"_t, "★★"_t, "★"_t};
    static const Text high = "高清"_t, standard = "普清"_t;
    const int index = ui_.selected_index("组合框2");
    if (index < 0 || index >= static_cast<int>(stars.size())) return;
    state_.star_string = stars[index];
    state_.quality_label = index <= 1 ? high : standard;
}

void ShellCommands::toggle_always_on_top() {
    ui_.set_always_on_top(ui_.checked("选择框9"));
}

void ShellCommands::store_lantern_switch() {
    const bool on = ui_.checked("灯笼开关");
    config_.update([&](GalleryConfig::Edit& edit) { edit.set_lanterns_on(on); });
}

void ShellCommands::store_proportion_switch() {
    const bool on = ui_.checked("保证图片比例");
    config_.update([&](GalleryConfig::Edit& edit) { edit.set_keep_proportions(on); });
}

}  // namespace galmora
