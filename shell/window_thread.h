#pragma once
// The way back to the window's thread for work that runs beside it: a job
// on other threads hands its progress and its end to the window as tasks,
// which the window runs between its events.

#include <functional>

namespace galmora {

class WindowThread {
  public:
    virtual ~WindowThread() = default;
    // Runs task on the window's thread soon, in the order posted. Safe to
    // call from any thread.
    virtual void post(std::function<void()> task) = 0;
};

}  // namespace galmora
