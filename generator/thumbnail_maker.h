#pragma once
// Making one thumbnail from one picture file: what is asked, what comes
// back. The generator decides which pictures get one, names them and writes
// them; the picture work itself (decoding, scaling, encoding) is done by an
// implementation of ThumbnailMaker outside the generator.

#include <optional>
#include <string_view>

#include "core/text.h"

namespace galmora {

struct ThumbnailRequest {
    enum class Fit {
        // The whole picture, scaled down to fit within width x height; a
        // picture that already fits is left alone (AlreadySmall).
        Within,
        // Exactly width x height: scaled to cover the box, centre cropped,
        // enlarged when smaller (the cover of a main page card).
        Fill,
    };
    Text source;  // the picture file's path (local text)
    Fit fit = Fit::Within;
    int width = 0;
    int height = 0;
};

// Why a picture keeps its original only.
enum class ThumbnailSkip {
    AlreadySmall,  // it fits within the box as it is
    Animated,      // an animated picture would lose its motion
    Unreadable,    // missing, empty, truncated, not a picture, or no decoder
    TooLarge,      // more pixels than the decoder may allocate
};

struct Thumbnail {
    Bytes bytes;                 // the encoded picture, without any metadata
    std::string_view extension;  // "jpg", or "webp" when it keeps transparency
    int width = 0;
    int height = 0;
};

struct ThumbnailResult {
    std::optional<Thumbnail> thumbnail;
    ThumbnailSkip skip = ThumbnailSkip::Unreadable;  // when there is no thumbnail
};

class ThumbnailMaker {
  public:
    virtual ~ThumbnailMaker() = default;
    // Upright as a browser shows the original (orientation applied), in sRGB.
    // Called from several threads at once.
    virtual ThumbnailResult make(const ThumbnailRequest& request) const = 0;
};

}  // namespace galmora
