#pragma once
// A library root in a temporary folder with one running "session" of the
// library operations over an in-memory window and scripted desktop
// services. restart() begins a new session on the same folder, as the next
// start of the program would.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core/codepage.h"
#include "core/files.h"
#include "generator/generation_state.h"
#include "library/gallery_config.h"
#include "library/generation_recorder.h"
#include "library/library_context.h"
#include "library/logo_cover_selection.h"
#include "library/main_galleries.h"
#include "library/sub_galleries.h"
#include "library/sub_gallery_deletion.h"
#include "tests/library/config_files.h"
#include "tests/support/fake_controls.h"
#include "tests/support/scripted_desktop.h"
#include "tests/support/temp_dir.h"

namespace galmora::testing {

struct LibrarySession {
    LibrarySession(const GalleryConfig& config, const Text& root);

    FakeControls ui;
    ScriptedDesktop desktop;
    GenerationState state;
    LibraryContext context;
    SubGalleries sub_galleries;
    MainGalleries main_galleries;
    SubGalleryDeletion deletion;
    LogoCoverSelection selection;
    GenerationRecorder recorder;
};

class LibraryTest : public ::testing::Test {
  protected:
    LibraryTest();

    // The start-up steps that concern the library: config.ini, the stored
    // main gallery and the lists.
    void start();
    void restart();

    // Paths below the root, given in UTF-8 as on disk.
    std::string disk(const std::string& relative) const { return root_.file(relative); }
    Text local(const std::string& relative) const { return root_.file_text(relative); }
    void make_folder(const std::string& relative) const;
    void put_file(const std::string& relative, const std::string& bytes) const;
    std::string file_bytes(const std::string& relative) const;
    // The entry itself, a symbolic link included.
    bool entry_exists(const std::string& relative) const;
    std::string config_text() const { return file_bytes("config.ini"); }
    void put_config(const std::string& bytes) const { put_file("config.ini", bytes); }

    std::vector<Text> items(ControlId list) const;
    // Selects a sub-gallery by its text, as the user picks it.
    void pick_sub_gallery(const Text& name);
    // Number of cards in the main page of the given main gallery.
    int card_count(const std::string& main_gallery) const;

    // What a generation leaves for the recording: the state of a written
    // sub-gallery folder inside the current main gallery.
    void prepare_generation(const Text& name, int pictures);

    TempDir root_;
    GalleryConfig config_;
    std::unique_ptr<LibrarySession> session_;
    FakeControls& ui() { return session_->ui; }
    ScriptedDesktop& desktop() { return session_->desktop; }
    GenerationState& state() { return session_->state; }
};

// The defaults of a first start, byte for byte.
inline const std::string kDefaultConfig =
    "[NAME]\r\nname=0\r\n[images]\r\nnum=0\r\n[Logo]\r\nweblogo=logo.png\r\n"
    "[dl]\r\nd=1\r\n[bl]\r\nd=1\r\n";

// ---------------------------------------------------------------------------

inline LibrarySession::LibrarySession(const GalleryConfig& config, const Text& root)
    : context{ui, desktop, state, config, root},
      sub_galleries(context),
      main_galleries(context, sub_galleries),
      deletion(context, sub_galleries),
      selection(context),
      recorder(context, sub_galleries, selection) {
    state.sub_gallery_name = random_suffix();
    state.cover_suffix = random_suffix();
    state.logo_suffix = random_suffix();
    state.star_string = local_text("★★★★★");
    state.quality_label = local_text("高清");
}

inline LibraryTest::LibraryTest() : config_(root_.text() + "/config.ini") {
    restart();
}

inline void LibraryTest::restart() {
    session_.reset();
    session_ = std::make_unique<LibrarySession>(config_, root_.text());
}

inline void LibraryTest::start() {
    config_.ensure_file();
    session_->main_galleries.restore_main_gallery();
}

inline void LibraryTest::make_folder(const std::string& relative) const {
    std::filesystem::create_directories(disk(relative));
}

inline void LibraryTest::put_file(const std::string& relative, const std::string& bytes) const {
    std::ofstream out(disk(relative), std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string LibraryTest::file_bytes(const std::string& relative) const {
    std::ifstream in(disk(relative), std::ios::binary);
    if (!in) return "<missing>";
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline bool LibraryTest::entry_exists(const std::string& relative) const {
    struct stat info;
    return ::lstat(disk(relative).c_str(), &info) == 0;
}

inline std::vector<Text> LibraryTest::items(ControlId list) const {
    std::vector<Text> result;
    for (int i = 0; i < session_->ui.item_count(list); ++i)
        result.push_back(session_->ui.item_text(list, i));
    return result;
}

inline void LibraryTest::pick_sub_gallery(const Text& name) {
    const std::vector<Text> entries = items(ControlId::SubGalleryList);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i] == name) {
            ui().pick(ControlId::SubGalleryList, static_cast<int>(i));
            return;
        }
    }
    ADD_FAILURE() << "not listed: " << utf8_string(name);
}

inline int LibraryTest::card_count(const std::string& main_gallery) const {
    const std::string page = file_bytes(main_gallery + "/index.html");
    int count = 0;
    for (auto at = page.find("<div class=\"item\">"); at != std::string::npos;
         at = page.find("<div class=\"item\">", at + 1))
        ++count;
    return count;
}

inline void LibraryTest::prepare_generation(const Text& name, int pictures) {
    // What write_site leaves: the current main gallery and the new folder.
    GenerationState& s = state();
    s.current_main_gallery = root_.text() + "/" + selected_text(ui(), ControlId::MainGalleryList);
    s.sub_gallery_name = name;
    s.picture_count = pictures;
    s.rebuild_flag = true;
    std::filesystem::create_directories(utf8_string(s.current_main_gallery + "/" + name));
}

}  // namespace galmora::testing
