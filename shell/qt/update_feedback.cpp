#include "shell/qt/update_feedback.h"

#include <QCoreApplication>

namespace galmora {

UpdateWindowHooks window_update_hooks() {
    UpdateWindowHooks hooks;
    // Only painting: no click may get through while the window is meant to
    // be busy.
    hooks.repaint = [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
    hooks.deliver_pending_input = [] { QCoreApplication::processEvents(); };
    return hooks;
}

}  // namespace galmora
