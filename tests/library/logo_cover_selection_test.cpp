#include "library/logo_cover_selection.h"

#include <gtest/gtest.h>

#include "core/codepage.h"
#include "tests/library/library_fixture.h"

namespace galmora {
namespace {

using namespace galmora::literals;
using testing::LibraryTest;

constexpr int kChoosing = rgb(128, 0, 0);
constexpr int kChosen = rgb(0, 136, 255);

class LogoCoverTest : public LibraryTest {
  protected:
    void SetUp() override {
        start();
        make_folder("pictures");
        put_file("pictures/logo.png", "png logo");
        put_file("pictures/second.gif", "gif logo");
        put_file("pictures/photo.jpeg", "jpeg cover");
        put_file("pictures/cover.jpg", "jpg cover");
    }
    LogoCoverSelection& selection() { return session_->selection; }
    std::string img(const Text& name) const {
        return file_bytes("我的图片库/img/" + utf8_string(name));
    }
    void choose(void (LogoCoverSelection::*operation)(), const std::string& file) {
        desktop().file_answers.push_back(local("pictures/" + file));
        (selection().*operation)();
    }
};

// choose_logo ---------------------------------------------------------------

using ChooseLogo = LogoCoverTest;

TEST_F(ChooseLogo, CopiesIntoImgRecordsTheNameAndDrawsANewSuffix) {
    const Text suffix = state().logo_suffix;
    choose(&LogoCoverSelection::choose_logo, "logo.png");
    const Text name = "logo" + suffix + ".png";
    EXPECT_EQ(img(name), "png logo");
    EXPECT_EQ(config_.snapshot().site_logo(), name);
    EXPECT_EQ(selection().logo_file_name(), name);
    EXPECT_NE(state().logo_suffix, suffix);
    EXPECT_EQ(ui().text(ControlId::LogoBox), "已选Logo"_t);
    EXPECT_EQ(ui().text_colour(ControlId::LogoBox), kChosen);
    EXPECT_EQ(selection().cover_file_name(), "");
}

TEST_F(ChooseLogo, CancelTurnsAChosenLogoBackToTheDefault) {
    choose(&LogoCoverSelection::choose_logo, "logo.png");
    const std::string config = config_text();
    selection().choose_logo();  // no answer queued: the dialog is cancelled
    EXPECT_EQ(ui().text(ControlId::LogoBox), "默认Logo"_t);
    EXPECT_EQ(ui().text_colour(ControlId::LogoBox), kChoosing);
    EXPECT_EQ(config_text(), config);
}

TEST_F(ChooseLogo, SecondChoiceDeletesTheFirstCopy) {
    choose(&LogoCoverSelection::choose_logo, "logo.png");
    const Text first = config_.snapshot().site_logo();
    choose(&LogoCoverSelection::choose_logo, "second.gif");
    const Text second = config_.snapshot().site_logo();
    EXPECT_NE(first, second);
    EXPECT_EQ(img(first), "<missing>");
    EXPECT_EQ(img(second), "gif logo");
    EXPECT_EQ(right_text(second, 4), ".gif");
}

TEST_F(ChooseLogo, ChoosingTheCurrentCopyAgainKeepsIt) {
    choose(&LogoCoverSelection::choose_logo, "logo.png");
    const Text first = config_.snapshot().site_logo();
    desktop().file_answers.push_back(local("我的图片库/img/") + first);
    selection().choose_logo();
    EXPECT_EQ(img(first), "png logo");
    EXPECT_EQ(img(config_.snapshot().site_logo()), "png logo");
}

TEST_F(ChooseLogo, DamagedWeblogoNeverDeletesOutsideImg) {
    put_file("我的图片库/keep.png", "keep");
    config_.update([](GalleryConfig::Edit& edit) { edit.set_site_logo("../keep.png"); });
    choose(&LogoCoverSelection::choose_logo, "logo.png");
    EXPECT_EQ(file_bytes("我的图片库/keep.png"), "keep");
}

// choose_cover --------------------------------------------------------------

using ChooseCover = LogoCoverTest;

TEST_F(ChooseCover, JpegIsCopiedWithTheLastThreeBytesAsExtension) {
    const Text suffix = state().cover_suffix;
    const std::string config = config_text();
    choose(&LogoCoverSelection::choose_cover, "photo.jpeg");
    const Text name = "fm" + suffix + ".peg";
    EXPECT_EQ(selection().cover_file_name(), name);
    EXPECT_EQ(img(name), "jpeg cover");
    EXPECT_EQ(state().cover_suffix, suffix);
    EXPECT_EQ(config_text(), config);
    EXPECT_EQ(ui().text(ControlId::CoverBox), "已选封面"_t);
    EXPECT_EQ(ui().text_colour(ControlId::CoverBox), kChosen);
}

TEST_F(ChooseCover, LogoAndCoverKeepTheirOwnNames) {
    choose(&LogoCoverSelection::choose_logo, "logo.png");
    choose(&LogoCoverSelection::choose_cover, "cover.jpg");
    EXPECT_EQ(right_text(selection().logo_file_name(), 3), "png");
    EXPECT_EQ(right_text(selection().cover_file_name(), 3), "jpg");
    EXPECT_EQ(config_.snapshot().site_logo(), selection().logo_file_name());
}

// drop_logo, drop_cover -----------------------------------------------------

using DropPicture = LogoCoverTest;

TEST_F(DropPicture, OnePictureIsTakenAsIfChosen) {
    selection().drop_cover(local("pictures/cover.jpg"));
    selection().drop_logo(local("pictures/logo.png"));
    EXPECT_EQ(img(selection().cover_file_name()), "jpg cover");
    EXPECT_EQ(img(config_.snapshot().site_logo()), "png logo");
    EXPECT_EQ(ui().text(ControlId::CoverBox), "已选封面"_t);
    EXPECT_EQ(ui().text(ControlId::LogoBox), "已选Logo"_t);
    EXPECT_TRUE(desktop().message_boxes.empty());
}

TEST_F(DropPicture, RefusesWhatIsNotOnePictureFile) {
    put_file("pictures/notes.txt", "text");
    make_folder("pictures/folder.png");
    choose(&LogoCoverSelection::choose_logo, "logo.png");
    choose(&LogoCoverSelection::choose_cover, "cover.jpg");
    const std::string config = config_text();
    const Text logo = selection().logo_file_name(), cover = selection().cover_file_name();
    const std::vector<Text> drops = {
        local("pictures/logo.png") + "\r\n" + local("pictures/cover.jpg") + "\r\n",
        local("pictures/missing.png"), local("pictures/folder.png"), local("pictures/notes.txt"),
        Text()};
    for (const Text& dropped : drops) {
        selection().drop_logo(dropped);
        selection().drop_cover(dropped);
    }
    ASSERT_EQ(desktop().message_boxes.size(), 2 * drops.size());
    for (const auto& box : desktop().message_boxes) EXPECT_TRUE(box.is_notice());
    EXPECT_EQ(config_text(), config);
    EXPECT_EQ(selection().logo_file_name(), logo);
    EXPECT_EQ(selection().cover_file_name(), cover);
    EXPECT_EQ(ui().text(ControlId::LogoBox), "已选Logo"_t);
    EXPECT_EQ(ui().text_colour(ControlId::CoverBox), kChosen);
    EXPECT_EQ(img(logo), "png logo");
}

}  // namespace
}  // namespace galmora
