#include "imaging/qt_picture_maker.h"

#include <gtest/gtest.h>

#include <QColorSpace>
#include <cstdlib>
#include <thread>

#include "tests/imaging/test_pictures.h"
#include "tests/support/exif_segment.h"

namespace galmora {
namespace {

using Fit = RenditionBox::Fit;

bool near(QColor actual, QColor expected, int tolerance) {
    return std::abs(actual.red() - expected.red()) <= tolerance &&
           std::abs(actual.green() - expected.green()) <= tolerance &&
           std::abs(actual.blue() - expected.blue()) <= tolerance;
}

std::string describe(QColor colour) {
    return "(" + std::to_string(colour.red()) + ", " + std::to_string(colour.green()) + ", " +
           std::to_string(colour.blue()) + ")";
}

TEST(QtPictureMaker, ScalesToTheBoxAndNeverEnlargesWithin) {
    struct Case {
        int width, height;
        Fit fit;
        int box_width, box_height;
        int expected_width, expected_height;  // 0: AlreadySmall
    };
    const Case cases[] = {
        {4000, 3000, Fit::Within, 504, 504, 504, 378},  // decoded at a quarter of its size
        {4003, 3001, Fit::Within, 504, 504, 504, 378},  // whose quarter is no whole number
        {1200, 900, Fit::Within, 504, 504, 504, 378},
        {900, 1200, Fit::Within, 504, 504, 378, 504},
        {1200, 900, Fit::Within, 252, 168, 224, 168},
        {3000, 100, Fit::Within, 504, 504, 504, 17},
        {1, 3000, Fit::Within, 504, 504, 1, 504},
        {504, 378, Fit::Within, 504, 504, 0, 0},
        {400, 300, Fit::Within, 504, 504, 0, 0},
        {1200, 900, Fit::Fill, 252, 168, 252, 168},
        {900, 1200, Fit::Fill, 157, 168, 157, 168},
        {100, 80, Fit::Fill, 252, 168, 252, 168},  // Fill enlarges
    };
    for (const Case& c : cases) {
        const std::string label = std::to_string(c.width) + "x" + std::to_string(c.height) +
                                  " in " + std::to_string(c.box_width) + "x" +
                                  std::to_string(c.box_height);
        const Bytes jpeg = testing::encoded(testing::filled(c.width, c.height, Qt::gray), "jpeg");
        const testing::OneRendition result =
            testing::thumbnail_of(jpeg, c.fit, c.box_width, c.box_height);
        if (c.expected_width == 0) {
            EXPECT_FALSE(result.thumbnail) << label;
            EXPECT_EQ(result.skip, PictureSkip::AlreadySmall) << label;
            continue;
        }
        ASSERT_TRUE(result.thumbnail) << label;
        EXPECT_EQ(result.thumbnail->extension, "jpg") << label;
        EXPECT_EQ(result.thumbnail->width, c.expected_width) << label;
        EXPECT_EQ(result.thumbnail->height, c.expected_height) << label;
        EXPECT_EQ(testing::decoded(*result.thumbnail).size(),
                  QSize(c.expected_width, c.expected_height))
            << label;
    }
}

// A thumbnail and the viewer's copies from one decode: a box the picture
// already fits gets nothing, nor do larger ones; the largest copy takes a
// JPEG decoder's half size when that is within 3 % of its box.
TEST(QtPictureMaker, MakesTheCopiesOfEachSizeFromOneDecode) {
    using Sizes = std::vector<QSize>;
    struct Case {
        int width, height;
        const char* format;
        Sizes expected;
    };
    const Case cases[] = {
        {4000, 3000, "jpeg", {{504, 378}, {1280, 960}, {1600, 1200}, {2000, 1500}}},
        {4032, 3024, "jpeg", {{504, 378}, {1280, 960}, {1600, 1200}, {2016, 1512}}},
        {3000, 4500, "jpeg", {{336, 504}, {853, 1280}, {1067, 1600}, {1365, 2048}}},
        {1500, 1000, "jpeg", {{504, 336}, {1280, 853}}},
        {1200, 900, "jpeg", {{504, 378}}},
        {2200, 1650, "png", {{504, 378}, {1280, 960}, {1600, 1200}, {2048, 1536}}},
    };
    const PictureRequest request{{{Fit::Within, 504, 504},
                                  {Fit::Within, 1280, 1280},
                                  {Fit::Within, 1600, 1600},
                                  {Fit::Within, 2048, 2048}}};
    for (const Case& c : cases) {
        const std::string label = std::to_string(c.width) + "x" + std::to_string(c.height);
        const Bytes picture = testing::encoded(
            testing::three_bands(c.width, c.height, Qt::red, Qt::green, Qt::blue), c.format);
        const PictureResult result = QtPictureMaker().make(picture, request, {});
        ASSERT_FALSE(result.skip) << label;
        Sizes made;
        for (const Rendition& rendition : result.renditions) {
            made.emplace_back(rendition.width, rendition.height);
            EXPECT_EQ(testing::decoded(rendition).size(), made.back()) << label;
            EXPECT_EQ(rendition.extension, "jpg") << label;
        }
        EXPECT_EQ(made, c.expected) << label;
        EXPECT_TRUE(result.browser_shows_original) << label;
    }
}

TEST(QtPictureMaker, ReadsEveryWebFormatByItsContentWhateverItsName) {
    const QImage picture = testing::filled(800, 600, QColor(30, 120, 200));
    for (const char* format : {"jpeg", "png", "webp", "bmp"}) {
        const testing::OneRendition result =
            testing::thumbnail_of(testing::encoded(picture, format), Fit::Within, 400, 400);
        ASSERT_TRUE(result.thumbnail) << format;
        EXPECT_EQ(result.thumbnail->width, 400) << format;
        EXPECT_EQ(result.thumbnail->height, 300) << format;
        EXPECT_TRUE(
            near(testing::decoded(*result.thumbnail).pixelColor(200, 150), QColor(30, 120, 200), 3))
            << format;
    }
}

TEST(QtPictureMaker, FillKeepsTheCentreAndWithinTheWhole) {
    const QImage bands = testing::three_bands(1200, 400, Qt::red, Qt::green, Qt::blue);
    const Bytes png = testing::encoded(bands, "png");
    const testing::OneRendition filled = testing::thumbnail_of(png, Fit::Fill, 90, 90);
    ASSERT_TRUE(filled.thumbnail);
    const QImage centre = testing::decoded(*filled.thumbnail);
    for (QPoint corner : {QPoint(2, 2), QPoint(87, 87)})
        EXPECT_TRUE(near(centre.pixelColor(corner), Qt::green, 40)) << corner.x();

    const testing::OneRendition within = testing::thumbnail_of(png, Fit::Within, 90, 90);
    ASSERT_TRUE(within.thumbnail);
    const QImage whole = testing::decoded(*within.thumbnail);
    EXPECT_EQ(whole.size(), QSize(90, 30));
    EXPECT_TRUE(near(whole.pixelColor(2, 15), Qt::red, 40));
    EXPECT_TRUE(near(whole.pixelColor(87, 15), Qt::blue, 40));
}

// The stored picture is blue with a red bottom-left quarter; each EXIF
// orientation shows that quarter in another corner, and 5 to 8 sideways.
TEST(QtPictureMaker, TurnsThePictureUprightBeforeFittingTheBox) {
    struct Case {
        int orientation;
        QSize size;
        QPoint red;  // a point in the red quarter of the upright thumbnail
    };
    const Case cases[] = {
        {1, {200, 150}, {20, 130}},   // as stored
        {3, {200, 150}, {180, 20}},   // half a turn
        {6, {113, 150}, {10, 10}},    // a quarter turn clockwise
        {8, {113, 150}, {100, 140}},  // a quarter turn anticlockwise
    };
    const Bytes stored = testing::encoded(testing::red_bottom_left(2000, 1500), "jpeg");
    for (const Case& c : cases) {
        const Bytes jpeg = testing::jpeg_with_exif(stored, {c.orientation, false});
        const testing::OneRendition result = testing::thumbnail_of(jpeg, Fit::Within, 200, 150);
        ASSERT_TRUE(result.thumbnail) << c.orientation;
        const QImage upright = testing::decoded(*result.thumbnail);
        EXPECT_EQ(upright.size(), c.size) << c.orientation;
        EXPECT_TRUE(near(upright.pixelColor(c.red), Qt::red, 40))
            << c.orientation << ": " << describe(upright.pixelColor(c.red));
        const QPoint opposite(c.size.width() - 1 - c.red.x(), c.size.height() - 1 - c.red.y());
        EXPECT_TRUE(near(upright.pixelColor(opposite), Qt::blue, 40)) << c.orientation;
    }
}

TEST(QtPictureMaker, ConvertsWideGamutColoursToSrgb) {
    // (200, 80, 40) in each space, converted with the spaces' published
    // primaries and transfer functions.
    struct Case {
        QColorSpace::NamedColorSpace space;
        QColor srgb;
    };
    const Case cases[] = {
        {QColorSpace::DisplayP3, QColor(216, 69, 17)},
        {QColorSpace::AdobeRgb, QColor(230, 79, 32)},
    };
    for (const Case& c : cases) {
        QImage wide = testing::filled(600, 400, QColor(200, 80, 40));
        wide.setColorSpace(c.space);
        const testing::OneRendition result =
            testing::thumbnail_of(testing::encoded(wide, "jpeg", 100), Fit::Within, 300, 300);
        ASSERT_TRUE(result.thumbnail);
        const QColor shown = testing::decoded(*result.thumbnail).pixelColor(150, 100);
        EXPECT_TRUE(near(shown, c.srgb, 3)) << int(c.space) << ": " << describe(shown);
    }
}

TEST(QtPictureMaker, WritesNoMetadata) {
    QImage photo = testing::filled(1200, 900, QColor(90, 140, 60));
    photo.setText("Comment", "camera serial GX-12345");
    photo.setColorSpace(QColorSpace::DisplayP3);
    const Bytes jpeg = testing::jpeg_with_exif(testing::encoded(photo, "jpeg"), {1, true});
    ASSERT_TRUE(testing::contains(jpeg, "GX-12345"));
    ASSERT_TRUE(testing::contains(jpeg, testing::gps_latitude_bytes()));

    const testing::OneRendition result = testing::thumbnail_of(jpeg, Fit::Within, 504, 504);
    ASSERT_TRUE(result.thumbnail);
    const Bytes& out = result.thumbnail->bytes;
    for (std::string_view trace : {"Exif", "GX-12345", "ICC_PROFILE", "Comment"})
        EXPECT_FALSE(testing::contains(out, trace)) << trace;
    EXPECT_FALSE(testing::contains(out, testing::gps_latitude_bytes()));
    // JFIF, quantisation tables, frame, Huffman tables, scan: nothing else.
    for (const std::string& marker : testing::jpeg_markers(out))
        EXPECT_TRUE(marker == "E0" || marker == "DB" || marker == "C0" || marker == "C4" ||
                    marker == "DA")
            << marker;

    QImage logo = testing::filled(600, 400, QColor(200, 0, 0, 128), QImage::Format_ARGB32);
    logo.setText("Comment", "camera serial GX-12345");
    logo.setColorSpace(QColorSpace::DisplayP3);
    const testing::OneRendition webp =
        testing::thumbnail_of(testing::encoded(logo, "png"), Fit::Within, 300, 300);
    ASSERT_TRUE(webp.thumbnail);
    for (const std::string& chunk : testing::webp_chunks(webp.thumbnail->bytes))
        EXPECT_TRUE(chunk == "VP8X" || chunk == "ALPH" || chunk == "VP8 " || chunk == "VP8L")
            << chunk;
}

TEST(QtPictureMaker, KeepsRealTransparencyAsWebp) {
    struct Case {
        const char* what;
        QImage picture;
        const char* extension;
    };
    QImage half_clear = testing::filled(600, 400, Qt::red, QImage::Format_ARGB32);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 600; ++x) half_clear.setPixelColor(x, y, Qt::transparent);
    const Case cases[] = {
        {"top half transparent", half_clear, "webp"},
        {"alpha channel all opaque", testing::filled(600, 400, Qt::red, QImage::Format_ARGB32),
         "jpg"},
        {"no alpha channel", testing::filled(600, 400, Qt::red), "jpg"},
    };
    for (const Case& c : cases) {
        const testing::OneRendition result =
            testing::thumbnail_of(testing::encoded(c.picture, "png"), Fit::Within, 300, 300);
        ASSERT_TRUE(result.thumbnail) << c.what;
        EXPECT_EQ(result.thumbnail->extension, c.extension) << c.what;
    }

    const testing::OneRendition result =
        testing::thumbnail_of(testing::encoded(half_clear, "png"), Fit::Within, 300, 300);
    ASSERT_TRUE(result.thumbnail);
    const QImage kept = testing::decoded(*result.thumbnail);
    ASSERT_TRUE(kept.hasAlphaChannel());
    EXPECT_EQ(kept.pixelColor(150, 20).alpha(), 0);
    EXPECT_GE(kept.pixelColor(150, 180).alpha(), 250);
    EXPECT_TRUE(near(kept.pixelColor(150, 180), Qt::red, 8));
}

TEST(QtPictureMaker, MakesTheSameThumbnailsOnSeveralThreadsAtOnce) {
    QImage wide = testing::three_bands(1600, 1200, Qt::red, QColor(10, 200, 90), Qt::blue);
    wide.setColorSpace(QColorSpace::DisplayP3);
    QImage clear = testing::red_bottom_left(900, 700).convertToFormat(QImage::Format_ARGB32);
    clear.setPixelColor(10, 10, Qt::transparent);
    const std::vector<std::pair<std::string, Bytes>> pictures = {
        {"turned.jpg",
         testing::jpeg_with_exif(testing::encoded(testing::red_bottom_left(2400, 1800), "jpeg"),
                                 {6, true})},
        {"wide.jpg", testing::encoded(wide, "jpeg")},
        {"clear.png", testing::encoded(clear, "png")},
        {"bands.webp",
         testing::encoded(testing::three_bands(1000, 800, Qt::yellow, Qt::cyan, Qt::magenta),
                          "webp")},
    };
    const QtPictureMaker maker;
    std::vector<std::pair<const Bytes*, PictureRequest>> requests;
    std::vector<Bytes> expected;
    for (const auto& [name, bytes] : pictures) {
        for (Fit fit : {Fit::Within, Fit::Fill}) {
            requests.push_back({&bytes, {{{fit, 300, 200}}}});
            const PictureResult alone = maker.make(bytes, requests.back().second, {});
            ASSERT_EQ(alone.renditions.size(), 1u) << name;
            expected.push_back(alone.renditions[0].bytes);
        }
    }

    constexpr int kThreads = 6;
    std::vector<int> differing(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < 3; ++round)
                for (std::size_t i = 0; i < requests.size(); ++i) {
                    const std::size_t which = (i + t) % requests.size();
                    const auto& [bytes, request] = requests[which];
                    const PictureResult result = maker.make(*bytes, request, {});
                    if (result.renditions.size() != 1 ||
                        result.renditions[0].bytes != expected[which])
                        ++differing[t];
                }
        });
    for (std::thread& thread : threads) thread.join();
    for (int t = 0; t < kThreads; ++t) EXPECT_EQ(differing[t], 0) << "thread " << t;
}

}  // namespace
}  // namespace galmora
