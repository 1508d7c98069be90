// A generation with the 缩略图 option through the whole program on an
// in-memory window: the thumbnails are made beside the window's thread as
// the program's background job while the window answers, the button stops
// them, nothing that changes the library runs meanwhile, a stop or a close
// ends the job even while a read is stalled, and what a killed generation
// left is cleared at the next start.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "core/codepage.h"
#include "generator/thumbnail_names.h"
#include "library/thumbnail_store.h"
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
using namespace std::chrono_literals;
using testing::TempDir;

// A picture read that stalls, as on a share that stopped answering, until
// the test lets it go.
class StalledReads {
  public:
    PictureFileReader reader() {
        return [this](const Text& path, std::int64_t max_bytes) {
            std::unique_lock lock(mutex_);
            ++stalled_;
            changed_.notify_all();
            changed_.wait(lock, [this] { return released_; });
            return read_file_capped(path, max_bytes);
        };
    }
    bool wait_for_one() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 10s, [this] { return stalled_ > 0; });
    }
    void release() {
        std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int stalled_ = 0;
    bool released_ = false;
};

class ThumbnailGeneration : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int i = 1; i <= 6; ++i) pictures.put("p" + std::to_string(i) + ".jpg", "photo");
        pictures.put("small.png", "small");
    }
    void start(PictureServices services = {}) {
        UpdateSettings offline;
        offline.network.system_online = [] { return false; };
        services.maker = &maker;
        if (services.threads == 0) services.threads = 2;
        app = std::make_unique<Application>(ui, desktop, root.text(), offline, UpdateWindowHooks{},
                                            BackgroundServices{&window, std::move(services)});
        app->start_up();
        ui.set_checked(ControlId::OpenFolderAfter, false);
        ui.set_checked(ControlId::OpenPageAfter, false);
        default_config = config();
        ui.click(ControlId::Thumbnails);
        desktop.folder_answers.push_back(pictures.text());
        ui.click(ControlId::ChoosePictureFolder);
        ui.type(ControlId::PerPage, "4");
        ui.set_text(ControlId::SubGalleryName, "风景"_t);
    }
    void TearDown() override {
        maker.open_gate();
        stalls.release();
    }
    bool running() const { return ui.text(ControlId::GenerateButton) == "停止缩略图"_t; }
    Text panel() const { return ui.text(ControlId::InformationPanel); }
    std::string page() const { return root.contents("我的图片库/风景/index.html"); }
    std::string config() const { return root.contents("config.ini"); }
    bool recorded() const {
        return config().find(std::string("pname=") + "风景"_t) != std::string::npos;
    }
    // Until the generation has been written and recorded.
    void finish(std::chrono::milliseconds limit = 20s) {
        ASSERT_TRUE(window.run_until([&] { return !running(); }, limit));
    }

    TempDir root, pictures;
    std::string default_config;
    testing::FakeControls ui;
    testing::ScriptedDesktop desktop;
    testing::StandInMaker maker;
    StalledReads stalls;
    testing::QueuedWindowThread window;
    std::unique_ptr<Application> app;
};

TEST_F(ThumbnailGeneration, ShowsProgressThenWritesRecordsAndSaysWhatWasMade) {
    start();
    EXPECT_NE(config().find("[thumbnails]\r\nd=1\r\n"), std::string::npos);  // remembered
    maker.close_gate();
    ui.click(ControlId::GenerateButton);
    EXPECT_TRUE(running());
    EXPECT_EQ(panel(), "正在生成缩略图：0 / 7"_t);
    EXPECT_FALSE(fs::exists(root.file("我的图片库/风景")));  // nothing written meanwhile
    maker.open_gate();
    finish();
    EXPECT_EQ(ui.text(ControlId::GenerateButton), "生成图片库"_t);  // the window table's caption
    EXPECT_NE(panel().find(" 缩略图：新做 6 张，沿用 0 张，本身已经够小 1 张，未做 0 张。"_t),
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
    EXPECT_NE(root.contents("我的图片库/img/" + cover).find("894x504 of photo"), std::string::npos);
    EXPECT_NE(root.contents("我的图片库/index.html").find("./img/" + cover), std::string::npos);
    EXPECT_TRUE(desktop.message_boxes.empty());
    EXPECT_FALSE(fs::exists(root.file("我的图片库/img/thumbs/.making")));

    // The same folder again reuses every thumbnail.
    ui.set_text(ControlId::SubGalleryName, "又一次"_t);
    ui.click(ControlId::GenerateButton);
    finish();
    EXPECT_NE(panel().find(" 缩略图：新做 0 张，沿用 6 张"_t), Text::npos);
}

TEST_F(ThumbnailGeneration, TheWindowAnswersAndNothingThatChangesTheLibraryInterleaves) {
    start();
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

// Two workers, both held at the gate: a stop leaves every other picture
// untouched.
TEST_F(ThumbnailGeneration, TheButtonStopsAndTheRestKeepTheirOriginals) {
    start();
    maker.close_gate();
    ui.click(ControlId::GenerateButton);
    ui.click(ControlId::GenerateButton);  // "停止缩略图"
    maker.open_gate();
    finish();
    EXPECT_NE(panel().find("（已停止，其余图片只用原图）"_t), Text::npos);
    EXPECT_TRUE(fs::exists(root.file("我的图片库/风景/index.html")));
    EXPECT_TRUE(recorded());
    EXPECT_LE(maker.calls, 2);  // at most the pictures the two workers held
}

// The workers' only read stalls for good: a stop still ends the job at
// once, the generation is written and recorded, and the stalled thread's
// picture, when its read comes back at last, is dropped.
TEST_F(ThumbnailGeneration, AStopEndsTheJobWhileAReadIsStalled) {
    PictureServices services;
    services.reader = stalls.reader();
    start(std::move(services));
    ui.click(ControlId::GenerateButton);
    ASSERT_TRUE(stalls.wait_for_one());
    ui.click(ControlId::GenerateButton);  // "停止缩略图"
    finish(5s);                           // would wait for ever for the read
    EXPECT_TRUE(recorded());
    EXPECT_EQ(page().find("../img/thumbs/"), std::string::npos);
    EXPECT_TRUE(app->threads_left());
    stalls.release();
    EXPECT_TRUE(window.run_until([&] { return !app->threads_left(); }, 10s));
    EXPECT_EQ(maker.calls, 0);
}

// Closing while every worker is held: closing must stop the work by
// itself. Were it to wait for the work, the watchdog would have to open
// the gate, and the test fails.
TEST_F(ThumbnailGeneration, ClosingTheWindowEndsTheJobAndFinishesAsAfterAStop) {
    start();
    ui.set_checked(ControlId::OpenPageAfter, true);
    maker.close_gate();
    ui.click(ControlId::GenerateButton);
    std::atomic<bool> closed{false}, watchdog_opened{false};
    std::thread watchdog([&] {
        for (int i = 0; i < 100 && !closed; ++i) std::this_thread::sleep_for(100ms);
        if (!closed) {
            watchdog_opened = true;
            maker.open_gate();
        }
    });
    app->shut_down();
    closed = true;
    watchdog.join();
    EXPECT_FALSE(watchdog_opened) << "closing waited for the work instead of stopping it";
    EXPECT_TRUE(fs::exists(root.file("我的图片库/风景/index.html")));
    EXPECT_TRUE(recorded());
    EXPECT_TRUE(desktop.opened.empty());  // nothing opens as the program ends
    maker.open_gate();
    window.run_posted();  // what the job posted finds nothing to do
    EXPECT_EQ(ui.text(ControlId::GenerateButton), "生成图片库"_t);
}

TEST_F(ThumbnailGeneration, UntickedNothingIsMadeOrWritten) {
    start();
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
    start();
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

// A program killed in the middle of a generation left thumbnails and a
// cover no page or record names, and a temporary file: the next start
// clears them, and keeps whatever a page or a record names.
TEST_F(ThumbnailGeneration, WhatAKilledGenerationLeftIsClearedAtTheNextStart) {
    start();
    ui.click(ControlId::GenerateButton);
    finish();
    const fs::path img = root.file("我的图片库/img");
    std::vector<fs::path> kept;
    for (const auto& entry : fs::directory_iterator(img / "thumbs")) kept.push_back(entry.path());
    const Text cover = GalleryConfig(root.file_text("config.ini")).snapshot().read_record(1).pimg;
    kept.push_back(img / utf8_string(cover));
    const std::vector<fs::path> left = {img / "thumbs/0123456789abcdef-504x378.jpg",
                                        img / "thumbs/.0123456789abcdef-504x378.jpg.Ab12Cd",
                                        img / "fm0123456789abcdef.jpg"};
    for (const fs::path& file : left) std::ofstream(file) << "left by a killed generation";
    mark_picture_work(root.file_text("我的图片库"));
    app.reset();

    // The next start, on a window of its own.
    testing::FakeControls next_ui;
    testing::ScriptedDesktop next_desktop;
    Application next(next_ui, next_desktop, root.text(), {}, UpdateWindowHooks{},
                     BackgroundServices{&window, {&maker}});
    next.start_up();
    for (const fs::path& file : left) EXPECT_FALSE(fs::exists(file)) << file;
    for (const fs::path& file : kept) EXPECT_TRUE(fs::exists(file)) << file;
    EXPECT_FALSE(fs::exists(img / "thumbs/.making"));
}

}  // namespace
}  // namespace galmora
