#pragma once
// The library's controllers over an in-memory window and scripted desktop
// services, on a library root in a temporary folder. restart() begins a new
// session on the same folder, as the next start of the program would.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "core/codepage.h"
#include "library/logo_cover_selection.h"
#include "shell/current_main_gallery.h"
#include "shell/deletion_controller.h"
#include "shell/generation_recorder.h"
#include "shell/generation_request.h"
#include "shell/logo_cover_controller.h"
#include "shell/main_gallery_controller.h"
#include "shell/sub_gallery_list.h"
#include "tests/library/library_fixture.h"
#include "tests/support/fake_controls.h"
#include "tests/support/scripted_desktop.h"

namespace galmora::testing {

struct LibraryWindow {
    LibraryWindow(const GalleryConfig& config, const Text& root)
        : selection(config, root),
          sub_galleries(ui, config, root),
          main_galleries(ui, desktop, config, root, sub_galleries),
          logo_cover(ui, desktop, selection, root),
          deletion(ui, desktop, config, root, sub_galleries, logo_cover),
          recorder(ui, desktop, config, root, sub_galleries, logo_cover) {
        selection.draw_suffixes();
    }

    FakeControls ui;
    ScriptedDesktop desktop;
    LogoCoverSelection selection;
    SubGalleryList sub_galleries;
    MainGalleryController main_galleries;
    LogoCoverController logo_cover;
    DeletionController deletion;
    GenerationRecorder recorder;
};

class LibraryWindowTest : public LibraryTest {
  protected:
    LibraryWindowTest() { restart(); }

    // The start-up steps that concern the library: config.ini, the stored
    // main gallery and the lists.
    void start() {
        config_.ensure_file();
        window_->main_galleries.restore();
    }
    void restart() {
        window_.reset();
        window_ = std::make_unique<LibraryWindow>(config_, root_.text());
    }

    std::vector<Text> items(ControlId list) const {
        std::vector<Text> result;
        for (int i = 0; i < window_->ui.item_count(list); ++i)
            result.push_back(window_->ui.item_text(list, i));
        return result;
    }
    // Selects a sub-gallery by its text, as the user picks it.
    void pick_sub_gallery(const Text& name) {
        const std::vector<Text> entries = items(ControlId::SubGalleryList);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (entries[i] == name) return ui().pick(ControlId::SubGalleryList, int(i));
        }
        ADD_FAILURE() << "not listed: " << utf8_string(name);
    }
    Text current() const { return current_main_gallery(window_->ui, root_.text()); }
    Text panel() const { return window_->ui.text(ControlId::InformationPanel); }
    // A picture folder with a logo and a cover to choose or drop.
    void put_pictures() const {
        make_folder("pictures");
        put_file("pictures/logo.png", "png logo");
        put_file("pictures/cover.jpg", "jpg cover");
    }
    // A choice whose dialog answers with one of those pictures.
    void choose(void (LogoCoverController::*operation)(), const std::string& file) {
        desktop().file_answers.push_back(local("pictures/" + file));
        (window_->logo_cover.*operation)();
    }
    // With both boxes ticked, an operation opens the main gallery's folder,
    // then its page; with neither ticked, the next opens nothing.
    void expect_openings(const std::function<void()>& ticked,
                         const std::function<void()>& unticked) {
        ui().set_checked(ControlId::OpenFolderAfter, true);
        ui().set_checked(ControlId::OpenPageAfter, true);
        ticked();
        const Text main_gallery = local("我的图片库");
        EXPECT_EQ(desktop().opened, (std::vector<Text>{"open:" + main_gallery,
                                                       "web:" + main_gallery + "/index.html"}));
        ui().set_checked(ControlId::OpenFolderAfter, false);
        ui().set_checked(ControlId::OpenPageAfter, false);
        unticked();
        EXPECT_EQ(desktop().opened.size(), 2u);
    }
    // The request a click of 生成图片库 would read now, for sub-gallery name.
    GenerationRequest request_for(const Text& name, const Text& quality = local_text("高清"),
                                  const Text& stars = local_text("★★★★★")) const {
        GenerationRequest request = read_generation_request(
            window_->ui, config_.snapshot(), {stars, quality}, window_->selection, root_.text());
        request.entry.sub_gallery_name = name;
        return request;
    }
    // What a generation leaves for the recording: the written sub-gallery's
    // folder in the current main gallery; then the recording itself.
    bool record(const Text& name, int pictures, const Text& quality = local_text("高清"),
                const Text& stars = local_text("★★★★★")) {
        std::filesystem::create_directories(utf8_string(current() + "/" + name));
        return window_->recorder.record_generation(request_for(name, quality, stars),
                                                   {pictures, true});
    }

    std::unique_ptr<LibraryWindow> window_;
    FakeControls& ui() { return window_->ui; }
    ScriptedDesktop& desktop() { return window_->desktop; }
};

}  // namespace galmora::testing
