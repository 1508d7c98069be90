#pragma once
// The one owner of the program's background job: it runs one job at a time
// on worker threads, shows its progress and its stop button, refuses the
// operations that change the library while it runs, and ends it: when its
// items are through, at a stop, or at the window's close. A stop ends the
// job within kStopGrace even while an item is stalled (a read from a slow
// share): such an item is abandoned, its thread ends on its own later and
// what it gives is dropped. All picture work shares one memory budget.

#include <chrono>
#include <memory>
#include <vector>

#include "core/memory_budget.h"
#include "shell/background_job.h"
#include "shell/controls.h"
#include "shell/desktop.h"
#include "shell/window_thread.h"

namespace galmora {

class JobOwner {
  public:
    static constexpr std::chrono::milliseconds kStopGrace{500};
    static constexpr std::chrono::milliseconds kProgressInterval{250};

    // Without a window thread no job can run. memory_budget 0: the machine's.
    JobOwner(Controls& ui, DesktopServices& desktop, WindowThread* window,
             std::int64_t memory_budget = 0);
    // Stops a running job and waits for every thread, abandoned ones too.
    ~JobOwner();
    JobOwner(const JobOwner&) = delete;
    JobOwner& operator=(const JobOwner&) = delete;

    bool can_run() const { return window_ != nullptr; }
    bool running() const { return run_ != nullptr; }
    // Starts job; the stop control shows its caption until it ends.
    void start(std::unique_ptr<BackgroundJob> job);
    void stop();
    // Whether a click of control is the running job's stop.
    bool stops_with(ControlId control) const;
    // Asked by an operation that changes the library: while a job runs, a
    // notice refuses it and true comes back.
    bool refuses_library_change();
    // At the window's close: ends the running job by its exit policy and
    // lets it finish its work (its ended() runs here).
    void finish_before_exit();
    // Threads of abandoned items still running: the program then ends
    // without waiting for them.
    bool threads_left();

    MemoryBudget& budget() { return budget_; }

  private:
    struct Run;
    void post_progress_of(Run* run, std::size_t finished, std::size_t items);
    void end(const std::shared_ptr<Run>& run);
    void keep_until_threads_end(std::shared_ptr<Run> run);

    Controls& ui_;
    DesktopServices& desktop_;
    WindowThread* window_;
    MemoryBudget budget_;
    std::shared_ptr<Run> run_;
    std::vector<std::shared_ptr<Run>> abandoned_;  // ended, with threads still working
};

}  // namespace galmora
