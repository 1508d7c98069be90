#pragma once
// A HEIF or AVIF picture's decoded YCbCr planes made into RGB by the program
// itself, at its own size or reduced by a whole factor in the same pass:
// each pixel the average of the samples it covers. libheif's own conversion
// to interleaved RGB takes about a quarter as long again as the decoding of
// a 12 MP photo, and the renditions need at most half its size.

#include <libheif/heif.h>

#include <QImage>
#include <optional>

namespace galmora::imaging {

// Red, green and blue planes, or 8-bit luma and chroma planes (4:2:0, 4:2:2
// or 4:4:4) in BT.601, BT.709 or
// BT.2020 (nclx's matrix; 601 when the file gives none, as libheif takes
// it), full or limited range, into RGB32 of (width / denominator) x
// (height / denominator). nullopt for any other layout, which libheif
// converts itself.
std::optional<QImage> rgb_from_planes(const heif_image* image, const heif_image_handle* handle,
                                      int denominator);

}  // namespace galmora::imaging
