#include "tests/support/heif_files.h"

#include <QColorSpace>
#include <cstring>

#include "imaging/heif_handles.h"

namespace galmora::testing {

namespace {

using namespace imaging;

constexpr int kQuality = 90;
constexpr int kAv1Speed = 9;  // the fastest: the pictures are tiny

heif_chroma interleaved_chroma(bool alpha, bool deep) {
    if (deep)
        return alpha ? heif_chroma_interleaved_RRGGBBAA_LE : heif_chroma_interleaved_RRGGBB_LE;
    return alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB;
}

// Deep samples are 16-bit little-endian words holding bit_depth bits.
void copy_deep_row(const QImage& rgba64, int y, int channels, int bit_depth, std::uint8_t* out) {
    const auto* in = reinterpret_cast<const quint16*>(rgba64.constScanLine(y));
    auto* samples = reinterpret_cast<std::uint16_t*>(out);
    for (int x = 0; x < rgba64.width(); ++x)
        for (int c = 0; c < channels; ++c)
            samples[x * channels + c] =
                static_cast<std::uint16_t>(in[x * 4 + c] >> (16 - bit_depth));
}

HeifImagePtr heif_pixels(const QImage& source, int bit_depth) {
    const bool alpha = source.hasAlphaChannel(), deep = bit_depth > 8;
    const int channels = alpha ? 4 : 3;
    heif_image* created = nullptr;
    if (!heif_ok(heif_image_create(source.width(), source.height(), heif_colorspace_RGB,
                                   interleaved_chroma(alpha, deep), &created)))
        return nullptr;
    HeifImagePtr image(created);
    heif_image_add_plane(created, heif_channel_interleaved, source.width(), source.height(),
                         bit_depth);
    int stride = 0;
    std::uint8_t* plane = heif_image_get_plane(created, heif_channel_interleaved, &stride);
    const QImage rgb = source.convertToFormat(deep    ? QImage::Format_RGBA64
                                              : alpha ? QImage::Format_RGBA8888
                                                      : QImage::Format_RGB888);
    for (int y = 0; y < rgb.height(); ++y) {
        std::uint8_t* row = plane + std::ptrdiff_t(y) * stride;
        if (deep)
            copy_deep_row(rgb, y, channels, bit_depth, row);
        else
            std::memcpy(row, rgb.constScanLine(y), std::size_t(rgb.width()) * channels);
    }
    return image;
}

struct NclxCodes {
    heif_color_primaries primaries;
    heif_transfer_characteristics transfer;
};

NclxCodes nclx_codes(HeifProfile profile) {
    switch (profile) {
        case HeifProfile::Bt2100Pq:
            return {heif_color_primaries_ITU_R_BT_2020_2_and_2100_0,
                    heif_transfer_characteristic_ITU_R_BT_2100_0_PQ};
        case HeifProfile::Bt2100Hlg:
            return {heif_color_primaries_ITU_R_BT_2020_2_and_2100_0,
                    heif_transfer_characteristic_ITU_R_BT_2100_0_HLG};
        case HeifProfile::DisplayP3Nclx:
            return {heif_color_primaries_SMPTE_EG_432_1,
                    heif_transfer_characteristic_IEC_61966_2_1};
        default:
            return {heif_color_primaries_ITU_R_BT_709_5,
                    heif_transfer_characteristic_IEC_61966_2_1};
    }
}

HeifNclxPtr nclx_profile(HeifProfile profile) {
    HeifNclxPtr nclx(heif_nclx_color_profile_alloc());
    const NclxCodes codes = nclx_codes(profile);
    nclx->color_primaries = codes.primaries;
    nclx->transfer_characteristics = codes.transfer;
    nclx->matrix_coefficients = heif_matrix_coefficients_ITU_R_BT_601_6;
    nclx->full_range_flag = 1;
    return nclx;
}

// What an image is coded with: its turn and an nclx profile, unless it is
// untagged or has an ICC profile (set on its pixels).
struct Coding {
    HeifEncodingOptionsPtr options{heif_encoding_options_alloc()};
    HeifNclxPtr nclx;
};

Coding coding_of(const HeifImage& image) {
    Coding coding;
    coding.options->image_orientation = static_cast<heif_orientation>(image.orientation);
    if (image.profile == HeifProfile::None || image.profile == HeifProfile::DisplayP3Icc)
        return coding;
    coding.nclx = nclx_profile(image.profile);
    coding.options->output_nclx_profile = coding.nclx.get();
    coding.options->macOS_compatibility_workaround_no_nclx_profile = 0;
    return coding;
}

bool add_image(heif_context* context, heif_encoder* encoder, const HeifImage& image,
               HeifHandlePtr& handle) {
    const HeifImagePtr pixels = heif_pixels(image.pixels, image.bit_depth);
    if (!pixels) return false;
    if (image.profile == HeifProfile::DisplayP3Icc) {
        const QByteArray icc = QColorSpace(QColorSpace::DisplayP3).iccProfile();
        heif_image_set_raw_color_profile(pixels.get(), "prof", icc.constData(), icc.size());
    }
    const Coding coding = coding_of(image);
    // libheif 1.15 writes the nclx profile of the image; the option's only
    // sets the conversion to YCbCr.
    if (coding.nclx) heif_image_set_nclx_color_profile(pixels.get(), coding.nclx.get());
    heif_image_handle* encoded = nullptr;
    if (!heif_ok(heif_context_encode_image(context, pixels.get(), encoder, coding.options.get(),
                                           &encoded)))
        return false;
    handle.reset(encoded);
    if (!image.exif.orientation && !image.exif.gps) return true;
    const Bytes exif = exif_tiff(image.exif);
    return heif_ok(heif_context_add_exif_metadata(context, encoded, exif.data(),
                                                  static_cast<int>(exif.size())));
}

HeifEncoderPtr encoder_for(heif_context* context, HeifCodec codec, int bit_depth) {
    heif_encoder* encoder = nullptr;
    const heif_compression_format format =
        codec == HeifCodec::Hevc ? heif_compression_HEVC : heif_compression_AV1;
    if (!heif_ok(heif_context_get_encoder_for_format(context, format, &encoder))) return nullptr;
    heif_encoder_set_lossy_quality(encoder, kQuality);
    heif_encoder_set_logging_level(encoder, 0);
    if (codec == HeifCodec::Av1) heif_encoder_set_parameter_integer(encoder, "speed", kAv1Speed);
    // libheif 1.15 asks aom for AV1's professional profile at 10 bits, which
    // codes 4:2:2 only (aom fails an assertion on 4:2:0).
    if (codec == HeifCodec::Av1 && bit_depth > 8)
        heif_encoder_set_parameter_string(encoder, "chroma", "422");
    return HeifEncoderPtr(encoder);
}

heif_error append(heif_context*, const void* data, size_t size, void* out) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    static_cast<Bytes*>(out)->insert(static_cast<Bytes*>(out)->end(), bytes, bytes + size);
    return {heif_error_Ok, heif_suberror_Unspecified, ""};
}

}  // namespace

// libheif 1.15's x265 encoder leaves one block of x265 parameters behind
// an encode; the sanitizers' leak check is told so here, in the programs
// that encode.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libx265.so\n";
}

Bytes heif_file(HeifCodec codec, const std::vector<HeifImage>& images, std::size_t primary) {
    const HeifContextPtr context = new_heif_context();
    if (primary >= images.size()) return {};
    std::vector<HeifHandlePtr> handles(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const HeifEncoderPtr encoder = encoder_for(context.get(), codec, images[i].bit_depth);
        if (!encoder || !add_image(context.get(), encoder.get(), images[i], handles[i])) return {};
    }
    if (!heif_ok(heif_context_set_primary_image(context.get(), handles[primary].get()))) return {};
    heif_writer writer{1, append};
    Bytes file;
    if (!heif_ok(heif_context_write(context.get(), &writer, &file))) return {};
    return file;
}

}  // namespace galmora::testing
