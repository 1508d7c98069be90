#include "library/sub_galleries.h"

#include <gtest/gtest.h>

#include "core/codepage.h"
#include "tests/library/library_fixture.h"

namespace galmora {
namespace {

using namespace galmora::literals;
using testing::LibraryTest;
using testing::local_texts;

// A config.ini with the given records, in slots 1, 2, ...
std::string config_with(std::initializer_list<std::pair<const char*, const char*>> records,
                        const char* lanterns = "1") {
    std::string text = "[NAME]\r\nname=0\r\n[images]\r\nnum=" + std::to_string(records.size()) +
                       "\r\n[Logo]\r\nweblogo=logo.png\r\n";
    int slot = 1;
    for (const auto& [name, cover] : records) {
        text += "[P" + std::to_string(slot) + "]\r\npname=" + local_text(name) +
                "\r\npimg=" + cover + "\r\npnum=" + std::to_string(slot * 10) +
                "\r\nphd=" + local_text("高清") + "\r\npstar=" + local_text("★★★") + "\r\n";
        ++slot;
    }
    return text + "[dl]\r\nd=" + lanterns + "\r\n";
}

class SubGalleries : public LibraryTest {
  protected:
    void SetUp() override { make_folder("我的图片库"); }
    std::vector<Text> names() const { return sub_gallery_names(root_.text(), "我的图片库"_t); }
    bool rebuild(const Text& link = "#", const Text& introduction = {}) {
        return rebuild_main_page(root_.text(), {"我的图片库"_t, link, introduction}, config_);
    }
    std::string page() const { return file_bytes("我的图片库/index.html"); }
};

TEST_F(SubGalleries, FoldersNotFilesAndNeverTheAssetFolders) {
    for (const char* folder : {"img", "js", "stylecss"})
        make_folder(std::string("我的图片库/") + folder);
    put_file("我的图片库/index.html", "old");
    EXPECT_TRUE(names().empty());
    make_folder("我的图片库/b 风景");
    make_folder("我的图片库/A#1");
    put_file("我的图片库/c.txt", "");
    EXPECT_EQ(names(), local_texts({"A#1", "b 风景"}));
}

TEST_F(SubGalleries, HandMadeFolderIsListedButHasNoCard) {
    make_folder("我的图片库/手工");
    make_folder("我的图片库/风景");
    put_config(config_with({{"风景", "fm.jpg"}}));
    ASSERT_TRUE(rebuild());
    EXPECT_EQ(names().size(), 2u);
    EXPECT_EQ(card_count("我的图片库"), 1);
    EXPECT_NE(page().find("风景"), std::string::npos);
    EXPECT_EQ(page().find("手工"), std::string::npos);
}

TEST_F(SubGalleries, CardsGroupedByFolderInListingOrderOnePerRecord) {
    make_folder("我的图片库/b");
    make_folder("我的图片库/a");
    // A record whose folder is gone shows nothing.
    put_config(
        config_with({{"b", "fm1.jpg"}, {"a", "fm2.jpg"}, {"gone", "fm3.jpg"}, {"b", "fm4.jpg"}}));
    rebuild();
    EXPECT_EQ(card_count("我的图片库"), 3);
    const std::string html = page();
    const auto a = html.find("./img/fm2.jpg"), b1 = html.find("./img/fm1.jpg"),
               b4 = html.find("./img/fm4.jpg");
    ASSERT_NE(a, std::string::npos);
    EXPECT_LT(a, b1);
    EXPECT_LT(b1, b4);
    EXPECT_EQ(html.find("fm3.jpg"), std::string::npos);
    EXPECT_NE(html.find("共计<span style=\"color: rgb(247, 150, 70);\">40</span>"),
              std::string::npos);
}

TEST_F(SubGalleries, FolderNamedLikeAMainGalleryStillGetsItsCard) {
    make_folder("B");
    make_folder("我的图片库/B");
    put_config(config_with({{"B", "fm.jpg"}}));
    rebuild();
    EXPECT_EQ(card_count("我的图片库"), 1);
}

TEST_F(SubGalleries, PageValuesComeFromTheFormAndTheFile) {
    put_config(config_with({}, "0"));
    config_.update([](GalleryConfig::Edit& edit) { edit.set_site_logo("logo123456789.gif"); });
    rebuild("http://example.test/", "介绍文字"_t);
    const std::string html = page();
    EXPECT_NE(html.find("<title>我的图片库</title>"), std::string::npos);
    EXPECT_NE(html.find("type=\"image/gif\" href=\"./img/logo123456789.gif\""), std::string::npos);
    EXPECT_NE(html.find("http://example.test/"), std::string::npos);
    EXPECT_NE(html.find("介绍文字"), std::string::npos);
    EXPECT_EQ(html.find("kl.js"), std::string::npos);  // lanterns off

    config_.update([](GalleryConfig::Edit& edit) { edit.set_lanterns_on(true); });
    rebuild();
    EXPECT_NE(page().find("<script src=\"./js/kl.js\"></script>"), std::string::npos);
}

TEST_F(SubGalleries, NothingOutsideAMainGallery) {
    make_folder("A/inside");
    config_.ensure_file();
    // The library root's own folders are main galleries, never sub-galleries.
    for (const Text& bad : {Text(), Text("."), Text(".."), Text("../x"), Text("A/inside")}) {
        EXPECT_TRUE(sub_gallery_names(root_.text(), bad).empty()) << bad;
        EXPECT_FALSE(rebuild_main_page(root_.text(), {bad, "#", {}}, config_)) << bad;
    }
    EXPECT_FALSE(rebuild_main_page(Text(), {"我的图片库"_t, "#", {}}, config_));
    EXPECT_FALSE(entry_exists("index.html"));
    EXPECT_FALSE(entry_exists("我的图片库/index.html"));
    EXPECT_FALSE(entry_exists("A/inside/index.html"));
}

}  // namespace
}  // namespace galmora
