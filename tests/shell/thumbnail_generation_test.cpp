// A generation with the 缩略图 option through the whole program on an
// in-memory window: the thumbnails are made beside the window's thread
// while the window answers, the button stops them, nothing that changes the
// library runs meanwhile, and closing the window finishes as a stop does.

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "core/codepage.h"
#include "generator/thumbnail_names.h"
#include "shell/application.h"
#include "tests/support/child_run.h"
#include "tests/support/fake_controls.h"
#include "tests/support/queued_window_thread.h"
#include "tests/support/scripted_desktop.h"
#include "tests/support/stand_in_maker.h"
#include "tests/support/temp_dir.h"

namespace galmora {
namespace {

namespace fs = std::filesystem;
using namespace galmora::literals;
using testing::TempDir;

class ThumbnailGeneration : public ::testing::Test {
  protected:
    void SetUp() override {
        UpdateSettings offline;
        offline.network.system_online = [] { return false; };
        app = std::make_unique<Application>(ui, desktop, root.text(), offline, UpdateWindowHooks{},
                                            ThumbnailServices{&maker, &window});
        app->start_up();
        ui.set_checked(ControlId::OpenFolderAfter, false);
        ui.set_checked(ControlId::OpenPageAfter, false);
        default_config = config();
        ui.click(ControlId::Thumbnails);
        for (int i = 1; i <= 6; ++i) pictures.put("p" + std::to_string(i) + ".jpg");
        pictures.put("small.png");
        desktop.folder_answers.push_back(pictures.text());
        ui.click(ControlId::ChoosePictureFolder);
        ui.type(ControlId::PerPage, "4");
        ui.set_text(ControlId::SubGalleryName, "风景"_t);
    }
    void TearDown() override { maker.open_gate(); }
    bool running() const { return ui.text(ControlId::GenerateButton) == "停止缩略图"_t; }
    Text panel() const { return ui.text(ControlId::InformationPanel); }
    std::string page() const { return root.contents("我的图片库/风景/index.html"); }
    std::string config() const { return root.contents("config.ini"); }
    // Until the generation has been written and recorded.
    void finish() {
        ASSERT_TRUE(window.run_until([&] { return !running(); }));
    }

    TempDir root, pictures;
    std::string default_config;
    testing::FakeControls ui;
    testing::ScriptedDesktop desktop;
    testing::StandInMaker maker;
    testing::QueuedWindowThread window;
    std::unique_ptr<Application> app;
};

TEST_F(ThumbnailGeneration, ShowsProgressThenWritesRecordsAndSaysWhatWasMade) {
    EXPECT_NE(config().find("[thumbnails]\r\nd=1\r\n"), std::string::npos);  // remembered
    maker.close_gate();
    ui.click(ControlId::GenerateButton);
    EXPECT_TRUE(running());
    EXPECT_EQ(panel(), "正在生成缩略图：0 / 7"_t);
    EXPECT_FALSE(fs::exists(root.file("我的图片库/风景")));  // nothing written meanwhile
    maker.open_gate();
    finish();
    EXPECT_EQ(ui.text(ControlId::GenerateButton), "生成图片库"_t);
    EXPECT_NE(
        panel().find(
            " 缩略图：新做 6 张，沿用 0 张，未做 1 张。未做的有：small.png（本身已经够小）。"_t),
        Text::npos);
    EXPECT_EQ(panel().find("新图库目录"_t), 3u);
    // The page names six thumbnails; the card's cover was made from the first
    // picture and is recorded and shown as a chosen one would be.
    std::size_t named = 0;
    for (auto at = page().find("../img/thumbs/"); at != std::string::npos;
         at = page().find("../img/thumbs/", at + 1))
        ++named;
    EXPECT_EQ(named, 6u);
    const GalleryConfig stored(root.file_text("config.ini"));
    const Text cover = stored.snapshot().read_record(1).pimg;
    EXPECT_EQ(cover.rfind("fm", 0), 0u);
    EXPECT_NE(cover, "fm.jpg");
    EXPECT_EQ(root.contents("我的图片库/img/" + cover), "thumb of " + pictures.path() + "/p1.jpg");
    EXPECT_NE(root.contents("我的图片库/index.html").find("./img/" + cover), std::string::npos);
    EXPECT_TRUE(desktop.message_boxes.empty());

    // The same folder again reuses every thumbnail.
    ui.set_text(ControlId::SubGalleryName, "又一次"_t);
    ui.click(ControlId::GenerateButton);
    finish();
    EXPECT_NE(panel().find(" 缩略图：新做 0 张，沿用 6 张"_t), Text::npos);
}

TEST_F(ThumbnailGeneration, TheWindowAnswersAndNothingThatChangesTheLibraryInterleaves) {
    maker.close_gate();
    ui.click(ControlId::GenerateButton);
    ASSERT_TRUE(running());
    // The window answers while a picture is being made: help shows at once.
    ui.click(ControlId::HelpButton);
    EXPECT_NE(panel().find("帮助"_t), Text::npos);
    ui.set_selected_index(ControlId::SubGalleryList, 0);
    const std::string config_before = config();
    for (ControlId refused : {ControlId::DeleteSubGalleryButton, ControlId::NewMainGalleryButton,
                              ControlId::ChooseCoverButton, ControlId::ChooseLogoButton}) {
        desktop.message_boxes.clear();
        ui.click(refused);
        ASSERT_EQ(desktop.message_boxes.size(), 1u) << refused;
        EXPECT_EQ(desktop.message_boxes[0].message,
                  "正在生成缩略图，请等它完成，或点击“停止缩略图”后再试。"_t);
    }
    ui.drop(ControlId::LogoBox, pictures.file_text("p1.jpg"));
    EXPECT_EQ(desktop.file_dialogs, 0);
    EXPECT_FALSE(ui.visible(ControlId::NewMainGalleryName));
    // Another main gallery picked meanwhile is taken back.
    ui.append_item(ControlId::MainGalleryList, "旅行"_t);
    ui.pick(ControlId::MainGalleryList, 1);
    EXPECT_EQ(ui.selected_index(ControlId::MainGalleryList), 0);
    EXPECT_EQ(config(), config_before);
    maker.open_gate();
    finish();
    EXPECT_TRUE(fs::exists(root.file("我的图片库/风景/index.html")));
}

TEST_F(ThumbnailGeneration, TheButtonStopsAndTheRestKeepTheirOriginals) {
    maker.close_gate();
    ui.click(ControlId::GenerateButton);
    ui.click(ControlId::GenerateButton);  // "停止缩略图"
    maker.open_gate();
    finish();
    EXPECT_NE(panel().find("（已停止，其余图片只用原图）"_t), Text::npos);
    EXPECT_TRUE(fs::exists(root.file("我的图片库/风景/index.html")));
    EXPECT_NE(config().find(std::string("pname=") + "风景"_t), std::string::npos);
    EXPECT_LT(maker.calls, 8);  // at most the pictures already in hand
}

TEST_F(ThumbnailGeneration, ClosingTheWindowFinishesAsAfterAStop) {
    ui.set_checked(ControlId::OpenPageAfter, true);
    maker.close_gate();
    ui.click(ControlId::GenerateButton);
    std::thread opener([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        maker.open_gate();
    });
    app->shut_down();
    opener.join();
    EXPECT_TRUE(fs::exists(root.file("我的图片库/风景/index.html")));
    EXPECT_NE(config().find(std::string("pname=") + "风景"_t), std::string::npos);
    EXPECT_TRUE(desktop.opened.empty());  // nothing opens as the program ends
    window.run_posted();                  // what the job posted finds nothing to do
    EXPECT_EQ(ui.text(ControlId::GenerateButton), "生成图片库"_t);
}

TEST_F(ThumbnailGeneration, UntickedNothingIsMadeOrWritten) {
    EXPECT_EQ(default_config.find("[thumbnails]"), std::string::npos);  // nothing stored at first
    ui.click(ControlId::Thumbnails);
    ui.click(ControlId::GenerateButton);  // written at once, no thumbnails
    EXPECT_FALSE(running());
    EXPECT_EQ(maker.calls, 0);
    EXPECT_FALSE(fs::exists(root.file("我的图片库/img/thumbs")));
    EXPECT_EQ(page().find("srcset"), std::string::npos);
    EXPECT_EQ(panel().find("缩略图"_t), Text::npos);
    EXPECT_NE(config().find("pimg=fm.jpg"), std::string::npos);
}

TEST_F(ThumbnailGeneration, AMainGalleryThatTakesNoThumbnailsIsToldBeforeAnythingIsMade) {
    fs::create_directories(root.file("我的图片库/img"));
    fs::permissions(root.file("我的图片库/img"), fs::perms::owner_read | fs::perms::owner_exec);
    const std::string config_before = config();
    testing::run_unprivileged(root.path(), [&] {
        ui.click(ControlId::GenerateButton);
        EXPECT_FALSE(running());
        ASSERT_EQ(desktop.message_boxes.size(), 1u);
        EXPECT_NE(desktop.message_boxes[0].message.find(root.file_text("我的图片库/img/thumbs")),
                  Text::npos);
        EXPECT_EQ(maker.calls, 0);
        EXPECT_FALSE(fs::exists(root.file("我的图片库/风景")));
        EXPECT_EQ(config(), config_before);
    });
    fs::permissions(root.file("我的图片库/img"), fs::perms::owner_all);
}

}  // namespace
}  // namespace galmora
