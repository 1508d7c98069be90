#include "imaging/heif_planes.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "imaging/heif_handles.h"

namespace galmora::imaging {

namespace {

// Fixed point, 16 fractional bits: RGB from Y and the chroma's distance
// from its middle.
struct Conversion {
    int luma_offset = 0;
    std::int64_t luma = 1 << 16;
    std::int64_t red_cr = 0, green_cb = 0, green_cr = 0, blue_cb = 0;
};

struct Plane {
    const std::uint8_t* data = nullptr;
    int stride = 0;
    int width = 0;
    int height = 0;
};

std::optional<Plane> plane_of(const heif_image* image, heif_channel channel) {
    Plane plane;
    plane.data = heif_image_get_plane_readonly(image, channel, &plane.stride);
    plane.width = heif_image_get_width(image, channel);
    plane.height = heif_image_get_height(image, channel);
    if (!plane.data || plane.width <= 0 || plane.height <= 0 ||
        heif_image_get_bits_per_pixel(image, channel) != 8)
        return std::nullopt;
    return plane;
}

// The luma weights of red and blue for nclx's matrix code.
std::optional<std::pair<double, double>> luma_weights(int matrix) {
    switch (matrix) {
        case heif_matrix_coefficients_ITU_R_BT_709_5:
            return std::pair{0.2126, 0.0722};
        case heif_matrix_coefficients_unspecified:
        case heif_matrix_coefficients_ITU_R_BT_470_6_System_B_G:
        case heif_matrix_coefficients_ITU_R_BT_601_6:
            return std::pair{0.299, 0.114};
        case heif_matrix_coefficients_ITU_R_BT_2020_2_non_constant_luminance:
            return std::pair{0.2627, 0.0593};
        default:
            return std::nullopt;
    }
}

// libheif takes a picture without an nclx profile as full-range BT.601.
std::optional<Conversion> conversion_for(const heif_image_handle* handle) {
    int matrix = heif_matrix_coefficients_ITU_R_BT_601_6;
    bool full_range = true;
    heif_color_profile_nclx* nclx = nullptr;
    if (heif_ok(heif_image_handle_get_nclx_color_profile(handle, &nclx))) {
        const HeifNclxPtr owned(nclx);
        matrix = nclx->matrix_coefficients;
        full_range = nclx->full_range_flag != 0;
    }
    const auto weights = luma_weights(matrix);
    if (!weights) return std::nullopt;
    const auto [kr, kb] = *weights;
    const double kg = 1 - kr - kb;
    const double luma_scale = full_range ? 1 : 255.0 / 219;
    const double chroma_scale = full_range ? 1 : 255.0 / 224;
    const auto fixed = [](double value) {
        return std::int64_t(value * 65536 + (value < 0 ? -0.5 : 0.5));
    };
    return Conversion{full_range ? 0 : 16,
                      fixed(luma_scale),
                      fixed((2 - 2 * kr) * chroma_scale),
                      fixed(-2 * kb * (1 - kb) / kg * chroma_scale),
                      fixed(-2 * kr * (1 - kr) / kg * chroma_scale),
                      fixed((2 - 2 * kb) * chroma_scale)};
}

// The averages of plane's blocks of width x height samples in one band of
// rows from y0, left to right: as many as the band holds, the last block
// and the band cut at the plane's edge.
void block_averages(const Plane& plane, int y0, int width, int height, std::vector<int>& out) {
    y0 = std::min(y0, plane.height - 1);
    const int rows = std::min(height, plane.height - y0);
    out.assign(std::size_t((plane.width + width - 1) / width), 0);
    std::vector<int> counts(out.size(), 0);
    for (int y = y0; y < y0 + rows; ++y) {
        const std::uint8_t* row = plane.data + std::ptrdiff_t(y) * plane.stride;
        for (int x = 0; x < plane.width; ++x) {
            out[std::size_t(x / width)] += row[x];
            ++counts[std::size_t(x / width)];
        }
    }
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = (out[i] + counts[i] / 2) / counts[i];
}

std::uint8_t channel(std::int64_t fixed) {
    return std::uint8_t(std::clamp<std::int64_t>((fixed + (1 << 15)) >> 16, 0, 255));
}

QRgb rgb(const Conversion& c, int luma, int cb, int cr) {
    const std::int64_t y = c.luma * (luma - c.luma_offset);
    cb -= 128;
    cr -= 128;
    return qRgb(channel(y + c.red_cr * cr), channel(y + c.green_cb * cb + c.green_cr * cr),
                channel(y + c.blue_cb * cb));
}

// Red, green and blue planes of one size (what libheif 1.15 decodes into
// when asked for no colour space in particular), each averaged.
std::optional<QImage> rgb_from_rgb_planes(const heif_image* image, int n) {
    const auto red = plane_of(image, heif_channel_R);
    const auto green = plane_of(image, heif_channel_G);
    const auto blue = plane_of(image, heif_channel_B);
    if (!red || !green || !blue || green->width != red->width || blue->width != red->width ||
        green->height != red->height || blue->height != red->height)
        return std::nullopt;
    QImage out(std::max(1, red->width / n), std::max(1, red->height / n), QImage::Format_RGB32);
    if (out.isNull()) return std::nullopt;
    std::vector<int> reds, greens, blues;
    for (int y = 0; y < out.height(); ++y) {
        block_averages(*red, y * n, n, n, reds);
        block_averages(*green, y * n, n, n, greens);
        block_averages(*blue, y * n, n, n, blues);
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) line[x] = qRgb(reds[x], greens[x], blues[x]);
    }
    return out;
}

std::optional<QImage> rgb_from_ycbcr_planes(const heif_image* image,
                                            const heif_image_handle* handle, int n) {
    const auto luma = plane_of(image, heif_channel_Y);
    const auto blue = plane_of(image, heif_channel_Cb);
    const auto red = plane_of(image, heif_channel_Cr);
    const auto conversion = conversion_for(handle);
    if (!luma || !blue || !red || !conversion || blue->width != red->width ||
        blue->height != red->height)
        return std::nullopt;
    // Chroma at half the luma's columns (4:2:2, 4:2:0) or rows (4:2:0), or full.
    const int across = (luma->width + blue->width - 1) / blue->width;
    const int down = (luma->height + blue->height - 1) / blue->height;
    if (across > 2 || down > 2) return std::nullopt;
    QImage out(std::max(1, luma->width / n), std::max(1, luma->height / n), QImage::Format_RGB32);
    if (out.isNull()) return std::nullopt;
    // A chroma block covers an output pixel, or a few of them side by side
    // when the picture keeps its size.
    const int chroma_width = std::max(1, n / across), chroma_height = std::max(1, n / down);
    std::vector<int> lumas, blues, reds;
    for (int y = 0; y < out.height(); ++y) {
        block_averages(*luma, y * n, n, n, lumas);
        const int chroma_row = y * n / down / chroma_height * chroma_height;
        block_averages(*blue, chroma_row, chroma_width, chroma_height, blues);
        block_averages(*red, chroma_row, chroma_width, chroma_height, reds);
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const auto chroma = std::size_t(x * n / across / chroma_width);
            line[x] = rgb(*conversion, lumas[std::size_t(x)], blues[chroma], reds[chroma]);
        }
    }
    return out;
}

}  // namespace

std::optional<QImage> rgb_from_planes(const heif_image* image, const heif_image_handle* handle,
                                      int denominator) {
    if (denominator < 1) return std::nullopt;
    switch (heif_image_get_colorspace(image)) {
        case heif_colorspace_YCbCr:
            return rgb_from_ycbcr_planes(image, handle, denominator);
        case heif_colorspace_RGB:
            if (heif_image_get_chroma_format(image) == heif_chroma_444)
                return rgb_from_rgb_planes(image, denominator);
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

}  // namespace galmora::imaging
