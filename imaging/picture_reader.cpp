#include "imaging/picture_reader.h"

namespace galmora::imaging {

namespace {

const char* qt_format_name(PictureFormat format) {
    switch (format) {
        case PictureFormat::Jpeg:
            return "jpeg";
        case PictureFormat::Png:
            return "png";
        case PictureFormat::Gif:
            return "gif";
        case PictureFormat::Bmp:
            return "bmp";
        case PictureFormat::Webp:
            return "webp";
        case PictureFormat::Heif:  // Qt reads neither: libheif decodes them
        case PictureFormat::Avif:
        case PictureFormat::Unknown:
            break;
    }
    return "";
}

bool turns_sideways(QImageIOHandler::Transformations transformation) {
    return transformation.testFlag(QImageIOHandler::TransformationRotate90);
}

// Readers that do not tell their format decode into 32 bits a pixel.
int bytes_per_pixel(QImage::Format format) {
    if (format == QImage::Format_Invalid) return 4;
    return (QImage::toPixelFormat(format).bitsPerPixel() + 7) / 8;
}

}  // namespace

PictureReader::PictureReader(ByteView bytes, PictureFormat format)
    : data_(QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                    static_cast<qsizetype>(bytes.size()))),
      buffer_(&data_) {
    buffer_.open(QIODevice::ReadOnly);
    reader_.setDevice(&buffer_);
    reader_.setFormat(qt_format_name(format));
    reader_.setAutoTransform(true);
}

std::optional<PictureHeader> PictureReader::header() {
    if (!reader_.canRead()) return std::nullopt;
    const QSize stored = reader_.size();
    if (stored.isEmpty()) return std::nullopt;
    PictureHeader header;
    header.stored = stored;
    header.turned = turns_sideways(reader_.transformation());
    header.upright = header.turned ? stored.transposed() : stored;
    header.bytes_per_pixel = bytes_per_pixel(reader_.imageFormat());
    return header;
}

std::optional<QImage> PictureReader::decode(QSize size) {
    if (size != reader_.size()) reader_.setScaledSize(size);
    QImage image;
    if (!reader_.read(&image) || image.isNull()) return std::nullopt;
    return image;
}

}  // namespace galmora::imaging
