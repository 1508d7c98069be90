// The main page composed from folders and records: which cards appear, in
// which order, inside the page frame.

#include "generator/main_page.h"

#include <gtest/gtest.h>

#include "core/codepage.h"
#include "generator/page_composer.h"

namespace galmora {
namespace {

using namespace galmora::literals;

MainPageRecord record(const char* pname, const char* pimg) {
    return {pname, pimg, "3", "高清"_t, "★★★"_t};
}

MainPageContent content(std::vector<Text> folders, std::vector<MainPageRecord> records) {
    return {"我的图库"_t, std::move(folders), std::move(records), "logo.png", "#", "介绍"_t, true};
}

Text card(const char* folder, const char* pimg) {
    return PageComposer::main_page_card(folder, pimg, "3", "高清"_t, "★★★"_t);
}

// The frame with the given cards, as the page composer assembles it.
Text framed(const Text& cards) {
    return PageComposer::main_page({"我的图库"_t, "logo.png", "#", "介绍"_t, cards, true});
}

TEST(ComposeMainPage, CardsGroupedByFolderOrderThenByRecordNumber) {
    const Text page = compose_main_page(content(
        {"b", "a", "手工"_t}, {record("a", "1.jpg"), record("b", "2.jpg"), record("gone", "3.jpg"),
                               record("a", "4.jpg"), record("b", "5.jpg")}));
    // A record without a folder and a folder without a record show nothing.
    EXPECT_EQ(page, framed(card("b", "2.jpg") + card("b", "5.jpg") + card("a", "1.jpg") +
                           card("a", "4.jpg")));
}

TEST(ComposeMainPage, NoMatchGivesTheEmptyGrid) {
    EXPECT_EQ(compose_main_page(content({}, {record("a", "1.jpg")})), framed(Text()));
    // A blanked slot reads empty; folder names compare byte for byte.
    EXPECT_EQ(compose_main_page(content({"A"}, {record("", "1.jpg"), record("a", "2.jpg")})),
              framed(Text()));
}

}  // namespace
}  // namespace galmora
