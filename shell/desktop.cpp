#include "shell/desktop.h"

#include "core/codepage.h"

namespace galmora {

int ask_to_confirm(DesktopServices& desktop, const Text& message) {
    using namespace literals;
    static const Text caption = "确认信息:"_t;
    return desktop.message_box(message, kOkCancel, caption);
}

void show_notice(DesktopServices& desktop, const Text& message) {
    using namespace literals;
    static const Text caption = "信息："_t;
    desktop.message_box(message, kOk, caption);
}

}  // namespace galmora
