#pragma once
// Work over numbered items on several threads: each thread takes the next
// item and works on it until none is left or a stop is asked. The work
// checks the stop itself inside an item. An item that has not ended soon
// after a stop (a read stalled on a network share, a long decode) is
// abandoned: wait() returns without it, its thread ends on its own, and the
// item never counts as finished.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>
#include <vector>

namespace galmora {

class ItemWorkers {
  public:
    // Runs on the working threads, once for each item taken. It must not
    // throw: an item whose work throws counts as not finished.
    using Work = std::function<void(std::size_t item, std::stop_token stop)>;
    // How many items have finished, after each one, from the working threads.
    using Progress = std::function<void(std::size_t finished)>;

    // A stop of outer stops the workers too.
    ItemWorkers(std::size_t items, int threads, Work work, Progress progress = {},
                std::stop_token outer = {});
    // Asks a stop and waits for every thread, abandoned ones included.
    ~ItemWorkers();
    ItemWorkers(const ItemWorkers&) = delete;
    ItemWorkers& operator=(const ItemWorkers&) = delete;

    void stop();
    // Waits until every thread has ended, or, once a stop has been asked,
    // at most grace after it. True when every thread has ended.
    bool wait(std::chrono::milliseconds grace);
    bool threads_ended() const;

    // The item's work ran to its end (what it wrote may be read now).
    bool finished(std::size_t item) const;
    std::size_t finished_count() const;
    std::size_t items() const { return items_; }

    // One thread a core, or the given count when it is positive.
    static int thread_count(int asked);

  private:
    void run(std::stop_token stop);

    const std::size_t items_;
    const Work work_;
    const Progress progress_;
    std::unique_ptr<std::atomic<bool>[]> finished_;
    std::atomic<std::size_t> next_{0};
    std::atomic<std::size_t> finished_count_{0};

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    int running_ = 0;
    std::optional<std::chrono::steady_clock::time_point> stopped_at_;
    std::stop_source stop_;
    std::optional<std::stop_callback<std::function<void()>>> outer_stop_;
    std::vector<std::jthread> threads_;  // last: they start once the rest is ready
};

}  // namespace galmora
