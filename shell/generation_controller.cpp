#include "shell/generation_controller.h"

#include <utility>

#include "core/codepage.h"
#include "generator/image_scanner.h"
#include "generator/page_blocks.h"
#include "generator/paging.h"
#include "generator/sub_gallery_target.h"
#include "library/thumbnail_store.h"
#include "shell/failure_notices.h"
#include "shell/form_colours.h"
#include "shell/thumbnail_run.h"
#include "shell/thumbnail_texts.h"

namespace galmora {

using namespace galmora::literals;

namespace {

// The window shows a busy cursor while a generation blocks it.
class BusyCursor {
  public:
    explicit BusyCursor(Controls& ui) : ui_(ui) { ui_.set_busy(true); }
    ~BusyCursor() { ui_.set_busy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    Controls& ui_;
};

// The sub-gallery's page as the panel and the notices name it.
Text page_path(const GenerationRequest& request) {
    return request.main_gallery + "/" + request.entry.sub_gallery_name + "/index.html";
}

}  // namespace

GenerationController::GenerationController(Controls& ui, DesktopServices& desktop,
                                           const GalleryConfig& config, Text library_root,
                                           JobOwner* jobs, PictureServices pictures)
    : ui_(ui),
      desktop_(desktop),
      config_(config),
      library_root_(std::move(library_root)),
      jobs_(jobs),
      pictures_(std::move(pictures)) {}

// Each handler writes the other field; the guard of the field being written
// keeps its own handler from writing back.
void GenerationController::on_per_page_changed() {
    paint_paging_fields(ui_, kNormalFieldColour);
    const Text total = ui_.text(ControlId::PictureTotal);
    if (per_page_guard_ || total.empty()) return;
    pages_guard_ = true;
    ui_.set_text(ControlId::PageCount,
                 to_text(whole_quotient(total, ui_.text(ControlId::PerPage))));
    pages_guard_ = false;
}

void GenerationController::on_page_count_changed() {
    paint_paging_fields(ui_, kNormalFieldColour);
    const Text total = ui_.text(ControlId::PictureTotal);
    if (total.empty() || pages_guard_) return;
    per_page_guard_ = true;
    ui_.set_text(ControlId::PerPage,
                 to_text(whole_quotient(total, ui_.text(ControlId::PageCount))));
    per_page_guard_ = false;
}

void GenerationController::reset_field_colours() {
    paint_paging_fields(ui_, kNormalFieldColour);
}

void GenerationController::count_pictures_from_browser() {
    static const Text kTitle = "选择图片所在位置："_t;
    empty_paging_fields();
    ui_.set_text(ControlId::PictureFolder, desktop_.choose_folder(kTitle));
    count_folder_field();
}

void GenerationController::count_pictures_from_drop(const Text& dropped) {
    ui_.set_text(ControlId::PictureFolder, dropped);
    empty_paging_fields();
    count_folder_field();
}

// Emptying the paging fields raises their handlers, which recompute each
// other from an earlier total: 单页数量 may end up "0" and 页总数 empty.
void GenerationController::empty_paging_fields() {
    ui_.set_text(ControlId::PerPage, Text());
    ui_.set_text(ControlId::PageCount, Text());
}

void GenerationController::recount_pictures() {
    if (ui_.text(ControlId::PictureTotal).empty()) return;
    count_folder_field();
    if (!ui_.text(ControlId::PerPage).empty()) on_per_page_changed();
}

// HEIC, HEIF and AVIF count only where a generation would show them: with
// the 缩略图 option, which converts them.
PictureFormats GenerationController::formats_shown(bool thumbnails) const {
    return thumbnails && pictures_.maker && jobs_ && jobs_->can_run() ? PictureFormats::WebAndPhone
                                                                      : PictureFormats::Web;
}

void GenerationController::count_folder_field() {
    const Text folder = picture_folder_path(ui_.text(ControlId::PictureFolder), library_root_);
    if (folder.empty()) return;
    const int count = ImageScanner::count_picture_files(
        folder, formats_shown(ui_.checked(ControlId::Thumbnails)));
    ui_.set_text(ControlId::PictureTotal, to_text(count));
    ui_.set_background_colour(ControlId::PictureTotal, is_over_picture_limit(count)
                                                           ? kAlertFieldColour
                                                           : kNormalFieldColour);
}

struct GenerationController::Running {
    GenerationRequest request;
    Written on_written;
};

GenerationController::~GenerationController() = default;

void GenerationController::generate(const GenerationRequest& request, Written on_written) {
    static const Text kTitle = "Galmora - 带 [星] 号为必填项目"_t;
    const bool thumbnails = formats_shown(request.thumbnails) == PictureFormats::WebAndPhone;
    if (!check_form(request) || refuse(request, thumbnails)) return;
    BusyCursor busy(ui_);
    ui_.set_text(ControlId::InformationPanel, Text());
    ui_.set_text(ControlId::PictureTotal, Text());
    ui_.set_title(kTitle);
    PictureList pictures = ImageScanner::scan_pictures(request.picture_folder, request.addressing,
                                                       formats_shown(thumbnails));
    ui_.set_text(ControlId::PictureTotal, to_text(static_cast<int>(pictures.size())));
    if (thumbnails)
        start_thumbnails(request, std::move(pictures), std::move(on_written));
    else
        finish(request, pictures, nullptr, on_written);
}

int GenerationController::running_main_gallery_index() const {
    return running_ ? running_->request.entry.main_gallery_index : -1;
}

void GenerationController::prepare_for_exit() {
    if (running_) running_->request.open_folder_after = running_->request.open_page_after = false;
}

void GenerationController::start_thumbnails(const GenerationRequest& request, PictureList pictures,
                                            Written on_written) {
    ThumbnailSettings settings;
    settings.cover = request.entry.chosen_cover.empty();
    settings.copy_sides = pictures_.copy_sides;
    settings.threads = pictures_.threads;
    running_ = std::make_unique<Running>(Running{request, std::move(on_written)});
    mark_picture_work(request.main_gallery);
    auto job = std::make_unique<ThumbnailJob>(std::move(pictures), request.main_gallery, settings,
                                              *pictures_.maker, jobs_->budget(), pictures_.reader);
    jobs_->start(
        std::make_unique<ThumbnailRun>(std::move(job), settings.threads,
                                       [this](ThumbnailReport report, const PictureList& made_for) {
                                           thumbnails_finished(std::move(report), made_for);
                                       }));
}

void GenerationController::thumbnails_finished(ThumbnailReport report,
                                               const PictureList& pictures) {
    const std::unique_ptr<Running> running = std::move(running_);
    GenerationRequest& request = running->request;
    if (!report.cover.empty()) request.entry.chosen_cover = report.cover;
    finish(request, pictures, &report, running->on_written);
    unmark_picture_work(request.main_gallery);
}

void GenerationController::finish(const GenerationRequest& request, const PictureList& pictures,
                                  const ThumbnailReport* report, const Written& on_written) {
    Text page = compose_sub_gallery_page(
        request.entry.sub_gallery_name,
        page_blocks(pictures, request.per_page, report ? &report->thumbnails : nullptr),
        request.per_page);
    std::optional<GenerationResult> result =
        write_site(request, page, static_cast<int>(pictures.size()));
    const bool cover_made = report && report->cover_made;
    if (!result) {
        // Made for a page that was not written: nothing names them.
        if (report) take_back_made_files(request.main_gallery, cover_made ? report->cover : Text());
        return;
    }
    result->cover_made = cover_made;
    // The panel takes the largest page about as long as the rest of the
    // road: the record and the main page come first.
    on_written(request, *result);
    if (!result->taken_back)
        show_result(request, report ? thumbnail_summary(*report, pictures) : Text(),
                    std::move(page));
}

bool GenerationController::check_form(const GenerationRequest& request) {
    paint_paging_fields(ui_, kNormalFieldColour);
    const bool passed = passes_generate_check(request.paging);
    if (!passed) paint_paging_fields(ui_, kAlertFieldColour);
    return passed;
}

// Checked before anything is written, so that a refused generation leaves
// the library and the form as they were. The thumbnail folder is made here,
// before any picture work, so that a main gallery that takes nothing is
// told at once.
bool GenerationController::refuse(const GenerationRequest& request, bool thumbnails) {
    std::optional<Text> refusal = sub_gallery_target_refusal(
        library_root_, request.entry.sub_gallery_name, request.main_page.main_gallery_name);
    if (!refusal) {
        if (const std::optional<WriteProblem> problem = config_.rewrite_problem())
            refusal = generation_config_refusal(config_.path(), *problem);
    }
    if (!refusal && thumbnails && !prepare_thumbnail_folder(request.main_gallery))
        refusal = folder_not_created(thumbnail_folder(request.main_gallery));
    if (refusal) show_notice(desktop_, *refusal);
    return refusal.has_value();
}

std::optional<GenerationResult> GenerationController::write_site(const GenerationRequest& request,
                                                                 const Text& page,
                                                                 int picture_count) {
    static const Text kFailureHead = "图库生成失败，无法写入图库页面：\r\n"_t;
    static const Text kFailureTail = "\r\n请检查主图库目录是否可写、磁盘空间是否充足。"_t;
    const WrittenSubGallery written = write_sub_gallery(
        request.main_gallery, request.entry.sub_gallery_name, request.keep_proportions, page);
    if (!written.page_written) {
        ui_.set_text(ControlId::InformationPanel,
                     page);   // the panel shows what could not be written
        ui_.set_busy(false);  // no busy cursor over the message
        show_notice(desktop_, kFailureHead + page_path(request) + kFailureTail);
        return std::nullopt;
    }
    return GenerationResult{picture_count, written.folder_created};
}

// The page is written: the panel takes it over, head in front, rather than
// a copy of many megabytes.
void GenerationController::show_result(const GenerationRequest& request, const Text& thumbnail_line,
                                       Text page) {
    static const Text kResultHead = "\r\n 新图库目录："_t;
    const Text result_line = kResultHead + page_path(request) + "\r\n";
    page.insert(0, thumbnail_line.empty() ? result_line + "\r\n"
                                          : result_line + thumbnail_line + "\r\n\r\n");
    ui_.move_text_into(ControlId::InformationPanel, std::move(page));
}

}  // namespace galmora
