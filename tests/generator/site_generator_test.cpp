#include "generator/site_generator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/codepage.h"
#include "generator/asset_store.h"
#include "generator/form_colours.h"
#include "generator/paging.h"
#include "generator/sub_gallery_builder.h"
#include "generator/sub_gallery_target.h"
#include "tests/support/fake_controls.h"
#include "tests/support/scripted_desktop.h"
#include "tests/support/temp_dir.h"

namespace galmora {
namespace {

namespace fs = std::filesystem;
using namespace galmora::literals;
using testing::FakeControls;
using testing::ScriptedDesktop;
using testing::TempDir;

void touch(const fs::path& file, std::string_view content = "px") {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << content;
}

std::string contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string embedded(std::string_view name) {
    ByteView bytes = AssetStore::embedded(name);
    return std::string(bytes.begin(), bytes.end());
}

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

// A window whose information panel may give back nothing of what it was
// given, as a box that cuts long texts would.
class ForgetfulPanelControls : public FakeControls {
  public:
    Text text(ControlId name) const override {
        if (forget_panel && name == ControlId::InformationPanel) return Text();
        return FakeControls::text(name);
    }
    bool forget_panel = false;
};

class SiteGeneratorTest : public ::testing::Test {
  protected:
    SiteGeneratorTest() {
        ui.on(ControlId::PerPage, ControlEvent::ContentChanged,
              [this](const Text&) { generator.on_per_page_changed(); });
        ui.on(ControlId::PageCount, ControlEvent::ContentChanged,
              [this](const Text&) { generator.on_page_count_changed(); });
    }
    Text root() const { return library.text(); }
    fs::path main_gallery() const { return fs::path(library.path()) / "我的图片库"; }
    // A picture folder with n pictures and the form filled in for it.
    void fill_form(int pictures, const char* per_page) {
        for (int i = 1; i <= pictures; ++i)
            touch(fs::path(pictures_dir.path()) / ("p" + std::to_string(i) + ".jpg"));
        ui.set_text(ControlId::PictureFolder, pictures_dir.text());
        ui.set_text(ControlId::PictureTotal, to_text(pictures));
        ui.set_text(ControlId::PerPage, per_page);
        ui.set_text(ControlId::SubGalleryName, "风景"_t);
    }
    bool library_is_empty() const { return fs::is_empty(fs::path(library.path())); }

    TempDir library, pictures_dir;
    ForgetfulPanelControls ui;
    ScriptedDesktop desktop;
    GenerationState state;
    SiteGenerator generator{ui, desktop, state, root()};
};

TEST_F(SiteGeneratorTest, SyncPageFieldsComputesTheOtherFieldOnce) {
    int page_count_changes = 0, per_page_changes = 0;
    ui.on(ControlId::PageCount, ControlEvent::ContentChanged,
          [&](const Text&) { ++page_count_changes; });
    ui.on(ControlId::PerPage, ControlEvent::ContentChanged,
          [&](const Text&) { ++per_page_changes; });
    ui.set_text(ControlId::PictureTotal, "95");
    ui.set_background_colour(ControlId::PerPage, kAlertFieldColour);
    ASSERT_TRUE(ui.type(ControlId::PerPage, "10"));
    EXPECT_EQ(ui.text(ControlId::PageCount), "9");
    EXPECT_EQ(ui.text(ControlId::PerPage), "10");
    EXPECT_EQ(page_count_changes, 1);
    EXPECT_EQ(per_page_changes, 1);  // only the typing itself
    EXPECT_EQ(ui.background_colour(ControlId::PerPage), kNormalFieldColour);

    ui.set_text(ControlId::PageCount, "");
    ASSERT_TRUE(ui.type(ControlId::PageCount, "4"));
    EXPECT_EQ(ui.text(ControlId::PerPage), "23");
    EXPECT_EQ(ui.text(ControlId::PageCount), "4");
    ui.set_text(ControlId::PerPage, "0");  // a zero divisor gives 0
    EXPECT_EQ(ui.text(ControlId::PageCount), "0");
}

TEST_F(SiteGeneratorTest, SyncPageFieldsWithoutTotalOnlyRepaints) {
    ui.set_background_colour(ControlId::PictureFolder, kAlertFieldColour);
    ui.set_text(ControlId::PageCount, "3");
    ui.type(ControlId::PerPage, "5");
    EXPECT_EQ(ui.text(ControlId::PageCount), "3");
    EXPECT_EQ(ui.background_colour(ControlId::PictureFolder), kNormalFieldColour);
}

TEST_F(SiteGeneratorTest, ValidateGenerationInputsLimitsTheBlocks) {
    ui.set_text(ControlId::PictureFolder, "/pictures");
    struct Case {
        const char *total, *per_page, *pages;
        bool accepted;
    };
    for (Case c : {Case{"98", "1", "", true}, Case{"99", "1", "", false},
                   Case{"197", "2", "", true}, Case{"5", "0", "", true},
                   Case{"999", "999", "1", false}, Case{"998", "999", "1", true}}) {
        ui.set_text(ControlId::PictureTotal,
                    "");  // keeps the paging handlers from coupling the fields
        ui.set_text(ControlId::PerPage, c.per_page);
        ui.set_text(ControlId::PageCount, c.pages);
        ui.set_text(ControlId::PictureTotal, c.total);
        state.rebuild_flag = false;
        EXPECT_EQ(generator.validate_generation_inputs(), c.accepted)
            << c.total << "/" << c.per_page;
        EXPECT_TRUE(state.rebuild_flag);
        const int colour = c.accepted ? kNormalFieldColour : kAlertFieldColour;
        for (ControlId field : {ControlId::PerPage, ControlId::PageCount, ControlId::PictureFolder})
            EXPECT_EQ(ui.background_colour(field), colour) << field;
    }
}

TEST_F(SiteGeneratorTest, EmptyRequiredFieldsStopTheCommand) {
    for (ControlId field :
         {ControlId::PictureFolder, ControlId::PerPage, ControlId::PictureTotal}) {
        fill_form(3, "2");
        ui.set_text(field, "");
        ui.set_text(ControlId::InformationPanel, "info");
        ui.set_title("copied");
        state.rebuild_flag = false;
        EXPECT_FALSE(generator.generate_gallery(true)) << field;
        EXPECT_EQ(ui.title(), "copied");
        EXPECT_TRUE(state.rebuild_flag);
        for (ControlId painted :
             {ControlId::PerPage, ControlId::PageCount, ControlId::PictureFolder})
            EXPECT_EQ(ui.background_colour(painted), kAlertFieldColour) << painted;
        EXPECT_EQ(ui.text(ControlId::InformationPanel), "info");
        EXPECT_TRUE(library_is_empty());
        EXPECT_TRUE(desktop.message_boxes.empty());
        EXPECT_EQ(ui.busy_count(), 0);
    }
}

TEST_F(SiteGeneratorTest, GenerateGalleryWritesThePageAndTheResultLine) {
    fill_form(3, "2");
    ui.set_title("已复制");
    ASSERT_TRUE(generator.generate_gallery(true));
    const fs::path sub = main_gallery() / "风景";
    const std::string page = contents(sub / "index.html");
    EXPECT_EQ(shown_total(page), "2");
    EXPECT_EQ(pictures_in(block(page, 1)), 2);
    EXPECT_EQ(pictures_in(block(page, 2)), 1);
    EXPECT_NE(page.find("<title>风景</title>"), std::string::npos);
    EXPECT_NE(page.substr(0, 3), "\xEF\xBB\xBF");

    const Text shown_path = root() + "/" + "我的图片库"_t + "/" + "风景"_t + "/index.html";
    const Text panel = ui.text(ControlId::InformationPanel);
    const Text head = "\r\n 新图库目录："_t + shown_path + "\r\n\r\n";
    ASSERT_EQ(panel.substr(0, head.size()), head);
    EXPECT_EQ(utf8_string(panel.substr(head.size())), page);

    EXPECT_EQ(ui.text(ControlId::PictureTotal), "3");
    EXPECT_EQ(ui.title(), "Galmora - 带 [星] 号为必填项目"_t);
    EXPECT_EQ(ui.busy_count(), 1);
    EXPECT_FALSE(ui.busy());
    EXPECT_EQ(state.picture_count, 3);
    EXPECT_EQ(state.sub_gallery_name, "风景"_t);
    EXPECT_EQ(state.current_main_gallery, root() + "/" + "我的图片库"_t);
    EXPECT_EQ(state.sub_gallery_folder, state.current_main_gallery + "/" + "风景"_t);
    for (const char* asset : {"img/logo.png", "img/fm.jpg", "js/kl.js", "stylecss/style.css"})
        EXPECT_TRUE(fs::exists(main_gallery() / asset)) << asset;
    EXPECT_EQ(contents(sub / "mains.css"), embedded("mains.css"));
    EXPECT_TRUE(fs::exists(sub / "bg" / "bgh2560L30.jpg"));
    EXPECT_TRUE(desktop.message_boxes.empty());
}

TEST_F(SiteGeneratorTest, GenerateGalleryBlocksFollowThePictureCount) {
    struct Case {
        int pictures;
        const char* per_page;
        std::string total;
        std::vector<int> blocks;
    };
    for (const Case& c :
         {Case{4, "2", "2", {2, 2, 0}}, Case{5, "0", "1", {5}}, Case{0, "3", "0", {0}}}) {
        TempDir folder;
        for (int i = 0; i < c.pictures; ++i)
            touch(fs::path(folder.path()) / (std::to_string(i) + ".png"));
        ui.set_text(ControlId::PictureFolder, folder.text());
        ui.set_text(ControlId::PictureTotal, "1");
        ui.set_text(ControlId::PerPage, c.per_page);
        ui.set_text(ControlId::SubGalleryName, "g" + std::to_string(c.pictures));
        ASSERT_TRUE(generator.generate_gallery(false));
        const std::string page =
            contents(main_gallery() / ("g" + std::to_string(c.pictures)) / "index.html");
        EXPECT_EQ(shown_total(page), c.total) << c.pictures;
        for (std::size_t n = 0; n < c.blocks.size(); ++n)
            EXPECT_EQ(pictures_in(block(page, int(n) + 1)), c.blocks[n]) << c.pictures << " " << n;
        EXPECT_EQ(block(page, int(c.blocks.size()) + 1), "(missing)");
        EXPECT_EQ(ui.text(ControlId::PictureTotal), to_text(c.pictures));
    }
}

TEST_F(SiteGeneratorTest, ExistingSubGalleryIsReusedKeepingItsBackground) {
    const fs::path sub = main_gallery() / "风景";
    touch(sub / "bg" / "bgh2560L30.jpg", "my own background");
    touch(sub / "script.js", "old script");
    touch(sub / "mains.css", "old style");
    touch(sub / "index.html", "old page");
    fill_form(2, "2");
    ASSERT_TRUE(generator.generate_gallery(false));
    EXPECT_EQ(contents(sub / "bg" / "bgh2560L30.jpg"), "my own background");
    EXPECT_EQ(contents(sub / "script.js"), embedded("script.js"));
    EXPECT_EQ(contents(sub / "mains.css"), embedded("mains-stretched.css"));
    EXPECT_EQ(pictures_in(contents(sub / "index.html")), 2);
}

TEST_F(SiteGeneratorTest, RefusesUnsafeSubGalleryNames) {
    fill_form(2, "2");
    ui.set_text(ControlId::InformationPanel, "info");
    for (const Text& name :
         {Text(""), Text("."), Text(".."), Text("a/b"), Text("../x"), Text("a\tb"), Text("a\x7F"),
          Text("\r\n"), Text("img"), Text("js"), Text("stylecss"), Text("index.html")}) {
        desktop.message_boxes.clear();
        state.rebuild_flag = false;
        ui.set_text(ControlId::SubGalleryName, name);
        EXPECT_FALSE(generator.generate_gallery(true)) << name;
        ASSERT_EQ(desktop.message_boxes.size(), 1u) << name;
        EXPECT_TRUE(desktop.message_boxes[0].is_notice());
        EXPECT_NE(find_text(desktop.message_boxes[0].message, "图库名称"_t), -1);
        EXPECT_TRUE(library_is_empty()) << name;
        EXPECT_EQ(ui.text(ControlId::InformationPanel), "info");
        EXPECT_TRUE(state.rebuild_flag);  // the form's own checks ran first
        EXPECT_EQ(ui.busy_count(), 0);
    }
    ui.set_text(ControlId::SubGalleryName, "img2");  // only the exact names are the site's own
    EXPECT_TRUE(generator.generate_gallery(true));
}

TEST_F(SiteGeneratorTest, AnEmptyFormIsPaintedBeforeTheNameIsChecked) {
    ui.set_text(ControlId::SubGalleryName, "a/b");
    EXPECT_FALSE(generator.generate_gallery(true));
    for (ControlId painted : {ControlId::PerPage, ControlId::PageCount, ControlId::PictureFolder})
        EXPECT_EQ(ui.background_colour(painted), kAlertFieldColour) << painted;
    EXPECT_TRUE(desktop.message_boxes.empty());
}

TEST_F(SiteGeneratorTest, RefusesANameThatIsASubGalleryOfAnotherMainGallery) {
    fs::create_directories(fs::path(library.path()) / "旅行" / "风景");
    fill_form(2, "2");
    EXPECT_FALSE(generator.generate_gallery(true));
    ASSERT_EQ(desktop.message_boxes.size(), 1u);
    EXPECT_TRUE(desktop.message_boxes[0].is_notice());
    EXPECT_EQ(desktop.message_boxes[0].message,
              "主图库“旅行”中已有名为“风景”的子图库，请更换名称后再生成！"_t);
    EXPECT_FALSE(fs::exists(main_gallery()));
    EXPECT_EQ(ui.busy_count(), 0);

    // Generating again into the main gallery that holds it is as before.
    ui.append_item(ControlId::MainGalleryList, "旅行"_t);
    ui.set_selected_index(ControlId::MainGalleryList, 1);
    EXPECT_TRUE(generator.generate_gallery(true));
    EXPECT_TRUE(fs::exists(fs::path(library.path()) / "旅行" / "风景" / "index.html"));
    EXPECT_EQ(desktop.message_boxes.size(), 1u);
    // So is a name that is only a file in another main gallery.
    ui.set_selected_index(ControlId::MainGalleryList, 0);
    touch(fs::path(library.path()) / "旅行" / "note");
    ui.set_text(ControlId::SubGalleryName, "note");
    EXPECT_TRUE(generator.generate_gallery(true));
}

TEST_F(SiteGeneratorTest, RefusesToWriteWithoutAMainGallery) {
    fill_form(1, "1");
    ui.clear_items(ControlId::MainGalleryList);  // the site would land in the library root itself
    EXPECT_FALSE(generator.generate_gallery(true));
    ASSERT_EQ(desktop.message_boxes.size(), 1u);
    EXPECT_TRUE(desktop.message_boxes[0].is_notice());
    EXPECT_TRUE(library_is_empty());
}

TEST_F(SiteGeneratorTest, UnwritablePageIsReportedNotRecorded) {
    fill_form(1, "2");
    fs::create_directories(main_gallery() / "风景" / "index.html");  // the page's path is taken
    ui.set_text(ControlId::InformationPanel, "info");
    EXPECT_FALSE(generator.generate_gallery(true));
    ASSERT_EQ(desktop.message_boxes.size(), 1u);
    const auto& box = desktop.message_boxes[0];
    EXPECT_TRUE(box.is_notice());
    EXPECT_NE(
        find_text(box.message, root() + "/" + "我的图片库"_t + "/" + "风景"_t + "/index.html"), -1);
    EXPECT_NE(find_text(box.message, "失败"_t), -1);
    EXPECT_EQ(find_text(ui.text(ControlId::InformationPanel), "新图库目录"_t),
              -1);  // no result line
    EXPECT_EQ(ui.text(ControlId::InformationPanel),
              compose_sub_gallery_page(state, 2));  // the page, as composed
    EXPECT_FALSE(ui.busy());
}

TEST_F(SiteGeneratorTest, PageIsWrittenAsComposedWhateverThePanelGivesBack) {
    fill_form(3, "2");
    ui.forget_panel = true;
    ASSERT_TRUE(generator.generate_gallery(true));
    EXPECT_EQ(contents(main_gallery() / "风景" / "index.html"),
              utf8_string(compose_sub_gallery_page(state, 2)));
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
    touch(fs::path(library.path()) / "旅行" / "note");
    EXPECT_EQ(refusal("note"), std::nullopt);
}

TEST(BuildSubGallery, RunsWithoutAWindow) {
    TempDir dir;
    touch(fs::path(dir.path()) / "pictures" / "a.jpg");
    touch(fs::path(dir.path()) / "pictures" / "b.jpg");
    GenerationState state;
    SubGalleryRequest request{local_text((fs::path(dir.path()) / "pictures").string()),
                              ScanSettings{true, "https://site.test/", 1}, "g",
                              local_text((fs::path(dir.path()) / "main").string()), true};
    ASSERT_TRUE(build_sub_gallery(request, state));
    const std::string page = contents(fs::path(dir.path()) / "main" / "g" / "index.html");
    EXPECT_EQ(shown_total(page), "2");
    EXPECT_NE(block(page, 2).find("src=\"https://site.test/b.jpg\""), std::string::npos);
    EXPECT_EQ(pictures_in(block(page, 3)), 0);
    request.name = "..";
    EXPECT_FALSE(build_sub_gallery(request, state));
}

}  // namespace
}  // namespace galmora
