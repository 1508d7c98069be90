#pragma once
// Desktop services for tests: answers dialogs from a script and records what
// was shown, copied and opened.

#include <deque>
#include <string>
#include <vector>

#include "shell/desktop.h"

namespace galmora::testing {

class ScriptedDesktop : public DesktopServices {
  public:
    struct MessageBoxCall {
        Text message;
        int button_set;
        Text caption;
        // The one-button box of show_notice.
        bool is_notice() const;
    };

    bool set_clipboard_text(const Text& text) override;
    int message_box(const Text& message, int button_set, const Text& caption) override;
    Text choose_folder(const Text& title) override;
    Text choose_open_file() override;
    void shell_open(const Text& path) override;
    void open_web_page(const Text& address) override;

    // Answers, consumed in order; when a queue is empty a message box answers
    // Cancel and a dialog is cancelled. A box with OK alone answers OK.
    std::deque<int> message_box_answers;
    std::deque<Text> folder_answers;
    std::deque<Text> file_answers;
    bool clipboard_works = true;

    std::vector<MessageBoxCall> message_boxes;
    std::vector<Text> folder_dialog_titles;
    int file_dialogs = 0;
    Text clipboard;
    // Every shell_open and open_web_page in order, prefixed "open:" or "web:".
    std::vector<Text> opened;
};

}  // namespace galmora::testing
