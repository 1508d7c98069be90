#include "tests/support/stand_in_maker.h"

#include <algorithm>
#include <new>
#include <string>

#include "tests/support/text_helpers.h"

namespace galmora::testing {

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

std::string text_of(ByteView bytes) {
    return std::string(bytes.begin(), bytes.end());
}

bool says(ByteView bytes, std::string_view word) {
    return text_of(bytes).find(word) != std::string::npos;
}

std::optional<PictureSkip> skip_of(ByteView picture) {
    if (says(picture, "small")) return PictureSkip::AlreadySmall;
    if (says(picture, "anim")) return PictureSkip::Animated;
    if (says(picture, "bad")) return PictureSkip::Unreadable;
    return std::nullopt;
}

Rendition rendition(const RenditionBox& box, const std::string& picture) {
    int width = box.width, height = box.height;
    if (box.fit == RenditionBox::Fit::Within) {
        const double factor = std::min(double(box.width) / kWidth, double(box.height) / kHeight);
        width = int(kWidth * factor + 0.5);
        height = int(kHeight * factor + 0.5);
    }
    const std::string bytes = "\xFF\xD8\xFF " + std::to_string(width) + "x" +
                              std::to_string(height) + " of " + picture + " \xFF\xD9";
    return {to_bytes(bytes), "jpg", width, height};
}

}  // namespace

bool StandInMaker::browser_shows(ByteView head) const {
    return !says(head, "heic");
}

PictureEstimate StandInMaker::estimate(ByteView picture, const PictureRequest&) const {
    if (const auto skip = skip_of(picture)) return {0, skip};
    if (says(picture, "huge")) return {std::int64_t(1) << 50, std::nullopt};
    return {std::int64_t(picture.size()) + peak_bytes, std::nullopt};
}

PictureResult StandInMaker::make(ByteView picture, const PictureRequest& request,
                                 std::stop_token) const {
    calls.fetch_add(1);
    {
        std::unique_lock lock(mutex_);
        calls_made_.push_back({text_of(picture), request});
        gate_opened_.wait(lock, [this] { return !gate_closed_; });
    }
    if (on_call) on_call();
    if (says(picture, "nomem")) throw std::bad_alloc();
    if (const auto skip = skip_of(picture)) return {{}, skip};
    PictureResult result;
    result.browser_shows_original = browser_shows(picture);
    for (const RenditionBox& box : request.boxes)
        result.renditions.push_back(rendition(box, text_of(picture)));
    return result;
}

void StandInMaker::close_gate() {
    std::lock_guard lock(mutex_);
    gate_closed_ = true;
}

void StandInMaker::open_gate() {
    {
        std::lock_guard lock(mutex_);
        gate_closed_ = false;
    }
    gate_opened_.notify_all();
}

std::vector<StandInMaker::Call> StandInMaker::calls_made() const {
    std::lock_guard lock(mutex_);
    return calls_made_;
}

}  // namespace galmora::testing
