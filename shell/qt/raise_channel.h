#pragma once
// How a later start on a library reaches the start that holds it: a local
// socket in the user's runtime folder, named after the library folder. Asked
// through it, the holder raises its window and answers.

#include <QLocalServer>
#include <QString>
#include <chrono>

#include "core/folder_lock.h"
#include "shell/library_claim.h"

class QLocalSocket;
class QWidget;

namespace galmora {

// The socket's path: the runtime folder and a digest of the library folder's
// canonical path, so every path to the folder names the same socket.
QString raise_channel_path(const Text& library_root);

// Asks the start that holds library_root to raise its window: true when it
// answered within wait, false at once when nothing listens.
bool ask_to_raise(const Text& library_root,
                  std::chrono::milliseconds wait = std::chrono::seconds(3));

// Answers those requests for as long as it lives, but only for the start
// that holds the library (lock taken): the holder alone may replace a socket
// that a killed start left behind.
class RaiseOnRequest {
  public:
    RaiseOnRequest(QWidget& window, const Text& library_root, const FolderLock& lock);
    bool listening() const { return server_.isListening(); }

  private:
    void accept();
    void answer(QLocalSocket& socket);

    QWidget& window_;
    QLocalServer server_;
};

// claim_library at the program's start, before its window exists: asks
// through the channel, and a notice is a message box of its own.
LibraryClaim claim_library(const FolderLock& lock, const Text& library_root);

}  // namespace galmora
