// Making a generation's thumbnails and display copies, with a stand-in for
// the picture work: what is made, reused and left out, where it is written,
// what a reuse checks, the memory budget, and stopping.

#include "generator/thumbnail_job.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "core/codepage.h"
#include "generator/image_scanner.h"
#include "tests/support/child_run.h"
#include "tests/support/hostile_tree.h"
#include "tests/support/stand_in_maker.h"
#include "tests/support/temp_dir.h"

namespace galmora {
namespace {

namespace fs = std::filesystem;
using namespace galmora::literals;
using testing::TempDir;

class ThumbnailJobTest : public ::testing::Test {
  protected:
    ThumbnailJobTest() { fs::create_directories(main_gallery()); }
    fs::path main_gallery() const { return fs::path(dir.path()) / "main"; }
    fs::path thumbs() const { return main_gallery() / "img" / "thumbs"; }
    PictureList put(const std::vector<std::string>& names) {
        for (const std::string& name : names) dir.put("pictures/" + name, name);
        return ImageScanner::scan_pictures(dir.file_text("pictures"), {});
    }
    ThumbnailReport run(const PictureList& pictures, ThumbnailSettings settings = {},
                        std::stop_token stop = {}) {
        EXPECT_TRUE(prepare_thumbnail_folder(local_text(main_gallery().string())));
        return make_thumbnails(pictures, local_text(main_gallery().string()), settings, maker,
                               budget, stop, [this](int done, int total) {
                                   last_done = std::max(last_done.load(), done);
                                   EXPECT_LE(done, total);
                               });
    }
    std::vector<std::string> thumbnail_files() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(thumbs()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string thumbnail(const ThumbnailReport& report, std::size_t picture) const {
        return (thumbs() / report.thumbnails[picture].file_name).string();
    }

    static ThumbnailSettings on_threads(int threads) {
        ThumbnailSettings settings;
        settings.threads = threads;
        return settings;
    }

    TempDir dir;
    testing::StandInMaker maker;
    MemoryBudget budget{std::int64_t(1) << 30};
    std::atomic<int> last_done{0};
};

TEST_F(ThumbnailJobTest, MakesReusesAndLeavesOutByPicture) {
    const PictureList pictures =
        put({"a.jpg", "anim.gif", "b.jpg", "bad.jpg", "c.png", "nomem.jpg", "small.png", "z.jpg"});
    const ThumbnailReport first = run(pictures, on_threads(3));
    EXPECT_EQ(first.made, 4);
    EXPECT_EQ(first.reused, 0);
    EXPECT_EQ(first.already_small, 1);  // counted apart, never named as a failure
    EXPECT_EQ(first.left_out, 3);
    EXPECT_FALSE(first.stopped);
    EXPECT_EQ(last_done, 8);
    const std::vector<std::pair<std::size_t, LeftOutReason>> expected_left_out = {
        {1, LeftOutReason::Animated},
        {3, LeftOutReason::Unreadable},
        {5, LeftOutReason::OutOfMemory}};  // an allocation failure leaves one picture out
    ASSERT_EQ(first.first_left_out.size(), expected_left_out.size());
    for (std::size_t i = 0; i < expected_left_out.size(); ++i) {
        EXPECT_EQ(first.first_left_out[i].picture, expected_left_out[i].first);
        EXPECT_EQ(first.first_left_out[i].reason, expected_left_out[i].second);
    }
    ASSERT_EQ(first.thumbnails.size(), 8u);
    EXPECT_EQ(first.thumbnails[1].file_name, "");
    for (std::size_t i : {0, 2, 4, 7}) {
        ASSERT_TRUE(parse_thumbnail_file_name(first.thumbnails[i].file_name)) << i;
        EXPECT_EQ(first.thumbnails[i].width, 504);
        EXPECT_NE(dir.contents("main/img/thumbs/" + first.thumbnails[i].file_name)
                      .find(" of " + utf8_string(pictures.name(i))),
                  std::string::npos);
    }
    EXPECT_EQ(thumbnail_files().size(), 4u);  // no temporary file left

    // Again, unchanged: everything reused, nothing made or written.
    maker.calls = 0;
    const ThumbnailReport second = run(pictures);
    EXPECT_EQ(second.reused, 4);
    EXPECT_EQ(second.made, 0);
    EXPECT_EQ(maker.calls,
              1);  // only the one whose memory ran out: the others tell by their header
    for (std::size_t i = 0; i < 8; ++i)
        EXPECT_EQ(second.thumbnails[i].file_name, first.thumbnails[i].file_name) << i;

    // A changed picture gets a new thumbnail; the old one stays for the pages
    // that name it.
    dir.put("pictures/b.jpg", "b, edited and longer");
    const ThumbnailReport third = run(pictures);
    EXPECT_EQ(third.made, 1);
    EXPECT_EQ(third.reused, 3);
    EXPECT_NE(third.thumbnails[2].file_name, first.thumbnails[2].file_name);
    EXPECT_EQ(thumbnail_files().size(), 5u);
}

TEST_F(ThumbnailJobTest, CopiesShareTheThumbnailsKeyAndAreReusedWithIt) {
    const PictureList pictures = put({"a.jpg", "small.png"});
    ThumbnailSettings settings;
    settings.copy_sides = {1280, 2048};
    const ThumbnailReport first = run(pictures, settings);
    const PictureThumbnail& a = first.thumbnails[0];
    EXPECT_EQ(a.copies, (std::vector<PictureSize>{{1280, 960}, {2048, 1536}}));
    EXPECT_EQ(first.copies_made, 2);
    for (const PictureSize& copy : a.copies)
        EXPECT_TRUE(fs::exists(thumbs() / copy_file_name(a.file_name, copy)));
    const ThumbnailReport second = run(pictures, settings);
    EXPECT_EQ(second.copies_reused, 2);
    EXPECT_EQ(second.thumbnails[0].copies, a.copies);
    // Other sizes are other settings: nothing of the first is reused.
    settings.copy_sides = {1600};
    EXPECT_EQ(run(pictures, settings).reused, 0);
}

// A file the reuse trusted by its name alone would stay broken for ever. A
// power cut that leaves one cut or empty means a restart since: files from
// before the system's start are read at their ends, newer ones trusted.
TEST_F(ThumbnailJobTest, AnEmptyOrCutFileFromBeforeARestartIsMadeAgain) {
    const PictureList pictures = put({"a.jpg", "b.jpg", "c.jpg", "d.jpg"});
    ThumbnailSettings settings;
    settings.copy_sides = {1280};
    const ThumbnailReport first = run(pictures, settings);
    const auto copy_of = [&](std::size_t picture) {
        return thumbs() / copy_file_name(first.thumbnails[picture].file_name,
                                         first.thumbnails[picture].copies[0]);
    };
    fs::resize_file(thumbnail(first, 0), 0);                                       // emptied
    fs::resize_file(thumbnail(first, 1), fs::file_size(thumbnail(first, 1)) - 2);  // cut
    fs::resize_file(copy_of(2), fs::file_size(copy_of(2)) / 2);  // a copy cut: all made again
    ASSERT_GT(system_start_ns(), 0);
    const timespec before_start{system_start_ns() / 1000000000 - 3600, 0};
    const timespec times[2] = {before_start, before_start};
    for (const auto& entry : fs::directory_iterator(thumbs()))
        ASSERT_EQ(::utimensat(AT_FDCWD, entry.path().c_str(), times, 0), 0);
    maker.calls = 0;
    const ThumbnailReport second = run(pictures, settings);
    EXPECT_EQ(second.made, 3);
    EXPECT_EQ(second.reused, 1);  // d: whole
    for (std::size_t i = 0; i < 3; ++i) EXPECT_GT(fs::file_size(thumbnail(second, i)), 2u) << i;
    EXPECT_EQ(run(pictures, settings).reused, 4);
}

// cp -p and touch -r keep the size and the modification time of a picture
// whose bytes changed: it still gets a new thumbnail.
TEST_F(ThumbnailJobTest, AChangedPictureWithItsSizeAndTimeKeptGetsANewThumbnail) {
    const PictureList pictures = put({"same-size-1.jpg"});
    const std::string picture = dir.file("pictures/same-size-1.jpg");
    struct stat before;
    ASSERT_EQ(::stat(picture.c_str(), &before), 0);
    const ThumbnailReport first = run(pictures);
    dir.put("pictures/same-size-1.jpg", "same-size-2.jpg");  // the same length
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, picture.c_str(), times, 0), 0);
    const ThumbnailReport second = run(pictures);
    EXPECT_EQ(second.made, 1);
    EXPECT_NE(second.thumbnails[0].file_name, first.thumbnails[0].file_name);
}

TEST_F(ThumbnailJobTest, ACoverIsMadeFromTheFirstPictureWhenAskedAndSharedAfterwards) {
    const PictureList pictures = put({"a.jpg", "b.jpg"});
    EXPECT_EQ(run(pictures).cover, "");
    ThumbnailSettings with_cover;
    with_cover.cover = true;
    const ThumbnailReport report = run(pictures, with_cover);
    ASSERT_EQ(report.cover.size(), 2 + 16 + 4u);  // "fm" + key + ".jpg"
    EXPECT_EQ(report.cover.substr(0, 2), "fm");
    EXPECT_TRUE(report.cover_made);
    EXPECT_NE(dir.contents("main/img/" + report.cover).find("894x504 of a.jpg"), std::string::npos);
    // The next sub-gallery of the same folder finds it, when it is whole.
    maker.calls = 0;
    const ThumbnailReport again = run(pictures, with_cover);
    EXPECT_EQ(again.cover, report.cover);
    EXPECT_FALSE(again.cover_made);
    EXPECT_EQ(maker.calls, 0);
    fs::resize_file(dir.file("main/img/" + report.cover), 0);
    const ThumbnailReport remade = run(pictures, with_cover);
    EXPECT_EQ(remade.cover, report.cover);
    EXPECT_TRUE(remade.cover_made);
}

// One worker: the stop comes in the fifth picture's work, whose files are
// then not written, and no later picture is begun.
TEST_F(ThumbnailJobTest, AStopLeavesTheRestWithTheirOriginals) {
    std::vector<std::string> names;
    for (int i = 0; i < 20; ++i) names.push_back("p" + std::to_string(100 + i) + ".jpg");
    const PictureList pictures = put(names);
    std::stop_source stop;
    maker.on_call = [&] {
        if (maker.calls == 5) stop.request_stop();
    };
    const ThumbnailReport report = run(pictures, on_threads(1), stop.get_token());
    EXPECT_TRUE(report.stopped);
    EXPECT_EQ(maker.calls, 5);
    EXPECT_EQ(report.made, 4);
    EXPECT_EQ(report.left_out, 16);
    EXPECT_TRUE(report.first_left_out.empty());  // stopped ones are not listed
    EXPECT_EQ(int(thumbnail_files().size()), report.made);
}

// Sixteen workers, pictures whose work holds 100 MB each, 250 MB for all:
// never more than two at once. A picture that alone needs more than the
// budget is left out with its reason, and the others are made.
TEST_F(ThumbnailJobTest, TheMemoryBudgetBoundsTheWorkWhateverTheWorkers) {
    std::vector<std::string> names = {"huge.jpg"};
    for (int i = 0; i < 12; ++i) names.push_back("p" + std::to_string(100 + i) + ".jpg");
    const PictureList pictures = put(names);
    MemoryBudget small(std::int64_t(250) << 20);
    maker.peak_bytes = std::int64_t(100) << 20;
    std::atomic<int> at_once{0}, most_at_once{0};
    maker.on_call = [&] {
        const int now = ++at_once;
        most_at_once = std::max(most_at_once.load(), now);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        --at_once;
    };
    ASSERT_TRUE(prepare_thumbnail_folder(local_text(main_gallery().string())));
    const ThumbnailReport report = make_thumbnails(pictures, local_text(main_gallery().string()),
                                                   on_threads(16), maker, small, {}, {});
    EXPECT_EQ(report.made, 12);
    ASSERT_EQ(report.first_left_out.size(), 1u);
    EXPECT_EQ(report.first_left_out[0].reason, LeftOutReason::OverBudget);
    EXPECT_GE(most_at_once, 1);
    EXPECT_LE(most_at_once, 2);
    EXPECT_EQ(small.held(), 0);
}

TEST_F(ThumbnailJobTest, AFolderThatTakesNothingLeavesEveryPictureOut) {
    const PictureList pictures = put({"a.jpg", "b.jpg"});
    ASSERT_TRUE(prepare_thumbnail_folder(local_text(main_gallery().string())));
    ::chmod(thumbs().c_str(), 0555);
    testing::run_unprivileged(dir.path(), [&] {
        const ThumbnailReport report = make_thumbnails(
            pictures, local_text(main_gallery().string()), {}, maker, budget, {}, {});
        EXPECT_EQ(report.made, 0);
        EXPECT_EQ(report.left_out, 2);
        EXPECT_EQ(report.first_left_out[0].reason, LeftOutReason::NotWritten);
    });
}

TEST_F(ThumbnailJobTest, HostileNamesGetPlainThumbnailNames) {
    testing::make_hostile_tree(dir.file("pictures"));
    const PictureList pictures = ImageScanner::scan_pictures(dir.file_text("pictures"), {});
    const ThumbnailReport report = run(pictures, on_threads(4));
    EXPECT_EQ(report.made + report.left_out + report.already_small,
              static_cast<int>(pictures.size()));
    EXPECT_GT(report.made, 20);
    for (const PictureThumbnail& thumbnail : report.thumbnails) {
        if (!thumbnail.file_name.empty()) {
            EXPECT_TRUE(parse_thumbnail_file_name(thumbnail.file_name)) << thumbnail.file_name;
        }
    }
}

}  // namespace
}  // namespace galmora
