#include "shell/generation_controller.h"

#include <utility>

#include "core/codepage.h"
#include "generator/paging.h"
#include "generator/sub_gallery_target.h"
#include "shell/current_main_gallery.h"
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
                                           Text library_root)
    : ui_(ui), desktop_(desktop), library_root_(std::move(library_root)) {}

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
    const Text folder = ui_.text(ControlId::PictureFolder);
    if (folder.empty()) return;
    const int count = ImageScanner::count_picture_files(folder);
    ui_.set_text(ControlId::PictureTotal, to_text(count));
    ui_.set_background_colour(ControlId::PictureTotal, is_over_picture_limit(count)
                                                           ? kAlertFieldColour
                                                           : kNormalFieldColour);
}

std::optional<GeneratedSubGallery> GenerationController::generate(bool keep_proportions) {
    static const Text kTitle = "Galmora - 带 [星] 号为必填项目"_t;
    const Form form = read_form();
    if (!check_form(form) || refuse_target(form)) return std::nullopt;
    BusyCursor busy(ui_);
    ui_.set_text(ControlId::InformationPanel, Text());
    ui_.set_text(ControlId::PictureTotal, Text());
    ui_.set_title(kTitle);
    PageBlocks blocks = ImageScanner::scan_pictures(form.picture_folder, form.scan);
    const int picture_count = blocks.picture_count;
    ui_.set_text(ControlId::PictureTotal, to_text(picture_count));
    const Text page =
        compose_sub_gallery_page(form.sub_gallery_name, std::move(blocks), form.scan.per_page);
    if (!write_site(form, page, keep_proportions)) return std::nullopt;
    return GeneratedSubGallery{form.sub_gallery_name, picture_count};
}

GenerationController::Form GenerationController::read_form() const {
    Form form;
    form.picture_folder = ui_.text(ControlId::PictureFolder);
    form.picture_total = ui_.text(ControlId::PictureTotal);
    form.per_page = ui_.text(ControlId::PerPage);
    form.page_count = ui_.text(ControlId::PageCount);
    form.sub_gallery_name = ui_.text(ControlId::SubGalleryName);
    form.main_gallery_name = selected_main_gallery_name(ui_);
    form.main_gallery = current_main_gallery(ui_, library_root_);
    form.scan.network_mode = ui_.selected_index(ControlId::ModeList) == 1;
    form.scan.web_address = ui_.text(ControlId::SiteAddress);
    form.scan.per_page = to_integer(form.per_page);
    return form;
}

bool GenerationController::check_form(const Form& form) {
    paint_paging_fields(ui_, kNormalFieldColour);
    const bool passed = passes_generate_check(
        {form.picture_folder, form.picture_total, form.per_page, form.page_count});
    if (!passed) paint_paging_fields(ui_, kAlertFieldColour);
    return passed;
}

bool GenerationController::refuse_target(const Form& form) {
    const std::optional<Text> refusal =
        sub_gallery_target_refusal(library_root_, form.sub_gallery_name, form.main_gallery_name);
    if (refusal) show_notice(desktop_, *refusal);
    return refusal.has_value();
}

bool GenerationController::write_site(const Form& form, const Text& page, bool keep_proportions) {
    static const Text kResultHead = "\r\n 新图库目录："_t;
    static const Text kFailureHead = "图库生成失败，无法写入图库页面：\r\n"_t;
    static const Text kFailureTail = "\r\n请检查主图库目录是否可写、磁盘空间是否充足。"_t;
    const Text shown_path = form.main_gallery + "/" + form.sub_gallery_name + "/index.html";
    if (!write_sub_gallery(form.main_gallery, form.sub_gallery_name, keep_proportions, page)) {
        ui_.set_text(ControlId::InformationPanel,
                     page);   // the panel shows what could not be written
        ui_.set_busy(false);  // no busy cursor over the message
        show_notice(desktop_, kFailureHead + shown_path + kFailureTail);
        return false;
    }
    ui_.set_text(ControlId::InformationPanel, kResultHead + shown_path + "\r\n\r\n" + page);
    return true;
}

}  // namespace galmora
