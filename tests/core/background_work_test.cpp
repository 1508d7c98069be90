// Work on several threads: the memory budget shared by pieces of work, the
// workers that take numbered items, stop and abandon what stalls, and the
// allocator keeping freed picture buffers for the next picture.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>

#include "core/item_workers.h"
#include "core/kept_memory.h"
#include "core/memory_budget.h"

namespace galmora {
namespace {

using namespace std::chrono_literals;

TEST(MemoryBudget, SharesWaitTheirTurnGrowOnlyWhenThereIsRoomAndGoBack) {
    MemoryBudget budget(100);
    EXPECT_FALSE(budget.take(101, {}));  // never fits
    std::optional<MemoryBudget::Share> a = budget.take(60, {});
    ASSERT_TRUE(a);
    EXPECT_FALSE(a->try_grow(101));
    EXPECT_TRUE(a->try_grow(70));
    EXPECT_EQ(budget.held(), 70);

    // 95 must wait for a; 10, asked after it, waits its turn too, though it
    // would fit now: a large share is never passed over. 95 and 10 do not fit
    // together, so 10 comes only once 95 is served and given back.
    std::vector<int> served;
    std::mutex order;
    std::thread large([&] {
        auto share = budget.take(95, {});
        std::lock_guard lock(order);
        served.push_back(95);
    });
    while (budget.waiting() < 1) std::this_thread::sleep_for(1ms);
    std::thread small([&] {
        auto share = budget.take(10, {});
        std::lock_guard lock(order);
        served.push_back(10);
    });
    while (budget.waiting() < 2) std::this_thread::sleep_for(1ms);
    {
        std::lock_guard lock(order);
        EXPECT_TRUE(served.empty());
    }
    a.reset();
    large.join();
    small.join();
    EXPECT_EQ(served, (std::vector<int>{95, 10}));
    EXPECT_EQ(budget.held(), 0);
}

TEST(MemoryBudget, AStopEndsTheWaitWithoutAShare) {
    MemoryBudget budget(100);
    auto held = budget.take(100, {});
    std::stop_source stop;
    std::thread stopper([&] {
        std::this_thread::sleep_for(20ms);
        stop.request_stop();
    });
    EXPECT_FALSE(budget.take(1, stop.get_token()));
    stopper.join();
    held.reset();
    EXPECT_TRUE(budget.take(100, {}));  // the stopped waiter left the line
}

TEST(ItemWorkers, EveryItemOnceOnTheThreadsAsked) {
    constexpr std::size_t kItems = 200;
    std::vector<std::atomic<int>> done(kItems);
    std::mutex mutex;
    std::set<std::thread::id> threads;
    std::atomic<std::size_t> last_progress{0};
    ItemWorkers workers(
        kItems, 3,
        [&](std::size_t item, std::stop_token) {
            ++done[item];
            std::lock_guard lock(mutex);
            threads.insert(std::this_thread::get_id());
        },
        [&](std::size_t finished) {
            std::size_t seen = last_progress.load();
            while (finished > seen && !last_progress.compare_exchange_weak(seen, finished)) {
            }
        });
    EXPECT_TRUE(workers.wait(0ms));
    for (std::size_t i = 0; i < kItems; ++i) {
        EXPECT_EQ(done[i], 1) << i;
        EXPECT_TRUE(workers.finished(i)) << i;
    }
    EXPECT_LE(threads.size(), 3u);
    EXPECT_EQ(last_progress, kItems);
    EXPECT_EQ(workers.finished_count(), kItems);
}

TEST(ItemWorkers, AnItemThatThrowsIsNotFinishedAndTheOthersGoOn) {
    ItemWorkers workers(5, 2, [](std::size_t item, std::stop_token) {
        if (item == 2) throw std::runtime_error("broken");
    });
    EXPECT_TRUE(workers.wait(0ms));
    EXPECT_EQ(workers.finished_count(), 4u);
    EXPECT_FALSE(workers.finished(2));
}

// An item stalled beyond the stop's grace is abandoned: wait() returns, the
// item never counts as finished, and its thread ends once it is let go.
TEST(ItemWorkers, AStopAbandonsAStalledItemAfterTheGrace) {
    std::mutex mutex;
    std::condition_variable changed;
    bool started = false, released = false;
    ItemWorkers workers(10, 1, [&](std::size_t item, std::stop_token) {
        if (item != 0) return;
        std::unique_lock lock(mutex);
        started = true;
        changed.notify_all();
        changed.wait(lock, [&] { return released; });
    });
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return started; });
    }
    workers.stop();
    const auto before = std::chrono::steady_clock::now();
    EXPECT_FALSE(workers.wait(100ms));
    EXPECT_LT(std::chrono::steady_clock::now() - before, 5s);
    EXPECT_FALSE(workers.threads_ended());
    EXPECT_FALSE(workers.finished(0));
    {
        std::lock_guard lock(mutex);
        released = true;
    }
    changed.notify_all();
    EXPECT_TRUE(workers.wait(10s));
    EXPECT_EQ(workers.finished_count(), 1u);  // the stalled one; nothing after the stop
}

TEST(ItemWorkers, AnOuterStopStopsThem) {
    std::stop_source outer;
    std::atomic<int> started{0};
    ItemWorkers workers(
        1000, 2,
        [&](std::size_t, std::stop_token stop) {
            if (++started == 10) outer.request_stop();
            EXPECT_TRUE(started < 10 || stop.stop_requested());
        },
        {}, outer.get_token());
    EXPECT_TRUE(workers.wait(10s));
    EXPECT_LT(workers.finished_count(), 1000u);
}

// The pages a buffer of bytes faults in when it is written whole, then freed.
long faults_writing(std::size_t bytes) {
    rusage before{}, after{};
    getrusage(RUSAGE_THREAD, &before);
    char* buffer = static_cast<char*>(std::malloc(bytes));
    for (std::size_t at = 0; at < bytes; at += 4096)
        reinterpret_cast<volatile char&>(buffer[at]) = 1;
    std::free(buffer);
    getrusage(RUSAGE_THREAD, &after);
    return after.ru_minflt - before.ru_minflt;
}

TEST(KeptMemory, AFreedPictureBufferIsReusedUntilTheJobEnds) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__) || !defined(__GLIBC__)
    GTEST_SKIP() << "glibc's allocator only: the sanitizers bring their own";
#endif
    constexpr std::size_t kCopy = std::size_t(12) << 20;  // a 2048-pixel copy's pixels
    constexpr long kPages = long(kCopy / 4096);
    keep_freed_blocks_for_reuse();
    faults_writing(kCopy);
    EXPECT_LT(faults_writing(kCopy), kPages / 10);
    give_back_kept_memory();
    EXPECT_GT(faults_writing(kCopy), kPages / 2);
}

}  // namespace
}  // namespace galmora
