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
#include <string>

#include "core/controls.h"
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
    Text title() const override;
    void set_title(const Text& title) override;
    bool always_on_top() const override;
    void set_always_on_top(bool on) override;
    void set_busy(bool busy) override;
    void on(std::string_view name, ControlEvent event, Handler handler) override;

  private:
    struct Control {
        const ControlDefinition* definition = nullptr;
        QWidget* widget = nullptr;
        int text_colour = 0;
        int background_colour = -1;
        // The last text the program gave a multi-line box, returned as long
        // as the user has not edited it (Qt keeps no "\r\n" line ends).
        Text program_text;
        GradualTextFill* fill = nullptr;  // multi-line boxes only
        std::multimap<ControlEvent, Handler> handlers;
    };

    void create_controls();
    void connect_events(Control& control);
    void centre_on_screen();
    Control* find(std::string_view name);
    const Control* find(std::string_view name) const;
    void raise(Control& control, ControlEvent event, const Text& argument = {});

    std::map<std::string, Control, std::less<>> controls_;
    QtDesktopServices desktop_;
    bool busy_ = false;
};

}  // namespace galmora
