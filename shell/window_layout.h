#pragma once
// The main window's definition as data: every control with its identifier,
// name, kind, geometry, caption and settings. ShellWindow builds its widgets from this
// table and the tests' in-memory window builds its state from it, so both
// start out identical.

#include <span>
#include <string_view>

#include "shell/controls.h"

namespace galmora {

enum class ControlKind { Button, Label, LineEdit, MultiLineEdit, ComboBox, CheckBox };

struct ControlDefinition {
    ControlId id;
    std::string_view name;  // UTF-8, e.g. "组合框1": the widget's object name
    ControlKind kind;
    int left, top, width, height;
    // Caption or initial text (UTF-8); for a ComboBox its items separated by '\n'.
    std::string_view caption = {};
    std::string_view tooltip = {};  // UTF-8; none when empty
    int font_pixels = 16;
    int text_colour = 0;         // rgb()
    int background_colour = -1;  // rgb(), -1 for the window's own
    int max_length = 0;          // local-code-page bytes, 0 for none
    bool read_only = false;
    bool integer_input = false;
    bool centred = false;
    bool visible = true;
    bool enabled = true;
    bool checked = false;
    bool drop_target = false;
};

std::span<const ControlDefinition> window_layout();
const ControlDefinition* find_control(ControlId id);

inline constexpr std::string_view kWindowTitle = "Galmora - 带 [星] 号为必填项目";
inline constexpr int kWindowWidth = 777;
inline constexpr int kWindowHeight = 692;

}  // namespace galmora
