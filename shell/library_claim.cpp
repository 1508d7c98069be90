#include "shell/library_claim.h"

#include "core/codepage.h"

namespace galmora {

using namespace literals;

LibraryClaim claim_library(FolderLock::Outcome lock, const std::function<bool()>& ask_to_raise,
                           DesktopServices& desktop) {
    if (lock != FolderLock::Outcome::HeldByAnother) return LibraryClaim::Open;
    if (ask_to_raise()) return LibraryClaim::RaisedTheOther;
    show_notice(desktop, library_in_use_notice());
    return LibraryClaim::Refused;
}

Text library_in_use_notice() {
    return "Galmora 已经在这个图库文件夹中运行，但它的窗口暂时没有响应。\r\n"
           "一个图库文件夹同时只能由一个 Galmora 窗口使用：请切换到已打开的窗口，"
           "或等它关闭后再启动。"_t;
}

}  // namespace galmora
