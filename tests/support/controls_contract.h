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
#include "shell/controls.h"
#include "shell/window_layout.h"

namespace galmora::testing {

template <typename Window>
class ControlsContract : public ::testing::Test {
  protected:
    Window window;
    Controls& controls() { return window; }

    // Counts the events of one kind raised by a control.
    int* count(ControlId name, ControlEvent event) {
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
    for (const ControlDefinition& definition : window_layout()) {
        SCOPED_TRACE(std::string(definition.name));
        if (definition.kind == ControlKind::ComboBox) {
            std::vector<Text> items = items_of(definition.caption);
            ASSERT_EQ(c.item_count(definition.id), int(items.size()));
            for (int i = 0; i < int(items.size()); ++i)
                EXPECT_EQ(c.item_text(definition.id, i), items[i]);
            EXPECT_EQ(c.selected_index(definition.id), 0);
        } else {
            EXPECT_EQ(c.text(definition.id), local_text(definition.caption));
        }
        EXPECT_EQ(c.checked(definition.id), definition.checked);
        EXPECT_EQ(c.visible(definition.id), definition.visible);
        EXPECT_EQ(c.enabled(definition.id), definition.enabled);
        EXPECT_EQ(c.text_colour(definition.id), definition.text_colour);
        EXPECT_EQ(c.background_colour(definition.id), definition.background_colour);
    }
}

TYPED_TEST_P(ControlsContract, SettingASingleLineTextRaisesContentChangedBeforeReturning) {
    Controls& c = this->controls();
    std::vector<Text> seen;
    c.on(ControlId::PictureFolder, ControlEvent::ContentChanged, [&](const Text& argument) {
        EXPECT_TRUE(argument.empty());
        seen.push_back(c.text(ControlId::PictureFolder));
    });
    const Text folder = local_text("/图片/二〇二四");
    c.set_text(ControlId::PictureFolder, folder);
    ASSERT_EQ(seen, std::vector<Text>{folder});
    c.set_text(ControlId::PictureFolder, folder);  // unchanged text: raised all the same
    EXPECT_EQ(seen.size(), 2u);
    c.set_text(ControlId::PictureFolder, "");
    EXPECT_EQ(seen.back(), "");
}

TYPED_TEST_P(ControlsContract, OtherProgramChangesRaiseNoEvent) {
    Controls& c = this->controls();
    int* panel = this->count(ControlId::InformationPanel, ControlEvent::ContentChanged);
    int* link = this->count(ControlId::SiteTitleLink, ControlEvent::ContentChanged);
    int* box = this->count(ControlId::OpenFolderAfter, ControlEvent::Clicked);
    int* list = this->count(ControlId::RatingList, ControlEvent::ItemSelected);
    int* button = this->count(ControlId::GenerateButton, ControlEvent::Clicked);
    c.set_text(ControlId::InformationPanel, "x");
    c.set_text(ControlId::SiteTitleLink, "y");
    c.set_checked(ControlId::OpenFolderAfter, false);
    c.set_selected_index(ControlId::RatingList, 3);
    c.set_text(ControlId::GenerateButton, "z");
    EXPECT_EQ(*panel + *link + *box + *list + *button, 0);
}

TYPED_TEST_P(ControlsContract, HandlersRunInOrderAndNestThroughProgramSets) {
    Controls& c = this->controls();
    std::vector<std::string> order;
    c.on(ControlId::PerPage, ControlEvent::ContentChanged, [&](const Text&) {
        order.push_back("per-page 1");
        c.set_text(ControlId::PageCount, "4");
        order.push_back("per-page 1 done");
    });
    c.on(ControlId::PerPage, ControlEvent::ContentChanged,
         [&](const Text&) { order.push_back("per-page 2"); });
    c.on(ControlId::PageCount, ControlEvent::ContentChanged,
         [&](const Text&) { order.push_back("pages " + c.text(ControlId::PageCount)); });
    c.set_text(ControlId::PerPage, "25");
    EXPECT_EQ(order,
              (std::vector<std::string>{"per-page 1", "pages 4", "per-page 1 done", "per-page 2"}));
}

TYPED_TEST_P(ControlsContract, SelectionClampsToTheList) {
    Controls& c = this->controls();
    c.set_selected_index(ControlId::RatingList, 99);
    EXPECT_EQ(c.selected_index(ControlId::RatingList), 4);
    EXPECT_EQ(selected_text(c, ControlId::RatingList), local_text("★"));
    c.set_selected_index(ControlId::RatingList, 2);
    EXPECT_EQ(c.selected_index(ControlId::RatingList), 2);
    c.set_selected_index(ControlId::RatingList, -7);
    EXPECT_EQ(c.selected_index(ControlId::RatingList), -1);
    EXPECT_EQ(selected_text(c, ControlId::RatingList), "");
    c.set_selected_index(ControlId::RatingList, -1);
    EXPECT_EQ(c.selected_index(ControlId::RatingList), -1);
    EXPECT_EQ(c.item_text(ControlId::RatingList, 5), "");
    EXPECT_EQ(c.item_text(ControlId::RatingList, -1), "");
    EXPECT_EQ(c.item_text(ControlId::RatingList, 0), local_text("★★★★★"));
}

TYPED_TEST_P(ControlsContract, TheTextOfAListIsItsSelectedItem) {
    Controls& c = this->controls();
    c.set_selected_index(ControlId::ModeList, 1);
    EXPECT_EQ(c.text(ControlId::ModeList), local_text("网络模式"));
    c.set_text(ControlId::ModeList, "x");  // a fixed list takes no text
    EXPECT_EQ(c.text(ControlId::ModeList), local_text("网络模式"));
    c.set_selected_index(ControlId::ModeList, -1);
    EXPECT_EQ(c.text(ControlId::ModeList), "");
}

TYPED_TEST_P(ControlsContract, ListsAreFilledWithoutChangingTheSelection) {
    Controls& c = this->controls();
    c.clear_items(ControlId::SubGalleryList);
    EXPECT_EQ(c.item_count(ControlId::SubGalleryList), 0);
    EXPECT_EQ(c.selected_index(ControlId::SubGalleryList), -1);
    c.set_selected_index(ControlId::SubGalleryList, 3);
    EXPECT_EQ(c.selected_index(ControlId::SubGalleryList), -1);
    c.append_item(ControlId::SubGalleryList, local_text("图库123456789"));
    c.append_item(ControlId::SubGalleryList, local_text("风景"));
    EXPECT_EQ(c.item_count(ControlId::SubGalleryList), 2);
    EXPECT_EQ(c.selected_index(ControlId::SubGalleryList), -1);
    c.set_selected_index(ControlId::SubGalleryList, 0);
    c.append_item(ControlId::SubGalleryList, "c");
    EXPECT_EQ(c.selected_index(ControlId::SubGalleryList), 0);
    EXPECT_EQ(c.item_text(ControlId::SubGalleryList, 1), local_text("风景"));
    EXPECT_EQ(c.item_text(ControlId::SubGalleryList, 2), "c");
}

TYPED_TEST_P(ControlsContract, TextsComeBackAsSet) {
    Controls& c = this->controls();
    const Text page = local_text("<html>\r\n<body>图库 ★</body>\r\n</html>\n");
    c.set_text(ControlId::InformationPanel, page);
    EXPECT_EQ(c.text(ControlId::InformationPanel), page);
    c.set_text(ControlId::SubGalleryName, local_text("图库123456789"));
    EXPECT_EQ(c.text(ControlId::SubGalleryName), local_text("图库123456789"));
    c.set_text(ControlId::CheckUpdateButton, local_text("检测中..."));
    EXPECT_EQ(c.text(ControlId::CheckUpdateButton), local_text("检测中..."));
    c.set_text(ControlId::MainGalleryLabel, "");
    EXPECT_EQ(c.text(ControlId::MainGalleryLabel), "");
    c.set_title(local_text("Galmora-已复制代码到剪贴板"));
    EXPECT_EQ(c.title(), local_text("Galmora-已复制代码到剪贴板"));
}

TYPED_TEST_P(ControlsContract, StatesAndColoursComeBackAsSet) {
    Controls& c = this->controls();
    c.set_visible(ControlId::NewMainGalleryName, true);
    c.set_visible(ControlId::MainGalleryLabel, false);
    EXPECT_TRUE(c.visible(ControlId::NewMainGalleryName));
    EXPECT_FALSE(c.visible(ControlId::MainGalleryLabel));
    c.set_enabled(ControlId::SiteAddress, false);
    EXPECT_FALSE(c.enabled(ControlId::SiteAddress));
    c.set_checked(ControlId::AlwaysOnTop, true);
    EXPECT_TRUE(c.checked(ControlId::AlwaysOnTop));
    c.set_background_colour(ControlId::PerPage, rgb(255, 0, 0));
    c.set_text_colour(ControlId::SiteAddressLabel, rgb(128, 128, 128));
    EXPECT_EQ(c.background_colour(ControlId::PerPage), rgb(255, 0, 0));
    EXPECT_EQ(c.text_colour(ControlId::SiteAddressLabel), rgb(128, 128, 128));
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
