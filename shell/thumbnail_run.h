#pragma once
// The thumbnails and display copies of one generation as the program's
// background job: the generator's ThumbnailJob, with what the window shows
// of it. When it ends, its report goes to the generation, which writes the
// page with what was made.

#include <functional>
#include <memory>

#include "generator/thumbnail_job.h"
#include "shell/background_job.h"

namespace galmora {

class ThumbnailRun : public BackgroundJob {
  public:
    using Ended = std::function<void(ThumbnailReport report, const PictureList& pictures)>;

    ThumbnailRun(std::unique_ptr<ThumbnailJob> job, int threads, Ended ended);

    std::size_t item_count() const override { return job_->item_count(); }
    int threads() const override { return threads_; }
    void work(std::size_t item, std::stop_token stop) override { job_->work(item, stop); }
    void ended(const std::function<bool(std::size_t item)>& finished, bool stopped) override;

    Text progress_text(std::size_t finished) const override;
    ControlId stop_control() const override { return ControlId::GenerateButton; }
    const Text& stop_caption() const override;
    const Text& busy_notice() const override;

  private:
    std::unique_ptr<ThumbnailJob> job_;
    const int threads_;
    Ended ended_;
};

}  // namespace galmora
