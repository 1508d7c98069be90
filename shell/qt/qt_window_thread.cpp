#include "shell/qt/qt_window_thread.h"

#include <QMetaObject>

namespace galmora {

void QtWindowThread::post(std::function<void()> task) {
    QMetaObject::invokeMethod(window_, std::move(task), Qt::QueuedConnection);
}

}  // namespace galmora
