#include "tests/support/allocated_bytes.h"

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstddef>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
// The sanitizers' own allocator counts; GCC ships no header that declares it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#define GALMORA_SANITIZER_ALLOCATOR 1
#endif

namespace galmora::testing {

std::int64_t allocated_bytes() {
#ifdef GALMORA_SANITIZER_ALLOCATOR
    return static_cast<std::int64_t>(__sanitizer_get_current_allocated_bytes());
#else
    // Small blocks in the arenas, large ones mapped on their own.
    const struct mallinfo2 info = ::mallinfo2();
    return static_cast<std::int64_t>(info.uordblks + info.hblkhd);
#endif
}

AllocationPeak::AllocationPeak() : start_(allocated_bytes()), peak_(start_) {
    sampler_ = std::thread([this] {
        while (!done_) {
            const std::int64_t now = allocated_bytes();
            std::int64_t peak = peak_.load();
            while (now > peak && !peak_.compare_exchange_weak(peak, now)) {
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
}

AllocationPeak::~AllocationPeak() {
    done_ = true;
    sampler_.join();
}

std::int64_t AllocationPeak::above_start() {
    return std::max<std::int64_t>(peak_.load() - start_, 0);
}

}  // namespace galmora::testing
