#include "shell/generation_controller.h"

#include <utility>

#include "core/codepage.h"
#include "generator/image_scanner.h"
#include "generator/page_blocks.h"
#include "generator/paging.h"
#include "generator/sub_gallery_target.h"
#include "shell/failure_notices.h"
#include "shell/form_colours.h"

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

}  // namespace

GenerationController::GenerationController(Controls& ui, DesktopServices& desktop,
                                           const GalleryConfig& config, Text library_root)
    : ui_(ui), desktop_(desktop), config_(config), library_root_(std::move(library_root)) {}

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

void GenerationController::count_folder_field() {
    const Text folder = picture_folder_path(ui_.text(ControlId::PictureFolder), library_root_);
    if (folder.empty()) return;
    const int count = ImageScanner::count_picture_files(folder);
    ui_.set_text(ControlId::PictureTotal, to_text(count));
    ui_.set_background_colour(ControlId::PictureTotal, is_over_picture_limit(count)
                                                           ? kAlertFieldColour
                                                           : kNormalFieldColour);
}

std::optional<GenerationResult> GenerationController::generate(const GenerationRequest& request) {
    static const Text kTitle = "Galmora - 带 [星] 号为必填项目"_t;
    if (!check_form(request) || refuse(request)) return std::nullopt;
    BusyCursor busy(ui_);
    ui_.set_text(ControlId::InformationPanel, Text());
    ui_.set_text(ControlId::PictureTotal, Text());
    ui_.set_title(kTitle);
    const PictureList pictures =
        ImageScanner::scan_pictures(request.picture_folder, request.addressing);
    const int picture_count = static_cast<int>(pictures.size());
    ui_.set_text(ControlId::PictureTotal, to_text(picture_count));
    const Text page = compose_sub_gallery_page(
        request.entry.sub_gallery_name, page_blocks(pictures, request.per_page), request.per_page);
    return write_site(request, page, picture_count);
}

bool GenerationController::check_form(const GenerationRequest& request) {
    paint_paging_fields(ui_, kNormalFieldColour);
    const bool passed = passes_generate_check(request.paging);
    if (!passed) paint_paging_fields(ui_, kAlertFieldColour);
    return passed;
}

// Checked before anything is written, so that a refused generation leaves
// the library and the form as they were.
bool GenerationController::refuse(const GenerationRequest& request) {
    std::optional<Text> refusal = sub_gallery_target_refusal(
        library_root_, request.entry.sub_gallery_name, request.main_page.main_gallery_name);
    if (!refusal) {
        if (const std::optional<WriteProblem> problem = config_.rewrite_problem())
            refusal = generation_config_refusal(config_.path(), *problem);
    }
    if (refusal) show_notice(desktop_, *refusal);
    return refusal.has_value();
}

std::optional<GenerationResult> GenerationController::write_site(const GenerationRequest& request,
                                                                 const Text& page,
                                                                 int picture_count) {
    static const Text kResultHead = "\r\n 新图库目录："_t;
    static const Text kFailureHead = "图库生成失败，无法写入图库页面：\r\n"_t;
    static const Text kFailureTail = "\r\n请检查主图库目录是否可写、磁盘空间是否充足。"_t;
    const Text& name = request.entry.sub_gallery_name;
    const Text shown_path = request.main_gallery + "/" + name + "/index.html";
    const WrittenSubGallery written =
        write_sub_gallery(request.main_gallery, name, request.keep_proportions, page);
    if (!written.page_written) {
        ui_.set_text(ControlId::InformationPanel,
                     page);   // the panel shows what could not be written
        ui_.set_busy(false);  // no busy cursor over the message
        show_notice(desktop_, kFailureHead + shown_path + kFailureTail);
        return std::nullopt;
    }
    ui_.set_text(ControlId::InformationPanel, kResultHead + shown_path + "\r\n\r\n" + page);
    return GenerationResult{picture_count, written.folder_created};
}

}  // namespace galmora
