#pragma once
// A bound on the memory that work on several threads holds at once. Each
// piece of work takes a share of the budget before it allocates and gives it
// back when it is done; a share waits while the others hold too much, in
// the order asked, so that a large one is never passed over for ever. The
// bound does not grow with the number of threads.

#include <condition_variable>
#include <cstdint>
#include <list>
#include <mutex>
#include <optional>
#include <stop_token>

namespace galmora {

class MemoryBudget {
  public:
    explicit MemoryBudget(std::int64_t limit_bytes);
    MemoryBudget(const MemoryBudget&) = delete;
    MemoryBudget& operator=(const MemoryBudget&) = delete;

    // Bytes held by one piece of work; given back when it ends.
    class Share {
      public:
        Share(Share&& other) noexcept;
        Share& operator=(Share&& other) noexcept;
        ~Share();
        std::int64_t bytes() const { return bytes_; }
        // Grows the share to total bytes when that fits now; never waits,
        // so that a holder never waits for the others (no deadlock).
        bool try_grow(std::int64_t total);

      private:
        friend class MemoryBudget;
        Share(MemoryBudget* budget, std::int64_t bytes) : budget_(budget), bytes_(bytes) {}
        MemoryBudget* budget_;
        std::int64_t bytes_;
    };

    // Waits until bytes fit beside the shares held; nullopt when they never
    // can (more than the limit) or the stop came first. Never call it while
    // holding another share of the same budget.
    std::optional<Share> take(std::int64_t bytes, std::stop_token stop);

    std::int64_t limit() const { return limit_; }
    std::int64_t held() const;
    std::size_t waiting() const;  // shares asked for and not yet given

    // The budget for picture work on this machine: a quarter of its memory,
    // at least 256 MiB and at most 1 GiB.
    static std::int64_t for_this_machine();

  private:
    void give_back(std::int64_t bytes);

    const std::int64_t limit_;
    mutable std::mutex mutex_;
    std::condition_variable_any changed_;
    std::int64_t held_ = 0;
    std::list<std::int64_t> waiting_;  // the shares asked for, in order
};

}  // namespace galmora
