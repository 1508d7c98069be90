#pragma once
// A finished rendition's pixels encoded for the web: JPEG when opaque, WebP
// with alpha when the picture has real transparency, and nothing but the
// pixels.

#include <QImage>
#include <optional>

#include "generator/picture_maker.h"

namespace galmora::imaging {

// Baseline JPEG with optimised Huffman tables: at thumbnail size progressive
// saves under 2% of the bytes, takes twice as long to encode and twice as
// long to decode.
inline constexpr int kJpegQuality = 82;
inline constexpr int kWebpQuality = 82;

// Whether some pixel of the picture is not fully opaque. Decided once for a
// picture, so that all its renditions share one format.
bool has_transparent_pixel(const QImage& image);

// image must already be in sRGB. The file carries no metadata: no EXIF, no
// comments or text, no colour profile (untagged pictures are shown as sRGB).
// compact: a JPEG's Huffman tables optimised, a tenth fewer bytes for half
// again the time.
std::optional<Rendition> encode_rendition(const QImage& image, bool transparent,
                                          bool compact = true);

}  // namespace galmora::imaging
