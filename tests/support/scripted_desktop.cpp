#include "tests/support/scripted_desktop.h"

#include "core/codepage.h"

namespace galmora::testing {

namespace {

template <typename T>
T take(std::deque<T>& queue, T fallback) {
    if (queue.empty()) return fallback;
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}

}  // namespace

bool ScriptedDesktop::MessageBoxCall::is_notice() const {
    using namespace literals;
    return button_set == kOk && caption == "信息："_t;
}

bool ScriptedDesktop::set_clipboard_text(const Text& text) {
    if (!clipboard_works) return false;
    clipboard = text;
    return true;
}

int ScriptedDesktop::message_box(const Text& message, int button_set, const Text& caption) {
    message_boxes.push_back({message, button_set, caption});
    // A box with OK alone can answer nothing else and takes no scripted answer.
    if (button_set == kOk) return kResultOk;
    return take(message_box_answers, int(kResultCancel));
}

Text ScriptedDesktop::choose_folder(const Text& title) {
    folder_dialog_titles.push_back(title);
    return take(folder_answers, Text());
}

Text ScriptedDesktop::choose_open_file() {
    ++file_dialogs;
    return take(file_answers, Text());
}

void ScriptedDesktop::shell_open(const Text& path) {
    opened.push_back("open:" + path);
}

void ScriptedDesktop::open_web_page(const Text& address) {
    opened.push_back("web:" + address);
}

}  // namespace galmora::testing
