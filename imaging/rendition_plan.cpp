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
    QSize needed;
    for (const RenditionPlan::Target& target : plan.targets)
        needed = needed.expandedTo(source_needed(target, header.upright));
    if (header.turned) needed.transpose();
    plan.decode = scaled_decoding ? jpeg_decode_size(header.stored, needed) : header.stored;
    plan.peak_bytes = peak_bytes(plan, header, file_bytes);
    return plan;
}

}  // namespace galmora::imaging
