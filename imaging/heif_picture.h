#pragma once
// A HEIF (HEIC) or AVIF picture in memory, decoded with libheif: its
// primary image's header first, the most memory its decoding may take,
// then its pixels. Reads only the bytes it is given and changes no
// process-wide setting (libheif itself is started once, on first use), so
// several threads may decode at once.

#include <QImage>
#include <QSize>
#include <cstdint>
#include <optional>

#include "core/text.h"

namespace galmora::imaging {

struct HeifHeader {
    QSize upright;  // the primary image as shown: turned (irot) and mirrored (imir)
    bool has_alpha = false;
    int bits_per_channel = 8;  // of its luma
};

// nullopt when the bytes hold no HEIF or AVIF file with a primary image.
std::optional<HeifHeader> heif_header(ByteView bytes);

// The most memory decode_heif may take for this picture beyond the file's
// bytes: libheif's coded and decoded planes, the interleaved RGB(A) they are
// converted to and the QImage made from that.
std::int64_t heif_decode_peak_bytes(const HeifHeader& header);

// The primary image (of a burst, or beside its depth map or thumbnail),
// upright as the file's irot and imir boxes say (an EXIF orientation in the
// file describes the same turn and is not applied again), 8 bits a channel,
// as RGB32, or ARGB32 when it has alpha, tagged with its colour space (its
// ICC or nclx profile; sRGB when it has none) and nothing else: no EXIF,
// XMP or text. Its colours are left in that space: the caller converts the
// smaller copy it scales to. At most decoding_threads threads decode at once
// (1: the calling thread alone). denominator > 1 delivers the picture at
// (width / denominator) x (height / denominator), each pixel the average of
// those it covers. nullopt when the data cannot be decoded: cut short,
// corrupt, or coded in a way libheif cannot decode.
std::optional<QImage> decode_heif(ByteView bytes, int decoding_threads, int denominator = 1);

}  // namespace galmora::imaging
