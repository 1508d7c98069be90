#pragma once
// HEIC and AVIF files written in memory with libheif's encoders (x265 and
// aom), for the tests of their decoding: pictures turned or mirrored by the
// file's own boxes, with EXIF, several images, 10 bits, alpha or a colour
// profile. Encoding is slow: keep the pictures tiny.

#include <QImage>
#include <cstddef>
#include <utility>
#include <vector>

#include "core/text.h"
#include "tests/support/exif_segment.h"

namespace galmora::testing {

enum class HeifCodec { Hevc, Av1 };

enum class HeifProfile { None, DisplayP3Nclx, DisplayP3Icc, Bt2100Pq, Bt2100Hlg };

struct HeifImage {
    HeifImage(QImage pixels, int orientation = 1)
        : pixels(std::move(pixels)), orientation(orientation) {}

    QImage pixels;        // coded with alpha when its format has an alpha channel
    int orientation = 1;  // as EXIF counts, 1 to 8: written as irot and imir boxes
    int bit_depth = 8;    // 8 or 10
    HeifProfile profile = HeifProfile::None;
    ExifTags exif;  // an Exif item when it holds a tag
};

// The images in one file, images[primary] its primary image; empty when an
// encoder fails.
Bytes heif_file(HeifCodec codec, const std::vector<HeifImage>& images, std::size_t primary = 0);

}  // namespace galmora::testing
