#include "bench/support/timing.h"

#include <sys/resource.h>

#include <algorithm>

namespace galmora::bench {

namespace {

double seconds(const timeval& time) {
    return double(time.tv_sec) + double(time.tv_usec) / 1e6;
}

double processor_seconds() {
    rusage self{}, children{};
    getrusage(RUSAGE_SELF, &self);
    getrusage(RUSAGE_CHILDREN, &children);
    return seconds(self.ru_utime) + seconds(self.ru_stime) + seconds(children.ru_utime) +
           seconds(children.ru_stime);
}

}  // namespace

Stopwatch::Stopwatch()
    : wall_start_(std::chrono::steady_clock::now()), processor_start_(processor_seconds()) {}

Timing Stopwatch::elapsed() const {
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_start_).count();
    return {wall, processor_seconds() - processor_start_};
}

Timing best_of(int rounds, const std::function<void()>& work) {
    Timing best{-1, -1};
    for (int round = 0; round < rounds; ++round) {
        const Stopwatch stopwatch;
        work();
        const Timing time = stopwatch.elapsed();
        best.wall = best.wall < 0 ? time.wall : std::min(best.wall, time.wall);
        best.processor =
            best.processor < 0 ? time.processor : std::min(best.processor, time.processor);
    }
    return best;
}

}  // namespace galmora::bench
