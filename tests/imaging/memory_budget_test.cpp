// The budget holds for the real picture work: sixteen workers on large
// pictures never hold together more than the budget, measured by what the
// process allocated while they ran.

#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>

#include "core/codepage.h"
#include "core/files.h"
#include "generator/image_scanner.h"
#include "generator/thumbnail_job.h"
#include "imaging/qt_picture_maker.h"
#include "tests/imaging/test_pictures.h"
#include "tests/support/allocated_bytes.h"
#include "tests/support/temp_dir.h"

namespace galmora {
namespace {

// 3000 x 2250 pictures: 27 MB decoded each, more than twice that with the
// copies the work makes, whatever the file's size.
TEST(MemoryBudget, SixteenWorkersOnLargePicturesStayWithinIt) {
    constexpr int kPictures = 16;
    constexpr std::int64_t kBudget = std::int64_t(256) << 20;
    testing::TempDir dir;
    const Bytes png =
        testing::encoded(testing::three_bands(3000, 2250, Qt::red, Qt::green, Qt::blue), "png", 50);
    const std::string_view bytes(reinterpret_cast<const char*>(png.data()), png.size());
    for (int i = 0; i < kPictures; ++i)
        dir.put("pictures/p" + std::to_string(10 + i) + ".png", bytes);
    const PictureList pictures = ImageScanner::scan_pictures(dir.file_text("pictures"), {});
    ASSERT_EQ(pictures.size(), std::size_t(kPictures));
    dir.put("main/index.html");
    ASSERT_TRUE(prepare_thumbnail_folder(dir.file_text("main")));

    ThumbnailSettings settings;
    settings.threads = 16;
    settings.copy_sides = {1280, 2048};
    MemoryBudget budget(kBudget);
    const QtPictureMaker maker;
    testing::AllocationPeak peak;
    const ThumbnailReport report =
        make_thumbnails(pictures, dir.file_text("main"), settings, maker, budget, {}, {});
    const std::int64_t held = peak.above_start();
    std::printf("held at most %lld MB with 16 workers\n", static_cast<long long>(held >> 20));
    EXPECT_EQ(report.made, kPictures);
    EXPECT_LE(held, kBudget) << held / (1 << 20) << " MB";
    // More than one picture at a time: the budget bounds, it does not serialise.
    EXPECT_GT(held, std::int64_t(40) << 20) << held / (1 << 20) << " MB";
}

}  // namespace
}  // namespace galmora
