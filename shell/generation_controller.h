#pragma once
// The window's side of a generation: the coupling of 单页数量 and 页总数,
// counting the pictures of a chosen or dropped folder, the colours of the
// paging fields, and the click of 生成图片库, which checks the request, runs
// the generator's steps and shows what they give. With the 缩略图 option the
// thumbnails are made beside the window's thread, the button stops them,
// and the page is written when they are done. Recording the generation in
// config.ini follows (GenerationRecorder); the panel shows the result only
// after it, so that the record and the main page never wait for the panel.

#include <functional>
#include <memory>
#include <optional>

#include "generator/image_scanner.h"
#include "generator/picture_maker.h"
#include "generator/sub_gallery_builder.h"
#include "generator/thumbnail_job.h"
#include "library/gallery_config.h"
#include "shell/controls.h"
#include "shell/desktop.h"
#include "shell/generation_request.h"
#include "shell/job_owner.h"

namespace galmora {

// A sub-gallery whose index.html was written, to be recorded.
struct GenerationResult {
    int picture_count = 0;
    bool folder_created = false;
    bool cover_made = false;  // request.entry.chosen_cover was made for it, not reused
    // Set by the hand-over that took the generation back: the panel then
    // keeps what it shows of the failure instead of the result.
    bool taken_back = false;
};

// What making thumbnails needs from the program: the picture work. Without
// it (or without a way back to the window's thread for the job), no
// thumbnails are made. Tests set the rest.
struct PictureServices {
    const PictureMaker* maker = nullptr;
    int threads = 0;                // 0: one a core
    PictureFileReader reader = {};  // empty: core's capped read
    // The display copies' long sides: a 1280 x 800 desktop, a 1920 x 1080
    // one and a 390 x 844 phone at 3x each find one sharp for a photo.
    std::vector<int> copy_sides = {1280, 1600, 2048};
};

class GenerationController {
  public:
    // Runs once the page is written, with the request as it was completed
    // (a cover made from the first picture stands chosen in it), before the
    // panel shows the result.
    using Written = std::function<void(const GenerationRequest&, GenerationResult&)>;

    GenerationController(Controls& ui, DesktopServices& desktop, const GalleryConfig& config,
                         Text library_root, JobOwner* jobs = nullptr,
                         PictureServices pictures = {});
    ~GenerationController();

    // Content-changed handlers of 单页数量 and 页总数.
    void on_per_page_changed();
    void on_page_count_changed();
    // Content-changed handler of 浏览目录.
    void reset_field_colours();

    // The click of 按钮8: choose the folder, then count.
    void count_pictures_from_browser();
    // Files dropped onto 浏览目录 (拖放对象1).
    void count_pictures_from_drop(const Text& dropped);
    // The 缩略图 box changed which formats count: the folder counted again.
    void recount_pictures();

    // The click of 生成图片库 with the request read at that moment. Nothing
    // happens when the paging fields fail the check (painted red) or the
    // target, config.ini or the thumbnail folder refuses the generation (a
    // notice; nothing written); a notice tells when the page could not be
    // written. Otherwise on_written runs (at once, or after the thumbnails),
    // then the panel shows the result line and the page.
    void generate(const GenerationRequest& request, Written on_written);

    // The main gallery list's selection the running generation belongs to.
    int running_main_gallery_index() const;
    // At exit, before the job ends: the generation is finished without
    // opening anything.
    void prepare_for_exit();

  private:
    struct Running;

    // Paints the paging fields red when the form fails the generate check.
    bool check_form(const GenerationRequest& request);
    // A notice when the target, config.ini or the thumbnail folder refuses
    // the generation.
    bool refuse(const GenerationRequest& request, bool thumbnails);
    void start_thumbnails(const GenerationRequest& request, PictureList pictures,
                          Written on_written);
    void thumbnails_finished(ThumbnailReport report, const PictureList& pictures);
    // Compose, write, hand over to on_written and show the result.
    void finish(const GenerationRequest& request, const PictureList& pictures,
                const ThumbnailReport* report, const Written& on_written);
    // Folders, assets and index.html holding page; nullopt with the page in
    // the panel and a notice when index.html was not written.
    std::optional<GenerationResult> write_site(const GenerationRequest& request, const Text& page,
                                               int picture_count);
    // The result line, the thumbnails' line when there is one, and the page.
    void show_result(const GenerationRequest& request, const Text& thumbnail_line, Text page);

    void empty_paging_fields();
    void count_folder_field();
    PictureFormats formats_shown(bool thumbnails) const;

    Controls& ui_;
    DesktopServices& desktop_;
    const GalleryConfig& config_;
    Text library_root_;
    JobOwner* jobs_;  // none: no background work
    PictureServices pictures_;
    std::unique_ptr<Running> running_;
    bool pages_guard_ = false;
    bool per_page_guard_ = false;
};

}  // namespace galmora
