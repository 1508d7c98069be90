#pragma once
// The window's thread for tests without an event loop: posted tasks queue up
// until the test runs them, as the window would between its events.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "shell/window_thread.h"

namespace galmora::testing {

class QueuedWindowThread : public WindowThread {
  public:
    void post(std::function<void()> task) override;

    // Runs the tasks posted so far, and those they post; how many ran.
    int run_posted();
    // Runs posted tasks as they come until done() holds; false when it still
    // does not after limit.
    bool run_until(const std::function<bool()>& done,
                   std::chrono::milliseconds limit = std::chrono::seconds(20));

  private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> tasks_;
};

}  // namespace galmora::testing
