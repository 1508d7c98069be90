#pragma once
// What a picture file's bytes tell before any decoder sees them: its format
// (from the content, whatever the file is called), whether the data is
// complete, and whether it moves.

#include "core/text.h"

namespace galmora::imaging {

// The formats a thumbnail is made from: those a browser shows, and the
// phones' HEIF (HEVC-coded, HEIC) and AVIF, which libheif decodes. Formats
// whose data has no signature (TGA, WBMP) are never tried, so that no text
// file or zero-filled file is ever taken for a picture.
enum class PictureFormat { Unknown, Jpeg, Png, Gif, Bmp, Webp, Heif, Avif };

PictureFormat picture_format(ByteView bytes);

// False when the data ends before its format's end: a JPEG without an EOI
// after its first scan, a GIF without its trailer, a BMP shorter than its
// header says. Qt's decoders accept such data and fill the missing part
// with grey or black. PNG and WebP decoders report truncation themselves;
// so does libheif, but a HEIF or AVIF file whose top-level boxes run past
// its end is refused here already, before any decoding.
bool stream_complete(PictureFormat format, ByteView bytes);

// More than one frame: a GIF of several images, a PNG with an animation
// control chunk before its image data, a WebP whose header flags animation,
// a HEIF or AVIF image sequence (a movie box) without a still image (a meta
// box) beside it. Decided from the bytes because Qt shows only the first
// frame of an animated PNG, and sizes an animated WebP's canvas before any
// limit of ours can look at it; libheif decodes a sequence's still image,
// and of a sequence without one nothing.
bool is_animated(PictureFormat format, ByteView bytes);

}  // namespace galmora::imaging
