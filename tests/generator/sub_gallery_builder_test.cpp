// The window-free steps of a generation: the form's paging check, the
// refusal of a target, and building a sub-gallery from a picture folder.

#include "generator/sub_gallery_builder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/codepage.h"
#include "generator/paging.h"
#include "generator/sub_gallery_target.h"
#include "tests/generator/embedded_asset.h"
#include "tests/support/sub_gallery_generation.h"
#include "tests/support/temp_dir.h"

namespace galmora {
namespace {

namespace fs = std::filesystem;
using namespace galmora::literals;
using testing::build_sub_gallery;
using testing::embedded;
using testing::GeneratedSubGallery;
using testing::SubGalleryRequest;
using testing::TempDir;

// The text between `page-n">` + CR LF and the next "</div>".
std::string block(const std::string& page, int n) {
    const std::string head = "<div class=\"page-" + std::to_string(n) + "\">\r\n";
    auto start = page.find(head);
    if (start == std::string::npos) return "(missing)";
    start += head.size();
    return page.substr(start, page.find("</div>", start) - start);
}

int pictures_in(const std::string& markup) {
    int count = 0;
    for (auto at = markup.find("class=\"myImg\""); at != std::string::npos;
         at = markup.find("class=\"myImg\"", at + 1))
        ++count;
    return count;
}

// The shown page total of a sub-gallery page.
std::string shown_total(const std::string& page) {
    const std::string head = "id=\"totalPage\" type=\"button\" value=\"";
    auto start = page.find(head) + head.size();
    return page.substr(start, page.find('"', start) - start);
}

TEST(Paging, TheGenerateCheckLimitsTheBlocks) {
    struct Case {
        const char *total, *per_page, *pages;
        bool accepted;
    };
    for (Case c :
         {Case{"98", "1", "", true}, Case{"99", "1", "", false}, Case{"197", "2", "", true},
          Case{"5", "0", "", true}, Case{"999", "999", "1", false}, Case{"998", "999", "1", true}})
        EXPECT_EQ(passes_generate_check({"/pictures", c.total, c.per_page, c.pages}), c.accepted)
            << c.total << "/" << c.per_page;
    // Folder, pictures per page and total are required.
    EXPECT_FALSE(passes_generate_check({"", "3", "2", ""}));
    EXPECT_FALSE(passes_generate_check({"/pictures", "3", "", ""}));
    EXPECT_FALSE(passes_generate_check({"/pictures", "", "2", ""}));
}

TEST(Paging, WholeQuotientAndThePictureLimit) {
    EXPECT_EQ(whole_quotient("95", "10"), 9);
    EXPECT_EQ(whole_quotient("95", "4"), 23);
    EXPECT_EQ(whole_quotient("95", "0"), 0);  // a zero divisor gives 0
    EXPECT_EQ(whole_quotient("95", ""), 0);
    EXPECT_FALSE(is_over_picture_limit(98901));  // 99 pages of 999
    EXPECT_TRUE(is_over_picture_limit(98902));
}

class TargetRefusal : public ::testing::Test {
  protected:
    std::optional<Text> refusal(const Text& name, const Text& main = "我的图片库"_t) const {
        return sub_gallery_target_refusal(library.text(), name, main);
    }
    TempDir library;
};

TEST_F(TargetRefusal, RefusesUnsafeSubGalleryNames) {
    for (const Text& name :
         {Text(""), Text("."), Text(".."), Text("a/b"), Text("../x"), Text("a\tb"), Text("a\x7F"),
          Text("\r\n"), Text("img"), Text("js"), Text("stylecss"), Text("index.html")}) {
        const auto message = refusal(name);
        ASSERT_TRUE(message) << name;
        EXPECT_NE(find_text(*message, "图库名称"_t), -1) << name;
        EXPECT_EQ(refusal(name, ""), message) << name;  // the name is checked first
    }
    EXPECT_EQ(refusal("img2"), std::nullopt);  // only the exact names are the site's own
}

TEST_F(TargetRefusal, RefusesNoMainGalleryAndANameHeldByAnotherOne) {
    EXPECT_EQ(refusal("风景"_t, ""), "请先选择或新建主图库后再生成！"_t);
    fs::create_directories(fs::path(library.path()) / "旅行" / "风景");
    EXPECT_EQ(refusal("风景"_t), "主图库“旅行”中已有名为“风景”的子图库，请更换名称后再生成！"_t);
    // Generating again into the main gallery that holds it is as before.
    EXPECT_EQ(refusal("风景"_t, "旅行"_t), std::nullopt);
    // So is a name that is only a file in another main gallery.
    library.put("旅行/note");
    EXPECT_EQ(refusal("note"), std::nullopt);
}

class BuildSubGallery : public ::testing::Test {
  protected:
    // n pictures in a folder of their own, built into main/name.
    std::optional<GeneratedSubGallery> build(int pictures, int per_page, const std::string& name,
                                             bool keep_proportions = true) {
        const fs::path folder = fs::path(dir.path()) / ("pictures-" + name);
        fs::create_directories(folder);
        for (int i = 1; i <= pictures; ++i)
            dir.put("pictures-" + name + "/p" + std::to_string(i) + ".png");
        return build_sub_gallery({local_text(folder.string()),
                                  {},
                                  per_page,
                                  local_text(name),
                                  local_text(main().string()),
                                  keep_proportions});
    }
    fs::path main() const { return fs::path(dir.path()) / "main"; }
    std::string page(const std::string& name) const {
        return dir.contents("main/" + name + "/index.html");
    }
    TempDir dir;
};

TEST_F(BuildSubGallery, WritesThePageAndTheAssets) {
    const auto built = build(3, 2, "风景");
    ASSERT_TRUE(built);
    EXPECT_EQ(built->name, "风景"_t);
    const fs::path sub = main() / "风景";
    const std::string written = page("风景");
    EXPECT_NE(written.find("<title>风景</title>"), std::string::npos);
    EXPECT_NE(written.substr(0, 3), "\xEF\xBB\xBF");
    for (const char* asset : {"img/logo.png", "img/fm.jpg", "js/kl.js", "stylecss/style.css"})
        EXPECT_TRUE(fs::exists(main() / asset)) << asset;
    EXPECT_EQ(dir.contents("main/风景/mains.css"), embedded("mains.css"));
    EXPECT_TRUE(fs::exists(sub / "bg" / "bgh2560L30.jpg"));
}

TEST_F(BuildSubGallery, BlocksFollowThePictureCount) {
    struct Case {
        int pictures, per_page;
        std::string total;
        std::vector<int> blocks;
    };
    for (const Case& c : {Case{3, 2, "2", {2, 1}}, Case{4, 2, "2", {2, 2, 0}}, Case{5, 0, "1", {5}},
                          Case{0, 3, "0", {0}}}) {
        const std::string name = "g" + std::to_string(c.pictures);
        const auto built = build(c.pictures, c.per_page, name, false);
        ASSERT_TRUE(built);
        EXPECT_EQ(built->picture_count, c.pictures);
        const std::string written = page(name);
        EXPECT_EQ(shown_total(written), c.total) << c.pictures;
        for (std::size_t n = 0; n < c.blocks.size(); ++n)
            EXPECT_EQ(pictures_in(block(written, int(n) + 1)), c.blocks[n])
                << c.pictures << " " << n;
        EXPECT_EQ(block(written, int(c.blocks.size()) + 1), "(missing)");
    }
}

TEST_F(BuildSubGallery, ExistingSubGalleryIsReusedKeepingItsBackground) {
    dir.put("main/风景/bg/bgh2560L30.jpg", "my own background");
    dir.put("main/风景/script.js", "old script");
    dir.put("main/风景/mains.css", "old style");
    dir.put("main/风景/index.html", "old page");
    const WrittenSubGallery written =
        write_sub_gallery(local_text(main().string()), "风景"_t, false, "page");
    EXPECT_TRUE(written.page_written);
    EXPECT_FALSE(written.folder_created);
    EXPECT_TRUE(write_sub_gallery(local_text(main().string()), "新"_t, false, "").folder_created);
    ASSERT_TRUE(build(2, 2, "风景", false));
    EXPECT_EQ(dir.contents("main/风景/bg/bgh2560L30.jpg"), "my own background");
    EXPECT_EQ(dir.contents("main/风景/script.js"), embedded("script.js"));
    EXPECT_EQ(dir.contents("main/风景/mains.css"), embedded("mains-stretched.css"));
    EXPECT_EQ(pictures_in(page("风景")), 2);
}

TEST_F(BuildSubGallery, NetworkSourcesAndRefusals) {
    dir.put("pictures/a.jpg");
    dir.put("pictures/b.jpg");
    SubGalleryRequest request{local_text((fs::path(dir.path()) / "pictures").string()),
                              {true, "https://site.test/"},
                              1,
                              "g",
                              local_text(main().string()),
                              true};
    ASSERT_TRUE(build_sub_gallery(request));
    EXPECT_EQ(shown_total(page("g")), "2");
    EXPECT_NE(block(page("g"), 2).find("src=\"https://site.test/b.jpg\""), std::string::npos);
    EXPECT_EQ(pictures_in(block(page("g"), 3)), 0);
    request.name = "..";
    EXPECT_FALSE(build_sub_gallery(request));
    // The page's path is taken by a folder: nothing to record.
    fs::create_directories(main() / "taken" / "index.html");
    request.name = "taken";
    EXPECT_FALSE(build_sub_gallery(request));
}

}  // namespace
}  // namespace galmora
