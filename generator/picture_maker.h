#pragma once
// The picture work the generator asks for, on values: a picture's bytes in,
// the files to write out. From one decode a picture gives several
// renditions: its thumbnail and the viewer's display copies (each fitted
// within a box), or a main page card's cover (filling its box). The
// generator decides which pictures get them, names them and writes them;
// decoding, scaling and encoding are done by an implementation outside the
// generator (imaging/).

#include <cstdint>
#include <optional>
#include <stop_token>
#include <string_view>
#include <vector>

#include "core/text.h"

namespace galmora {

struct RenditionBox {
    enum class Fit {
        // The whole picture, scaled down to fit within width x height.
        Within,
        // Exactly width x height: scaled to cover the box, centre cropped,
        // enlarged when smaller (the cover of a main page card).
        Fill,
    };
    Fit fit = Fit::Within;
    int width = 0;
    int height = 0;
};

// What to make of one picture. Within boxes come smallest first: a box the
// picture already fits within gets nothing, nor do the larger ones after
// it - unless browsers cannot show the original (HEIC, AVIF), whose first
// such box gets the picture at its own size.
struct PictureRequest {
    std::vector<RenditionBox> boxes;
};

// Why a picture gets nothing made.
enum class PictureSkip {
    AlreadySmall,  // it fits within the first box as it is
    Animated,      // an animated picture would lose its motion
    Unreadable,    // empty, truncated, not a picture, or no decoder
    TooLarge,      // more pixels or bytes than the decoder may take
    OverBudget,    // its work alone would need more memory than all work may hold
    OutOfMemory,   // an allocation failed during its work
    NotEncoded,    // decoded, but the encoder failed
    Stopped,       // the stop came during its work
};

struct Rendition {
    Bytes bytes;                 // the encoded picture, without any metadata
    std::string_view extension;  // "jpg", or "webp" when it keeps transparency; one per picture
    int width = 0;
    int height = 0;
};

struct PictureResult {
    std::vector<Rendition> renditions;  // in the order of the boxes they were made for
    std::optional<PictureSkip> skip;    // set when nothing was made
    bool browser_shows_original = true;
};

// What a picture's work will hold at most, told from its header.
struct PictureEstimate {
    std::int64_t peak_bytes = 0;      // the picture's bytes included
    std::optional<PictureSkip> skip;  // set when nothing would be made
};

class PictureMaker {
  public:
    virtual ~PictureMaker() = default;
    // Whether browsers show a picture of this content as it is, from its
    // first bytes.
    virtual bool browser_shows(ByteView head) const = 0;
    // Cheap: the header only, which may also be all that picture holds (the
    // file's first bytes): then only AlreadySmall and TooLarge are final.
    // Called from several threads at once.
    virtual PictureEstimate estimate(ByteView picture, const PictureRequest& request) const = 0;
    // Upright as a browser shows the original (orientation applied), in
    // sRGB. Called from several threads at once; the stop is checked
    // between the steps of the work.
    virtual PictureResult make(ByteView picture, const PictureRequest& request,
                               std::stop_token stop) const = 0;
};

}  // namespace galmora
