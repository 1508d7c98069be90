#include "tests/support/exif_segment.h"

namespace galmora::testing {

namespace {

void put16(Bytes& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void put32(Bytes& out, unsigned value) {
    put16(out, value >> 16);
    put16(out, value & 0xFFFF);
}

// One 12-byte IFD entry: tag, type, count, value or offset.
void put_entry(Bytes& out, unsigned tag, unsigned type, unsigned count, unsigned value) {
    put16(out, tag);
    put16(out, type);
    put32(out, count);
    put32(out, value);
}

constexpr unsigned kShort = 3, kLong = 4, kAscii = 2, kRational = 5;
constexpr unsigned kIfd0 = 8;  // right after the TIFF header

}  // namespace

// A big-endian TIFF structure: IFD0 with the orientation and a pointer to
// the GPS IFD, which holds the latitude reference and the latitude.
Bytes exif_tiff(const ExifTags& tags) {
    const unsigned entries = (tags.orientation ? 1 : 0) + (tags.gps ? 1 : 0);
    const unsigned gps_ifd = kIfd0 + 2 + 12 * entries + 4;
    const unsigned latitude = gps_ifd + 2 + 12 * 2 + 4;
    Bytes tiff = {'M', 'M', 0, 42};
    put32(tiff, kIfd0);
    put16(tiff, entries);
    if (tags.orientation) put_entry(tiff, 0x0112, kShort, 1, unsigned(tags.orientation) << 16);
    if (tags.gps) put_entry(tiff, 0x8825, kLong, 1, gps_ifd);
    put32(tiff, 0);  // no next IFD
    if (!tags.gps) return tiff;
    put16(tiff, 2);
    put_entry(tiff, 0x0001, kAscii, 2, unsigned('N') << 24);
    put_entry(tiff, 0x0002, kRational, 3, latitude);
    put32(tiff, 0);
    const Bytes position = gps_latitude_bytes();
    tiff.insert(tiff.end(), position.begin(), position.end());
    return tiff;
}

Bytes gps_latitude_bytes() {
    Bytes rationals;
    for (unsigned value : {31u, 1u, 14u, 1u, 2283u, 100u}) put32(rationals, value);
    return rationals;
}

Bytes jpeg_with_exif(ByteView jpeg, const ExifTags& tags) {
    const Bytes tiff = exif_tiff(tags);
    Bytes segment = {0xFF, 0xE1};
    put16(segment, static_cast<unsigned>(2 + 6 + tiff.size()));
    for (char c : {'E', 'x', 'i', 'f', '\0', '\0'}) segment.push_back(static_cast<std::uint8_t>(c));
    segment.insert(segment.end(), tiff.begin(), tiff.end());

    Bytes out;
    out.reserve(jpeg.size() + segment.size());
    out.insert(out.end(), jpeg.begin(), jpeg.begin() + 2);
    out.insert(out.end(), segment.begin(), segment.end());
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}

}  // namespace galmora::testing
