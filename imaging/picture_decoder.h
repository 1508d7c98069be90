#pragma once
// One picture's header and pixels, by the decoder of its format: Qt's image
// reader, or libheif for HEIF (HEIC) and AVIF.

#include <QImage>
#include <QSize>
#include <cstdint>
#include <optional>

#include "core/text.h"
#include "imaging/heif_picture.h"
#include "imaging/picture_bytes.h"
#include "imaging/picture_reader.h"

namespace galmora::imaging {

class PictureDecoder {
  public:
    // bytes must outlive the decoder.
    PictureDecoder(ByteView bytes, PictureFormat format);
    PictureDecoder(const PictureDecoder&) = delete;
    PictureDecoder& operator=(const PictureDecoder&) = delete;

    std::optional<PictureHeader> header();
    // Whether it decodes at a reduced size when asked (a JPEG's 1/2, 1/4,
    // 1/8, a HEIF's averaged by a whole factor): else decode() always
    // delivers the whole picture.
    bool reduces() const { return format_ == PictureFormat::Jpeg || by_libheif(); }
    // What the decoder itself holds while it decodes, beyond the picture it
    // delivers; after header().
    std::int64_t own_peak_bytes() const;
    // Decoded at size (in the stored orientation) and turned upright.
    std::optional<QImage> decode(QSize size);

  private:
    bool by_libheif() const;

    ByteView bytes_;
    PictureFormat format_;
    std::optional<PictureReader> reader_;  // the formats Qt reads
    std::optional<HeifHeader> heif_;       // read once, by header()
};

}  // namespace galmora::imaging
