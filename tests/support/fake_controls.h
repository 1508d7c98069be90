#pragma once
// An in-memory main window for tests: built from the window definition, it
// follows the same rules as ShellWindow (content-changed on programmatic
// sets, list clamping) and lets a test act as the user.

#include <map>
#include <string>
#include <vector>

#include "core/controls.h"
#include "shell/window_layout.h"

namespace galmora::testing {

class FakeControls : public Controls {
public:
    FakeControls();

    Text text(std::string_view name) const override;
    void set_text(std::string_view name, const Text& text) override;
    bool checked(std::string_view name) const override;
    void set_checked(std::string_view name, bool checked) override;
    int selected_index(std::string_view name) const override;
    void set_selected_index(std::string_view name, int index) override;
    Text item_text(std::string_view name, int index) const override;
    void append_item(std::string_view name, const Text& text) override;
    void clear_items(std::string_view name) override;
    int item_count(std::string_view name) const override;
    bool visible(std::string_view name) const override;
    void set_visible(std::string_view name, bool visible) override;
    bool enabled(std::string_view name) const override;
    void set_enabled(std::string_view name, bool enabled) override;
    int text_colour(std::string_view name) const override;
    void set_text_colour(std::string_view name, int colour) override;
    int background_colour(std::string_view name) const override;
    void set_background_colour(std::string_view name, int colour) override;
    void focus(std::string_view name) override;
    void select_all(std::string_view name) override;
    Text title() const override { return title_; }
    void set_title(const Text& title) override { title_ = title; }
    bool always_on_top() const override { return always_on_top_; }
    void set_always_on_top(bool on) override { always_on_top_ = on; }
    void set_busy(bool busy) override;
    void on(std::string_view name, ControlEvent event, Handler handler) override;

    // Acting as the user. type() obeys read-only, integer input and the
    // byte-counted maximum length, and raises content-changed. Hidden and
    // disabled controls cannot be clicked.
    void click(std::string_view name);
    bool type(std::string_view name, const Text& text);
    void pick(std::string_view name, int index);
    void drop(std::string_view name, const Text& dropped);

    std::string focused() const { return focused_; }
    std::string selected_all() const { return selected_all_; }
    // How often set_busy(true) was called, and whether busy now.
    int busy_count() const { return busy_count_; }
    bool busy() const { return busy_; }

private:
    struct State {
        const ControlSpec* spec = nullptr;
        Text text;
        std::vector<Text> items;
        int selected = -1;
        bool checked = false, visible = true, enabled = true;
        int text_colour = 0, background_colour = -1;
        std::multimap<ControlEvent, Handler> handlers;
    };
    State& state(std::string_view name);
    const State& state(std::string_view name) const;
    void raise(State& s, ControlEvent event, const Text& argument = {});

    std::map<std::string, State, std::less<>> controls_;
    Text title_;
    bool always_on_top_ = false;
    bool busy_ = false;
    int busy_count_ = 0;
    std::string focused_, selected_all_;
};

}  // namespace galmora::testing
