#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "core/codepage.h"
#include "core/files.h"
#include "imaging/qt_picture_maker.h"
#include "tests/imaging/test_pictures.h"
#include "tests/support/hostile_tree.h"
#include "tests/support/temp_dir.h"
#include "tests/support/text_helpers.h"

namespace galmora {
namespace {

using testing::TempDir;
using Fit = RenditionBox::Fit;

struct Case {
    const char* what;
    Bytes bytes;
    PictureSkip expected;
};

Bytes cut(Bytes bytes, double kept) {
    bytes.resize(static_cast<std::size_t>(double(bytes.size()) * kept));
    return bytes;
}

// Every case is asked for a cover, which any readable picture would get,
// however small.
void expect_skipped(const Case& c) {
    const testing::OneRendition result = testing::thumbnail_of(c.bytes, Fit::Fill, 64, 64);
    EXPECT_FALSE(result.thumbnail) << c.what;
    EXPECT_EQ(result.skip, c.expected) << c.what;
}

TEST(QtPictureMakerRefuses, DataThatIsNoWholePicture) {
    const QImage picture = testing::three_bands(600, 400, Qt::red, Qt::green, Qt::blue);
    const Bytes jpeg = testing::encoded(picture, "jpeg");
    const Case cases[] = {
        {"an empty file", {}, PictureSkip::Unreadable},
        {"text", testing::to_bytes("not really a picture\n"), PictureSkip::Unreadable},
        {"zeros", Bytes(4096, 0), PictureSkip::Unreadable},
        {"a JPEG cut in its scan", cut(jpeg, 0.6), PictureSkip::Unreadable},
        {"a JPEG cut in its header", cut(jpeg, 0.05), PictureSkip::Unreadable},
        {"a PNG cut short", cut(testing::encoded(picture, "png"), 0.6), PictureSkip::Unreadable},
        {"a WebP cut short", cut(testing::encoded(picture, "webp"), 0.6), PictureSkip::Unreadable},
        {"a BMP cut short", cut(testing::encoded(picture, "bmp"), 0.6), PictureSkip::Unreadable},
        {"a GIF without its trailer", cut(testing::single_frame_gif(), 0.95),
         PictureSkip::Unreadable},
        {"a TIFF, which no browser shows", testing::encoded(picture, "tiff"),
         PictureSkip::Unreadable},
    };
    for (const Case& c : cases) expect_skipped(c);
}

// Headers that claim more pixels than the limits, on data far too short
// to hold them: refused from the header, never decoded.
TEST(QtPictureMakerRefuses, HeadersBeyondThePixelLimits) {
    const QImage small = testing::filled(64, 48, Qt::darkGreen);
    const Bytes png = testing::encoded(small, "png");
    const Case cases[] = {
        {"a JPEG of 30000 x 30000",
         testing::with_jpeg_size(testing::encoded(small, "jpeg"), 30000, 30000),
         PictureSkip::TooLarge},
        {"a PNG of 12000 x 11000", testing::with_png_header(png, 12000, 11000, 8),
         PictureSkip::TooLarge},
        {"a 16-bit PNG of 8000 x 7000 (448 MB decoded)",
         testing::with_png_header(png, 8000, 7000, 16), PictureSkip::TooLarge},
    };
    for (const Case& c : cases) expect_skipped(c);
    static_assert(12000LL * 11000 > QtPictureMaker::kMaxPixels);
    static_assert(8000LL * 7000 * 8 > QtPictureMaker::kMaxDecodedBytes);
}

TEST(QtPictureMakerRefuses, AnimatedPictures) {
    const QImage frame = testing::filled(32, 32, Qt::magenta);
    const Bytes animation_control = {0, 0, 0, 2, 0, 0, 0, 0};  // two frames, looping
    const Case cases[] = {
        {"an animated GIF", testing::animated_gif(), PictureSkip::Animated},
        {"an animated PNG",
         testing::with_png_chunk(testing::encoded(frame, "png"), "acTL", animation_control),
         PictureSkip::Animated},
        {"an animated WebP", testing::animated_webp(frame), PictureSkip::Animated},
    };
    for (const Case& c : cases) expect_skipped(c);

    EXPECT_TRUE(testing::thumbnail_of(testing::single_frame_gif(), Fit::Fill, 8, 8).thumbnail);
}

bool names_a_real_picture(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    for (std::string_view suffix : {"jpg", "jpeg", "png", "gif"})
        if (name.ends_with(suffix)) return true;
    return false;
}

// The tree's jpg, jpeg, png and gif files hold 1 x 1 pictures, every other
// file a few bytes of text.
TEST(QtPictureMakerRefuses, NothingOfTheHostileTreeBreaksIt) {
    TempDir dir;
    testing::make_hostile_tree(dir.path());
    for (const std::string& picture : testing::hostile_pictures()) {
        const std::optional<Bytes> bytes = read_file(local_text(dir.path() + "/" + picture));
        ASSERT_TRUE(bytes) << picture;
        const bool real = names_a_real_picture(picture);
        const testing::OneRendition within = testing::thumbnail_of(*bytes, Fit::Within, 504, 504);
        EXPECT_FALSE(within.thumbnail) << picture;
        EXPECT_EQ(within.skip, real ? PictureSkip::AlreadySmall : PictureSkip::Unreadable)
            << picture;
        const testing::OneRendition cover = testing::thumbnail_of(*bytes, Fit::Fill, 252, 168);
        EXPECT_EQ(cover.thumbnail.has_value(), real) << picture;
    }
}

}  // namespace
}  // namespace galmora
