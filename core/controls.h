#pragma once
// How operations reach the main window: every control is addressed by its
// name (the UTF-8 text of the window definition, e.g. "组合框1"); every text
// passed in or out is a local-code-page Text.
//
// Rule shared by every implementation: setting the text of a single-line
// edit box raises its content-changed event before set_text returns, exactly
// as typing does (also when the text does not change).

#include <functional>
#include <string_view>

#include "core/text.h"

namespace galmora {

enum class ControlEvent { Clicked, ContentChanged, ItemSelected, FilesDropped };

class Controls {
  public:
    using Handler = std::function<void(const Text& argument)>;
    virtual ~Controls() = default;

    // Edit boxes, labels, buttons, check boxes.
    virtual Text text(std::string_view name) const = 0;
    virtual void set_text(std::string_view name, const Text& text) = 0;

    virtual bool checked(std::string_view name) const = 0;
    virtual void set_checked(std::string_view name, bool checked) = 0;

    // Drop-down lists. set_selected_index clamps to [-1, count - 1];
    // item_text out of range is the empty text.
    virtual int selected_index(std::string_view name) const = 0;
    virtual void set_selected_index(std::string_view name, int index) = 0;
    virtual Text item_text(std::string_view name, int index) const = 0;
    virtual void append_item(std::string_view name, const Text& text) = 0;
    virtual void clear_items(std::string_view name) = 0;
    virtual int item_count(std::string_view name) const = 0;

    virtual bool visible(std::string_view name) const = 0;
    virtual void set_visible(std::string_view name, bool visible) = 0;
    virtual bool enabled(std::string_view name) const = 0;
    virtual void set_enabled(std::string_view name, bool enabled) = 0;

    // Colours are rgb() values.
    virtual int text_colour(std::string_view name) const = 0;
    virtual void set_text_colour(std::string_view name, int colour) = 0;
    virtual int background_colour(std::string_view name) const = 0;
    virtual void set_background_colour(std::string_view name, int colour) = 0;

    virtual void focus(std::string_view name) = 0;
    virtual void select_all(std::string_view name) = 0;

    virtual Text title() const = 0;
    virtual void set_title(const Text& title) = 0;
    virtual bool always_on_top() const = 0;
    virtual void set_always_on_top(bool on) = 0;
    // A busy cursor while a long operation blocks the window.
    virtual void set_busy(bool busy) = 0;

    // Runs handler for every later event of that control; the argument is
    // the dropped text for FilesDropped and empty otherwise.
    virtual void on(std::string_view name, ControlEvent event, Handler handler) = 0;
};

// Text of the selected item of a drop-down list.
inline Text selected_text(const Controls& controls, std::string_view list) {
    return controls.item_text(list, controls.selected_index(list));
}

}  // namespace galmora
