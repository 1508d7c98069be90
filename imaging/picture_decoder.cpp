#include "imaging/picture_decoder.h"

#include <algorithm>

namespace galmora::imaging {

PictureDecoder::PictureDecoder(ByteView bytes, PictureFormat format)
    : bytes_(bytes), format_(format) {
    if (!by_libheif()) reader_.emplace(bytes, format);
}

bool PictureDecoder::by_libheif() const {
    return format_ == PictureFormat::Heif || format_ == PictureFormat::Avif;
}

// libheif applies the file's turn and mirror itself: its header is upright.
std::optional<PictureHeader> PictureDecoder::header() {
    if (reader_) return reader_->header();
    heif_ = heif_header(bytes_);
    if (!heif_) return std::nullopt;
    return PictureHeader{heif_->upright, heif_->upright, false, 4};
}

std::int64_t PictureDecoder::own_peak_bytes() const {
    return heif_ ? heif_decode_peak_bytes(*heif_) : 0;
}

// A picture's work runs on one worker thread a core: libheif gets no
// threads of its own, which would only contend for the same cores and add
// their tiles' memory to the budget's.
std::optional<QImage> PictureDecoder::decode(QSize size) {
    if (reader_) return reader_->decode(size);
    if (!heif_ || size.isEmpty()) return std::nullopt;
    const int denominator = std::max(1, heif_->upright.width() / size.width());
    std::optional<QImage> image = decode_heif(bytes_, 1, denominator);
    if (image && image->size() != size)
        image = image->scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}

}  // namespace galmora::imaging
