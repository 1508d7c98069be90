#include "library/logo_cover_selection.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/codepage.h"
#include "tests/library/library_fixture.h"
#include "tests/support/child_run.h"

namespace galmora {
namespace {

using namespace galmora::literals;
using testing::LibraryTest;

class LogoCoverSelectionTest : public LibraryTest {
  protected:
    void SetUp() override {
        config_.ensure_file();
        make_folder("我的图片库");
        make_folder("pictures");
        put_file("pictures/logo.png", "png logo");
        put_file("pictures/second.gif", "gif logo");
        put_file("pictures/photo.jpeg", "jpeg cover");
        put_file("pictures/cover.jpg", "jpg cover");
        selection.draw_suffixes();
    }
    bool take_logo(const std::string& file) {
        return selection.take_logo(local("我的图片库"), local("pictures/" + file)).taken;
    }
    bool take_cover(const std::string& file) {
        return selection.take_cover(local("我的图片库"), local("pictures/" + file)).taken;
    }

    LogoCoverSelection selection{config_, root_.text()};
};

TEST_F(LogoCoverSelectionTest, LogoIsCopiedIntoImgStoredAndANewSuffixDrawn) {
    const Text suffix = selection.logo_suffix(), cover_suffix = selection.cover_suffix();
    ASSERT_TRUE(take_logo("logo.png"));
    const Text name = "logo" + suffix + ".png";
    EXPECT_EQ(img(name), "png logo");
    EXPECT_EQ(config_.snapshot().site_logo(), name);
    EXPECT_EQ(selection.chosen_logo(), name);
    EXPECT_NE(selection.logo_suffix(), suffix);
    EXPECT_EQ(selection.cover_suffix(), cover_suffix);
    EXPECT_EQ(selection.chosen_cover(), "");
}

TEST_F(LogoCoverSelectionTest, SecondLogoDeletesTheFirstCopyButNeverTheChosenFile) {
    take_logo("logo.png");
    const Text first = config_.snapshot().site_logo();
    take_logo("second.gif");
    const Text second = config_.snapshot().site_logo();
    EXPECT_NE(first, second);
    EXPECT_EQ(img(first), "<missing>");
    EXPECT_EQ(img(second), "gif logo");
    EXPECT_EQ(right_text(second, 4), ".gif");

    // The copy in use chosen again is kept, so that it can still be copied.
    selection.take_logo(local("我的图片库"), local("我的图片库/img/") + second);
    EXPECT_EQ(img(second), "gif logo");
    EXPECT_EQ(img(config_.snapshot().site_logo()), "gif logo");
}

TEST_F(LogoCoverSelectionTest, DamagedWeblogoNeverDeletesOutsideImg) {
    put_file("我的图片库/keep.png", "keep");
    config_.update([](GalleryConfig::Edit& edit) { edit.set_site_logo("../keep.png"); });
    take_logo("logo.png");
    EXPECT_EQ(file_bytes("我的图片库/keep.png"), "keep");
}

TEST_F(LogoCoverSelectionTest, CoverTakesTheLastThreeBytesAsExtensionAndLeavesConfig) {
    const Text suffix = selection.cover_suffix();
    const std::string config = config_text();
    ASSERT_TRUE(take_cover("photo.jpeg"));
    const Text name = "fm" + suffix + ".peg";
    EXPECT_EQ(selection.chosen_cover(), name);
    EXPECT_EQ(img(name), "jpeg cover");
    EXPECT_EQ(selection.cover_suffix(), suffix);
    EXPECT_EQ(config_text(), config);

    take_logo("logo.png");
    EXPECT_EQ(right_text(selection.chosen_logo(), 3), "png");
    EXPECT_EQ(right_text(selection.chosen_cover(), 3), "peg");
    EXPECT_EQ(config_.snapshot().site_logo(), selection.chosen_logo());
}

TEST_F(LogoCoverSelectionTest, NothingIsTakenOutsideAMainGallery) {
    const std::string config = config_text();
    for (const Text& main_gallery : {root_.text(), root_.text() + "/..", Text()}) {
        const PictureTaking logo = selection.take_logo(main_gallery, local("pictures/logo.png"));
        const PictureTaking cover = selection.take_cover(main_gallery, local("pictures/cover.jpg"));
        EXPECT_FALSE(logo.taken || cover.taken);
        EXPECT_EQ(logo.notice + cover.notice, "");  // nothing to tell: no main gallery chosen
    }
    EXPECT_FALSE(entry_exists("img"));
    EXPECT_EQ(config_text(), config);
    EXPECT_EQ(selection.chosen_logo(), "");
}

TEST_F(LogoCoverSelectionTest, ACopyThatFailsIsNotChosenAndKeepsTheLogoInUse) {
    ASSERT_TRUE(take_logo("logo.png"));
    const Text in_use = config_.snapshot().site_logo();
    ::chmod(disk("我的图片库/img").c_str(), 0555);
    testing::run_unprivileged(root_.path(), [&] {
        const PictureTaking logo =
            selection.take_logo(local("我的图片库"), local("pictures/second.gif"));
        EXPECT_FALSE(logo.taken);
        EXPECT_NE(logo.notice.find(local("pictures/second.gif")), Text::npos);
        EXPECT_FALSE(take_cover("cover.jpg"));
        EXPECT_EQ(config_.snapshot().site_logo(), in_use);
        EXPECT_EQ(img(in_use), "png logo");
        EXPECT_EQ(selection.chosen_cover(), "");
    });
}

TEST_F(LogoCoverSelectionTest, DropMustBeOneExistingPictureFile) {
    put_file("pictures/notes.txt", "text");
    make_folder("pictures/folder.png");
    const Text several = "请只拖放一个图片文件。"_t, missing = "拖放的不是一个存在的文件。"_t,
               not_picture = "拖放的文件不是支持的图片格式（jpg、jpeg、png、gif、bmp、webp）。"_t;
    const std::pair<Text, Text> refused[] = {
        {local("pictures/logo.png") + "\r\n" + local("pictures/cover.jpg") + "\r\n", several},
        {local("pictures/missing.png"), missing},
        {local("pictures/folder.png"), missing},
        {local("pictures/notes.txt"), not_picture},
        {Text(), missing}};
    for (const auto& [dropped, refusal] : refused)
        EXPECT_EQ(dropped_picture_refusal(dropped), refusal) << dropped;
    EXPECT_EQ(dropped_picture_refusal(local("pictures/photo.jpeg")), std::nullopt);
}

}  // namespace
}  // namespace galmora
