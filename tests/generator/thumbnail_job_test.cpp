// Making a generation's thumbnails, with a stand-in for the picture work:
// what is made, reused and left out, where it is written, and stopping.

#include "generator/thumbnail_job.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <filesystem>
#include <mutex>

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
        return make_thumbnails(pictures, local_text(main_gallery().string()), settings, maker, stop,
                               [this](int done, int total) {
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

    static ThumbnailSettings on_threads(int threads) {
        ThumbnailSettings settings;
        settings.threads = threads;
        return settings;
    }

    TempDir dir;
    testing::StandInMaker maker;
    std::atomic<int> last_done{0};
};

TEST_F(ThumbnailJobTest, MakesReusesAndLeavesOutByPicture) {
    const PictureList pictures =
        put({"a.jpg", "anim.gif", "b.jpg", "bad.jpg", "c.png", "small.png", "z.jpg"});
    const ThumbnailReport first = run(pictures, on_threads(3));
    EXPECT_EQ(first.made, 4);
    EXPECT_EQ(first.reused, 0);
    EXPECT_EQ(first.left_out, 3);
    EXPECT_FALSE(first.stopped);
    EXPECT_EQ(last_done, 7);
    ASSERT_EQ(first.first_left_out.size(), 3u);
    EXPECT_EQ(first.first_left_out[0].picture, 1u);
    EXPECT_EQ(first.first_left_out[0].reason, LeftOutReason::Animated);
    EXPECT_EQ(first.first_left_out[1].reason, LeftOutReason::Unreadable);
    EXPECT_EQ(first.first_left_out[2].reason, LeftOutReason::AlreadySmall);
    ASSERT_EQ(first.thumbnails.size(), 7u);
    EXPECT_EQ(first.thumbnails[1].file_name, "");
    for (std::size_t i : {0, 2, 4, 6}) {
        const auto name = parse_thumbnail_file_name(first.thumbnails[i].file_name);
        ASSERT_TRUE(name) << i;
        EXPECT_EQ(first.thumbnails[i].width, 504);
        EXPECT_EQ(dir.contents("main/img/thumbs/" + first.thumbnails[i].file_name),
                  "thumb of " + utf8_string(pictures.path(i)));
    }
    EXPECT_EQ(thumbnail_files().size(), 4u);  // no temporary file left

    // Again, unchanged: everything reused, nothing made or written.
    maker.calls = 0;
    const ThumbnailReport second = run(pictures);
    EXPECT_EQ(second.reused, 4);
    EXPECT_EQ(second.made, 0);
    EXPECT_EQ(maker.calls, 3);  // only the pictures left out are looked at again
    for (std::size_t i = 0; i < 7; ++i)
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

TEST_F(ThumbnailJobTest, ACoverIsMadeFromTheFirstPictureWhenAskedAndSharedAfterwards) {
    const PictureList pictures = put({"a.jpg", "b.jpg"});
    EXPECT_EQ(run(pictures).cover, "");
    ThumbnailSettings with_cover;
    with_cover.cover = true;
    const ThumbnailReport report = run(pictures, with_cover);
    ASSERT_EQ(report.cover.size(), 2 + 16 + 4u);  // "fm" + key + ".jpg"
    EXPECT_EQ(report.cover.substr(0, 2), "fm");
    EXPECT_TRUE(report.cover_made);
    EXPECT_EQ(dir.contents("main/img/" + report.cover),
              "thumb of " + utf8_string(pictures.path(0)));
    const std::vector<ThumbnailRequest> requests = maker.requests();
    const auto fill = std::find_if(requests.begin(), requests.end(), [](const ThumbnailRequest& r) {
        return r.fit == ThumbnailRequest::Fit::Fill;
    });
    ASSERT_NE(fill, requests.end());
    EXPECT_EQ(fill->width, 894);
    EXPECT_EQ(fill->height, 504);
    EXPECT_EQ(fill->source, pictures.path(0));
    // The next sub-gallery of the same folder finds it.
    maker.calls = 0;
    const ThumbnailReport again = run(pictures, with_cover);
    EXPECT_EQ(again.cover, report.cover);
    EXPECT_FALSE(again.cover_made);
    EXPECT_EQ(maker.calls, 0);
}

TEST_F(ThumbnailJobTest, AStopLeavesTheRestWithTheirOriginals) {
    std::vector<std::string> names;
    for (int i = 0; i < 20; ++i) names.push_back("p" + std::to_string(100 + i) + ".jpg");
    const PictureList pictures = put(names);
    std::stop_source stop;
    maker.on_call = [&] {
        if (maker.calls == 5) stop.request_stop();
    };
    const ThumbnailReport report = run(pictures, on_threads(2), stop.get_token());
    EXPECT_TRUE(report.stopped);
    EXPECT_GE(report.made, 5);
    EXPECT_LE(report.made, 6);  // the other thread finishes the picture it holds
    EXPECT_EQ(report.made + report.left_out, 20);
    EXPECT_TRUE(report.first_left_out.empty());  // stopped ones are not listed
    EXPECT_EQ(int(thumbnail_files().size()), report.made);
}

TEST_F(ThumbnailJobTest, AFolderThatTakesNothingLeavesEveryPictureOut) {
    const PictureList pictures = put({"a.jpg", "b.jpg"});
    ASSERT_TRUE(prepare_thumbnail_folder(local_text(main_gallery().string())));
    ::chmod(thumbs().c_str(), 0555);
    testing::run_unprivileged(dir.path(), [&] {
        const ThumbnailReport report =
            make_thumbnails(pictures, local_text(main_gallery().string()), {}, maker, {}, {});
        EXPECT_EQ(report.made, 0);
        EXPECT_EQ(report.left_out, 2);
        EXPECT_EQ(report.first_left_out[0].reason, LeftOutReason::NotWritten);
    });
}

TEST_F(ThumbnailJobTest, HostileNamesGetPlainThumbnailNames) {
    testing::make_hostile_tree(dir.file("pictures"));
    const PictureList pictures = ImageScanner::scan_pictures(dir.file_text("pictures"), {});
    const ThumbnailReport report = run(pictures, on_threads(4));
    EXPECT_EQ(report.made + report.left_out, static_cast<int>(pictures.size()));
    EXPECT_GT(report.made, 20);
    for (const PictureThumbnail& thumbnail : report.thumbnails) {
        if (!thumbnail.file_name.empty()) {
            EXPECT_TRUE(parse_thumbnail_file_name(thumbnail.file_name)) << thumbnail.file_name;
        }
    }
}

}  // namespace
}  // namespace galmora
