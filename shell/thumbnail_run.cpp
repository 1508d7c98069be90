#include "shell/thumbnail_run.h"

#include <atomic>
#include <chrono>

namespace galmora {

namespace {

constexpr std::int64_t kProgressIntervalMs = 250;

std::int64_t now_ms() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

struct ThumbnailRun::Shared {
    explicit Shared(Events given) : events(std::move(given)) {}
    const Events events;
    std::atomic<std::int64_t> last_progress_ms{0};
};

ThumbnailRun::ThumbnailRun(WindowThread& window, const ThumbnailMaker& maker, PictureList pictures,
                           Text main_gallery, ThumbnailSettings settings, Events events)
    : window_(window),
      pictures_(std::move(pictures)),
      shared_(std::make_shared<Shared>(std::move(events))) {
    worker_ = std::jthread([this, &maker, main_gallery = std::move(main_gallery),
                            settings = std::move(settings)](std::stop_token stop) {
        report_ = make_thumbnails(pictures_, main_gallery, settings, maker, stop,
                                  [this](int done, int total) { post_progress(done, total); });
        window_.post([weak = std::weak_ptr<Shared>(shared_)] {
            if (const auto shared = weak.lock()) shared->events.finished();
        });
    });
}

ThumbnailRun::~ThumbnailRun() {
    stop();
    if (worker_.joinable()) worker_.join();
    shared_.reset();  // tasks still queued for the window find nothing to call
}

void ThumbnailRun::stop() {
    worker_.request_stop();
}

ThumbnailReport ThumbnailRun::wait() {
    if (worker_.joinable()) worker_.join();
    return std::move(report_);
}

// At most one report every kProgressIntervalMs, and always the last one.
void ThumbnailRun::post_progress(int done, int total) {
    std::int64_t last = shared_->last_progress_ms.load();
    const std::int64_t now = now_ms();
    if (done != total && now - last < kProgressIntervalMs) return;
    if (!shared_->last_progress_ms.compare_exchange_strong(last, now) && done != total) return;
    window_.post([weak = std::weak_ptr<Shared>(shared_), done, total] {
        if (const auto shared = weak.lock()) shared->events.progress(done, total);
    });
}

}  // namespace galmora
