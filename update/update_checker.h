#pragma once
// The two commands that reach the maker's web server: 检测更新 fetches the
// version page to show it under the running version, 软件主页 opens the
// maker's site in the browser. Both refuse with a notice when there is no
// network. They know nothing of the window: each returns what the window is
// to show, and the shell shows it. They block the calling thread while they
// fetch.

#include <cstddef>
#include <functional>
#include <optional>

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
};

// What the window shows after one command; each part only when it is set.
struct UpdateOutcome {
    // A message box with OK alone; its answer does not matter.
    std::optional<Text> notice{};
    // Replaces the whole information panel.
    std::optional<Text> panel_text{};
    // Opened in the default browser.
    std::optional<Text> web_page{};
};

class UpdateChecker {
  public:
    explicit UpdateChecker(UpdateSettings settings = {});

    // before_fetch runs once the network has been found and before the first
    // blocking request, so that the caller can show that a check is running.
    // Without network it does not run and the outcome is the notice alone;
    // otherwise the outcome is the panel text alone.
    UpdateOutcome check_for_update(const std::function<void()>& before_fetch = {}) const;
    // The maker's site to open, or the notice alone without network.
    UpdateOutcome open_home_page() const;

  private:
    Text fetch_version_text() const;
    Text version_panel_text() const;

    UpdateSettings settings_;
};

}  // namespace galmora
