#pragma once
// The most memory the process held allocated while a piece of work ran,
// sampled every millisecond on a thread of its own: malloc's own count, or
// the sanitizer's when its allocator stands in.

#include <atomic>
#include <cstdint>
#include <thread>

namespace galmora::testing {

std::int64_t allocated_bytes();

class AllocationPeak {
  public:
    AllocationPeak();  // starts sampling
    ~AllocationPeak();
    AllocationPeak(const AllocationPeak&) = delete;
    AllocationPeak& operator=(const AllocationPeak&) = delete;

    // The peak since the start, above what was allocated at the start.
    std::int64_t above_start();

  private:
    const std::int64_t start_;
    std::atomic<std::int64_t> peak_;
    std::atomic<bool> done_{false};
    std::thread sampler_;
};

}  // namespace galmora::testing
