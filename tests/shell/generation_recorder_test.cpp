#include "shell/generation_recorder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>

#include "core/codepage.h"
#include "tests/shell/library_window.h"
#include "tests/support/file_writes.h"
#include "tests/support/hostile_tree.h"
#include "tests/support/sub_gallery_generation.h"

namespace galmora {
namespace {

using namespace galmora::literals;

bool nine_digits(const Text& text) {
    return text.size() == 9 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

class GenerationRecorderTest : public testing::LibraryWindowTest {
  protected:
    void SetUp() override {
        start();
        put_pictures();
    }
    void choose_logo_and_cover() {
        choose(&LogoCoverController::choose_logo, "logo.png");
        choose(&LogoCoverController::choose_cover, "cover.jpg");
    }
};

TEST_F(GenerationRecorderTest, RecordsTheChosenPicturesOnceAndRebuildsListAndPage) {
    choose_logo_and_cover();
    const Text logo = window_->selection.chosen_logo();
    const Text cover = window_->selection.chosen_cover();
    testing::FileWriteCounter writes(disk("config.ini"));
    record("风景"_t, 12, "普清"_t, "★★★"_t);
    EXPECT_EQ(writes.count(), 1);
    const auto snapshot = config_.snapshot();
    EXPECT_EQ(snapshot.site_logo(), logo);
    EXPECT_EQ(snapshot.read_record(1).pimg, cover);
    EXPECT_EQ(snapshot.read_record(1).pnum, "12");
    EXPECT_EQ(snapshot.read_record(1).phd, "普清"_t);
    EXPECT_EQ(snapshot.read_record(1).pstar, "★★★"_t);
    EXPECT_EQ(card_count("我的图片库"), 1);

    // The rebuild ended the choices: the next one records the defaults.
    record("第二"_t, 0);
    EXPECT_EQ(config_.snapshot().site_logo(), "logo.png");
    EXPECT_EQ(config_.snapshot().read_record(2).pimg, "fm.jpg");
    EXPECT_EQ(card_count("我的图片库"), 2);
    EXPECT_EQ(items(ControlId::SubGalleryList).size(), 3u);
}

// Captures what config.ini holds when the post-actions run.
class RecordingDesktop : public testing::ScriptedDesktop {
  public:
    std::function<void()> on_open;
    void shell_open(const Text& path) override {
        ScriptedDesktop::shell_open(path);
        if (on_open) on_open();
    }
};

// The whole recording is one write of config.ini, before the main page is
// rebuilt from it: the openings after it find the record, the count and the
// selected main gallery already stored.
TEST_F(GenerationRecorderTest, StoresEverythingBeforeThePostActions) {
    testing::write_value(config_, "NAME", "name", "5");
    RecordingDesktop recording;
    GenerationRecorder recorder(ui(), recording, config_, root_.text(), window_->sub_galleries,
                                window_->logo_cover);
    std::string name_at_open, num_at_open;
    bool page_at_open = false;
    recording.on_open = [&] {
        name_at_open = config_.snapshot().read_value("NAME", "name");
        num_at_open = config_.snapshot().read_value("images", "num");
        page_at_open = card_count("我的图片库") == 1;
    };
    ui().set_checked(ControlId::OpenFolderAfter, true);
    make_folder("我的图片库/a");
    EXPECT_TRUE(recorder.record_generation(request_for("a"), {1, false}));
    EXPECT_EQ(name_at_open, "0");
    EXPECT_EQ(num_at_open, "1");
    EXPECT_TRUE(page_at_open);
    EXPECT_EQ(config_.snapshot().read_value("NAME", "name"), "0");
}

TEST_F(GenerationRecorderTest, OpensTheFolderThenThePage) {
    expect_openings([&] { record("a"_t, 1); }, [&] { record("b"_t, 1); });
}

TEST_F(GenerationRecorderTest, PreparesTheFormForTheNextSubGallery) {
    choose_logo_and_cover();
    const Text cover_suffix = window_->selection.cover_suffix();
    const Text logo_suffix = window_->selection.logo_suffix();
    record("a"_t, 1);

    EXPECT_EQ(ui().text(ControlId::CoverBox), "默认封面"_t);
    EXPECT_EQ(ui().text(ControlId::LogoBox), "默认Logo"_t);
    EXPECT_EQ(ui().text_colour(ControlId::CoverBox), rgb(255, 0, 0));
    EXPECT_EQ(ui().text_colour(ControlId::LogoBox), rgb(255, 0, 0));
    const Text name = ui().text(ControlId::SubGalleryName);
    ASSERT_EQ(name.rfind("图库"_t, 0), 0u);
    EXPECT_TRUE(nine_digits(name.substr("图库"_t.size()))) << name;
    EXPECT_TRUE(nine_digits(window_->selection.cover_suffix()));
    EXPECT_TRUE(nine_digits(window_->selection.logo_suffix()));
    EXPECT_NE(window_->selection.cover_suffix(), cover_suffix);
    EXPECT_NE(window_->selection.logo_suffix(), logo_suffix);
}

TEST_F(GenerationRecorderTest, FollowsARealGenerationOfTheHostileTree) {
    testing::make_hostile_tree(disk("pictures/tree"));
    const auto built = testing::build_sub_gallery(
        {local("pictures/tree"), {}, 5, "山水"_t, local("我的图片库"), true});
    ASSERT_TRUE(built);
    window_->recorder.record_generation(request_for(built->name), {built->picture_count, true});
    const SubGalleryRecord written = config_.snapshot().read_record(1);
    EXPECT_EQ(written.pname, "山水"_t);
    EXPECT_EQ(written.pnum, to_text(built->picture_count));
    EXPECT_GT(built->picture_count, 0);
    EXPECT_EQ(card_count("我的图片库"), 1);
    EXPECT_TRUE(entry_exists("我的图片库/山水/index.html"));
    EXPECT_EQ(items(ControlId::SubGalleryList),
              (std::vector<Text>{"选择要删除的子图库后点击 →"_t, "山水"_t}));
}

// A generation whose page was written but that config.ini or the main page
// will not take is taken back whole, and the user is told what failed.
TEST_F(GenerationRecorderTest, AGenerationThatCannotBeRecordedIsTakenBack) {
    choose_logo_and_cover();
    const std::string config_before = file_bytes("config.ini");
    ::chmod(disk("config.ini").c_str(), 0444);
    EXPECT_FALSE(record("新"_t, 3));
    ::chmod(disk("config.ini").c_str(), 0644);
    EXPECT_EQ(file_bytes("config.ini"), config_before);
    EXPECT_FALSE(entry_exists("我的图片库/新"));
    ASSERT_EQ(desktop().message_boxes.size(), 1u);
    const Text notice = desktop().message_boxes[0].message;
    EXPECT_EQ(notice, "图库未能记录：配置文件“"_t + config_.path() +
                          "”无法写入（文件是只读的）。\r\n新生成的子图库目录“"_t + current() +
                          "/新”已删除。"_t);
    EXPECT_EQ(panel(), notice);
    // The form stays for another try: the name and the chosen pictures.
    EXPECT_NE(window_->selection.chosen_cover(), Text());
    EXPECT_EQ(ui().text(ControlId::CoverBox), "已选封面"_t);
    EXPECT_TRUE(desktop().opened.empty());
}

TEST_F(GenerationRecorderTest, AMainPageThatCannotBeWrittenUndoesTheRecord) {
    const std::string config_before = file_bytes("config.ini");
    make_folder("我的图片库/index.html");  // the main page's path is taken
    EXPECT_FALSE(record("新"_t, 3));
    EXPECT_EQ(file_bytes("config.ini"), config_before);
    EXPECT_FALSE(entry_exists("我的图片库/新"));
    ASSERT_EQ(desktop().message_boxes.size(), 1u);
    EXPECT_NE(desktop().message_boxes[0].message.find(current() + "/index.html"), Text::npos);
    EXPECT_NE(desktop().message_boxes[0].message.find("本次生成已撤销"_t), Text::npos);
    const std::vector<Text> listed = items(ControlId::SubGalleryList);
    EXPECT_EQ(std::find(listed.begin(), listed.end(), "新"_t), listed.end());
}

}  // namespace
}  // namespace galmora
