#pragma once
// An in-memory main window for tests: built from the window definition, it
// follows the same rules as ShellWindow (content-changed on programmatic
// sets, list clamping) and lets a test act as the user.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "shell/controls.h"
#include "shell/window_layout.h"
#include "tests/support/control_printing.h"

namespace galmora::testing {

class FakeControls : public Controls {
  public:
    FakeControls();

    Text text(ControlId control) const override;
    void set_text(ControlId control, const Text& text) override;
    bool checked(ControlId control) const override;
    void set_checked(ControlId control, bool checked) override;
    int selected_index(ControlId control) const override;
    void set_selected_index(ControlId control, int index) override;
    Text item_text(ControlId control, int index) const override;
    void append_item(ControlId control, const Text& text) override;
    void clear_items(ControlId control) override;
    int item_count(ControlId control) const override;
    bool visible(ControlId control) const override;
    void set_visible(ControlId control, bool visible) override;
    bool enabled(ControlId control) const override;
    void set_enabled(ControlId control, bool enabled) override;
    int text_colour(ControlId control) const override;
    void set_text_colour(ControlId control, int colour) override;
    int background_colour(ControlId control) const override;
    void set_background_colour(ControlId control, int colour) override;
    void focus(ControlId control) override;
    void select_all(ControlId control) override;
    Text title() const override { return title_; }
    void set_title(const Text& title) override { title_ = title; }
    bool always_on_top() const override { return always_on_top_; }
    void set_always_on_top(bool on) override { always_on_top_ = on; }
    void set_busy(bool busy) override;
    void on(ControlId control, ControlEvent event, Handler handler) override;

    // Acting as the user. type() obeys read-only, integer input and the
    // byte-counted maximum length, and raises content-changed. Hidden and
    // disabled controls cannot be clicked.
    void click(ControlId control);
    bool type(ControlId control, const Text& text);
    void pick(ControlId control, int index);
    void drop(ControlId control, const Text& dropped);

    std::optional<ControlId> focused() const { return focused_; }
    std::optional<ControlId> selected_all() const { return selected_all_; }
    // How often set_busy(true) was called, and whether busy now.
    int busy_count() const { return busy_count_; }
    bool busy() const { return busy_; }

  private:
    struct State {
        const ControlDefinition* definition = nullptr;
        Text text;
        std::vector<Text> items;
        int selected = -1;
        bool checked = false, visible = true, enabled = true;
        int text_colour = 0, background_colour = -1;
        std::multimap<ControlEvent, Handler> handlers;
    };
    State& state(ControlId control);
    const State& state(ControlId control) const;
    void raise(State& s, ControlEvent event, const Text& argument = {});

    std::map<ControlId, State> controls_;
    Text title_;
    bool always_on_top_ = false;
    bool busy_ = false;
    int busy_count_ = 0;
    std::optional<ControlId> focused_, selected_all_;
};

}  // namespace galmora::testing
