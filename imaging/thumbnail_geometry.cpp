#include "imaging/thumbnail_geometry.h"

#include <algorithm>
#include <cmath>

namespace galmora::imaging {

namespace {

int scaled_length(int length, double factor) {
    return std::max(1, static_cast<int>(std::lround(length * factor)));
}

QSize scaled_by(QSize picture, double factor) {
    return {scaled_length(picture.width(), factor), scaled_length(picture.height(), factor)};
}

}  // namespace

bool fits_within(QSize picture, QSize box) {
    return picture.width() <= box.width() && picture.height() <= box.height();
}

QSize scaled_within(QSize picture, QSize box) {
    const double factor =
        std::min(double(box.width()) / picture.width(), double(box.height()) / picture.height());
    return scaled_by(picture, factor).boundedTo(box);
}

QSize scaled_to_cover(QSize picture, QSize box) {
    const double factor =
        std::max(double(box.width()) / picture.width(), double(box.height()) / picture.height());
    return scaled_by(picture, factor).expandedTo(box);
}

QRect centred_crop(QSize picture, QSize box) {
    const QSize kept = box.scaled(picture, Qt::KeepAspectRatio).boundedTo(picture);
    return {(picture.width() - kept.width()) / 2, (picture.height() - kept.height()) / 2,
            std::max(1, kept.width()), std::max(1, kept.height())};
}

// Sizes are rounded down: Qt's JPEG reader then picks exactly that 1/n
// scale, where rounding up can make it pick the next larger one.
QSize jpeg_decode_size(QSize stored, QSize needed) {
    for (int denominator : {8, 4, 2}) {
        const QSize reduced(stored.width() / denominator, stored.height() / denominator);
        if (reduced.width() >= kDecodeOversize * needed.width() &&
            reduced.height() >= kDecodeOversize * needed.height())
            return reduced;
    }
    return stored;
}

}  // namespace galmora::imaging
