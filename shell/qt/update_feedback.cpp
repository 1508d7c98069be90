#include "shell/qt/update_feedback.h"

#include <QCoreApplication>

namespace galmora {

UpdateSettings with_window_feedback(UpdateSettings settings) {
    // Only painting: no click may get through while the window is meant to
    // be busy.
    settings.repaint = [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
    settings.deliver_pending_input = [] { QCoreApplication::processEvents(); };
    return settings;
}

}  // namespace galmora
