#include "update/update_checker.h"

#include <utility>

#include "core/codepage.h"

namespace galmora {

namespace {

using namespace galmora::literals;

constexpr ControlId kCheckButton = ControlId::CheckUpdateButton;
constexpr ControlId kInformationPanel = ControlId::InformationPanel;
constexpr std::string_view kMarker = "Tovenic";

// The length of the longest start of text that is at most limit bytes and
// ends on a character boundary (GB18030: one, two or four bytes).
std::size_t character_boundary_before(const Text& text, std::size_t limit) {
    std::size_t at = 0;
    while (at < text.size()) {
        const auto lead = static_cast<unsigned char>(text[at]);
        std::size_t width = 1;
        if (lead >= 0x81 && lead <= 0xFE && at + 1 < text.size())
            width = (text[at + 1] >= '0' && text[at + 1] <= '9') ? 4 : 2;
        if (at + width > limit) break;
        at += width;
    }
    return at;
}

// The page as the panel shows it: a very long one is cut, and says so.
Text shown_page(const Text& page) {
    static const Text head = "\r\n\r\n（版本页面过长：共 "_t;
    static const Text middle = " 字节，只显示了前 "_t;
    static const Text tail = " 字节）"_t;
    if (page.size() <= kShownPageBytes) return page;
    const std::size_t kept = character_boundary_before(page, kShownPageBytes);
    return concat_text({std::string_view(page).substr(0, kept), head, to_text(int(page.size())),
                        middle, to_text(int(kept)), tail});
}

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
        controls_.set_text(kInformationPanel,
                           concat_text({version_line, shown_page(fetch_version_text())}));
    }
    if (settings_.deliver_pending_input) settings_.deliver_pending_input();
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
