#include "update/update_checker.h"

#include <utility>

#include "core/codepage.h"

namespace galmora {

namespace {

using namespace galmora::literals;

constexpr std::string_view kCheckButton = "按钮12";
constexpr std::string_view kInformationPanel = "编辑框3";
constexpr std::string_view kMarker = "Tovenic";

}  // namespace

UpdateChecker::UpdateChecker(Controls& controls, DesktopServices& desktop, UpdateSettings settings)
    : controls_(controls), desktop_(desktop), settings_(std::move(settings)) {}

void UpdateChecker::check_for_update() {
    static const Text version_line = "当前版本为：1.0\r\n"_t;
    static const Text no_answer = "暂时无法连接服务器，请过段时间再试"_t;
    if (!is_network_connected(settings_.network)) {
        refuse_without_network();
        return;
    }
    set_checking(true);
    if (settings_.repaint) settings_.repaint();
    // The first answer only decides whether the server is there; the
    // second is the one shown.
    if (find_text(fetch_version_text(), kMarker) == -1) {
        controls_.set_text(kInformationPanel, no_answer);
    } else {
        controls_.set_text(kInformationPanel, concat_text({version_line, fetch_version_text()}));
    }
    set_checking(false);
}

void UpdateChecker::open_home_page() {
    if (is_network_connected(settings_.network)) {
        desktop_.open_web_page(settings_.server);
        return;
    }
    refuse_without_network();
}

void UpdateChecker::refuse_without_network() {
    static const Text message = "未检测到网络，无法检测更新"_t;
    show_notice(desktop_, message);
}

Text UpdateChecker::fetch_version_text() const {
    const Text url = concat_text({settings_.server, kVersionPagePath});
    const Bytes body = http_get(url, settings_.network.limits);
    return to_text(ByteView(body));
}

void UpdateChecker::set_checking(bool checking) {
    static const Text busy = "检测中..."_t;
    static const Text idle = "检测更新"_t;
    if (checking) controls_.set_enabled(kCheckButton, false);
    controls_.set_text(kCheckButton, checking ? busy : idle);
    if (!checking) controls_.set_enabled(kCheckButton, true);
}

}  // namespace galmora
