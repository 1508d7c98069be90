#pragma once
// The two commands that reach the maker's web server: 检测更新 fetches the
// version page and shows it under the running version, 软件主页 opens the
// maker's site in the browser. Both refuse with a message box when there is
// no network. They run on the window's thread and block it while fetching.

#include <functional>

#include "core/controls.h"
#include "core/desktop.h"
#include "core/text.h"
#include "update/maker_site.h"
#include "update/network.h"

namespace galmora {

struct UpdateSettings {
    // Root address of the maker's server, ending in "/".
    Text server{kMakerSite};
    // Connectivity probe and the limits of every request.
    NetworkSettings network;
    // Called after the busy caption is set and before the blocking fetch, so
    // that the window can paint it; the shell processes its pending events.
    std::function<void()> repaint;
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
