#include "core/item_workers.h"

#include <algorithm>

namespace galmora {

ItemWorkers::ItemWorkers(std::size_t items, int threads, Work work, Progress progress,
                         std::stop_token outer)
    : items_(items),
      work_(std::move(work)),
      progress_(std::move(progress)),
      finished_(std::make_unique<std::atomic<bool>[]>(items)) {
    outer_stop_.emplace(std::move(outer), [this] { stop(); });
    const std::size_t count = std::min<std::size_t>(items, std::max(1, threads));
    running_ = static_cast<int>(count);
    threads_.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        threads_.emplace_back([this, stop = stop_.get_token()] { run(stop); });
}

ItemWorkers::~ItemWorkers() {
    outer_stop_.reset();
    stop();
    threads_.clear();  // joins
}

void ItemWorkers::run(std::stop_token stop) {
    while (!stop.stop_requested()) {
        const std::size_t item = next_++;
        if (item >= items_) break;
        try {
            work_(item, stop);
        } catch (...) {
            continue;  // not finished; the others go on
        }
        finished_[item].store(true, std::memory_order_release);
        const std::size_t finished = ++finished_count_;
        if (progress_) progress_(finished);
    }
    std::lock_guard lock(mutex_);
    --running_;
    changed_.notify_all();
}

void ItemWorkers::stop() {
    {
        std::lock_guard lock(mutex_);
        if (!stopped_at_) stopped_at_ = std::chrono::steady_clock::now();
    }
    stop_.request_stop();
    changed_.notify_all();
}

bool ItemWorkers::wait(std::chrono::milliseconds grace) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return running_ == 0 || stopped_at_; });
    if (running_ == 0) return true;
    return changed_.wait_until(lock, *stopped_at_ + grace, [this] { return running_ == 0; });
}

bool ItemWorkers::threads_ended() const {
    std::lock_guard lock(mutex_);
    return running_ == 0;
}

bool ItemWorkers::finished(std::size_t item) const {
    return item < items_ && finished_[item].load(std::memory_order_acquire);
}

std::size_t ItemWorkers::finished_count() const {
    return finished_count_.load();
}

int ItemWorkers::thread_count(int asked) {
    if (asked > 0) return asked;
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

}  // namespace galmora
