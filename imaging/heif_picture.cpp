#include "imaging/heif_picture.h"

#include <algorithm>

#include "imaging/heif_colour.h"
#include "imaging/heif_handles.h"
#include "imaging/heif_planes.h"

namespace galmora::imaging {

namespace {

// A file libheif reads straight from the caller's bytes, and its primary
// image, which keeps what it needs of the context alive.
struct HeifFile {
    HeifContextPtr context;
    HeifHandlePtr primary;
};

std::optional<HeifFile> open_heif(ByteView bytes) {
    HeifFile file{new_heif_context(), nullptr};
    if (!file.context || !heif_ok(heif_context_read_from_memory_without_copy(
                             file.context.get(), bytes.data(), bytes.size(), nullptr)))
        return std::nullopt;
    heif_image_handle* primary = nullptr;
    if (!heif_ok(heif_context_get_primary_image_handle(file.context.get(), &primary)))
        return std::nullopt;
    file.primary.reset(primary);
    return file;
}

// Turned and mirrored by the file's boxes, converted to 8 bits a channel.
HeifImagePtr decoded_rgb(const heif_image_handle* primary, bool alpha) {
    const HeifDecodingOptionsPtr options(heif_decoding_options_alloc());
    if (!options) return nullptr;
    options->convert_hdr_to_8bit = 1;
    heif_image* rgb = nullptr;
    const heif_chroma chroma = alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB;
    if (!heif_ok(heif_decode_image(primary, &rgb, heif_colorspace_RGB, chroma, options.get())))
        return nullptr;
    return HeifImagePtr(rgb);
}

QImage::Format interleaved_format(bool alpha, bool premultiplied) {
    if (!alpha) return QImage::Format_RGB888;
    return premultiplied ? QImage::Format_RGBA8888_Premultiplied : QImage::Format_RGBA8888;
}

// A copy of libheif's interleaved pixels in Qt's 32-bit layout.
std::optional<QImage> as_qimage(const heif_image* rgb, bool alpha, bool premultiplied) {
    int stride = 0;
    const std::uint8_t* pixels =
        heif_image_get_plane_readonly(rgb, heif_channel_interleaved, &stride);
    const int width = heif_image_get_width(rgb, heif_channel_interleaved);
    const int height = heif_image_get_height(rgb, heif_channel_interleaved);
    const int bits = heif_image_get_bits_per_pixel(rgb, heif_channel_interleaved);
    if (!pixels || width <= 0 || height <= 0 || bits != (alpha ? 32 : 24)) return std::nullopt;
    const QImage view(pixels, width, height, stride, interleaved_format(alpha, premultiplied));
    QImage image = view.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull()) return std::nullopt;
    return image;
}

// As coded: the planes before any colour conversion.
HeifImagePtr decoded_planes(const heif_image_handle* primary) {
    const HeifDecodingOptionsPtr options(heif_decoding_options_alloc());
    heif_image* planes = nullptr;
    if (!options || !heif_ok(heif_decode_image(primary, &planes, heif_colorspace_undefined,
                                               heif_chroma_undefined, options.get())))
        return nullptr;
    return HeifImagePtr(planes);
}

// libheif's own conversion, for what rgb_from_planes does not take (alpha,
// more than 8 bits): the whole picture, then scaled down.
std::optional<QImage> libheif_rgb(const heif_image_handle* primary, bool alpha, int denominator) {
    const HeifImagePtr rgb = decoded_rgb(primary, alpha);
    if (!rgb) return std::nullopt;
    std::optional<QImage> image =
        as_qimage(rgb.get(), alpha, heif_image_handle_is_premultiplied_alpha(primary) != 0);
    if (!image || denominator == 1) return image;
    const QSize reduced(std::max(1, image->width() / denominator),
                        std::max(1, image->height() / denominator));
    return image->scaled(reduced, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// libheif's own threads: 0 decodes on the calling thread.
int libheif_threads(int decoding_threads) {
    return decoding_threads > 1 ? decoding_threads : 0;
}

}  // namespace

std::optional<HeifHeader> heif_header(ByteView bytes) {
    const std::optional<HeifFile> file = open_heif(bytes);
    if (!file) return std::nullopt;
    const heif_image_handle* primary = file->primary.get();
    HeifHeader header;
    header.upright =
        QSize(heif_image_handle_get_width(primary), heif_image_handle_get_height(primary));
    if (header.upright.isEmpty()) return std::nullopt;
    header.has_alpha = heif_image_handle_has_alpha_channel(primary) != 0;
    header.bits_per_channel = std::max(8, heif_image_handle_get_luma_bits_per_pixel(primary));
    return header;
}

std::int64_t heif_decode_peak_bytes(const HeifHeader& header) {
    const std::int64_t pixels = std::int64_t(header.upright.width()) * header.upright.height();
    const int sample_bytes = header.bits_per_channel > 8 ? 2 : 1;
    const int channels = header.has_alpha ? 4 : 3;
    // Planes at full chroma resolution, the worst case, three times over:
    // the decoder's (with its padding), libheif's copy, and a turned or
    // converted one beside it; then the interleaved RGB(A) and the QImage.
    const std::int64_t planes = std::int64_t(channels) * sample_bytes;
    constexpr std::int64_t kQImage = 4;
    return pixels * (3 * planes + channels + kQImage);
}

std::optional<QImage> decode_heif(ByteView bytes, int decoding_threads, int denominator) {
    const std::optional<HeifFile> file = open_heif(bytes);
    if (!file) return std::nullopt;
    heif_context_set_max_decoding_threads(file->context.get(), libheif_threads(decoding_threads));
    const heif_image_handle* primary = file->primary.get();
    const bool alpha = heif_image_handle_has_alpha_channel(primary) != 0;
    std::optional<QImage> image;
    if (!alpha && heif_image_handle_get_luma_bits_per_pixel(primary) <= 8) {
        if (const HeifImagePtr planes = decoded_planes(primary))
            image = rgb_from_planes(planes.get(), primary, std::max(1, denominator));
    }
    if (!image) image = libheif_rgb(primary, alpha, std::max(1, denominator));
    if (image) image->setColorSpace(heif_colour_space(primary));
    return image;
}

}  // namespace galmora::imaging
