#include "tests/support/fake_controls.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "core/codepage.h"
#include "tests/support/controls_contract.h"

namespace galmora::testing {

INSTANTIATE_TYPED_TEST_SUITE_P(Fake, ControlsContract, ::testing::Types<FakeControls>);

namespace {

using namespace galmora::literals;

TEST(FakeControlsTyping, CountsTheLimitInLocalBytes) {
    FakeControls c;
    EXPECT_TRUE(c.type(ControlId::SubGalleryName, "图库图库图库图"_t));  // 7 Chinese = 14 bytes
    EXPECT_FALSE(c.type(ControlId::SubGalleryName, "库"_t));
    EXPECT_FALSE(c.type(ControlId::SubGalleryName, "a"));
    EXPECT_EQ(c.text(ControlId::SubGalleryName), "图库图库图库图"_t);

    c.set_text(ControlId::SubGalleryName, "abcdefghijkl");
    EXPECT_TRUE(c.type(ControlId::SubGalleryName, "图"_t));
    EXPECT_FALSE(c.type(ControlId::SubGalleryName, "x"));
    EXPECT_EQ(c.text(ControlId::SubGalleryName).size(), 14u);
}

TEST(FakeControlsTyping, ObeysIntegerInputAndReadOnly) {
    FakeControls c;
    EXPECT_FALSE(c.type(ControlId::PerPage, "1a"));
    EXPECT_TRUE(c.type(ControlId::PerPage, "-1"));
    EXPECT_TRUE(c.type(ControlId::PerPage, "2"));
    EXPECT_FALSE(c.type(ControlId::PerPage, "3"));
    EXPECT_EQ(c.text(ControlId::PerPage), "-12");
    EXPECT_FALSE(c.type(ControlId::CoverBox, "x"));
    EXPECT_FALSE(c.type(ControlId::InformationPanel, "x"));
    EXPECT_FALSE(c.type(ControlId::SiteTitle, "x"));  // disabled
}

TEST(FakeControlsTyping, RaisesContentChangedForEachAcceptedInput) {
    FakeControls c;
    int changes = 0;
    c.on(ControlId::PageCount, ControlEvent::ContentChanged, [&](const Text&) { ++changes; });
    c.type(ControlId::PageCount, "1");
    c.type(ControlId::PageCount, "2");
    c.type(ControlId::PageCount, "3");  // refused: the limit is two
    EXPECT_EQ(changes, 2);
}

TEST(FakeControlsUser, ClicksPicksAndDrops) {
    FakeControls c;
    bool seen_checked = false;
    c.on(ControlId::AlwaysOnTop, ControlEvent::Clicked,
         [&](const Text&) { seen_checked = c.checked(ControlId::AlwaysOnTop); });
    c.click(ControlId::AlwaysOnTop);
    EXPECT_TRUE(seen_checked);  // toggled before the handler runs

    int format_clicks = 0;
    c.on(ControlId::JpgFormat, ControlEvent::Clicked, [&](const Text&) { ++format_clicks; });
    c.click(ControlId::JpgFormat);
    EXPECT_TRUE(c.checked(ControlId::JpgFormat));
    EXPECT_EQ(format_clicks, 0);

    int hidden_clicks = 0;
    c.on(ControlId::NewMainGalleryConfirm, ControlEvent::Clicked,
         [&](const Text&) { ++hidden_clicks; });
    c.click(ControlId::NewMainGalleryConfirm);
    c.set_visible(ControlId::NewMainGalleryConfirm, true);
    c.click(ControlId::NewMainGalleryConfirm);
    EXPECT_EQ(hidden_clicks, 1);

    int picks = 0;
    c.on(ControlId::ModeList, ControlEvent::ItemSelected, [&](const Text&) { ++picks; });
    c.pick(ControlId::ModeList, 1);
    EXPECT_EQ(picks, 1);
    EXPECT_EQ(c.selected_index(ControlId::ModeList), 1);

    std::vector<Text> drops;
    for (ControlId name :
         {ControlId::PictureFolder, ControlId::CoverBox, ControlId::SubGalleryName})
        c.on(name, ControlEvent::FilesDropped, [&](const Text& text) { drops.push_back(text); });
    c.drop(ControlId::PictureFolder, "/a\r\n/b\r\n");
    c.drop(ControlId::SubGalleryName, "/c");
    c.drop(ControlId::CoverBox, "/d.jpg");
    EXPECT_EQ(drops, (std::vector<Text>{"/a\r\n/b\r\n", "/d.jpg"}));
}

TEST(FakeControlsUser, RecordsFocusSelectionAndBusy) {
    FakeControls c;
    c.focus(ControlId::InformationPanel);
    c.select_all(ControlId::InformationPanel);
    c.set_busy(true);
    EXPECT_TRUE(c.busy());
    c.set_busy(false);
    EXPECT_EQ(c.focused(), ControlId::InformationPanel);
    EXPECT_EQ(c.selected_all(), ControlId::InformationPanel);
    EXPECT_EQ(c.busy_count(), 1);
    EXPECT_FALSE(c.busy());
}

TEST(FakeControlsUser, AnIdentifierOutsideTheTableIsATestFailure) {
    FakeControls c;
    const auto unknown = static_cast<ControlId>(99);
    EXPECT_THROW(c.text(unknown), std::out_of_range);
    EXPECT_THROW(c.on(unknown, ControlEvent::Clicked, [](const Text&) {}), std::out_of_range);
}

}  // namespace
}  // namespace galmora::testing
