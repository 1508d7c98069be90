#include "shell/qt/raise_channel.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QWidget>

#include "shell/qt/qt_desktop_services.h"
#include "shell/qt/qt_text.h"

namespace galmora {

namespace {

constexpr char kRequest[] = "raise\n";
constexpr char kAnswer[] = "raised\n";

QString canonical_path(const Text& folder) {
    const QFileInfo info(to_qstring(folder));
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

void bring_to_front(QWidget& window) {
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace

QString raise_channel_path(const Text& library_root) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    const QByteArray digest =
        QCryptographicHash::hash(canonical_path(library_root).toUtf8(), QCryptographicHash::Sha256);
    return folder + "/galmora-" + QString::fromLatin1(digest.toHex().left(32));
}

bool ask_to_raise(const Text& library_root, std::chrono::milliseconds wait) {
    const QDeadlineTimer deadline(wait);
    QLocalSocket socket;
    socket.connectToServer(raise_channel_path(library_root));
    if (!socket.waitForConnected(int(deadline.remainingTime()))) return false;
    socket.write(kRequest);
    socket.flush();
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(int(deadline.remainingTime()))) return false;
    return socket.readLine() == kAnswer;
}

RaiseOnRequest::RaiseOnRequest(QWidget& window, const Text& library_root, const FolderLock& lock)
    : window_(window) {
    if (lock.outcome() != FolderLock::Outcome::Taken) return;
    const QString path = raise_channel_path(library_root);
    QLocalServer::removeServer(path);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_.listen(path)) return;
    QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this] { accept(); });
}

void RaiseOnRequest::accept() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QLocalSocket::readyRead, socket,
                         [this, socket] { answer(*socket); });
    }
}

void RaiseOnRequest::answer(QLocalSocket& socket) {
    if (!socket.canReadLine()) return;
    if (socket.readLine() == kRequest) {
        bring_to_front(window_);
        socket.write(kAnswer);
    }
    socket.disconnectFromServer();
}

LibraryClaim claim_library(const FolderLock& lock, const Text& library_root) {
    QtDesktopServices desktop(nullptr);
    return claim_library(
        lock.outcome(), [&] { return ask_to_raise(library_root); }, desktop);
}

}  // namespace galmora
