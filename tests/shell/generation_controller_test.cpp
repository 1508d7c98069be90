// The window's side of a generation over an in-memory window: the coupled
// paging fields, counting pictures, and the click of 生成图片库 with what it
// shows.

#include "shell/generation_controller.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/codepage.h"
#include "generator/image_scanner.h"
#include "generator/page_blocks.h"
#include "generator/sub_gallery_target.h"
#include "shell/form_colours.h"
#include "tests/generator/embedded_asset.h"
#include "tests/support/child_run.h"
#include "tests/support/fake_controls.h"
#include "tests/support/scripted_desktop.h"
#include "tests/support/temp_dir.h"

namespace galmora {
namespace {

namespace fs = std::filesystem;
using namespace galmora::literals;
using testing::embedded;
using testing::FakeControls;
using testing::ScriptedDesktop;
using testing::TempDir;

constexpr ControlId kPagingFields[] = {ControlId::PerPage, ControlId::PageCount,
                                       ControlId::PictureFolder};

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

class GenerationControllerTest : public ::testing::Test {
  protected:
    GenerationControllerTest() {
        ui.on(ControlId::PerPage, ControlEvent::ContentChanged,
              [this](const Text&) { controller.on_per_page_changed(); });
        ui.on(ControlId::PageCount, ControlEvent::ContentChanged,
              [this](const Text&) { controller.on_page_count_changed(); });
    }
    Text root() const { return library.text(); }
    fs::path main_gallery() const { return fs::path(library.path()) / "我的图片库"; }
    // The click of 生成图片库 with the request read from the window now;
    // what it hands over for recording.
    std::optional<GenerationResult> generate(bool keep_proportions = true) {
        GenerationRequest request =
            read_generation_request(ui, config.snapshot(), {}, selection, root());
        request.keep_proportions = keep_proportions;
        std::optional<GenerationResult> written;
        controller.generate(request, [&](const GenerationRequest&, const GenerationResult& result) {
            written = result;
        });
        return written;
    }
    // A picture folder with n pictures and the form filled in for it.
    void fill_form(int pictures, const char* per_page) {
        for (int i = 1; i <= pictures; ++i) pictures_dir.put("p" + std::to_string(i) + ".jpg");
        ui.set_text(ControlId::PictureFolder, pictures_dir.text());
        ui.set_text(ControlId::PictureTotal, to_text(pictures));
        ui.set_text(ControlId::PerPage, per_page);
        ui.set_text(ControlId::SubGalleryName, "风景"_t);
    }
    // Nothing but config.ini.
    bool library_is_empty() const {
        return std::distance(fs::directory_iterator(library.path()), fs::directory_iterator()) == 1;
    }
    void expect_paging_fields(int colour) const {
        for (ControlId field : kPagingFields)
            EXPECT_EQ(ui.background_colour(field), colour) << field;
    }
    // The page as the generator's steps compose it for the filled form.
    Text composed_page(int per_page) const {
        return compose_sub_gallery_page(
            "风景"_t, page_blocks(ImageScanner::scan_pictures(pictures_dir.text(), {}), per_page),
            per_page);
    }

    TempDir library, pictures_dir;
    ForgetfulPanelControls ui;
    ScriptedDesktop desktop;
    GalleryConfig config{root() + "/config.ini"};
    bool config_made = config.ensure_file();
    LogoCoverSelection selection{config, root()};
    GenerationController controller{ui, desktop, config, root()};
};

TEST_F(GenerationControllerTest, PagingFieldsComputeTheOtherFieldOnce) {
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

TEST_F(GenerationControllerTest, PagingFieldsWithoutTotalOnlyRepaint) {
    ui.set_background_colour(ControlId::PictureFolder, kAlertFieldColour);
    ui.set_text(ControlId::PageCount, "3");
    ui.type(ControlId::PerPage, "5");
    EXPECT_EQ(ui.text(ControlId::PageCount), "3");
    EXPECT_EQ(ui.background_colour(ControlId::PictureFolder), kNormalFieldColour);
    ui.set_background_colour(ControlId::PerPage, kAlertFieldColour);
    controller.reset_field_colours();
    expect_paging_fields(kNormalFieldColour);
}

TEST_F(GenerationControllerTest, EmptyRequiredFieldsStopTheCommand) {
    for (ControlId field :
         {ControlId::PictureFolder, ControlId::PerPage, ControlId::PictureTotal}) {
        fill_form(3, "2");
        ui.set_text(field, "");
        ui.set_text(ControlId::InformationPanel, "info");
        ui.set_title("copied");
        EXPECT_EQ(generate(), std::nullopt) << field;
        EXPECT_EQ(ui.title(), "copied");
        expect_paging_fields(kAlertFieldColour);
        EXPECT_EQ(ui.text(ControlId::InformationPanel), "info");
        EXPECT_TRUE(library_is_empty());
        EXPECT_TRUE(desktop.message_boxes.empty());
        EXPECT_EQ(ui.busy_count(), 0);
    }
}

TEST_F(GenerationControllerTest, AnEmptyFormIsPaintedBeforeTheNameIsChecked) {
    ui.set_text(ControlId::SubGalleryName, "a/b");
    EXPECT_EQ(generate(), std::nullopt);
    expect_paging_fields(kAlertFieldColour);
    EXPECT_TRUE(desktop.message_boxes.empty());
}

TEST_F(GenerationControllerTest, GenerateWritesThePageAndTheResultLine) {
    fill_form(3, "2");
    ui.set_title("已复制");
    ui.set_background_colour(ControlId::PageCount, kAlertFieldColour);
    ui.forget_panel = true;  // the page is written as composed, never read back
    const auto done = generate();
    ASSERT_TRUE(done);
    EXPECT_EQ(done->picture_count, 3);
    EXPECT_TRUE(done->folder_created);
    expect_paging_fields(kNormalFieldColour);  // the check passed
    const std::string page = library.contents("我的图片库/风景/index.html");
    EXPECT_EQ(page, utf8_string(composed_page(2)));
    EXPECT_EQ(library.contents("我的图片库/风景/mains.css"), embedded("mains.css"));

    const Text shown_path = root() + "/" + "我的图片库"_t + "/" + "风景"_t + "/index.html";
    const Text panel = ui.FakeControls::text(ControlId::InformationPanel);
    const Text head = "\r\n 新图库目录："_t + shown_path + "\r\n\r\n";
    ASSERT_EQ(panel.substr(0, head.size()), head);
    EXPECT_EQ(utf8_string(panel.substr(head.size())), page);

    EXPECT_EQ(ui.text(ControlId::PictureTotal), "3");
    EXPECT_EQ(ui.title(), "Galmora - 带 [星] 号为必填项目"_t);
    EXPECT_EQ(ui.busy_count(), 1);
    EXPECT_FALSE(ui.busy());
    EXPECT_TRUE(desktop.message_boxes.empty());
}

TEST_F(GenerationControllerTest, TheFormIsReadForTheScanAndTheProportions) {
    pictures_dir.put("a.jpg");
    ui.set_text(ControlId::PictureFolder, pictures_dir.text());
    ui.set_text(ControlId::PictureTotal, "1");
    ui.set_text(ControlId::PerPage, "0");
    ui.set_text(ControlId::SubGalleryName, "网"_t);
    ui.set_selected_index(ControlId::ModeList, 1);
    ui.set_text(ControlId::SiteAddress, "https://site.test/");
    ASSERT_TRUE(generate(false));
    EXPECT_NE(library.contents("我的图片库/网/index.html").find("src=\"https://site.test/a.jpg\""),
              std::string::npos);
    EXPECT_EQ(library.contents("我的图片库/网/mains.css"), embedded("mains-stretched.css"));
}

TEST_F(GenerationControllerTest, RefusedTargetsShowTheirNoticeAndChangeNothing) {
    fill_form(2, "2");
    ui.set_text(ControlId::InformationPanel, "info");
    auto expect_refused = [&](const Text& name, const Text& message) {
        desktop.message_boxes.clear();
        ui.set_text(ControlId::SubGalleryName, name);
        EXPECT_EQ(generate(), std::nullopt) << name;
        ASSERT_EQ(desktop.message_boxes.size(), 1u) << name;
        EXPECT_TRUE(desktop.message_boxes[0].is_notice());
        EXPECT_EQ(desktop.message_boxes[0].message, message);
        EXPECT_FALSE(fs::exists(main_gallery())) << name;
        EXPECT_EQ(ui.text(ControlId::InformationPanel), "info");
        EXPECT_EQ(ui.busy_count(), 0);
    };
    for (const Text& name : {Text(""), Text("a/b"), Text("img")})
        expect_refused(name, *sub_gallery_target_refusal(root(), name, "我的图片库"_t));
    EXPECT_TRUE(library_is_empty());
    const fs::path other = fs::path(library.path()) / "旅行";
    fs::create_directories(other / "风景");
    expect_refused("风景"_t, "主图库“旅行”中已有名为“风景”的子图库，请更换名称后再生成！"_t);
    ui.clear_items(ControlId::MainGalleryList);  // the site would land in the library root itself
    expect_refused("风景"_t, "请先选择或新建主图库后再生成！"_t);
    EXPECT_EQ(std::distance(fs::directory_iterator(library.path()), fs::directory_iterator()), 2);
    EXPECT_TRUE(fs::is_empty(other / "风景"));
    // Generating again into the main gallery that holds it is as before.
    ui.append_item(ControlId::MainGalleryList, "旅行"_t);
    ui.set_selected_index(ControlId::MainGalleryList, 0);
    EXPECT_TRUE(generate());
    EXPECT_TRUE(fs::exists(other / "风景" / "index.html"));
}

TEST_F(GenerationControllerTest, UnwritablePageIsReportedNotRecorded) {
    fill_form(1, "2");
    fs::create_directories(main_gallery() / "风景" / "index.html");  // the page's path is taken
    ui.set_text(ControlId::InformationPanel, "info");
    EXPECT_EQ(generate(), std::nullopt);
    ASSERT_EQ(desktop.message_boxes.size(), 1u);
    const auto& box = desktop.message_boxes[0];
    EXPECT_TRUE(box.is_notice());
    EXPECT_NE(
        find_text(box.message, root() + "/" + "我的图片库"_t + "/" + "风景"_t + "/index.html"), -1);
    EXPECT_NE(find_text(box.message, "失败"_t), -1);
    EXPECT_EQ(find_text(ui.text(ControlId::InformationPanel), "新图库目录"_t),
              -1);                                                      // no result line
    EXPECT_EQ(ui.text(ControlId::InformationPanel), composed_page(2));  // the page, as composed
    EXPECT_FALSE(ui.busy());
}

TEST_F(GenerationControllerTest, AConfigFileThatCannotBeReplacedRefusesBeforeAnythingIsWritten) {
    fill_form(2, "2");
    fs::create_directories(main_gallery());
    ui.set_text(ControlId::InformationPanel, "info");
    const std::string config_before = library.contents("config.ini");
    testing::run_unprivileged(library.path(), [&] {
        fs::permissions(library.path(), fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(generate(), std::nullopt);
        fs::permissions(library.path(), fs::perms::owner_all);
        ASSERT_EQ(desktop.message_boxes.size(), 1u);
        EXPECT_TRUE(desktop.message_boxes[0].is_notice());
        EXPECT_EQ(desktop.message_boxes[0].message,
                  "未生成图库：配置文件“"_t + root() +
                      "/config.ini”无法写入（没有权限在它所在的目录中写入）。\r\n"
                      "请排除问题后再点击“生成图片库”。"_t);
        EXPECT_TRUE(fs::is_empty(main_gallery()));
        EXPECT_EQ(library.contents("config.ini"), config_before);
        EXPECT_EQ(ui.text(ControlId::InformationPanel), "info");
        EXPECT_EQ(ui.text(ControlId::SubGalleryName), "风景"_t);
        EXPECT_EQ(ui.busy_count(), 0);
    });
}

TEST_F(GenerationControllerTest, ATypedRelativeFolderLiesInTheLibraryRoot) {
    library.put("pics/a.jpg");
    fill_form(0, "2");
    ui.set_text(ControlId::PictureFolder, "pics");
    ui.set_text(ControlId::PictureTotal, "1");
    const fs::path before = fs::current_path();
    fs::current_path("/");  // nothing may depend on the process's current folder
    const auto done = generate();
    fs::current_path(before);
    ASSERT_TRUE(done);
    EXPECT_EQ(done->picture_count, 1);
    EXPECT_NE(library.contents("我的图片库/风景/index.html").find(library.path() + "/pics/a.jpg"),
              std::string::npos);
}

class CountPicturesTest : public GenerationControllerTest {
  protected:
    CountPicturesTest() {
        for (const char* name : {"a.jpg", "b.png", "c.txt"}) dir.put(name);
    }
    Text folder() const { return dir.text(); }
    TempDir dir;
};

TEST_F(CountPicturesTest, BrowserChoiceShowsTheCount) {
    ui.set_text(ControlId::PictureTotal, "10");
    ui.set_text(ControlId::PerPage, "2");
    ui.set_text(ControlId::PageCount, "5");
    desktop.folder_answers.push_back(folder());
    controller.count_pictures_from_browser();
    EXPECT_EQ(desktop.folder_dialog_titles, std::vector<Text>{"选择图片所在位置："_t});
    EXPECT_EQ(ui.text(ControlId::PictureFolder), folder());
    EXPECT_EQ(ui.text(ControlId::PictureTotal), "2");
    EXPECT_EQ(ui.background_colour(ControlId::PictureTotal), kNormalFieldColour);
    // Emptying the paging fields ran their handlers against the old total.
    EXPECT_EQ(ui.text(ControlId::PerPage), "0");
    EXPECT_EQ(ui.text(ControlId::PageCount), "");
}

TEST_F(CountPicturesTest, CancelledBrowserKeepsTheTotal) {
    ui.set_text(ControlId::PictureFolder, folder());
    ui.set_text(ControlId::PictureTotal, "7");
    controller.count_pictures_from_browser();
    EXPECT_EQ(ui.text(ControlId::PictureFolder), "");
    EXPECT_EQ(ui.text(ControlId::PictureTotal), "7");
}

TEST_F(CountPicturesTest, DropCountsTheDroppedFolder) {
    controller.count_pictures_from_drop(folder());
    EXPECT_EQ(ui.text(ControlId::PictureFolder), folder());
    EXPECT_EQ(ui.text(ControlId::PictureTotal), "2");
    controller.count_pictures_from_drop(folder() + "\r\n" + folder() + "\r\n");  // two folders
    EXPECT_EQ(ui.text(ControlId::PictureTotal), "0");
    EXPECT_TRUE(desktop.message_boxes.empty());
}

TEST_F(CountPicturesTest, MarksATotalAboveTheLimitRed) {
    TempDir big;
    // Hard links are the quickest way to many entries; ext4 allows 65000 per file.
    const std::string sources[] = {big.file("0.jpg"), big.file("1.jpg")};
    for (const char* name : {"0.jpg", "1.jpg"}) big.put(name);
    for (int i = 2; i < 98901; ++i)
        ASSERT_EQ(::link(sources[i % 2].c_str(), big.file(std::to_string(i) + ".jpg").c_str()), 0);
    controller.count_pictures_from_drop(big.text());
    EXPECT_EQ(ui.text(ControlId::PictureTotal), "98901");
    EXPECT_EQ(ui.background_colour(ControlId::PictureTotal), kNormalFieldColour);
    std::ofstream(fs::path(big.path()) / "one-more.jpg");
    controller.count_pictures_from_drop(big.text());
    EXPECT_EQ(ui.text(ControlId::PictureTotal), "98902");
    EXPECT_EQ(ui.background_colour(ControlId::PictureTotal), kAlertFieldColour);
    controller.count_pictures_from_drop(folder());
    EXPECT_EQ(ui.background_colour(ControlId::PictureTotal), kNormalFieldColour);
}

}  // namespace
}  // namespace galmora
