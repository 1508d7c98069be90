#include "core/memory_budget.h"

#include <unistd.h>

#include <algorithm>
#include <utility>

namespace galmora {

MemoryBudget::MemoryBudget(std::int64_t limit_bytes) : limit_(limit_bytes) {}

MemoryBudget::Share::Share(Share&& other) noexcept
    : budget_(std::exchange(other.budget_, nullptr)), bytes_(std::exchange(other.bytes_, 0)) {}

MemoryBudget::Share& MemoryBudget::Share::operator=(Share&& other) noexcept {
    std::swap(budget_, other.budget_);
    std::swap(bytes_, other.bytes_);
    return *this;
}

MemoryBudget::Share::~Share() {
    if (budget_) budget_->give_back(bytes_);
}

bool MemoryBudget::Share::try_grow(std::int64_t total) {
    if (total <= bytes_) return true;
    std::lock_guard lock(budget_->mutex_);
    if (budget_->held_ - bytes_ + total > budget_->limit_) return false;
    budget_->held_ += total - bytes_;
    bytes_ = total;
    return true;
}

std::optional<MemoryBudget::Share> MemoryBudget::take(std::int64_t bytes, std::stop_token stop) {
    bytes = std::max<std::int64_t>(bytes, 0);
    if (bytes > limit_) return std::nullopt;
    std::unique_lock lock(mutex_);
    const auto place = waiting_.insert(waiting_.end(), bytes);
    const bool fits = changed_.wait(
        lock, stop, [&] { return waiting_.begin() == place && held_ + bytes <= limit_; });
    waiting_.erase(place);  // served or given up: the next in line may go
    if (fits) held_ += bytes;
    lock.unlock();
    changed_.notify_all();
    if (!fits) return std::nullopt;
    return Share(this, bytes);
}

std::int64_t MemoryBudget::held() const {
    std::lock_guard lock(mutex_);
    return held_;
}

std::size_t MemoryBudget::waiting() const {
    std::lock_guard lock(mutex_);
    return waiting_.size();
}

void MemoryBudget::give_back(std::int64_t bytes) {
    {
        std::lock_guard lock(mutex_);
        held_ -= bytes;
    }
    changed_.notify_all();
}

std::int64_t MemoryBudget::for_this_machine() {
    constexpr std::int64_t kLeast = std::int64_t(256) << 20;
    constexpr std::int64_t kMost = std::int64_t(1) << 30;
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long page_size = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || page_size <= 0) return kLeast;
    return std::clamp(std::int64_t(pages) * page_size / 4, kLeast, kMost);
}

}  // namespace galmora
