#include "imaging/rendition_encoder.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageWriter>

namespace galmora::imaging {

namespace {

// The same pixels without the text, colour space and resolution the
// picture was read with: Qt's writers put the text into JPEG comments and
// PNG text chunks and the colour space into an ICC profile.
QImage bare_pixels(const QImage& image) {
    return QImage(image.constBits(), image.width(), image.height(), image.bytesPerLine(),
                  image.format());
}

QImage::Format opaque_format(const QImage& image) {
    return image.format() == QImage::Format_Grayscale8 ? QImage::Format_Grayscale8
                                                       : QImage::Format_RGB32;
}

std::optional<Rendition> encoded(const QImage& image, const char* format, int quality,
                                 std::string_view extension, bool compact) {
    if (image.isNull()) return std::nullopt;
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.setOptimizedWrite(compact);
    if (!writer.write(bare_pixels(image))) return std::nullopt;
    return Rendition{Bytes(data.begin(), data.end()), extension, image.width(), image.height()};
}

}  // namespace

bool has_transparent_pixel(const QImage& image) {
    if (!image.hasAlphaChannel()) return false;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(line[x]) != 255) return true;
    }
    return false;
}

std::optional<Rendition> encode_rendition(const QImage& image, bool transparent, bool compact) {
    if (transparent)
        return encoded(image.convertToFormat(QImage::Format_ARGB32), "webp", kWebpQuality, "webp",
                       compact);
    return encoded(image.convertToFormat(opaque_format(image)), "jpeg", kJpegQuality, "jpg",
                   compact);
}

}  // namespace galmora::imaging
