#pragma once
// One picture in memory, read with Qt's image reader: its header first
// (size, orientation, pixel depth), then its pixels at a chosen size.

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QSize>
#include <optional>

#include "core/text.h"
#include "imaging/picture_bytes.h"

namespace galmora::imaging {

struct PictureHeader {
    QSize stored;             // as the file stores it
    QSize upright;            // as it is shown: turned by its orientation
    bool turned = false;      // the orientation turns it by 90 or 270 degrees
    int bytes_per_pixel = 4;  // of the decoder's full-size picture
};

class PictureReader {
  public:
    // bytes must outlive the reader.
    PictureReader(ByteView bytes, PictureFormat format);
    PictureReader(const PictureReader&) = delete;
    PictureReader& operator=(const PictureReader&) = delete;

    // nullopt when the format's decoder cannot make sense of the header.
    std::optional<PictureHeader> header();
    // The picture decoded at size (in the stored orientation; a JPEG's
    // decoder decodes at a reduced scale when asked for one) and turned
    // upright; nullopt when the data cannot be decoded.
    std::optional<QImage> decode(QSize size);

  private:
    QByteArray data_;
    QBuffer buffer_;
    QImageReader reader_;
};

}  // namespace galmora::imaging
