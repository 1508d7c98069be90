#pragma once
// Thumbnails made with Qt's image classes: the picture is recognised by its
// content, sized from its header, decoded at a reduced size where the
// format allows, scaled smoothly, turned upright, converted to sRGB and
// encoded without metadata. Holds no state, so make() may run on several
// threads at once.

#include <cstdint>

#include "generator/thumbnail_maker.h"

namespace galmora {

class QtThumbnailMaker : public ThumbnailMaker {
  public:
    // Pictures are refused (TooLarge) from their header, before decoding,
    // so that one call never needs more than a few hundred MB.
    //
    // 120 million pixels: more than the largest camera sensors in use
    // (about 102 MP, medium format) and panoramas such as 30,000 x 4,000;
    // refuses the 200 MP modes of some phones and headers that claim
    // 30,000 x 30,000.
    static constexpr std::int64_t kMaxPixels = 120'000'000;
    // The decoded picture, before it is scaled down: 400 MiB holds 104 MP at
    // 32 bits a pixel and a 16-bit PNG of 52 MP. A JPEG is decoded at 1/2,
    // 1/4 or 1/8 size whenever the thumbnail is less than half as large.
    // The first make() raises Qt's process-wide limit for one decoded
    // picture (QImageReader::allocationLimit) to this.
    static constexpr std::int64_t kMaxDecodedBytes = std::int64_t(400) << 20;
    // Larger files are not read at all (every file is read whole first).
    static constexpr std::int64_t kMaxFileBytes = std::int64_t(256) << 20;

    ThumbnailResult make(const ThumbnailRequest& request) const override;
};

}  // namespace galmora
