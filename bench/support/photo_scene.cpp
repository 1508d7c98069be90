#include "bench/support/photo_scene.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace galmora::bench {

namespace {

std::uint32_t noise(std::uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352d;
    x ^= x >> 15;
    x *= 0x846ca68b;
    return x ^ (x >> 16);
}

int channel(double value) {
    return value < 0 ? 0 : value > 255 ? 255 : int(value);
}

// Something a camera might see: smooth gradients (sky, light), fine
// texture (grass), a wall of stones, sharp edges (windows) and sensor
// grain; each seed gives other phases and stones.
struct Scene {
    explicit Scene(int seed)
        : seed(seed), blades(kPhotoWidth), rows(kPhotoHeight), red(kPhotoWidth), blue(kPhotoWidth) {
        for (int x = 0; x < kPhotoWidth; ++x) {
            const double u = double(x) / kPhotoWidth;
            blades[x] = std::sin(x * 0.9 + seed);
            red[x] = 90 * (u - 0.5) * std::cos(seed * 0.7);
            blue[x] = 20 * std::sin(seed + u * 3);
        }
        for (int y = 0; y < kPhotoHeight; ++y) rows[y] = std::sin(y * 0.7 + seed * 0.3);
    }

    QRgb pixel(int x, int y) const {
        const double u = double(x) / kPhotoWidth, v = double(y) / kPhotoHeight;
        double r = 130 + red[x] + 40 * v, g = 120 + 60 * v - 30 * u, b = 170 - 100 * v + blue[x];
        if (v > 0.55) {
            const double blade = 35 * blades[x] * rows[y];
            r += 0.6 * blade - 40, g += blade, b -= 60;
        }
        if (u < 0.4 && v > 0.15 && v < 0.5) {
            const double stone = stone_shade(x / 14, y / 10);
            r += stone, g += 0.9 * stone, b += 0.7 * stone;
        }
        const bool window =
            u > 0.6 && u < 0.9 && v > 0.1 && v < 0.45 && ((x / 37) % 3 == 0 || (y / 29) % 3 == 0);
        const double shade = window ? 0.4 : 1.0;
        const std::uint32_t grain = noise(std::uint32_t(x) * 73856093u ^
                                          std::uint32_t(y) * 19349663u ^ std::uint32_t(seed));
        const auto speck = [&](int shift) { return (int((grain >> shift) & 63) - 32) * 0.36; };
        return qRgb(channel(r * shade + speck(0)), channel(g * shade + speck(8)),
                    channel(b * shade + speck(16)));
    }

    double stone_shade(int column, int row) const {
        const std::uint32_t hash = noise(std::uint32_t(column) * 7919u ^
                                         std::uint32_t(row) * 104729u ^ std::uint32_t(seed));
        return 1.25 * (int(hash & 63) - 32);
    }

    int seed;
    std::vector<double> blades, rows, red, blue;
};

}  // namespace

QImage photo_like(int seed) {
    const Scene scene(seed);
    QImage image(kPhotoWidth, kPhotoHeight, QImage::Format_RGB32);
    for (int y = 0; y < kPhotoHeight; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kPhotoWidth; ++x) line[x] = scene.pixel(x, y);
    }
    return image;
}

}  // namespace galmora::bench
