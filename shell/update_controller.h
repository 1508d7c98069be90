#pragma once
// The window's side of 检测更新 and 软件主页: runs the update commands and
// shows what they return. While a check fetches, 检测更新 is disabled and
// reads "检测中...", and the window is given the chance to paint that before
// the fetch blocks it.

#include <functional>

#include "shell/controls.h"
#include "shell/desktop.h"
#include "update/update_checker.h"

namespace galmora {

// The window's part in a check that blocks its thread.
struct UpdateWindowHooks {
    // Called after the busy caption is set and before the blocking fetch, so
    // that the window can paint it; the shell processes its pending events.
    std::function<void()> repaint;
    // Called after the fetch while the button is still disabled: the shell
    // delivers the input that arrived during the fetch, so that clicks on the
    // button are dropped instead of starting the check again afterwards.
    std::function<void()> deliver_pending_input;
};

class UpdateController {
  public:
    UpdateController(Controls& controls, DesktopServices& desktop, UpdateSettings settings = {},
                     UpdateWindowHooks hooks = {});

    // Click of 按钮12.
    void check_for_update();
    // Click of 按钮10.
    void open_home_page();

  private:
    void show(const UpdateOutcome& outcome);
    void set_checking(bool checking);

    Controls& controls_;
    DesktopServices& desktop_;
    UpdateChecker checker_;
    UpdateWindowHooks hooks_;
};

}  // namespace galmora
