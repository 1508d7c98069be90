#include "imaging/qt_thumbnail_maker.h"

#include <QColorSpace>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/codepage.h"
#include "core/files.h"
#include "imaging/picture_bytes.h"
#include "imaging/picture_reader.h"
#include "imaging/thumbnail_encoder.h"
#include "imaging/thumbnail_geometry.h"

namespace galmora {

namespace {

using imaging::PictureFormat;
using imaging::PictureHeader;
using Fit = ThumbnailRequest::Fit;

// Qt refuses to allocate a decoded picture beyond a process-wide limit (128
// MB by default); raised once, never lowered, to the largest picture we
// decode, so that our own limits are the ones that refuse.
void raise_allocation_limit() {
    static const bool raised = [] {
        const int ours = static_cast<int>(QtThumbnailMaker::kMaxDecodedBytes >> 20);
        if (QImageReader::allocationLimit() < ours) QImageReader::setAllocationLimit(ours);
        return true;
    }();
    (void)raised;
}

ThumbnailResult skipped(ThumbnailSkip why) {
    return {std::nullopt, why};
}

std::int64_t pixel_count(QSize size) {
    return std::int64_t(size.width()) * size.height();
}

bool file_too_large(const Text& path) {
    const std::optional<std::string> utf8 = strict_utf8(path);
    if (!utf8) return false;  // read_file refuses it
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(*utf8, error);
    return !error && size > std::uintmax_t(QtThumbnailMaker::kMaxFileBytes);
}

// How one picture becomes its thumbnail.
struct Plan {
    Fit fit;
    QSize box;     // the box asked for, at least 1 x 1
    QSize target;  // the thumbnail's size
    QSize decode;  // what the decoder delivers, in the stored orientation
};

Plan plan_thumbnail(const ThumbnailRequest& request, const PictureHeader& header,
                    PictureFormat format) {
    Plan plan{request.fit, QSize(std::max(1, request.width), std::max(1, request.height)), {}, {}};
    const QSize scaled = plan.fit == Fit::Within
                             ? imaging::scaled_within(header.upright, plan.box)
                             : imaging::scaled_to_cover(header.upright, plan.box);
    plan.target = plan.fit == Fit::Within ? scaled : plan.box;
    const QSize needed = header.turned ? scaled.transposed() : scaled;
    plan.decode = format == PictureFormat::Jpeg ? imaging::jpeg_decode_size(header.stored, needed)
                                                : header.stored;
    return plan;
}

bool too_large(const PictureHeader& header, const Plan& plan) {
    const std::int64_t decoded_bytes = pixel_count(plan.decode) * header.bytes_per_pixel;
    return pixel_count(header.stored) > QtThumbnailMaker::kMaxPixels ||
           pixel_count(plan.target) > QtThumbnailMaker::kMaxPixels ||
           decoded_bytes > QtThumbnailMaker::kMaxDecodedBytes;
}

// The upright decoded picture cropped (Fill) and scaled to the target, in sRGB.
QImage shaped(const QImage& decoded, const Plan& plan) {
    QImage image = plan.fit == Fit::Fill
                       ? decoded.copy(imaging::centred_crop(decoded.size(), plan.target))
                       : decoded;
    if (image.size() != plan.target)
        image = image.scaled(plan.target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QColorSpace colour_space = image.colorSpace();
    if (colour_space.isValid() && colour_space != QColorSpace(QColorSpace::SRgb))
        image.convertToColorSpace(QColorSpace::SRgb);
    return image;
}

// Whatever can be told without decoding: size limits, a picture that needs
// no thumbnail, data that ends early.
std::optional<ThumbnailSkip> skip_before_decoding(const PictureHeader& header, const Plan& plan,
                                                  PictureFormat format, ByteView bytes) {
    if (too_large(header, plan)) return ThumbnailSkip::TooLarge;
    if (plan.fit == Fit::Within && imaging::fits_within(header.upright, plan.box))
        return ThumbnailSkip::AlreadySmall;
    if (!imaging::stream_complete(format, bytes)) return ThumbnailSkip::Unreadable;
    return std::nullopt;
}

ThumbnailResult made_from(ByteView bytes, const ThumbnailRequest& request) {
    const PictureFormat format = imaging::picture_format(bytes);
    if (format == PictureFormat::Unknown) return skipped(ThumbnailSkip::Unreadable);
    if (imaging::is_animated(format, bytes)) return skipped(ThumbnailSkip::Animated);
    raise_allocation_limit();
    imaging::PictureReader reader(bytes, format);
    const std::optional<PictureHeader> header = reader.header();
    if (!header) return skipped(ThumbnailSkip::Unreadable);
    const Plan plan = plan_thumbnail(request, *header, format);
    if (const auto skip = skip_before_decoding(*header, plan, format, bytes)) return skipped(*skip);
    const std::optional<QImage> decoded = reader.decode(plan.decode);
    if (!decoded) return skipped(ThumbnailSkip::Unreadable);
    std::optional<Thumbnail> thumbnail = imaging::encode_thumbnail(shaped(*decoded, plan));
    if (!thumbnail) return skipped(ThumbnailSkip::Unreadable);
    return ThumbnailResult{std::move(thumbnail)};
}

}  // namespace

ThumbnailResult QtThumbnailMaker::make(const ThumbnailRequest& request) const {
    if (file_too_large(request.source)) return skipped(ThumbnailSkip::TooLarge);
    const std::optional<Bytes> bytes = read_file(request.source);
    if (!bytes || bytes->empty()) return skipped(ThumbnailSkip::Unreadable);
    return made_from(*bytes, request);
}

}  // namespace galmora
