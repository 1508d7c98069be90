#pragma once
// Pictures for the imaging tests, made at test time with Qt's image classes,
// and the byte-level edits that make them rotated, animated, huge or
// broken.

#include <QColor>
#include <QImage>
#include <optional>
#include <string>
#include <vector>

#include "core/text.h"
#include "generator/picture_maker.h"

namespace galmora::testing {

// The one rendition of a picture for one box, or why there is none.
struct OneRendition {
    std::optional<Rendition> thumbnail;
    PictureSkip skip = PictureSkip::Unreadable;
};
OneRendition thumbnail_of(const Bytes& bytes, RenditionBox::Fit fit, int width, int height);

Bytes encoded(const QImage& image, const char* format, int quality = 95);
QImage decoded(const Rendition& rendition);

QImage filled(int width, int height, QColor colour, QImage::Format format = QImage::Format_RGB32);
// Side by side, equal widths: left, middle and right.
QImage three_bands(int width, int height, QColor left, QColor middle, QColor right);
// Blue, with the bottom-left quarter red.
QImage red_bottom_left(int width, int height);

// jpeg whose frame header claims width x height.
Bytes with_jpeg_size(Bytes jpeg, int width, int height);
// png whose header claims width x height at 16 bits a channel.
Bytes with_png_header(Bytes png, int width, int height, int bit_depth);
// png with a chunk inserted after its header chunk (CRC included).
Bytes with_png_chunk(Bytes png, const std::string& type, const Bytes& data);

Bytes animated_gif();                      // two 1 x 1 frames
Bytes single_frame_gif();                  // one 1 x 1 frame
Bytes animated_webp(const QImage& frame);  // the same frame twice

// The markers of the segments before a JPEG's first scan, such as "E0".
std::vector<std::string> jpeg_markers(ByteView jpeg);
// The chunk types of a WebP file, such as "VP8X".
std::vector<std::string> webp_chunks(ByteView webp);

bool contains(ByteView haystack, std::string_view needle);
bool contains(ByteView haystack, ByteView needle);

}  // namespace galmora::testing
