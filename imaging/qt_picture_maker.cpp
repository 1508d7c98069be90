#include "imaging/qt_picture_maker.h"

#include <QColorSpace>
#include <QImage>
#include <QImageReader>
#include <variant>

#include "core/kept_memory.h"
#include "imaging/picture_bytes.h"
#include "imaging/picture_decoder.h"
#include "imaging/rendition_encoder.h"
#include "imaging/rendition_plan.h"
#include "imaging/thumbnail_geometry.h"

namespace galmora {

namespace {

using imaging::PictureFormat;
using imaging::PictureHeader;
using imaging::RenditionPlan;
using Fit = RenditionBox::Fit;

PictureResult skipped(PictureSkip why) {
    return {{}, why};
}

std::int64_t pixel_count(QSize size) {
    return std::int64_t(size.width()) * size.height();
}

// HEIC is shown by one browser only and AVIF not by all that are in use:
// both get renditions every browser shows, whatever their size.
bool browser_shows_format(PictureFormat format) {
    return format != PictureFormat::Heif && format != PictureFormat::Avif;
}

bool too_large(const PictureHeader& header, const RenditionPlan& plan) {
    if (pixel_count(header.stored) > QtPictureMaker::kMaxPixels ||
        pixel_count(plan.decode) * header.bytes_per_pixel > QtPictureMaker::kMaxDecodedBytes)
        return true;
    for (const RenditionPlan::Target& target : plan.targets)
        if (pixel_count(target.size) > QtPictureMaker::kMaxPixels) return true;
    return false;
}

// The plan, or why nothing is made: what the bytes tell before any decoder
// reads them, whatever the header tells, then data that ends early.
std::variant<RenditionPlan, PictureSkip> examine(ByteView bytes, PictureFormat format,
                                                 imaging::PictureDecoder& decoder,
                                                 const PictureRequest& request) {
    if (format == PictureFormat::Unknown) return PictureSkip::Unreadable;
    if (imaging::is_animated(format, bytes)) return PictureSkip::Animated;
    const std::optional<PictureHeader> header = decoder.header();
    if (!header) return PictureSkip::Unreadable;
    std::optional<RenditionPlan> plan =
        imaging::plan_renditions(request, *header, decoder.reduces(), browser_shows_format(format),
                                 std::int64_t(bytes.size()));
    if (!plan) return PictureSkip::AlreadySmall;
    plan->peak_bytes += decoder.own_peak_bytes();
    if (too_large(*header, *plan)) return PictureSkip::TooLarge;
    if (!imaging::stream_complete(format, bytes)) return PictureSkip::Unreadable;
    return std::move(*plan);
}

// The upright decoded picture cropped (Fill) and scaled to the target, in
// sRGB; a null image when memory ran out.
QImage shaped(const QImage& decoded, const RenditionPlan::Target& target) {
    QImage image = target.fit == Fit::Fill
                       ? decoded.copy(imaging::centred_crop(decoded.size(), target.size))
                       : decoded;
    if (!image.isNull() && image.size() != target.size)
        image = image.scaled(target.size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QColorSpace colour_space = image.colorSpace();
    if (!image.isNull() && colour_space.isValid() && colour_space != QColorSpace(QColorSpace::SRgb))
        image.convertToColorSpace(QColorSpace::SRgb);
    return image;
}

// Whether image holds about twice a Within target's pixels each way: one
// scaled from it is then as sharp as one scaled from the decoded picture.
bool sharp_source_for(const QImage& image, const RenditionPlan::Target& target) {
    return !image.isNull() && target.fit == Fit::Within &&
           image.width() >= imaging::kDecodeOversize * target.size.width() &&
           image.height() >= imaging::kDecodeOversize * target.size.height();
}

// Largest first, so that the thumbnail is scaled from the smallest copy
// when that is large enough, a fraction of the work. The largest of several
// copies, which only large screens load, is encoded without optimised
// Huffman tables: twice as fast for a tenth more bytes.
PictureResult renditions_of(const QImage& decoded, const RenditionPlan& plan,
                            std::stop_token stop) {
    PictureResult result;
    result.renditions.resize(plan.targets.size());
    const bool transparent = imaging::has_transparent_pixel(decoded);
    QImage previous;
    for (std::size_t i = plan.targets.size(); i-- > 0;) {
        if (stop.stop_requested()) return skipped(PictureSkip::Stopped);
        const RenditionPlan::Target& target = plan.targets[i];
        QImage image = shaped(sharp_source_for(previous, target) ? previous : decoded, target);
        if (image.isNull()) return skipped(PictureSkip::OutOfMemory);
        const bool largest_copy = i + 1 == plan.targets.size() && i > 0;
        std::optional<Rendition> rendition =
            imaging::encode_rendition(image, transparent, !largest_copy);
        if (!rendition) return skipped(PictureSkip::NotEncoded);
        result.renditions[i] = std::move(*rendition);
        previous = std::move(image);
    }
    return result;
}

}  // namespace

void QtPictureMaker::set_process_limits() {
    // Qt refuses to allocate a decoded picture beyond a process-wide limit
    // (128 MB by default); raised to the largest picture we decode, so that
    // our own limits are the ones that refuse.
    const int ours = static_cast<int>(kMaxDecodedBytes >> 20);
    if (QImageReader::allocationLimit() < ours) QImageReader::setAllocationLimit(ours);
    keep_freed_blocks_for_reuse();
}

bool QtPictureMaker::browser_shows(ByteView head) const {
    return browser_shows_format(imaging::picture_format(head));
}

PictureEstimate QtPictureMaker::estimate(ByteView picture, const PictureRequest& request) const {
    const PictureFormat format = imaging::picture_format(picture);
    imaging::PictureDecoder decoder(picture, format);
    const auto planned = examine(picture, format, decoder, request);
    if (const auto* skip = std::get_if<PictureSkip>(&planned)) return {0, *skip};
    return {std::get<RenditionPlan>(planned).peak_bytes, std::nullopt};
}

PictureResult QtPictureMaker::make(ByteView picture, const PictureRequest& request,
                                   std::stop_token stop) const {
    const PictureFormat format = imaging::picture_format(picture);
    imaging::PictureDecoder decoder(picture, format);
    const auto planned = examine(picture, format, decoder, request);
    if (const auto* skip = std::get_if<PictureSkip>(&planned)) return skipped(*skip);
    const RenditionPlan& plan = std::get<RenditionPlan>(planned);
    const std::optional<QImage> decoded = decoder.decode(plan.decode);
    if (!decoded) return skipped(PictureSkip::Unreadable);
    PictureResult result = renditions_of(*decoded, plan, stop);
    result.browser_shows_original = browser_shows_format(format);
    return result;
}

}  // namespace galmora
