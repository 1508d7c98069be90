#pragma once
// Wall-clock and processor time of benchmarked work. The machine is shared:
// wall time also holds the time other work kept the processor, processor
// time only what the work itself cost (this process and the children it
// waited for, such as `find`).

#include <chrono>
#include <functional>

namespace galmora::bench {

struct Timing {
    double wall = 0;       // seconds
    double processor = 0;  // seconds, user and system
};

class Stopwatch {
  public:
    Stopwatch();
    Timing elapsed() const;

  private:
    std::chrono::steady_clock::time_point wall_start_;
    double processor_start_;
};

// The best of rounds runs of work, wall and processor time each at its own
// best: other work only ever adds time.
Timing best_of(int rounds, const std::function<void()>& work);

}  // namespace galmora::bench
