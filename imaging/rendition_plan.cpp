#include "imaging/rendition_plan.h"

#include <algorithm>

#include "imaging/thumbnail_geometry.h"

namespace galmora::imaging {

namespace {

using Fit = RenditionBox::Fit;

std::int64_t pixel_count(QSize size) {
    return std::int64_t(size.width()) * size.height();
}

// The size of the whole upright picture a target is scaled from: a Fill
// target keeps a crop of it.
QSize source_needed(const RenditionPlan::Target& target, QSize upright) {
    return target.fit == Fit::Fill ? scaled_to_cover(upright, target.size) : target.size;
}

// Decoded, then turned upright (a second copy) or converted to 32 bits for
// smooth scaling (a third), then for each rendition in turn: scaled, put
// into the encoder's format, encoded. Qt's JPEG reader may scale once more
// inside, counted with the turn. A few MB cover the codecs' own buffers.
std::int64_t peak_bytes(const RenditionPlan& plan, const PictureHeader& header,
                        std::int64_t file_bytes) {
    constexpr std::int64_t kCodecBuffers = std::int64_t(4) << 20;
    const std::int64_t decoded = pixel_count(plan.decode);
    std::int64_t peak = file_bytes + kCodecBuffers + decoded * (2 * header.bytes_per_pixel + 4);
    std::int64_t largest = 0;
    for (const RenditionPlan::Target& target : plan.targets) {
        const std::int64_t pixels = pixel_count(target.size);
        peak += pixels * 2;  // its encoded bytes, kept until all are made
        largest = std::max(largest, pixels * 4 * 3);
    }
    return peak + largest;
}

// A JPEG decoder delivers 1/8, 1/4 and 1/2 of the picture cheaply. One
// rendition (a thumbnail, a cover) takes the size jpeg_decode_size finds
// sharp for it. Several (a thumbnail and display copies) are scaled from the
// smallest of those sizes that holds the largest; when one just short of it
// holds 97 % of it, the largest is made that size instead (a 4000-pixel
// photo's half, 2000, for a 2048 copy): a decode at twice the size would
// double the work for 2 % of the width.
QSize reduced_decode(RenditionPlan& plan, const PictureHeader& header) {
    const auto turned = [&](QSize size) { return header.turned ? size.transposed() : size; };
    RenditionPlan::Target& largest = plan.targets.back();
    const QSize needed = turned(source_needed(largest, header.upright));
    if (plan.targets.size() == 1) return jpeg_decode_size(header.stored, needed);
    for (int denominator : {8, 4, 2}) {
        const QSize reduced(header.stored.width() / denominator,
                            header.stored.height() / denominator);
        if (reduced.width() >= needed.width() && reduced.height() >= needed.height())
            return reduced;
        if (largest.fit == Fit::Within && reduced.width() >= needed.width() * 0.97 &&
            reduced.height() >= needed.height() * 0.97) {
            largest.size = turned(reduced);
            return reduced;
        }
    }
    return header.stored;
}

}  // namespace

std::optional<RenditionPlan> plan_renditions(const PictureRequest& request,
                                             const PictureHeader& header, bool scaled_decoding,
                                             bool browser_shows, std::int64_t file_bytes) {
    RenditionPlan plan;
    for (const RenditionBox& box : request.boxes) {
        const QSize bounds(std::max(1, box.width), std::max(1, box.height));
        if (box.fit == Fit::Fill) {
            plan.targets.push_back({Fit::Fill, bounds});
        } else if (!fits_within(header.upright, bounds)) {
            plan.targets.push_back({Fit::Within, scaled_within(header.upright, bounds)});
        } else {
            // Browsers show the original itself at this size and above.
            if (!browser_shows) plan.targets.push_back({Fit::Within, header.upright});
            break;
        }
    }
    if (plan.targets.empty()) return std::nullopt;
    plan.decode = scaled_decoding ? reduced_decode(plan, header) : header.stored;
    plan.peak_bytes = peak_bytes(plan, header, file_bytes);
    return plan;
}

}  // namespace galmora::imaging
