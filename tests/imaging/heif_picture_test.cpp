#include "imaging/heif_picture.h"

#include <gtest/gtest.h>

#include <QColorSpace>
#include <QPainter>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "imaging/heif_handles.h"
#include "imaging/picture_bytes.h"
#include "imaging/qt_picture_maker.h"
#include "tests/imaging/test_pictures.h"
#include "tests/support/exif_segment.h"
#include "tests/support/heif_files.h"

namespace galmora::imaging {
namespace {

using testing::HeifCodec;
using testing::HeifImage;
using testing::HeifProfile;

constexpr int kWidth = 64, kHeight = 48;

bool near(QColor actual, QColor expected, int tolerance) {
    return std::abs(actual.red() - expected.red()) <= tolerance &&
           std::abs(actual.green() - expected.green()) <= tolerance &&
           std::abs(actual.blue() - expected.blue()) <= tolerance;
}

const char* codec_name(HeifCodec codec) {
    return codec == HeifCodec::Hevc ? "HEIC" : "AVIF";
}

Bytes heif_of(HeifCodec codec, const HeifImage& image) {
    Bytes file = testing::heif_file(codec, {image});
    EXPECT_FALSE(file.empty()) << codec_name(codec);
    return file;
}

void append_box(Bytes& out, std::string_view type, const Bytes& content) {
    const std::uint32_t size = static_cast<std::uint32_t>(8 + content.size());
    for (int shift : {24, 16, 8, 0}) out.push_back(static_cast<std::uint8_t>(size >> shift));
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), content.begin(), content.end());
}

// A file type box: the major brand, a minor version, the compatible brands.
Bytes ftyp(std::string_view major, const std::vector<std::string_view>& compatible) {
    Bytes content(major.begin(), major.end());
    content.insert(content.end(), 4, 0);
    for (std::string_view brand : compatible)
        content.insert(content.end(), brand.begin(), brand.end());
    Bytes file;
    append_box(file, "ftyp", content);
    return file;
}

Bytes cut(const Bytes& file, std::size_t size) {
    return Bytes(file.begin(), file.begin() + std::ptrdiff_t(size));
}

Bytes with_boxes(Bytes file, const std::vector<std::string_view>& types) {
    for (std::string_view type : types) append_box(file, type, Bytes(16, 0));
    return file;
}

TEST(HeifFormat, IsToldByTheFileTypeBoxAndNothingElseIsTakenForIt) {
    const QImage picture = testing::filled(kWidth, kHeight, Qt::gray);
    struct Case {
        const char* label;
        Bytes bytes;
        PictureFormat expected;
    };
    const Case cases[] = {
        {"HEIC from x265", heif_of(HeifCodec::Hevc, {picture}), PictureFormat::Heif},
        {"AVIF from aom", heif_of(HeifCodec::Av1, {picture}), PictureFormat::Avif},
        {"JPEG", testing::encoded(picture, "jpeg"), PictureFormat::Jpeg},
        {"PNG", testing::encoded(picture, "png"), PictureFormat::Png},
        {"WebP", testing::encoded(picture, "webp"), PictureFormat::Webp},
        {"AVIF listing the generic brand first", ftyp("mif1", {"mif1", "miaf", "avif"}),
         PictureFormat::Avif},
        {"AVIF sequence", ftyp("avis", {"msf1", "avis"}), PictureFormat::Avif},
        {"HEIC by its major brand", ftyp("heic", {"mif1", "avif"}), PictureFormat::Heif},
        {"HEVC sequence", ftyp("msf1", {"hevc", "msf1"}), PictureFormat::Heif},
        {"HEIF of some other codec", ftyp("mif1", {"mif1"}), PictureFormat::Heif},
        {"an MP4 movie", ftyp("isom", {"isom", "mp42"}), PictureFormat::Unknown},
        {"a brand cut off", cut(ftyp("mif1", {"avif"}), 18), PictureFormat::Heif},
        {"no file type box", with_boxes({}, {"meta"}), PictureFormat::Unknown},
        {"a box header alone", Bytes{0, 0, 0, 8, 'f', 't', 'y'}, PictureFormat::Unknown},
        {"nothing", Bytes{}, PictureFormat::Unknown},
    };
    for (const Case& c : cases) EXPECT_EQ(picture_format(c.bytes), c.expected) << c.label;
}

TEST(HeifFormat, TellsCutFilesAndSequencesWithoutAStillImage) {
    const Bytes heic = heif_of(HeifCodec::Hevc, {testing::filled(kWidth, kHeight, Qt::gray)});
    Bytes huge_box = ftyp("heic", {"mif1"});
    const Bytes mdat_beyond_4gb = {0, 0, 0, 1, 'm', 'd', 'a', 't', 0, 0, 0, 1, 0, 0, 0, 0};
    huge_box.insert(huge_box.end(), mdat_beyond_4gb.begin(), mdat_beyond_4gb.end());
    struct Case {
        const char* label;
        Bytes bytes;
        bool complete, animated;
    };
    const Case cases[] = {
        {"whole HEIC", heic, true, false},
        {"HEIC cut short", cut(heic, heic.size() - 10), false, false},
        {"HEIC cut in a box header", cut(heic, 30), false, false},
        {"a sequence alone", with_boxes(ftyp("avis", {"avis"}), {"moov", "mdat"}), true, true},
        {"a sequence beside a still image", with_boxes(ftyp("avis", {"avif"}), {"meta", "moov"}),
         true, false},
        {"a 64-bit box size past the end", huge_box, false, false},
    };
    for (const Case& c : cases) {
        const PictureFormat format = picture_format(c.bytes);
        EXPECT_EQ(stream_complete(format, c.bytes), c.complete) << c.label;
        EXPECT_EQ(is_animated(format, c.bytes), c.animated) << c.label;
    }
}

// Four quarters, told apart by colour.
QImage quarters() {
    QImage image = testing::filled(kWidth, kHeight, Qt::blue);
    QPainter painter(&image);
    painter.fillRect(0, 0, kWidth / 2, kHeight / 2, Qt::red);
    painter.fillRect(kWidth / 2, 0, kWidth / 2, kHeight / 2, Qt::green);
    painter.fillRect(0, kHeight / 2, kWidth / 2, kHeight / 2, Qt::white);
    return image;
}

void expect_quarters(const QImage& image, const std::string& label) {
    ASSERT_EQ(image.size(), QSize(kWidth, kHeight)) << label;
    EXPECT_TRUE(near(image.pixelColor(16, 12), Qt::red, 24)) << label;
    EXPECT_TRUE(near(image.pixelColor(48, 12), Qt::green, 24)) << label;
    EXPECT_TRUE(near(image.pixelColor(16, 36), Qt::white, 24)) << label;
    EXPECT_TRUE(near(image.pixelColor(48, 36), Qt::blue, 24)) << label;
}

TEST(HeifPicture, DecodesHeicAndAvifAtEightBitsWithoutMetadata) {
    for (HeifCodec codec : {HeifCodec::Hevc, HeifCodec::Av1}) {
        for (int bits : {8, 10}) {
            const std::string label = std::string(codec_name(codec)) + " " + std::to_string(bits);
            HeifImage source{quarters()};
            source.bit_depth = bits;
            source.exif = {1, true};
            const Bytes file = heif_of(codec, source);
            const std::optional<HeifHeader> header = heif_header(file);
            ASSERT_TRUE(header) << label;
            EXPECT_EQ(header->upright, QSize(kWidth, kHeight)) << label;
            EXPECT_FALSE(header->has_alpha) << label;
            EXPECT_EQ(header->bits_per_channel, bits) << label;
            const std::optional<QImage> image = decode_heif(file, 1);
            ASSERT_TRUE(image) << label;
            EXPECT_EQ(image->format(), QImage::Format_RGB32) << label;
            expect_quarters(*image, label);
            EXPECT_TRUE(image->textKeys().isEmpty()) << label;
            EXPECT_EQ(image->colorSpace(), QColorSpace(QColorSpace::SRgb)) << label;
        }
    }
}

// A smooth picture of every hue, as libheif's own conversion to RGB gives
// it, against the program's from the planes: the same but for rounding, at
// its own size and averaged to half (against libheif's scaled by Qt).
TEST(HeifPicture, PlanesBecomeTheColoursLibheifWouldGive) {
    QImage colours(96, 64, QImage::Format_RGB32);
    for (int y = 0; y < colours.height(); ++y)
        for (int x = 0; x < colours.width(); ++x)
            colours.setPixelColor(x, y, QColor::fromHsv(x * 359 / 95, 60 + y * 3, 255 - y * 2));
    for (HeifCodec codec : {HeifCodec::Hevc, HeifCodec::Av1}) {
        for (HeifProfile profile : {HeifProfile::None, HeifProfile::DisplayP3Nclx}) {
            HeifImage source{colours};
            source.profile = profile;
            const Bytes file = heif_of(codec, source);
            const HeifContextPtr context = new_heif_context();
            ASSERT_TRUE(heif_ok(heif_context_read_from_memory_without_copy(
                context.get(), file.data(), file.size(), nullptr)));
            heif_image_handle* handle = nullptr;
            ASSERT_TRUE(heif_ok(heif_context_get_primary_image_handle(context.get(), &handle)));
            const HeifHandlePtr primary(handle);
            heif_image* rgb = nullptr;
            ASSERT_TRUE(heif_ok(heif_decode_image(primary.get(), &rgb, heif_colorspace_RGB,
                                                  heif_chroma_interleaved_RGB, nullptr)));
            const HeifImagePtr owned(rgb);
            int stride = 0;
            const std::uint8_t* pixels =
                heif_image_get_plane_readonly(rgb, heif_channel_interleaved, &stride);
            const QImage theirs = QImage(pixels, 96, 64, stride, QImage::Format_RGB888)
                                      .convertToFormat(QImage::Format_RGB32);
            for (int denominator : {1, 2}) {
                const std::string label = std::string(codec_name(codec)) + " profile " +
                                          std::to_string(int(profile)) + " 1/" +
                                          std::to_string(denominator);
                const std::optional<QImage> ours = decode_heif(file, 1, denominator);
                ASSERT_TRUE(ours) << label;
                const QImage expected = denominator == 1
                                            ? theirs
                                            : theirs.scaled(ours->size(), Qt::IgnoreAspectRatio,
                                                            Qt::SmoothTransformation);
                ASSERT_EQ(ours->size(), QSize(96 / denominator, 64 / denominator)) << label;
                int worst = 0;
                for (int y = 1; y + 1 < ours->height(); ++y)
                    for (int x = 1; x + 1 < ours->width(); ++x) {
                        const QColor a = ours->pixelColor(x, y), b = expected.pixelColor(x, y);
                        worst = std::max({worst, std::abs(a.red() - b.red()),
                                          std::abs(a.green() - b.green()),
                                          std::abs(a.blue() - b.blue())});
                    }
                EXPECT_LE(worst, 6) << label;
            }
        }
    }
}

TEST(HeifPicture, KeepsAlphaAsArgb32) {
    QImage half_clear(kWidth, kHeight, QImage::Format_ARGB32);
    half_clear.fill(QColor(200, 40, 40, 255));
    QPainter painter(&half_clear);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(0, 0, kWidth / 2, kHeight, QColor(40, 40, 200, 128));
    painter.end();
    for (HeifCodec codec : {HeifCodec::Hevc, HeifCodec::Av1}) {
        const Bytes file = heif_of(codec, {half_clear.convertToFormat(QImage::Format_RGBA8888)});
        const std::optional<HeifHeader> header = heif_header(file);
        ASSERT_TRUE(header) << codec_name(codec);
        EXPECT_TRUE(header->has_alpha) << codec_name(codec);
        const std::optional<QImage> image = decode_heif(file, 2);
        ASSERT_TRUE(image) << codec_name(codec);
        EXPECT_EQ(image->format(), QImage::Format_ARGB32) << codec_name(codec);
        EXPECT_NEAR(image->pixelColor(16, 24).alpha(), 128, 8) << codec_name(codec);
        EXPECT_NEAR(image->pixelColor(48, 24).alpha(), 255, 8) << codec_name(codec);
        EXPECT_TRUE(near(image->pixelColor(48, 24), QColor(200, 40, 40), 24)) << codec_name(codec);
    }
}

// The stored picture is blue with a red bottom-left quarter; each
// orientation written as irot and imir shows that quarter in another
// corner, 5 to 8 sideways. An EXIF orientation tag in the file describes
// the same turn, and is never applied on top of it.
TEST(HeifPicture, ComesOutUprightByItsOwnBoxesOnly) {
    struct Case {
        int orientation, exif_orientation;
        QPoint red;  // a point in the red quarter of the upright picture
    };
    const Case cases[] = {
        {1, 0, {10, 40}}, {2, 0, {54, 40}}, {3, 0, {54, 8}},  {4, 0, {10, 8}},
        {5, 0, {38, 10}}, {6, 0, {10, 10}}, {7, 0, {10, 54}}, {8, 0, {38, 54}},
        {6, 6, {10, 10}}, {1, 6, {10, 40}}, {8, 8, {38, 54}},
    };
    for (const Case& c : cases) {
        const std::string label =
            std::to_string(c.orientation) + " with EXIF " + std::to_string(c.exif_orientation);
        HeifImage source{testing::red_bottom_left(kWidth, kHeight), c.orientation};
        source.exif = {c.exif_orientation, false};
        const Bytes file = heif_of(HeifCodec::Hevc, source);
        if (c.exif_orientation) {
            const std::uint8_t tag[] = {
                0x01, 0x12, 0, 3, 0, 0, 0, 1, 0, static_cast<std::uint8_t>(c.exif_orientation)};
            ASSERT_TRUE(testing::contains(file, ByteView(tag))) << label;  // kept by libheif
        }
        const bool sideways = c.orientation >= 5;
        const QSize upright = sideways ? QSize(kHeight, kWidth) : QSize(kWidth, kHeight);
        const std::optional<HeifHeader> header = heif_header(file);
        ASSERT_TRUE(header) << label;
        EXPECT_EQ(header->upright, upright) << label;
        const std::optional<QImage> image = decode_heif(file, 1);
        ASSERT_TRUE(image) << label;
        ASSERT_EQ(image->size(), upright) << label;
        EXPECT_TRUE(near(image->pixelColor(c.red), Qt::red, 40)) << label;
        const QPoint opposite(upright.width() - 1 - c.red.x(), upright.height() - 1 - c.red.y());
        EXPECT_TRUE(near(image->pixelColor(opposite), Qt::blue, 40)) << label;
    }
}

TEST(HeifPicture, ShowsThePrimaryImageOfSeveral) {
    const std::vector<HeifImage> burst = {
        {testing::filled(32, 32, Qt::red)},
        {testing::filled(kWidth, kHeight, Qt::green)},
        {testing::filled(16, 16, Qt::blue)},
    };
    for (HeifCodec codec : {HeifCodec::Hevc, HeifCodec::Av1}) {
        const Bytes file = testing::heif_file(codec, burst, 1);
        const std::optional<HeifHeader> header = heif_header(file);
        ASSERT_TRUE(header) << codec_name(codec);
        EXPECT_EQ(header->upright, QSize(kWidth, kHeight)) << codec_name(codec);
        const std::optional<QImage> image = decode_heif(file, 2);
        ASSERT_TRUE(image) << codec_name(codec);
        EXPECT_EQ(image->size(), QSize(kWidth, kHeight)) << codec_name(codec);
        EXPECT_TRUE(near(image->pixelColor(32, 24), Qt::green, 24)) << codec_name(codec);
    }
}

TEST(HeifPicture, GivesNothingForCutOrBrokenData) {
    const Bytes heic = heif_of(HeifCodec::Hevc, {quarters()});
    const Bytes avif = heif_of(HeifCodec::Av1, {quarters()});
    std::vector<std::pair<std::string, Bytes>> broken = {
        {"nothing", {}},
        {"garbage", Bytes(4096, 0x5A)},
        {"a JPEG", testing::encoded(quarters(), "jpeg")},
        {"a file type box alone", ftyp("heic", {"mif1", "heic"})},
    };
    for (const auto& [name, file] : {std::pair{"HEIC", heic}, std::pair{"AVIF", avif}}) {
        for (std::size_t keep : {file.size() / 4, file.size() / 2, file.size() - 1})
            broken.emplace_back(std::string(name) + " cut to " + std::to_string(keep),
                                cut(file, keep));
    }
    for (const auto& [label, bytes] : broken) {
        EXPECT_FALSE(decode_heif(bytes, 2)) << label;
        if (bytes.size() < heic.size() / 2) {
            EXPECT_FALSE(heif_header(bytes)) << label;
        }
    }
}

// Whatever a decoder makes of scrambled coded data, it does so without a
// crash and without reading or writing out of bounds (run under the
// sanitizers).
TEST(HeifPicture, SurvivesScrambledCodedData) {
    for (HeifCodec codec : {HeifCodec::Hevc, HeifCodec::Av1}) {
        const Bytes file = heif_of(codec, {quarters()});
        for (std::size_t step : {7u, 13u, 31u}) {
            Bytes scrambled = file;
            for (std::size_t at = scrambled.size() / 2; at < scrambled.size(); at += step)
                scrambled[at] ^= 0xA5;
            const std::optional<QImage> image = decode_heif(scrambled, 2);
            if (image) {
                EXPECT_EQ(image->size(), QSize(kWidth, kHeight)) << codec_name(codec);
            }
        }
    }
}

TEST(HeifPicture, CarriesTheColourSpaceOfItsProfile) {
    struct Case {
        const char* label;
        HeifProfile profile;
        QColorSpace::Primaries primaries;
    };
    const Case cases[] = {
        {"untagged", HeifProfile::None, QColorSpace::Primaries::SRgb},
        {"Display P3 by nclx", HeifProfile::DisplayP3Nclx, QColorSpace::Primaries::DciP3D65},
        {"Display P3 by ICC", HeifProfile::DisplayP3Icc, QColorSpace::Primaries::DciP3D65},
        {"BT.2100 PQ", HeifProfile::Bt2100Pq, QColorSpace::Primaries::Custom},
        {"BT.2100 HLG", HeifProfile::Bt2100Hlg, QColorSpace::Primaries::Custom},
    };
    for (HeifCodec codec : {HeifCodec::Hevc, HeifCodec::Av1}) {
        for (const Case& c : cases) {
            const std::string label = std::string(codec_name(codec)) + " " + c.label;
            HeifImage source{quarters()};
            source.profile = c.profile;
            const std::optional<QImage> image = decode_heif(heif_of(codec, source), 1);
            ASSERT_TRUE(image) << label;
            ASSERT_TRUE(image->colorSpace().isValid()) << label;
            EXPECT_EQ(image->colorSpace().primaries(), c.primaries) << label;
        }
    }
}

// Display P3's red 200 is sRGB's 219, which an sRGB red 200 is not. Qt has
// no PQ or HLG curve: their reference white comes out near white, not the
// grey its code would be on sRGB's curve.
TEST(HeifPicture, ConvertsToSrgbAsItsProfileSays) {
    struct Case {
        const char* label;
        HeifProfile profile;
        QColor coded, expected;
    };
    const Case cases[] = {
        {"untagged", HeifProfile::None, QColor(200, 0, 0), QColor(200, 0, 0)},
        {"Display P3", HeifProfile::DisplayP3Nclx, QColor(200, 0, 0), QColor(219, 0, 0)},
        {"PQ at 203 cd/m2", HeifProfile::Bt2100Pq, QColor(149, 149, 149), QColor(246, 246, 246)},
        {"HLG at 75 %", HeifProfile::Bt2100Hlg, QColor(191, 191, 191), QColor(244, 244, 244)},
    };
    for (const Case& c : cases) {
        HeifImage source{testing::filled(kWidth, kHeight, c.coded)};
        source.profile = c.profile;
        std::optional<QImage> image = decode_heif(heif_of(HeifCodec::Av1, source), 1);
        ASSERT_TRUE(image) << c.label;
        image->convertToColorSpace(QColorSpace::SRgb);
        EXPECT_TRUE(near(image->pixelColor(32, 24), c.expected, 6)) << c.label;
    }
}

TEST(HeifPicture, DecodesOnSeveralThreadsAtOnce) {
    const Bytes file = heif_of(HeifCodec::Hevc, {quarters()});
    std::vector<std::optional<QImage>> images(4);
    std::vector<std::thread> threads;
    for (auto& image : images) threads.emplace_back([&] { image = decode_heif(file, 2); });
    for (std::thread& thread : threads) thread.join();
    for (const auto& image : images) {
        ASSERT_TRUE(image);
        EXPECT_EQ(*image, *images.front());
    }
}

}  // namespace
}  // namespace galmora::imaging

namespace galmora {
namespace {

using testing::HeifCodec;
using testing::HeifImage;

// Through the picture maker: a phone's picture becomes JPEGs every browser
// shows, upright, without its EXIF or GPS position, and always at least one
// file, whatever its size; one that cannot be decoded gets none.
TEST(QtPictureMakerWithHeif, GivesJpegsInPlaceOfTheOriginal) {
    const PictureRequest request{
        {{RenditionBox::Fit::Within, 504, 504}, {RenditionBox::Fit::Within, 1280, 1280}}};
    struct Case {
        const char* what;
        HeifCodec codec;
        QSize stored;
        int orientation;
        std::vector<QSize> expected;  // empty: none, Unreadable
        bool cut = false;
    };
    const Case cases[] = {
        {"HEIC larger than a thumbnail", HeifCodec::Hevc, {800, 600}, 1, {{504, 378}, {800, 600}}},
        {"AVIF smaller than a thumbnail", HeifCodec::Av1, {320, 240}, 1, {{320, 240}}},
        {"HEIC turned a quarter", HeifCodec::Hevc, {640, 480}, 6, {{378, 504}, {480, 640}}},
        {"HEIC cut short", HeifCodec::Hevc, {320, 240}, 1, {}, true},
    };
    const QtPictureMaker maker;
    for (const Case& c : cases) {
        HeifImage image(testing::red_bottom_left(c.stored.width(), c.stored.height()),
                        c.orientation);
        image.exif = {c.orientation, true};
        Bytes file = testing::heif_file(c.codec, {image});
        ASSERT_FALSE(file.empty()) << c.what;
        if (c.cut) file.resize(file.size() * 2 / 3);
        EXPECT_FALSE(maker.browser_shows(file)) << c.what;
        const PictureResult result = maker.make(file, request, {});
        if (c.expected.empty()) {
            EXPECT_EQ(result.skip, PictureSkip::Unreadable) << c.what;
            continue;
        }
        ASSERT_FALSE(result.skip) << c.what;
        EXPECT_FALSE(result.browser_shows_original) << c.what;
        std::vector<QSize> made;
        for (const Rendition& rendition : result.renditions) {
            made.emplace_back(rendition.width, rendition.height);
            EXPECT_EQ(rendition.extension, "jpg") << c.what;
            EXPECT_FALSE(testing::contains(rendition.bytes, "Exif")) << c.what;
            EXPECT_FALSE(testing::contains(rendition.bytes, testing::gps_latitude_bytes()))
                << c.what;
        }
        EXPECT_EQ(made, c.expected) << c.what;
        // The red quarter, bottom left as stored, lies where the turn puts it.
        const QImage shown = testing::decoded(result.renditions.back());
        const QPoint red = c.orientation == 6 ? QPoint(4, 4) : QPoint(4, shown.height() - 5);
        EXPECT_TRUE(imaging::near(shown.pixelColor(red), Qt::red, 60)) << c.what;
    }
}

}  // namespace
}  // namespace galmora
