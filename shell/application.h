#pragma once
// Everything the program holds from start-up to exit, and the wiring of the
// window's control events to the operations. Qt-free: it works on any
// Controls and DesktopServices, the real window's or the tests'.

#include "library/gallery_config.h"
#include "library/logo_cover_selection.h"
#include "shell/controls.h"
#include "shell/deletion_controller.h"
#include "shell/desktop.h"
#include "shell/generation_controller.h"
#include "shell/generation_recorder.h"
#include "shell/job_owner.h"
#include "shell/logo_cover_controller.h"
#include "shell/main_gallery_controller.h"
#include "shell/shell_commands.h"
#include "shell/sub_gallery_list.h"
#include "shell/update_controller.h"

namespace galmora {

// What the program hands the window for work beside it: the way back to the
// window's thread, the picture work, and the memory all of it may hold (0:
// as much as suits this machine).
struct BackgroundServices {
    WindowThread* window = nullptr;
    PictureServices pictures;
    std::int64_t memory_budget = 0;
};

class Application {
  public:
    Application(Controls& ui, DesktopServices& desktop, Text library_root,
                UpdateSettings update_settings = {}, UpdateWindowHooks update_hooks = {},
                BackgroundServices background = {});

    // Runs once, after the window has been created and before its first input.
    void start_up();
    void show_help();
    // Runs once, when the window has closed: a background job still running
    // ends (thumbnails stop, and their generation is finished as after a
    // stop).
    void shut_down();
    // Threads of work abandoned at a stop still running: the program ends
    // without waiting for them.
    bool threads_left() { return jobs_.threads_left(); }

  private:
    void wire_commands();
    void wire_generation();
    void wire_library();
    void wire_options();
    void on(ControlId control, ControlEvent event, std::function<void()> operation);
    // The same for an operation that changes the library: while a
    // background job runs it is refused with a notice instead.
    void on_library_change(ControlId control, ControlEvent event,
                           std::function<void(const Text&)> operation);
    void click_generate();

    Controls& ui_;
    DesktopServices& desktop_;
    Text library_root_;
    GalleryConfig config_;
    LogoCoverSelection selection_;
    SubGalleryList sub_galleries_;
    MainGalleryController main_galleries_;
    LogoCoverController logo_cover_;
    DeletionController deletion_;
    GenerationRecorder recorder_;
    JobOwner jobs_;
    GenerationController generation_;
    UpdateController updater_;
    ShellCommands commands_;
};

}  // namespace galmora
