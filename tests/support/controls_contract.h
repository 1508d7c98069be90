#pragma once
// The rules every Controls implementation follows, as one typed test suite:
// instantiate it for an implementation with
//   INSTANTIATE_TYPED_TEST_SUITE_P(Name, ControlsContract, ::testing::Types<Window>);
// Window must be default-constructible and derive from Controls.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/codepage.h"
#include "core/controls.h"
#include "shell/window_layout.h"

namespace galmora::testing {

template <typename Window>
class ControlsContract : public ::testing::Test {
  protected:
    Window window;
    Controls& controls() { return window; }

    // Counts the events of one kind raised by a control.
    int* count(std::string_view name, ControlEvent event) {
        counters_.push_back(std::make_unique<int>(0));
        int* counter = counters_.back().get();
        controls().on(name, event, [counter](const Text&) { ++*counter; });
        return counter;
    }

  private:
    std::vector<std::unique_ptr<int>> counters_;
};

TYPED_TEST_SUITE_P(ControlsContract);

inline std::vector<Text> items_of(std::string_view caption) {
    std::vector<Text> items;
    while (!caption.empty()) {
        auto end = caption.find('\n');
        items.push_back(local_text(caption.substr(0, end)));
        if (end == std::string_view::npos) break;
        caption.remove_prefix(end + 1);
    }
    return items;
}

TYPED_TEST_P(ControlsContract, StartsAsTheWindowDefinitionSays) {
    Controls& c = this->controls();
    EXPECT_EQ(c.title(), local_text(kWindowTitle));
    EXPECT_FALSE(c.always_on_top());
    for (const ControlSpec& spec : window_layout()) {
        SCOPED_TRACE(std::string(spec.name));
        if (spec.kind == ControlKind::ComboBox) {
            std::vector<Text> items = items_of(spec.caption);
            ASSERT_EQ(c.item_count(spec.name), int(items.size()));
            for (int i = 0; i < int(items.size()); ++i)
                EXPECT_EQ(c.item_text(spec.name, i), items[i]);
            EXPECT_EQ(c.selected_index(spec.name), 0);
        } else {
            EXPECT_EQ(c.text(spec.name), local_text(spec.caption));
        }
        EXPECT_EQ(c.checked(spec.name), spec.checked);
        EXPECT_EQ(c.visible(spec.name), spec.visible);
        EXPECT_EQ(c.enabled(spec.name), spec.enabled);
        EXPECT_EQ(c.text_colour(spec.name), spec.text_colour);
        EXPECT_EQ(c.background_colour(spec.name), spec.background_colour);
    }
}

TYPED_TEST_P(ControlsContract, SettingASingleLineTextRaisesContentChangedBeforeReturning) {
    Controls& c = this->controls();
    std::vector<Text> seen;
    c.on("浏览目录", ControlEvent::ContentChanged, [&](const Text& argument) {
        EXPECT_TRUE(argument.empty());
        seen.push_back(c.text("浏览目录"));
    });
    const Text folder = local_text("/图片/二〇二四");
    c.set_text("浏览目录", folder);
    ASSERT_EQ(seen, std::vector<Text>{folder});
    c.set_text("浏览目录", folder);  // unchanged text: raised all the same
    EXPECT_EQ(seen.size(), 2u);
    c.set_text("浏览目录", "");
    EXPECT_EQ(seen.back(), "");
}

TYPED_TEST_P(ControlsContract, OtherProgramChangesRaiseNoEvent) {
    Controls& c = this->controls();
    int* panel = this->count("编辑框3", ControlEvent::ContentChanged);
    int* link = this->count("网站标题链接", ControlEvent::ContentChanged);
    int* box = this->count("选择框1", ControlEvent::Clicked);
    int* list = this->count("组合框2", ControlEvent::ItemSelected);
    int* button = this->count("生成图片库", ControlEvent::Clicked);
    c.set_text("编辑框3", "x");
    c.set_text("网站标题链接", "y");
    c.set_checked("选择框1", false);
    c.set_selected_index("组合框2", 3);
    c.set_text("生成图片库", "z");
    EXPECT_EQ(*panel + *link + *box + *list + *button, 0);
}

TYPED_TEST_P(ControlsContract, HandlersRunInOrderAndNestThroughProgramSets) {
    Controls& c = this->controls();
    std::vector<std::string> order;
    c.on("单页数量", ControlEvent::ContentChanged, [&](const Text&) {
        order.push_back("per-page 1");
        c.set_text("页总数", "4");
        order.push_back("per-page 1 done");
    });
    c.on("单页数量", ControlEvent::ContentChanged,
         [&](const Text&) { order.push_back("per-page 2"); });
    c.on("页总数", ControlEvent::ContentChanged,
         [&](const Text&) { order.push_back("pages " + c.text("页总数")); });
    c.set_text("单页数量", "25");
    EXPECT_EQ(order,
              (std::vector<std::string>{"per-page 1", "pages 4", "per-page 1 done", "per-page 2"}));
}

TYPED_TEST_P(ControlsContract, SelectionClampsToTheList) {
    Controls& c = this->controls();
    c.set_selected_index("组合框2", 99);
    EXPECT_EQ(c.selected_index("组合框2"), 4);
    EXPECT_EQ(selected_text(c, "组合框2"), local_text("★"));
    c.set_selected_index("组合框2", 2);
    EXPECT_EQ(c.selected_index("组合框2"), 2);
    c.set_selected_index("组合框2", -7);
    EXPECT_EQ(c.selected_index("组合框2"), -1);
    EXPECT_EQ(selected_text(c, "组合框2"), "");
    c.set_selected_index("组合框2", -1);
    EXPECT_EQ(c.selected_index("组合框2"), -1);
    EXPECT_EQ(c.item_text("组合框2", 5), "");
    EXPECT_EQ(c.item_text("组合框2", -1), "");
    EXPECT_EQ(c.item_text("组合框2", 0), local_text("★★★★★"));
}

TYPED_TEST_P(ControlsContract, TheTextOfAListIsItsSelectedItem) {
    Controls& c = this->controls();
    c.set_selected_index("组合框3", 1);
    EXPECT_EQ(c.text("组合框3"), local_text("网络模式"));
    c.set_text("组合框3", "x");  // a fixed list takes no text
    EXPECT_EQ(c.text("组合框3"), local_text("网络模式"));
    c.set_selected_index("组合框3", -1);
    EXPECT_EQ(c.text("组合框3"), "");
}

TYPED_TEST_P(ControlsContract, ListsAreFilledWithoutChangingTheSelection) {
    Controls& c = this->controls();
    c.clear_items("组合框4");
    EXPECT_EQ(c.item_count("组合框4"), 0);
    EXPECT_EQ(c.selected_index("组合框4"), -1);
    c.set_selected_index("组合框4", 3);
    EXPECT_EQ(c.selected_index("组合框4"), -1);
    c.append_item("组合框4", local_text("图库123456789"));
    c.append_item("组合框4", local_text("风景"));
    EXPECT_EQ(c.item_count("组合框4"), 2);
    EXPECT_EQ(c.selected_index("组合框4"), -1);
    c.set_selected_index("组合框4", 0);
    c.append_item("组合框4", "c");
    EXPECT_EQ(c.selected_index("组合框4"), 0);
    EXPECT_EQ(c.item_text("组合框4", 1), local_text("风景"));
    EXPECT_EQ(c.item_text("组合框4", 2), "c");
}

TYPED_TEST_P(ControlsContract, TextsComeBackAsSet) {
    Controls& c = this->controls();
    const Text page = local_text("<html>\r\n<body>图库 ★</body>\r\n</html>\n");
    c.set_text("编辑框3", page);
    EXPECT_EQ(c.text("编辑框3"), page);
    c.set_text("图库名称", local_text("图库123456789"));
    EXPECT_EQ(c.text("图库名称"), local_text("图库123456789"));
    c.set_text("按钮12", local_text("检测中..."));
    EXPECT_EQ(c.text("按钮12"), local_text("检测中..."));
    c.set_text("标签3", "");
    EXPECT_EQ(c.text("标签3"), "");
    c.set_title(local_text("Galmora-已复制代码到剪贴板"));
    EXPECT_EQ(c.title(), local_text("Galmora-已复制代码到剪贴板"));
}

TYPED_TEST_P(ControlsContract, StatesAndColoursComeBackAsSet) {
    Controls& c = this->controls();
    c.set_visible("新建主图库名称", true);
    c.set_visible("标签3", false);
    EXPECT_TRUE(c.visible("新建主图库名称"));
    EXPECT_FALSE(c.visible("标签3"));
    c.set_enabled("网络地址", false);
    EXPECT_FALSE(c.enabled("网络地址"));
    c.set_checked("选择框9", true);
    EXPECT_TRUE(c.checked("选择框9"));
    c.set_background_colour("单页数量", rgb(255, 0, 0));
    c.set_text_colour("标签11", rgb(128, 128, 128));
    EXPECT_EQ(c.background_colour("单页数量"), rgb(255, 0, 0));
    EXPECT_EQ(c.text_colour("标签11"), rgb(128, 128, 128));
    c.set_always_on_top(true);
    EXPECT_TRUE(c.always_on_top());
    c.set_always_on_top(false);
    EXPECT_FALSE(c.always_on_top());
}

REGISTER_TYPED_TEST_SUITE_P(ControlsContract, StartsAsTheWindowDefinitionSays,
                            SettingASingleLineTextRaisesContentChangedBeforeReturning,
                            OtherProgramChangesRaiseNoEvent,
                            HandlersRunInOrderAndNestThroughProgramSets, SelectionClampsToTheList,
                            TheTextOfAListIsItsSelectedItem,
                            ListsAreFilledWithoutChangingTheSelection, TextsComeBackAsSet,
                            StatesAndColoursComeBackAsSet);

}  // namespace galmora::testing
