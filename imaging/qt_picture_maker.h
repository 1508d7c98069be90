#pragma once
// The generator's picture work with Qt's image classes: a picture is
// recognised by its content, sized from its header, decoded once (at a
// reduced size where the format allows), and each rendition is scaled
// smoothly from it, turned upright, converted to sRGB and encoded without
// metadata. Holds no state, so make() may run on several threads at once.

#include <cstdint>

#include "generator/picture_maker.h"

namespace galmora {

class QtPictureMaker : public PictureMaker {
  public:
    // 120 million pixels: more than the largest camera sensors in use
    // (about 102 MP, medium format) and panoramas such as 30,000 x 4,000;
    // refuses the 200 MP modes of some phones and headers that claim
    // 30,000 x 30,000.
    static constexpr std::int64_t kMaxPixels = 120'000'000;
    // One decoded picture: 400 MiB holds 104 MP at 32 bits a pixel and a
    // 16-bit PNG of 52 MP. Qt's own process-wide limit is raised to this
    // once, at start-up (set_process_limits), never from a worker.
    static constexpr std::int64_t kMaxDecodedBytes = std::int64_t(400) << 20;

    // Call once at start-up, before any picture work: Qt's limit above and
    // the allocator's keeping of freed picture buffers (core/kept_memory.h).
    static void set_process_limits();

    bool browser_shows(ByteView head) const override;
    PictureEstimate estimate(ByteView picture, const PictureRequest& request) const override;
    PictureResult make(ByteView picture, const PictureRequest& request,
                       std::stop_token stop) const override;
};

}  // namespace galmora
