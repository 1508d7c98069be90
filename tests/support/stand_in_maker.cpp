#include "tests/support/stand_in_maker.h"

#include "core/codepage.h"
#include "tests/support/text_helpers.h"

namespace galmora::testing {

ThumbnailResult StandInMaker::make(const ThumbnailRequest& request) const {
    calls.fetch_add(1);
    {
        std::unique_lock lock(mutex_);
        requests_.push_back(request);
        gate_opened_.wait(lock, [this] { return !gate_closed_; });
    }
    if (on_call) on_call();
    const std::string name = utf8_string(request.source);
    if (name.find("small") != std::string::npos) return {{}, ThumbnailSkip::AlreadySmall};
    if (name.find("anim") != std::string::npos) return {{}, ThumbnailSkip::Animated};
    if (name.find("bad") != std::string::npos) return {{}, ThumbnailSkip::Unreadable};
    return {Thumbnail{to_bytes("thumb of " + name), "jpg", 504, 378}};
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

std::vector<ThumbnailRequest> StandInMaker::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

}  // namespace galmora::testing
