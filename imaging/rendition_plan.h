#pragma once
// How one picture becomes its renditions: the size of each, what part of
// the picture it keeps, how large the decoder makes the picture first, and
// the most memory the work holds.

#include <QRect>
#include <QSize>
#include <cstdint>
#include <optional>
#include <vector>

#include "generator/picture_maker.h"
#include "imaging/picture_reader.h"

namespace galmora::imaging {

struct RenditionPlan {
    struct Target {
        RenditionBox::Fit fit = RenditionBox::Fit::Within;
        QSize size;  // of the rendition, upright
    };
    std::vector<Target> targets;  // in the order of the request's boxes, those made
    QSize decode;                 // what the decoder delivers, in the stored orientation
    std::int64_t peak_bytes = 0;  // the picture's bytes included
};

// nullopt when nothing is to be made: the picture fits within the first
// box already (and browsers show it as it is).
std::optional<RenditionPlan> plan_renditions(const PictureRequest& request,
                                             const PictureHeader& header, bool scaled_decoding,
                                             bool browser_shows, std::int64_t file_bytes);

}  // namespace galmora::imaging
