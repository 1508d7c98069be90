#pragma once
// The desktop services realised with Qt: message boxes and file dialogs
// owned by the main window, the clipboard and the desktop's default
// handlers for folders, files and web addresses.

#include <QString>
#include <QUrl>

#include "shell/desktop.h"

class QWidget;

namespace galmora {

// What shell_open and open_web_page hand to the desktop: an address with a
// scheme ("http://...") as it is, anything else as a local path (relative
// to the current directory) turned into a file URL.
QUrl desktop_url(const QString& address);

class QtDesktopServices : public DesktopServices {
  public:
    // owner: the window the dialogs are modal over.
    explicit QtDesktopServices(QWidget* owner) : owner_(owner) {}

    bool set_clipboard_text(const Text& text) override;
    int message_box(const Text& message, int button_set, const Text& caption) override;
    Text choose_folder(const Text& title) override;
    Text choose_open_file() override;
    void shell_open(const Text& path) override;
    void open_web_page(const Text& address) override;

  private:
    QWidget* owner_;
};

}  // namespace galmora
