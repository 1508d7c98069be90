#pragma once
// The desktop services: dialogs, clipboard and the system shell. One
// interface, realised with Qt by the shell and by a scripted stand-in in the
// tests.

#include "core/text.h"

namespace galmora {

// Button sets and result codes of message_box.
enum MessageButtons : int {
    kOk = 0,
    kOkCancel = 1,
    kAbortRetryIgnore = 2,
    kYesNoCancel = 3,
    kYesNo = 4,
    kRetryCancel = 5
};
enum MessageResult : int {
    kResultOk = 0,
    kResultCancel = 1,
    kResultAbort = 2,
    kResultRetry = 3,
    kResultIgnore = 4,
    kResultYes = 5,
    kResultNo = 6
};

class DesktopServices {
  public:
    virtual ~DesktopServices() = default;

    virtual bool set_clipboard_text(const Text& text) = 0;
    // Modal over the main window, no icon; returns a MessageResult.
    virtual int message_box(const Text& message, int button_set, const Text& caption) = 0;
    // The chosen folder without a trailing "/", or empty when cancelled.
    virtual Text choose_folder(const Text& title) = 0;
    // The chosen file, or empty when cancelled. The filter is the window's
    // picture filter.
    virtual Text choose_open_file() = 0;
    virtual void shell_open(const Text& path) = 0;
    virtual void open_web_page(const Text& address) = 0;
};

// A question: buttons OK and Cancel under the caption "确认信息:". Returns
// the MessageResult.
int ask_to_confirm(DesktopServices& desktop, const Text& message);
// A notice that refuses something or reports a failure: nothing to decide, so
// one button, OK, under the caption "信息：".
void show_notice(DesktopServices& desktop, const Text& message);

}  // namespace galmora
