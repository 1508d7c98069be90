#include "tests/browser/test_jpeg.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace galmora::testing {

namespace {

class BitWriter {
  public:
    explicit BitWriter(Bytes& out) : out_(out) {}

    void put(unsigned bits, int count) {
        for (int i = count - 1; i >= 0; --i) {
            byte_ = static_cast<std::uint8_t>(byte_ << 1 | ((bits >> i) & 1));
            if (++filled_ == 8) flush_byte();
        }
    }
    // Pads the last byte with one bits, as the format asks.
    void finish() {
        while (filled_ != 0) put(1, 1);
    }

  private:
    void flush_byte() {
        out_.push_back(byte_);
        if (byte_ == 0xFF) out_.push_back(0x00);  // byte stuffing
        byte_ = 0;
        filled_ = 0;
    }

    Bytes& out_;
    std::uint8_t byte_ = 0;
    int filled_ = 0;
};

void put16(Bytes& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

void segment(Bytes& out, std::uint8_t marker, const Bytes& body) {
    out.push_back(0xFF);
    out.push_back(marker);
    put16(out, static_cast<unsigned>(body.size() + 2));
    out.insert(out.end(), body.begin(), body.end());
}

Bytes headers(int width, int height) {
    Bytes out = {0xFF, 0xD8};
    segment(out, 0xE0, {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});
    Bytes quant = {0x00};  // table 0, 8-bit, all ones: DC = 8 x (mean - 128)
    quant.insert(quant.end(), 64, 1);
    segment(out, 0xDB, quant);
    Bytes frame = {8};
    put16(frame, static_cast<unsigned>(height));
    put16(frame, static_cast<unsigned>(width));
    frame.insert(frame.end(), {3, 1, 0x11, 0, 2, 0x11, 0, 3, 0x11, 0});
    segment(out, 0xC0, frame);
    // DC table 0: the twelve size categories, all with 4-bit codes.
    Bytes dc = {0x00, 0, 0, 0, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (std::uint8_t category = 0; category < 12; ++category) dc.push_back(category);
    segment(out, 0xC4, dc);
    // AC table 0: only end-of-block, coded as the single bit 0.
    segment(out, 0xC4, {0x10, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00});
    segment(out, 0xDA, {3, 1, 0x00, 2, 0x00, 3, 0x00, 0, 63, 0});
    return out;
}

int category_of(int value) {
    int magnitude = std::abs(value);
    int bits = 0;
    while (magnitude > 0) {
        ++bits;
        magnitude >>= 1;
    }
    return bits;
}

void put_dc(BitWriter& bits, int diff) {
    const int category = category_of(diff);
    bits.put(static_cast<unsigned>(category), 4);
    if (category > 0) {
        const int coded = diff >= 0 ? diff : diff + (1 << category) - 1;
        bits.put(static_cast<unsigned>(coded), category);
    }
    bits.put(0, 1);  // end of block
}

int dc_of(double sample) {
    return static_cast<int>(std::lround(8.0 * (std::clamp(sample, 0.0, 255.0) - 128.0)));
}

}  // namespace

Bytes make_test_jpeg(int width, int height, const std::function<Rgb(double x, double y)>& colour) {
    const int columns = (width + 7) / 8;
    const int rows = (height + 7) / 8;
    Bytes out = headers(width, height);
    BitWriter bits(out);
    int previous[3] = {0, 0, 0};
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const Rgb c = colour(column * 8 + 4, row * 8 + 4);
            const double y = 0.299 * c.r + 0.587 * c.g + 0.114 * c.b;
            const double cb = -0.168736 * c.r - 0.331264 * c.g + 0.5 * c.b + 128.0;
            const double cr = 0.5 * c.r - 0.418688 * c.g - 0.081312 * c.b + 128.0;
            const int dc[3] = {dc_of(y), dc_of(cb), dc_of(cr)};
            for (int component = 0; component < 3; ++component) {
                put_dc(bits, dc[component] - previous[component]);
                previous[component] = dc[component];
            }
        }
    }
    bits.finish();
    out.push_back(0xFF);
    out.push_back(0xD9);
    return out;
}

}  // namespace galmora::testing
