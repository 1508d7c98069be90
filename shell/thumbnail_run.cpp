#include "shell/thumbnail_run.h"

#include <algorithm>

#include "shell/thumbnail_texts.h"

namespace galmora {

ThumbnailRun::ThumbnailRun(std::unique_ptr<ThumbnailJob> job, int threads, Ended ended)
    : job_(std::move(job)), threads_(threads), ended_(std::move(ended)) {}

void ThumbnailRun::ended(const std::function<bool(std::size_t item)>& finished, bool) {
    ended_(job_->report(finished), job_->pictures());
}

// A cover made first counts as no picture: the count stops at the total.
Text ThumbnailRun::progress_text(std::size_t finished) const {
    const std::size_t total = job_->pictures().size();
    return thumbnail_progress(static_cast<int>(std::min(finished, total)), static_cast<int>(total));
}

const Text& ThumbnailRun::stop_caption() const {
    return stop_thumbnails_caption();
}

const Text& ThumbnailRun::busy_notice() const {
    return thumbnails_busy_notice();
}

}  // namespace galmora
