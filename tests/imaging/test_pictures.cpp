#include "tests/imaging/test_pictures.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QImageWriter>
#include <QPainter>
#include <algorithm>
#include <cstdio>

#include "imaging/qt_picture_maker.h"

namespace galmora::testing {

namespace {

void put_big32(Bytes& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

void append_little(Bytes& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void append_text(Bytes& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
}

std::uint32_t crc32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320 & (0u - (crc & 1)));
    }
    return ~crc;
}

// Type and data of the PNG chunk at `at`, checksummed again.
void fix_png_crc(Bytes& png, std::size_t at) {
    const std::size_t length =
        std::size_t(png[at]) << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
    put_big32(png, at + 8 + length, crc32(png.data() + at + 4, length + 4));
}

constexpr std::size_t kPngHeaderChunk = 8;  // right after the signature
constexpr std::size_t kPngAfterHeaderChunk = kPngHeaderChunk + 12 + 13;

// A RIFF chunk: type, little-endian size, data padded to an even size.
void append_riff_chunk(Bytes& out, std::string_view type, const Bytes& data) {
    append_text(out, type);
    append_little(out, static_cast<std::uint32_t>(data.size()), 4);
    out.insert(out.end(), data.begin(), data.end());
    if (data.size() % 2) out.push_back(0);
}

// The first chunk of a simple WebP file (its VP8 or VP8L bitstream).
Bytes first_webp_chunk(const Bytes& webp) {
    const std::size_t size =
        webp[16] | webp[17] << 8 | webp[18] << 16 | std::size_t(webp[19]) << 24;
    return Bytes(webp.begin() + 12,
                 webp.begin() + 20 + static_cast<std::ptrdiff_t>(size + size % 2));
}

Bytes gif_with_frames(int frames) {
    Bytes gif;
    append_text(gif, "GIF89a");
    append_little(gif, 1, 2);  // 1 x 1 screen
    append_little(gif, 1, 2);
    for (int b : {0xF0, 0, 0, 0x30, 0x80, 0xC0, 0, 0, 0}) gif.push_back(std::uint8_t(b));
    for (int frame = 0; frame < frames; ++frame) {
        for (int b : {0x21, 0xF9, 4, 0, 10, 0, 0, 0}) gif.push_back(std::uint8_t(b));  // 0.1 s
        for (int b : {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 1, 0})
            gif.push_back(std::uint8_t(b));
    }
    gif.push_back(0x3B);
    return gif;
}

}  // namespace

OneRendition thumbnail_of(const Bytes& bytes, RenditionBox::Fit fit, int width, int height) {
    PictureResult made = QtPictureMaker().make(bytes, {{{fit, width, height}}}, {});
    if (made.skip || made.renditions.empty())
        return {std::nullopt, made.skip.value_or(PictureSkip::Unreadable)};
    return {std::move(made.renditions.front())};
}

Bytes encoded(const QImage& image, const char* format, int quality) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    if (!writer.write(image)) std::fprintf(stderr, "cannot write a %s picture\n", format);
    return Bytes(data.begin(), data.end());
}

QImage decoded(const Rendition& thumbnail) {
    return QImage::fromData(thumbnail.bytes.data(), static_cast<int>(thumbnail.bytes.size()));
}

QImage filled(int width, int height, QColor colour, QImage::Format format) {
    QImage image(width, height, format);
    image.fill(colour);
    return image;
}

QImage three_bands(int width, int height, QColor left, QColor middle, QColor right) {
    QImage image = filled(width, height, middle);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 3, height, left);
    painter.fillRect(width - width / 3, 0, width / 3, height, right);
    return image;
}

QImage red_bottom_left(int width, int height) {
    QImage image = filled(width, height, Qt::blue);
    QPainter painter(&image);
    painter.fillRect(0, height / 2, width / 2, height - height / 2, Qt::red);
    return image;
}

Bytes with_jpeg_size(Bytes jpeg, int width, int height) {
    for (std::size_t at = 2; at + 9 < jpeg.size();) {
        if (jpeg[at + 1] == 0xC0 || jpeg[at + 1] == 0xC2) {
            jpeg[at + 5] = std::uint8_t(height >> 8), jpeg[at + 6] = std::uint8_t(height);
            jpeg[at + 7] = std::uint8_t(width >> 8), jpeg[at + 8] = std::uint8_t(width);
            break;
        }
        at += 2 + (std::size_t(jpeg[at + 2]) << 8 | jpeg[at + 3]);
    }
    return jpeg;
}

Bytes with_png_header(Bytes png, int width, int height, int bit_depth) {
    put_big32(png, kPngHeaderChunk + 8, std::uint32_t(width));
    put_big32(png, kPngHeaderChunk + 12, std::uint32_t(height));
    png[kPngHeaderChunk + 16] = std::uint8_t(bit_depth);
    fix_png_crc(png, kPngHeaderChunk);
    return png;
}

Bytes with_png_chunk(Bytes png, const std::string& type, const Bytes& data) {
    Bytes chunk(4, 0);
    put_big32(chunk, 0, static_cast<std::uint32_t>(data.size()));
    append_text(chunk, type);
    chunk.insert(chunk.end(), data.begin(), data.end());
    chunk.resize(chunk.size() + 4);
    fix_png_crc(chunk, 0);
    png.insert(png.begin() + kPngAfterHeaderChunk, chunk.begin(), chunk.end());
    return png;
}

Bytes animated_gif() {
    return gif_with_frames(2);
}

Bytes single_frame_gif() {
    return gif_with_frames(1);
}

// VP8X with the animation flag and the canvas size, ANIM, then one ANMF
// chunk a frame: position, size, duration, flags, the frame's bitstream.
Bytes animated_webp(const QImage& frame) {
    const Bytes bitstream = first_webp_chunk(encoded(frame, "webp", 100));
    Bytes header = {0x02, 0, 0, 0};
    append_little(header, std::uint32_t(frame.width() - 1), 3);
    append_little(header, std::uint32_t(frame.height() - 1), 3);
    Bytes animation(4, 0);
    append_little(animation, 0, 2);  // loop for ever
    Bytes frame_chunk(6, 0);
    append_little(frame_chunk, std::uint32_t(frame.width() - 1), 3);
    append_little(frame_chunk, std::uint32_t(frame.height() - 1), 3);
    append_little(frame_chunk, 100, 3);
    frame_chunk.push_back(0);
    frame_chunk.insert(frame_chunk.end(), bitstream.begin(), bitstream.end());

    Bytes body;
    append_text(body, "WEBP");
    append_riff_chunk(body, "VP8X", header);
    append_riff_chunk(body, "ANIM", animation);
    append_riff_chunk(body, "ANMF", frame_chunk);
    append_riff_chunk(body, "ANMF", frame_chunk);
    Bytes webp;
    append_text(webp, "RIFF");
    append_little(webp, static_cast<std::uint32_t>(body.size()), 4);
    webp.insert(webp.end(), body.begin(), body.end());
    return webp;
}

std::vector<std::string> jpeg_markers(ByteView jpeg) {
    std::vector<std::string> markers;
    for (std::size_t at = 2; at + 4 <= jpeg.size() && jpeg[at] == 0xFF;) {
        char name[3];
        std::snprintf(name, sizeof name, "%02X", jpeg[at + 1]);
        markers.push_back(name);
        if (jpeg[at + 1] == 0xDA) break;
        at += 2 + (std::size_t(jpeg[at + 2]) << 8 | jpeg[at + 3]);
    }
    return markers;
}

std::vector<std::string> webp_chunks(ByteView webp) {
    std::vector<std::string> chunks;
    for (std::size_t at = 12; at + 8 <= webp.size();) {
        chunks.emplace_back(reinterpret_cast<const char*>(webp.data() + at), 4);
        const std::size_t size =
            webp[at + 4] | webp[at + 5] << 8 | webp[at + 6] << 16 | std::size_t(webp[at + 7]) << 24;
        at += 8 + size + size % 2;
    }
    return chunks;
}

bool contains(ByteView haystack, std::string_view needle) {
    return contains(haystack, as_bytes(needle));
}

bool contains(ByteView haystack, ByteView needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) !=
           haystack.end();
}

}  // namespace galmora::testing

namespace {

// As the program does at start-up, before any picture work.
class ProcessLimits : public ::testing::Environment {
  public:
    void SetUp() override { galmora::QtPictureMaker::set_process_limits(); }
};
[[maybe_unused]] ::testing::Environment* const process_limits =
    ::testing::AddGlobalTestEnvironment(new ProcessLimits);

}  // namespace
