#pragma once
// The two commands that reach the maker's web server: 检测更新 fetches the
// version page and shows it under the running version, 软件主页 opens the
// maker's site in the browser. Both refuse with a message box when there is
// no network. They run on the window's thread and block it while fetching.

#include <cstddef>
#include <functional>

#include "core/controls.h"
#include "core/desktop.h"
#include "core/text.h"
#include "update/maker_site.h"
#include "update/network.h"

namespace galmora {

// The most of the version page that the information panel shows. A version
// page is a few kilobytes; a longer one is cut, with a line that says so.
inline constexpr std::size_t kShownPageBytes = 64 * 1024;

struct UpdateSettings {
    // Root address of the maker's server, ending in "/".
    Text server{kMakerSite};
    // Connectivity probe and the limits of every request.
    NetworkSettings network;
    // Called after the busy caption is set and before the blocking fetch, so
    // that the window can paint it; the shell processes its pending events.
    std::function<void()> repaint;
    // Called after the fetch while the button is still disabled: the shell
    // delivers the input that arrived during the fetch, so that clicks on the
    // button are dropped instead of starting the check again afterwards.
    std::function<void()> deliver_pending_input;
};

class UpdateChecker {
  public:
    UpdateChecker(Controls& controls, DesktopServices& desktop, UpdateSettings settings = {});

    // Click of 按钮12.
    void check_for_update();
    // Click of 按钮10.
    void open_home_page();

  private:
    void refuse_without_network();
    Text fetch_version_text() const;
    void set_checking(bool checking);

    Controls& controls_;
    DesktopServices& desktop_;
    UpdateSettings settings_;
};

}  // namespace galmora
