#include "shell/qt/file_drop_filter.h"

#include <QDropEvent>
#include <QMetaObject>
#include <QMimeData>
#include <QWidget>

namespace galmora {

namespace {

QStringList local_paths(const QList<QUrl>& urls) {
    QStringList paths;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile()) continue;
        QString path = url.toLocalFile();
        // A folder may come with a trailing "/"; paths never end in one here.
        while (path.size() > 1 && path.endsWith(u'/')) path.chop(1);
        if (!path.isEmpty()) paths.append(path);
    }
    return paths;
}

QStringList local_paths(const QMimeData* data) {
    return data && data->hasUrls() ? local_paths(data->urls()) : QStringList();
}

}  // namespace

QString dropped_paths_text(const QList<QUrl>& urls) {
    QStringList paths = local_paths(urls);
    if (paths.size() == 1) return paths.front();
    QString text;
    for (const QString& path : paths) text += path + QStringLiteral("\r\n");
    return text;
}

FileDropFilter::FileDropFilter(QWidget* target, Receiver receiver)
    : QObject(target), receiver_(std::move(receiver)) {
    target->setAcceptDrops(true);
    target->installEventFilter(this);
}

bool FileDropFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (local_paths(drag->mimeData()).isEmpty()) {
                drag->ignore();
            } else {
                drag->setDropAction(Qt::CopyAction);
                drag->accept();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            QString text = drop->mimeData() && drop->mimeData()->hasUrls()
                               ? dropped_paths_text(drop->mimeData()->urls())
                               : QString();
            if (text.isEmpty()) {
                drop->ignore();
                return true;
            }
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            // Delivered once the drag has finished, so the file manager that
            // started it is not held up by a long operation.
            QMetaObject::invokeMethod(
                this, [this, text] { receiver_(text); }, Qt::QueuedConnection);
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
    }
}

}  // namespace galmora
