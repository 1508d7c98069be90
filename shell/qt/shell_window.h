#pragma once
// The main window: one fixed-size top-level window holding every control of
// the window definition (shell/window_layout.h) as a widget whose object
// name is the control's name. It is the Controls through which every
// operation reads and writes the window, and it owns the desktop services
// whose dialogs it parents.
//
// Use: construct it after QApplication, hand controls() and desktop() to
// start-up and the wiring, then show() it.

#include <QWidget>
#include <map>
#include <memory>
#include <string>

#include "shell/controls.h"
#include "shell/qt/gradual_text_fill.h"
#include "shell/qt/qt_desktop_services.h"
#include "shell/window_layout.h"

namespace galmora {

class ShellWindow : public QWidget, public Controls {
    Q_OBJECT
  public:
    // The client area. With the usual fixed frame of 3 pixels on each side
    // and a 26-pixel title bar the outer size is the window definition's
    // 777 x 692; the control grid needs 764 x 650 of it (an 8-pixel margin
    // right and below, as on the left).
    static constexpr int kClientWidth = kWindowWidth - 2 * 3;
    static constexpr int kClientHeight = kWindowHeight - 26 - 3;

    explicit ShellWindow(QWidget* parent = nullptr);
    ~ShellWindow() override;

    Controls& controls() { return *this; }
    DesktopServices& desktop() { return desktop_; }

    Text text(ControlId control) const override;
    void set_text(ControlId control, const Text& text) override;
    void move_text_into(ControlId control, Text text) override;
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
    Text title() const override;
    void set_title(const Text& title) override;
    bool always_on_top() const override;
    void set_always_on_top(bool on) override;
    void set_busy(bool busy) override;
    void on(ControlId control, ControlEvent event, Handler handler) override;

  private:
    struct Control {
        const ControlDefinition* definition = nullptr;
        QWidget* widget = nullptr;
        int text_colour = 0;
        int background_colour = -1;
        // The last text the program gave a multi-line box, returned as long
        // as the user has not edited it (Qt keeps no "\r\n" line ends),
        // shared with the box's gradual fill.
        std::shared_ptr<const Text> program_text;
        GradualTextFill* fill = nullptr;  // multi-line boxes only
        std::multimap<ControlEvent, Handler> handlers;
    };

    void create_controls();
    void connect_events(Control& control);
    // A multi-line box's text: kept for reading back, shown by its fill.
    void fill_box(Control& control, std::shared_ptr<const Text> text);
    void centre_on_screen();
    Control* find(ControlId control);
    const Control* find(ControlId control) const;
    void raise(Control& control, ControlEvent event, const Text& argument = {});

    std::map<ControlId, Control> controls_;
    QtDesktopServices desktop_;
    bool busy_ = false;
};

}  // namespace galmora
