#include "shell/logo_cover_controller.h"

#include <gtest/gtest.h>

#include "core/codepage.h"
#include "tests/shell/library_window.h"

namespace galmora {
namespace {

using namespace galmora::literals;

constexpr int kChoosing = rgb(128, 0, 0);
constexpr int kChosen = rgb(0, 136, 255);

class LogoCoverControllerTest : public testing::LibraryWindowTest {
  protected:
    void SetUp() override {
        start();
        put_pictures();
    }
    LogoCoverController& controller() { return window_->logo_cover; }
    const LogoCoverSelection& selection() const { return window_->selection; }
};

// A picture chosen in the dialog or dropped is copied into the current main
// gallery's img and its box reads chosen.
TEST_F(LogoCoverControllerTest, ChosenOrDroppedPicturesAreCopiedIntoTheCurrentMainGallery) {
    const Text logo_suffix = selection().logo_suffix();
    choose(&LogoCoverController::choose_logo, "logo.png");
    EXPECT_EQ(img("logo" + logo_suffix + ".png"), "png logo");
    EXPECT_EQ(config_.snapshot().site_logo(), selection().chosen_logo());
    EXPECT_EQ(ui().text(ControlId::LogoBox), "已选Logo"_t);
    EXPECT_EQ(ui().text_colour(ControlId::LogoBox), kChosen);
    EXPECT_EQ(ui().text(ControlId::CoverBox), "默认封面"_t);

    controller().drop_cover(local("pictures/cover.jpg"));
    EXPECT_EQ(img(selection().chosen_cover()), "jpg cover");
    EXPECT_EQ(ui().text(ControlId::CoverBox), "已选封面"_t);
    EXPECT_EQ(ui().text_colour(ControlId::CoverBox), kChosen);
    controller().drop_logo(local("pictures/logo.png"));
    EXPECT_EQ(img(config_.snapshot().site_logo()), "png logo");
    EXPECT_EQ(ui().text(ControlId::LogoBox), "已选Logo"_t);
    EXPECT_TRUE(desktop().message_boxes.empty());
}

TEST_F(LogoCoverControllerTest, CancelTurnsAChosenLogoBackToTheDefault) {
    choose(&LogoCoverController::choose_logo, "logo.png");
    const std::string config = config_text();
    controller().choose_logo();  // no answer queued: the dialog is cancelled
    EXPECT_EQ(ui().text(ControlId::LogoBox), "默认Logo"_t);
    EXPECT_EQ(ui().text_colour(ControlId::LogoBox), kChoosing);
    EXPECT_EQ(selection().chosen_logo(), "");
    EXPECT_EQ(config_text(), config);
}

TEST_F(LogoCoverControllerTest, RefusedDropsAreNoticesAndChangeNothing) {
    put_file("pictures/notes.txt", "text");
    make_folder("pictures/folder.png");
    choose(&LogoCoverController::choose_logo, "logo.png");
    choose(&LogoCoverController::choose_cover, "cover.jpg");
    const std::string config = config_text();
    const Text logo = selection().chosen_logo(), cover = selection().chosen_cover();
    const std::vector<Text> drops = {
        local("pictures/logo.png") + "\r\n" + local("pictures/cover.jpg") + "\r\n",
        local("pictures/missing.png"), local("pictures/folder.png"), local("pictures/notes.txt"),
        Text()};
    for (const Text& dropped : drops) {
        controller().drop_logo(dropped);
        controller().drop_cover(dropped);
    }
    ASSERT_EQ(desktop().message_boxes.size(), 2 * drops.size());
    for (std::size_t i = 0; i < desktop().message_boxes.size(); ++i) {
        EXPECT_TRUE(desktop().message_boxes[i].is_notice());
        EXPECT_EQ(desktop().message_boxes[i].message, *dropped_picture_refusal(drops[i / 2]));
    }
    EXPECT_EQ(config_text(), config);
    EXPECT_EQ(selection().chosen_logo(), logo);
    EXPECT_EQ(selection().chosen_cover(), cover);
    EXPECT_EQ(ui().text(ControlId::LogoBox), "已选Logo"_t);
    EXPECT_EQ(ui().text_colour(ControlId::CoverBox), kChosen);
    EXPECT_EQ(img(logo), "png logo");
}

}  // namespace
}  // namespace galmora
