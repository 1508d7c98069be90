#pragma once
// The sizes of a thumbnail: what it is scaled to, what part of the picture
// it keeps, and how large the decoder should make the picture first.

#include <QRect>
#include <QSize>

namespace galmora::imaging {

bool fits_within(QSize picture, QSize box);
// The picture scaled down, proportions kept, to fit within box.
QSize scaled_within(QSize picture, QSize box);
// The picture scaled, proportions kept, to cover box.
QSize scaled_to_cover(QSize picture, QSize box);
// The largest centred rectangle of box's proportions inside the picture.
QRect centred_crop(QSize picture, QSize box);

// The size a JPEG decoder should deliver (in the stored orientation) so that
// one smooth downscale to `needed` follows: the smallest of its cheap 1/8,
// 1/4 and 1/2 sizes that is about twice `needed` or more each way, else the
// whole picture. Averaging two or more decoded pixels into each thumbnail
// pixel keeps it nearly as sharp as one scaled from the whole picture; the
// next smaller size, resampled by a factor between 1 and 2, comes out
// visibly soft. "About" lets a 4000-pixel photo's quarter (1000) serve a
// 504-pixel thumbnail: the half would cost a fifth more time (49 instead of
// 40 ms a 12 MP photo) for a difference seen only when magnified.
inline constexpr double kDecodeOversize = 1.9;
QSize jpeg_decode_size(QSize stored, QSize needed);

}  // namespace galmora::imaging
