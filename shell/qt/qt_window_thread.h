#pragma once
// The window's thread reached through Qt's event loop: a posted task is a
// queued call on the window object, run between its events, and dropped if
// the window is gone by then.

#include <QObject>

#include "shell/window_thread.h"

namespace galmora {

class QtWindowThread : public WindowThread {
  public:
    explicit QtWindowThread(QObject* window) : window_(window) {}
    void post(std::function<void()> task) override;

  private:
    QObject* window_;
};

}  // namespace galmora
