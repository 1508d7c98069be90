#pragma once
// A ThumbnailMaker for tests of everything around the picture work. It
// decides by the file's name: "small", "anim" and "bad" pictures are left
// out; every other one gets a 504 x 378 "JPEG" holding its path. A gate,
// when closed, holds every call until it is opened, so that a test can look
// at the window while thumbnails are being made.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

#include "generator/thumbnail_maker.h"

namespace galmora::testing {

class StandInMaker : public ThumbnailMaker {
  public:
    ThumbnailResult make(const ThumbnailRequest& request) const override;

    void close_gate();
    void open_gate();

    mutable std::atomic<int> calls{0};
    // Every request, in the order made (guarded: several threads ask).
    std::vector<ThumbnailRequest> requests() const;
    // Runs at the start of every call, on the calling thread.
    std::function<void()> on_call;

  private:
    mutable std::mutex mutex_;
    mutable std::condition_variable gate_opened_;
    bool gate_closed_ = false;
    mutable std::vector<ThumbnailRequest> requests_;
};

}  // namespace galmora::testing
