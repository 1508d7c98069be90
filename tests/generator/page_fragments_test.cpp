#include "generator/page_fragments.h"

#include <gtest/gtest.h>

#include <set>

#include "generator/embedded_files.h"

namespace galmora {
namespace {

// A misspelt file name in the fragments' table would leave its fragment empty
// and drop that piece of markup from every page.
TEST(PageFragments, EachNamesItsOwnEmbeddedFile) {
    std::set<Text> texts;
    const int count = static_cast<int>(Fragment::CardEnd) + 1;
    for (int i = 0; i < count; ++i) {
        const Text& text = fragment(static_cast<Fragment>(i));
        EXPECT_FALSE(text.empty()) << i;
        texts.insert(text);
    }
    EXPECT_EQ(texts.size(), embedded_fragments().size());
}

}  // namespace
}  // namespace galmora
