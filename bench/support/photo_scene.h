#pragma once
// A picture as a 12-megapixel camera takes it, made at run time, for the
// benchmarks that decode photos: not a flat colour, which every codec
// compresses to nothing.

#include <QImage>

namespace galmora::bench {

constexpr int kPhotoWidth = 4000;
constexpr int kPhotoHeight = 3000;

// kPhotoWidth x kPhotoHeight in RGB32; each seed gives another scene.
QImage photo_like(int seed);

}  // namespace galmora::bench
