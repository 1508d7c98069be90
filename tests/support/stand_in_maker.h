#pragma once
// A PictureMaker for tests of everything around the picture work. It
// decides by the picture's bytes, which tests write as text: "small" and
// "anim" pictures are left alone, "bad" ones cannot be read, "huge" ones
// claim a peak beyond any budget, "nomem" ones run out of memory, and
// "heic" ones are no picture a browser shows. Every other picture stands
// for a 4000 x 3000 photo: each box gets its rendition, a "JPEG" holding
// the box's size and the picture's text. A gate, when closed, holds every
// make() until it is opened, so that a test can look at the window while
// pictures are being made.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

#include "generator/picture_maker.h"

namespace galmora::testing {

class StandInMaker : public PictureMaker {
  public:
    bool browser_shows(ByteView head) const override;
    PictureEstimate estimate(ByteView picture, const PictureRequest& request) const override;
    PictureResult make(ByteView picture, const PictureRequest& request,
                       std::stop_token stop) const override;

    void close_gate();
    void open_gate();

    // What make() was asked, in the order asked (guarded: several threads ask).
    struct Call {
        std::string picture;  // the picture's bytes as text
        PictureRequest request;
    };
    std::vector<Call> calls_made() const;
    mutable std::atomic<int> calls{0};
    // Runs at the start of every make(), on the calling thread.
    std::function<void()> on_call;
    // What estimate() claims a picture's work holds.
    std::int64_t peak_bytes = std::int64_t(1) << 20;

  private:
    mutable std::mutex mutex_;
    mutable std::condition_variable gate_opened_;
    bool gate_closed_ = false;
    mutable std::vector<Call> calls_made_;
};

}  // namespace galmora::testing
