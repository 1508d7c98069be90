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
    EXPECT_TRUE(c.type("图库名称", "图库图库图库图"_t));  // 7 Chinese = 14 bytes
    EXPECT_FALSE(c.type("图库名称", "库"_t));
    EXPECT_FALSE(c.type("图库名称", "a"));
    EXPECT_EQ(c.text("图库名称"), "图库图库图库图"_t);

    c.set_text("图库名称", "abcdefghijkl");
    EXPECT_TRUE(c.type("图库名称", "图"_t));
    EXPECT_FALSE(c.type("图库名称", "x"));
    EXPECT_EQ(c.text("图库名称").size(), 14u);
}

TEST(FakeControlsTyping, ObeysIntegerInputAndReadOnly) {
    FakeControls c;
    EXPECT_FALSE(c.type("单页数量", "1a"));
    EXPECT_TRUE(c.type("单页数量", "-1"));
    EXPECT_TRUE(c.type("单页数量", "2"));
    EXPECT_FALSE(c.type("单页数量", "3"));
    EXPECT_EQ(c.text("单页数量"), "-12");
    EXPECT_FALSE(c.type("浏览目录1", "x"));
    EXPECT_FALSE(c.type("编辑框3", "x"));
    EXPECT_FALSE(c.type("网站标题", "x"));  // disabled
}

TEST(FakeControlsTyping, RaisesContentChangedForEachAcceptedInput) {
    FakeControls c;
    int changes = 0;
    c.on("页总数", ControlEvent::ContentChanged, [&](const Text&) { ++changes; });
    c.type("页总数", "1");
    c.type("页总数", "2");
    c.type("页总数", "3");  // refused: the limit is two
    EXPECT_EQ(changes, 2);
}

TEST(FakeControlsUser, ClicksPicksAndDrops) {
    FakeControls c;
    bool seen_checked = false;
    c.on("选择框9", ControlEvent::Clicked,
         [&](const Text&) { seen_checked = c.checked("选择框9"); });
    c.click("选择框9");
    EXPECT_TRUE(seen_checked);  // toggled before the handler runs

    int format_clicks = 0;
    c.on("选择框5", ControlEvent::Clicked, [&](const Text&) { ++format_clicks; });
    c.click("选择框5");
    EXPECT_TRUE(c.checked("选择框5"));
    EXPECT_EQ(format_clicks, 0);

    int hidden_clicks = 0;
    c.on("新建主图库按钮", ControlEvent::Clicked, [&](const Text&) { ++hidden_clicks; });
    c.click("新建主图库按钮");
    c.set_visible("新建主图库按钮", true);
    c.click("新建主图库按钮");
    EXPECT_EQ(hidden_clicks, 1);

    int picks = 0;
    c.on("组合框3", ControlEvent::ItemSelected, [&](const Text&) { ++picks; });
    c.pick("组合框3", 1);
    EXPECT_EQ(picks, 1);
    EXPECT_EQ(c.selected_index("组合框3"), 1);

    std::vector<Text> drops;
    for (const char* name : {"浏览目录", "浏览目录1", "图库名称"})
        c.on(name, ControlEvent::FilesDropped, [&](const Text& text) { drops.push_back(text); });
    c.drop("浏览目录", "/a\r\n/b\r\n");
    c.drop("图库名称", "/c");
    c.drop("浏览目录1", "/d.jpg");
    EXPECT_EQ(drops, (std::vector<Text>{"/a\r\n/b\r\n", "/d.jpg"}));
}

TEST(FakeControlsUser, RecordsFocusSelectionAndBusy) {
    FakeControls c;
    c.focus("编辑框3");
    c.select_all("编辑框3");
    c.set_busy(true);
    EXPECT_TRUE(c.busy());
    c.set_busy(false);
    EXPECT_EQ(c.focused(), "编辑框3");
    EXPECT_EQ(c.selected_all(), "编辑框3");
    EXPECT_EQ(c.busy_count(), 1);
    EXPECT_FALSE(c.busy());
}

TEST(FakeControlsUser, AnUnknownNameIsATestFailure) {
    FakeControls c;
    EXPECT_THROW(c.text("编辑框99"), std::out_of_range);
    EXPECT_THROW(c.on("按钮99", ControlEvent::Clicked, [](const Text&) {}), std::out_of_range);
}

}  // namespace
}  // namespace galmora::testing
