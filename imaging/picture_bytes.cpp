#include "imaging/picture_bytes.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>

namespace galmora::imaging {

namespace {

bool starts_with(ByteView bytes, std::size_t at, std::string_view text) {
    return bytes.size() >= at + text.size() &&
           std::memcmp(bytes.data() + at, text.data(), text.size()) == 0;
}

std::uint32_t big_endian32(ByteView bytes, std::size_t at) {
    return std::uint32_t(bytes[at]) << 24 | std::uint32_t(bytes[at + 1]) << 16 |
           std::uint32_t(bytes[at + 2]) << 8 | bytes[at + 3];
}

std::uint32_t little_endian32(ByteView bytes, std::size_t at) {
    return std::uint32_t(bytes[at + 3]) << 24 | std::uint32_t(bytes[at + 2]) << 16 |
           std::uint32_t(bytes[at + 1]) << 8 | bytes[at];
}

// The offset just past the first SOS segment's header, where the
// entropy-coded data begins; nullopt when the segments run out before it.
std::optional<std::size_t> jpeg_scan_start(ByteView bytes) {
    std::size_t at = 2;
    for (;;) {
        if (at >= bytes.size() || bytes[at] != 0xFF) return std::nullopt;
        while (at < bytes.size() && bytes[at] == 0xFF) ++at;  // fill bytes
        if (at >= bytes.size()) return std::nullopt;
        const std::uint8_t marker = bytes[at++];
        const bool standalone = marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
        if (standalone) continue;
        if (marker == 0xD9 || at + 2 > bytes.size()) return std::nullopt;
        const std::size_t length = std::size_t(bytes[at]) << 8 | bytes[at + 1];
        if (length < 2) return std::nullopt;
        at += length;
        if (marker == 0xDA) return at;
    }
}

// Entropy-coded data never holds FF D9 (an FF there is followed by 00 or a
// restart marker), so the first FF D9 after the first scan is the EOI.
bool jpeg_complete(ByteView bytes) {
    const std::optional<std::size_t> scan = jpeg_scan_start(bytes);
    if (!scan) return false;
    for (std::size_t at = *scan; at + 1 < bytes.size(); ++at) {
        const void* ff = std::memchr(bytes.data() + at, 0xFF, bytes.size() - at - 1);
        if (!ff) return false;
        at = static_cast<std::size_t>(static_cast<const std::uint8_t*>(ff) - bytes.data());
        if (bytes[at + 1] == 0xD9) return true;
    }
    return false;
}

struct GifBlocks {
    bool complete = false;  // the trailer was reached
    int images = 0;
};

// Skips a chain of data sub-blocks (each a length byte and that many bytes,
// ended by a zero length); the offset after it, or nullopt when cut short.
std::optional<std::size_t> skip_gif_sub_blocks(ByteView bytes, std::size_t at) {
    while (at < bytes.size()) {
        const std::size_t length = bytes[at];
        at += 1 + length;
        if (length == 0) return at;
    }
    return std::nullopt;
}

std::size_t gif_colour_table_size(std::uint8_t packed) {
    return (packed & 0x80) ? 3 * (std::size_t(2) << (packed & 0x07)) : 0;
}

GifBlocks gif_blocks(ByteView bytes) {
    GifBlocks blocks;
    constexpr std::size_t kScreenDescriptorEnd = 13;
    if (bytes.size() < kScreenDescriptorEnd) return blocks;
    std::optional<std::size_t> at = kScreenDescriptorEnd + gif_colour_table_size(bytes[10]);
    while (at && *at < bytes.size()) {
        const std::uint8_t introducer = bytes[*at];
        if (introducer == 0x3B) {
            blocks.complete = true;
            break;
        }
        if (introducer == 0x21) {  // extension: label, then sub-blocks
            at = skip_gif_sub_blocks(bytes, *at + 2);
        } else if (introducer == 0x2C) {  // image: descriptor, table, code size, data
            constexpr std::size_t kDescriptorSize = 10;
            if (*at + kDescriptorSize > bytes.size()) break;
            ++blocks.images;
            const std::size_t data = *at + kDescriptorSize + gif_colour_table_size(bytes[*at + 9]);
            at = skip_gif_sub_blocks(bytes, data + 1);
        } else {
            break;
        }
    }
    return blocks;
}

bool bmp_complete(ByteView bytes) {
    if (bytes.size() < 6) return false;
    const std::uint32_t declared = little_endian32(bytes, 2);
    return bytes.size() >= declared;  // some writers leave the size 0
}

// An acTL chunk before the first IDAT marks an animated PNG.
bool png_animated(ByteView bytes) {
    constexpr std::size_t kSignatureSize = 8;
    std::size_t at = kSignatureSize;
    while (at + 8 <= bytes.size()) {
        if (starts_with(bytes, at + 4, "acTL")) return true;
        if (starts_with(bytes, at + 4, "IDAT")) return false;
        at += 12 + std::size_t(big_endian32(bytes, at));  // length, type, data, CRC
    }
    return false;
}

// An animated WebP is an extended one: a VP8X chunk first, its flags'
// animation bit set.
bool webp_animated(ByteView bytes) {
    constexpr std::size_t kFlags = 20;
    constexpr std::uint8_t kAnimation = 0x02;
    return starts_with(bytes, 12, "VP8X") && bytes.size() > kFlags &&
           (bytes[kFlags] & kAnimation) != 0;
}

// A box of an ISO base media file (HEIF, AVIF): where its type and its
// content start, and where it ends (one past the data when beyond it).
struct IsoBox {
    std::size_t type;
    std::size_t content;
    std::uint64_t end;
};

std::optional<IsoBox> iso_box_at(ByteView bytes, std::size_t at) {
    if (at + 8 > bytes.size()) return std::nullopt;
    std::uint64_t size = big_endian32(bytes, at);
    std::size_t content = at + 8;
    if (size == 1) {  // a 64-bit size follows the type
        if (at + 16 > bytes.size()) return std::nullopt;
        size = std::uint64_t(big_endian32(bytes, at + 8)) << 32 | big_endian32(bytes, at + 12);
        content = at + 16;
    } else if (size == 0) {  // the box runs to the end of the file
        size = bytes.size() - at;
    }
    if (size < content - at) return std::nullopt;
    const std::uint64_t room = bytes.size() - at;
    return IsoBox{at + 4, content, size > room ? bytes.size() + std::uint64_t(1) : at + size};
}

// Ordered so that the most telling brand of a file's list wins: AVIF files
// list the generic image brand too.
enum class Brand { Other, AnyCodec, Hevc, Av1 };

Brand brand_at(ByteView bytes, std::size_t at, std::size_t end) {
    if (at + 4 > end) return Brand::Other;
    const std::string_view brand(reinterpret_cast<const char*>(bytes.data() + at), 4);
    for (std::string_view av1 : {"avif", "avis"})
        if (brand == av1) return Brand::Av1;
    for (std::string_view hevc : {"heic", "heix", "heim", "heis", "hevc", "hevx"})
        if (brand == hevc) return Brand::Hevc;
    if (brand == "mif1" || brand == "msf1") return Brand::AnyCodec;
    return Brand::Other;
}

// The file type box comes first: its major brand decides when it names a
// codec, otherwise the most telling of its compatible brands (after the
// minor version).
PictureFormat iso_picture_format(ByteView bytes) {
    const std::optional<IsoBox> ftyp = iso_box_at(bytes, 0);
    if (!ftyp || !starts_with(bytes, ftyp->type, "ftyp")) return PictureFormat::Unknown;
    const std::size_t end =
        static_cast<std::size_t>(std::min<std::uint64_t>(ftyp->end, bytes.size()));
    Brand brand = brand_at(bytes, ftyp->content, end);
    if (brand != Brand::Hevc && brand != Brand::Av1) {
        for (std::size_t at = ftyp->content + 8; at + 4 <= end; at += 4)
            brand = std::max(brand, brand_at(bytes, at, end));
    }
    if (brand == Brand::Other) return PictureFormat::Unknown;
    return brand == Brand::Av1 ? PictureFormat::Avif : PictureFormat::Heif;
}

struct IsoTopLevel {
    bool complete = true;   // every box ends within the data
    bool still = false;     // a meta box: items, among them the primary image
    bool sequence = false;  // a movie box: tracks of frames
};

IsoTopLevel iso_top_level(ByteView bytes) {
    IsoTopLevel top;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::optional<IsoBox> box = iso_box_at(bytes, at);
        if (!box || box->end > bytes.size()) {
            top.complete = false;
            break;
        }
        top.still |= starts_with(bytes, box->type, "meta");
        top.sequence |= starts_with(bytes, box->type, "moov");
        at = static_cast<std::size_t>(box->end);
    }
    return top;
}

}  // namespace

PictureFormat picture_format(ByteView bytes) {
    if (starts_with(bytes, 0, "\xFF\xD8\xFF")) return PictureFormat::Jpeg;
    if (starts_with(bytes, 0, "\x89PNG\r\n\x1A\n")) return PictureFormat::Png;
    if (starts_with(bytes, 0, "GIF87a") || starts_with(bytes, 0, "GIF89a"))
        return PictureFormat::Gif;
    if (starts_with(bytes, 0, "BM")) return PictureFormat::Bmp;
    if (starts_with(bytes, 0, "RIFF") && starts_with(bytes, 8, "WEBP")) return PictureFormat::Webp;
    return iso_picture_format(bytes);
}

bool stream_complete(PictureFormat format, ByteView bytes) {
    switch (format) {
        case PictureFormat::Jpeg:
            return jpeg_complete(bytes);
        case PictureFormat::Gif:
            return gif_blocks(bytes).complete;
        case PictureFormat::Bmp:
            return bmp_complete(bytes);
        case PictureFormat::Png:
        case PictureFormat::Webp:
            return true;
        case PictureFormat::Heif:
        case PictureFormat::Avif:
            return iso_top_level(bytes).complete;
        case PictureFormat::Unknown:
            return false;
    }
    return false;
}

bool is_animated(PictureFormat format, ByteView bytes) {
    switch (format) {
        case PictureFormat::Gif:
            return gif_blocks(bytes).images > 1;
        case PictureFormat::Png:
            return png_animated(bytes);
        case PictureFormat::Webp:
            return webp_animated(bytes);
        case PictureFormat::Heif:
        case PictureFormat::Avif: {
            const IsoTopLevel top = iso_top_level(bytes);
            return top.sequence && !top.still;
        }
        default:
            return false;
    }
}

}  // namespace galmora::imaging
