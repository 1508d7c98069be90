#pragma once
// Small real JPEG pictures for the browser tests, made without any image
// library: baseline JPEG, 4:4:4, each 8 x 8 block one flat colour (only the
// DC coefficients are coded). Browsers decode them like any photograph.

#include <cstdint>
#include <functional>

#include "core/text.h"

namespace galmora::testing {

struct Rgb {
    double r = 0;
    double g = 0;
    double b = 0;
};

// colour(x, y) is sampled at each block's centre. The picture is width x
// height; its blocks cover it, and decoders crop the part of the last ones
// beyond it.
Bytes make_test_jpeg(int width, int height, const std::function<Rgb(double x, double y)>& colour);

}  // namespace galmora::testing
