#include "library/generation_recorder.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/codepage.h"
#include "generator/sub_gallery_builder.h"
#include "tests/library/library_fixture.h"
#include "tests/support/hostile_tree.h"

namespace galmora {
namespace {

using namespace galmora::literals;
using testing::LibraryTest;

bool nine_digits(const Text& text) {
    return text.size() == 9 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

class RecordGeneration : public LibraryTest {
  protected:
    void SetUp() override {
        start();
        make_folder("pictures");
        put_file("pictures/logo.png", "logo");
        put_file("pictures/cover.jpg", "cover");
    }
    void record() { session_->recorder.record_generation(); }
};

TEST_F(RecordGeneration, WritesTheRecordThenTheCountAndTheChosenPictures) {
    desktop().file_answers = {local("pictures/logo.png"), local("pictures/cover.jpg")};
    session_->selection.choose_logo();
    session_->selection.choose_cover();
    const Text logo = session_->selection.logo_file_name();
    const Text cover = session_->selection.cover_file_name();
    state().quality_label = "普清"_t;
    state().star_string = "★★★"_t;
    prepare_generation("风景"_t, 12);
    record();

    const std::string after_first =
        "[NAME]\r\nname=0\r\n[images]\r\nnum=1\r\n[Logo]\r\nweblogo=" + logo +
        "\r\n[dl]\r\nd=1\r\n[bl]\r\nd=1\r\n[P1]\r\npname=" + "风景"_t + "\r\npimg=" + cover +
        "\r\npnum=12\r\nphd=" + "普清"_t + "\r\npstar=" + "★★★"_t + "\r\n";
    EXPECT_EQ(config_text(), after_first);
    EXPECT_EQ(card_count("我的图片库"), 1);

    // Nothing chosen for the next one: the defaults are recorded.
    prepare_generation("第二"_t, 0);
    record();
    const auto snapshot = config_.snapshot();
    EXPECT_EQ(snapshot.record_count(), 2);
    EXPECT_EQ(snapshot.site_logo(), "logo.png");
    EXPECT_EQ(snapshot.read_record(2).pname, "第二"_t);
    EXPECT_EQ(snapshot.read_record(2).pimg, "fm.jpg");
    EXPECT_EQ(snapshot.read_record(2).pnum, "0");
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
TEST_F(RecordGeneration, StoresEverythingBeforeThePostActions) {
    testing::write_value(config_, "NAME", "name", "5");
    RecordingDesktop recording;
    LibraryContext context{ui(), recording, state(), config_, root_.text()};
    SubGalleries sub_galleries(context);
    LogoCoverSelection selection(context);
    GenerationRecorder recorder(context, sub_galleries, selection);
    std::string name_at_open, num_at_open;
    bool page_at_open = false;
    recording.on_open = [&] {
        name_at_open = config_.snapshot().read_value("NAME", "name");
        num_at_open = config_.snapshot().read_value("images", "num");
        page_at_open = card_count("我的图片库") == 1;
    };
    ui().set_checked(ControlId::OpenFolderAfter, true);
    prepare_generation("a"_t, 1);
    recorder.record_generation();
    EXPECT_EQ(name_at_open, "0");
    EXPECT_EQ(num_at_open, "1");
    EXPECT_TRUE(page_at_open);
    EXPECT_EQ(config_.snapshot().read_value("NAME", "name"), "0");
}

TEST_F(RecordGeneration, OpensTheFolderThenThePage) {
    ui().set_checked(ControlId::OpenFolderAfter, true);
    ui().set_checked(ControlId::OpenPageAfter, true);
    prepare_generation("a"_t, 1);
    record();
    const Text main_gallery = local("我的图片库");
    EXPECT_EQ(desktop().opened,
              (std::vector<Text>{"open:" + main_gallery, "web:" + main_gallery + "/index.html"}));

    desktop().opened.clear();
    ui().set_checked(ControlId::OpenFolderAfter, false);
    ui().set_checked(ControlId::OpenPageAfter, false);
    prepare_generation("b"_t, 1);
    record();
    EXPECT_TRUE(desktop().opened.empty());
}

TEST_F(RecordGeneration, PreparesTheFormForTheNextSubGallery) {
    desktop().file_answers = {local("pictures/logo.png"), local("pictures/cover.jpg")};
    session_->selection.choose_logo();
    session_->selection.choose_cover();
    const Text cover_suffix = state().cover_suffix, logo_suffix = state().logo_suffix;
    prepare_generation("a"_t, 1);
    record();

    EXPECT_EQ(ui().text(ControlId::CoverBox), "默认封面"_t);
    EXPECT_EQ(ui().text(ControlId::LogoBox), "默认Logo"_t);
    EXPECT_EQ(ui().text_colour(ControlId::CoverBox), rgb(255, 0, 0));
    EXPECT_EQ(ui().text_colour(ControlId::LogoBox), rgb(255, 0, 0));
    const Text name = ui().text(ControlId::SubGalleryName);
    ASSERT_EQ(name.rfind("图库"_t, 0), 0u);
    const Text digits = name.substr("图库"_t.size());
    EXPECT_TRUE(nine_digits(digits)) << digits;
    EXPECT_EQ(state().sub_gallery_name, digits);
    EXPECT_TRUE(nine_digits(state().cover_suffix));
    EXPECT_TRUE(nine_digits(state().logo_suffix));
    EXPECT_NE(state().cover_suffix, cover_suffix);
    EXPECT_NE(state().logo_suffix, logo_suffix);
}

TEST_F(RecordGeneration, FollowsARealGenerationOfTheHostileTree) {
    testing::make_hostile_tree(disk("pictures/tree"));
    const auto built = build_sub_gallery(
        {local("pictures/tree"), ScanSettings{false, "", 5}, "山水"_t, local("我的图片库"), true});
    ASSERT_TRUE(built);
    prepare_generation(built->name, built->picture_count);
    record();
    const SubGalleryRecord written = config_.snapshot().read_record(1);
    EXPECT_EQ(written.pname, "山水"_t);
    EXPECT_EQ(written.pnum, to_text(state().picture_count));
    EXPECT_GT(state().picture_count, 0);
    EXPECT_EQ(card_count("我的图片库"), 1);
    EXPECT_TRUE(entry_exists("我的图片库/山水/index.html"));
    EXPECT_EQ(items(ControlId::SubGalleryList),
              (std::vector<Text>{"选择要删除的子图库后点击 →"_t, "山水"_t}));
}

}  // namespace
}  // namespace galmora
