#include "shell/job_owner.h"

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>

#include "core/codepage.h"
#include "core/item_workers.h"
#include "core/kept_memory.h"
#include "shell/failure_notices.h"
#include "shell/window_layout.h"

namespace galmora {

namespace {

std::int64_t now_ms() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The caption the window's table gives a control, which a control that
// stopped a job shows again.
Text table_caption(ControlId control) {
    const ControlDefinition* definition = find_control(control);
    return definition ? local_text(std::string(definition->caption)) : Text();
}

}  // namespace

// Destroyed in reverse: the watcher is joined first, then the worker
// threads, then the job they worked on.
struct JobOwner::Run {
    std::weak_ptr<Run> self;  // what tasks posted to the window hold
    std::unique_ptr<BackgroundJob> job;
    std::atomic<std::int64_t> last_progress_ms{0};
    bool stopped = false;  // touched on the window's thread only
    std::unique_ptr<ItemWorkers> workers;
    std::jthread watcher;  // waits for the workers' end, then posts it
};

JobOwner::JobOwner(Controls& ui, DesktopServices& desktop, WindowThread* window,
                   std::int64_t memory_budget)
    : ui_(ui),
      desktop_(desktop),
      window_(window),
      budget_(memory_budget > 0 ? memory_budget : MemoryBudget::for_this_machine()) {}

JobOwner::~JobOwner() {
    if (run_) run_->workers->stop();
    run_.reset();
    abandoned_.clear();
}

void JobOwner::start(std::unique_ptr<BackgroundJob> job) {
    if (!window_ || run_) return;
    auto run = std::make_shared<Run>();
    run->self = run;
    run->job = std::move(job);
    BackgroundJob& work = *run->job;
    Run* const raw = run.get();
    ui_.set_text(work.stop_control(), work.stop_caption());
    ui_.set_text(ControlId::InformationPanel, work.progress_text(0));
    run_ = run;
    run->workers = std::make_unique<ItemWorkers>(
        work.item_count(), ItemWorkers::thread_count(work.threads()),
        [&work](std::size_t item, std::stop_token stop) { work.work(item, stop); },
        [this, raw, items = work.item_count()](std::size_t finished) {
            post_progress_of(raw, finished, items);
        });
    run->watcher = std::jthread([this, raw] {
        raw->workers->wait(kStopGrace);
        window_->post([this, weak = raw->self] {
            if (const std::shared_ptr<Run> ended = weak.lock(); ended && ended == run_) end(ended);
        });
    });
}

// At most one report every kProgressInterval, and always the last one.
void JobOwner::post_progress_of(Run* run, std::size_t finished, std::size_t items) {
    const std::int64_t now = now_ms();
    std::int64_t last = run->last_progress_ms.load();
    const bool all = finished == items;
    if (!all && (now - last < kProgressInterval.count() ||
                 !run->last_progress_ms.compare_exchange_strong(last, now)))
        return;
    window_->post([this, weak = run->self, finished] {
        if (const std::shared_ptr<Run> shown = weak.lock(); shown && shown == run_)
            ui_.set_text(ControlId::InformationPanel, shown->job->progress_text(finished));
    });
}

void JobOwner::stop() {
    if (!run_) return;
    run_->stopped = true;
    run_->workers->stop();
}

bool JobOwner::stops_with(ControlId control) const {
    return run_ && run_->job->stop_control() == control;
}

bool JobOwner::refuses_library_change() {
    if (!run_) return false;
    show_notice(desktop_, run_->job->busy_notice());
    return true;
}

void JobOwner::finish_before_exit() {
    if (!run_) return;
    const std::shared_ptr<Run> run = run_;
    if (run->job->exit_policy() == ExitPolicy::Abandon) stop();
    run->watcher.join();  // within the grace after the stop, or once every item is through
    end(run);
}

void JobOwner::end(const std::shared_ptr<Run>& run) {
    run_.reset();
    if (run->watcher.joinable()) run->watcher.join();  // it has posted the end
    ui_.set_text(run->job->stop_control(), table_caption(run->job->stop_control()));
    const ItemWorkers& workers = *run->workers;
    run->job->ended([&workers](std::size_t item) { return workers.finished(item); }, run->stopped);
    keep_until_threads_end(run);
    give_back_kept_memory();
}

void JobOwner::keep_until_threads_end(std::shared_ptr<Run> run) {
    if (!run->workers->threads_ended()) abandoned_.push_back(std::move(run));
    threads_left();
}

bool JobOwner::threads_left() {
    std::erase_if(abandoned_,
                  [](const std::shared_ptr<Run>& old) { return old->workers->threads_ended(); });
    return !abandoned_.empty();
}

}  // namespace galmora
