#include "shell/update_controller.h"

#include <utility>

#include "core/codepage.h"

namespace galmora {

using namespace galmora::literals;

UpdateController::UpdateController(Controls& controls, DesktopServices& desktop,
                                   UpdateSettings settings, UpdateWindowHooks hooks)
    : controls_(controls),
      desktop_(desktop),
      checker_(std::move(settings)),
      hooks_(std::move(hooks)) {}

void UpdateController::check_for_update() {
    bool checking = false;
    const UpdateOutcome outcome = checker_.check_for_update([&] {
        checking = true;
        set_checking(true);
        if (hooks_.repaint) hooks_.repaint();
    });
    show(outcome);
    if (!checking) return;
    if (hooks_.deliver_pending_input) hooks_.deliver_pending_input();
    set_checking(false);
}

void UpdateController::open_home_page() {
    show(checker_.open_home_page());
}

void UpdateController::show(const UpdateOutcome& outcome) {
    if (outcome.notice) show_notice(desktop_, *outcome.notice);
    if (outcome.panel_text) controls_.set_text(ControlId::InformationPanel, *outcome.panel_text);
    if (outcome.web_page) desktop_.open_web_page(*outcome.web_page);
}

void UpdateController::set_checking(bool checking) {
    static const Text busy = "检测中..."_t;
    static const Text idle = "检测更新"_t;
    if (checking) controls_.set_enabled(ControlId::CheckUpdateButton, false);
    controls_.set_text(ControlId::CheckUpdateButton, checking ? busy : idle);
    if (!checking) controls_.set_enabled(ControlId::CheckUpdateButton, true);
}

}  // namespace galmora
