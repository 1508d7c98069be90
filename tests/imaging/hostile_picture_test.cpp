#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "core/codepage.h"
#include "imaging/qt_thumbnail_maker.h"
#include "tests/imaging/test_pictures.h"
#include "tests/support/hostile_tree.h"
#include "tests/support/temp_dir.h"
#include "tests/support/text_helpers.h"

namespace galmora {
namespace {

using testing::TempDir;
using Fit = ThumbnailRequest::Fit;

struct Case {
    const char* what;
    Bytes bytes;
    ThumbnailSkip expected;
};

Bytes cut(Bytes bytes, double kept) {
    bytes.resize(static_cast<std::size_t>(double(bytes.size()) * kept));
    return bytes;
}

// Every case is asked for a cover, which any readable picture would get,
// however small.
void expect_skipped(const Case& c) {
    TempDir dir;
    const ThumbnailResult result = testing::thumbnail_of(dir, "p.jpg", c.bytes, Fit::Fill, 64, 64);
    EXPECT_FALSE(result.thumbnail) << c.what;
    EXPECT_EQ(result.skip, c.expected) << c.what;
}

TEST(QtThumbnailMakerRefuses, DataThatIsNoWholePicture) {
    const QImage picture = testing::three_bands(600, 400, Qt::red, Qt::green, Qt::blue);
    const Bytes jpeg = testing::encoded(picture, "jpeg");
    const Case cases[] = {
        {"an empty file", {}, ThumbnailSkip::Unreadable},
        {"text", testing::to_bytes("not really a picture\n"), ThumbnailSkip::Unreadable},
        {"zeros", Bytes(4096, 0), ThumbnailSkip::Unreadable},
        {"a JPEG cut in its scan", cut(jpeg, 0.6), ThumbnailSkip::Unreadable},
        {"a JPEG cut in its header", cut(jpeg, 0.05), ThumbnailSkip::Unreadable},
        {"a PNG cut short", cut(testing::encoded(picture, "png"), 0.6), ThumbnailSkip::Unreadable},
        {"a WebP cut short", cut(testing::encoded(picture, "webp"), 0.6),
         ThumbnailSkip::Unreadable},
        {"a BMP cut short", cut(testing::encoded(picture, "bmp"), 0.6), ThumbnailSkip::Unreadable},
        {"a GIF without its trailer", cut(testing::single_frame_gif(), 0.95),
         ThumbnailSkip::Unreadable},
        {"a TIFF, which no browser shows", testing::encoded(picture, "tiff"),
         ThumbnailSkip::Unreadable},
    };
    for (const Case& c : cases) expect_skipped(c);
}

TEST(QtThumbnailMakerRefuses, MissingFilesAndFolders) {
    TempDir dir;
    dir.put("folder.jpg/inside.txt");
    const QtThumbnailMaker maker;
    for (const char* name : {"missing.jpg", "folder.jpg"}) {
        const ThumbnailResult result = maker.make({dir.file_text(name), Fit::Fill, 64, 64});
        EXPECT_FALSE(result.thumbnail) << name;
        EXPECT_EQ(result.skip, ThumbnailSkip::Unreadable) << name;
    }
}

// Headers that claim more pixels than the limits, on data far too short
// to hold them: refused from the header, never decoded.
TEST(QtThumbnailMakerRefuses, HeadersBeyondThePixelLimits) {
    const QImage small = testing::filled(64, 48, Qt::darkGreen);
    const Bytes png = testing::encoded(small, "png");
    const Case cases[] = {
        {"a JPEG of 30000 x 30000",
         testing::with_jpeg_size(testing::encoded(small, "jpeg"), 30000, 30000),
         ThumbnailSkip::TooLarge},
        {"a PNG of 12000 x 11000", testing::with_png_header(png, 12000, 11000, 8),
         ThumbnailSkip::TooLarge},
        {"a 16-bit PNG of 8000 x 7000 (448 MB decoded)",
         testing::with_png_header(png, 8000, 7000, 16), ThumbnailSkip::TooLarge},
    };
    for (const Case& c : cases) expect_skipped(c);
    static_assert(12000LL * 11000 > QtThumbnailMaker::kMaxPixels);
    static_assert(8000LL * 7000 * 8 > QtThumbnailMaker::kMaxDecodedBytes);
}

TEST(QtThumbnailMakerRefuses, AnimatedPictures) {
    const QImage frame = testing::filled(32, 32, Qt::magenta);
    const Bytes animation_control = {0, 0, 0, 2, 0, 0, 0, 0};  // two frames, looping
    const Case cases[] = {
        {"an animated GIF", testing::animated_gif(), ThumbnailSkip::Animated},
        {"an animated PNG",
         testing::with_png_chunk(testing::encoded(frame, "png"), "acTL", animation_control),
         ThumbnailSkip::Animated},
        {"an animated WebP", testing::animated_webp(frame), ThumbnailSkip::Animated},
    };
    for (const Case& c : cases) expect_skipped(c);

    TempDir dir;
    EXPECT_TRUE(
        testing::thumbnail_of(dir, "still.gif", testing::single_frame_gif(), Fit::Fill, 8, 8)
            .thumbnail);
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
TEST(QtThumbnailMakerRefuses, NothingOfTheHostileTreeBreaksIt) {
    TempDir dir;
    testing::make_hostile_tree(dir.path());
    const QtThumbnailMaker maker;
    for (const std::string& picture : testing::hostile_pictures()) {
        const Text path = local_text(dir.path() + "/" + picture);
        const bool real = names_a_real_picture(picture);
        const ThumbnailResult within = maker.make({path, Fit::Within, 504, 504});
        EXPECT_FALSE(within.thumbnail) << picture;
        EXPECT_EQ(within.skip, real ? ThumbnailSkip::AlreadySmall : ThumbnailSkip::Unreadable)
            << picture;
        const ThumbnailResult cover = maker.make({path, Fit::Fill, 252, 168});
        EXPECT_EQ(cover.thumbnail.has_value(), real) << picture;
    }
}

}  // namespace
}  // namespace galmora
