#pragma once
// The thumbnails of one generation made beside the window's thread. It
// starts with the scanned pictures, tells the window of its progress (a few
// times a second) and of its end as tasks posted to the window's thread,
// and can be stopped at any moment: the pictures not yet done keep their
// originals. Destroying it stops it and waits for its threads.

#include <functional>
#include <memory>
#include <stop_token>
#include <thread>

#include "generator/picture_list.h"
#include "generator/thumbnail_job.h"
#include "generator/thumbnail_maker.h"
#include "shell/window_thread.h"

namespace galmora {

class ThumbnailRun {
  public:
    // Both run on the window's thread, and never after the run is destroyed.
    struct Events {
        std::function<void(int done, int total)> progress;
        std::function<void()> finished;
    };

    ThumbnailRun(WindowThread& window, const ThumbnailMaker& maker, PictureList pictures,
                 Text main_gallery, ThumbnailSettings settings, Events events);
    ~ThumbnailRun();
    ThumbnailRun(const ThumbnailRun&) = delete;
    ThumbnailRun& operator=(const ThumbnailRun&) = delete;

    void stop();
    // Waits until the making has ended (at once after `finished`) and hands
    // over its outcome; call once.
    ThumbnailReport wait();
    const PictureList& pictures() const { return pictures_; }

  private:
    struct Shared;
    void post_progress(int done, int total);

    WindowThread& window_;
    const PictureList pictures_;
    std::shared_ptr<Shared> shared_;  // what posted tasks may still reach
    ThumbnailReport report_;
    std::jthread worker_;
};

}  // namespace galmora
