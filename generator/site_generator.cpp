#include "generator/site_generator.h"

#include <utility>

#include "core/codepage.h"
#include "generator/form_colours.h"
#include "generator/image_scanner.h"
#include "generator/paging.h"
#include "generator/sub_gallery_builder.h"
#include "generator/sub_gallery_target.h"

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

SiteGenerator::SiteGenerator(Controls& ui, DesktopServices& desktop, GenerationState& state,
                             Text library_root)
    : ui_(ui), desktop_(desktop), state_(state), library_root_(std::move(library_root)) {}

// Each handler writes the other field; the guard of the field being written
// keeps its own handler from writing back.
void SiteGenerator::on_per_page_changed() {
    paint_paging_fields(ui_, kNormalFieldColour);
    const Text total = ui_.text(ControlId::PictureTotal);
    if (per_page_guard_ || total.empty()) return;
    pages_guard_ = true;
    ui_.set_text(ControlId::PageCount,
                 to_text(whole_quotient(total, ui_.text(ControlId::PerPage))));
    pages_guard_ = false;
}

void SiteGenerator::on_page_count_changed() {
    paint_paging_fields(ui_, kNormalFieldColour);
    const Text total = ui_.text(ControlId::PictureTotal);
    if (total.empty() || pages_guard_) return;
    per_page_guard_ = true;
    ui_.set_text(ControlId::PerPage,
                 to_text(whole_quotient(total, ui_.text(ControlId::PageCount))));
    per_page_guard_ = false;
}

bool SiteGenerator::validate_generation_inputs() {
    paint_paging_fields(ui_, kNormalFieldColour);
    state_.rebuild_flag = true;
    const bool valid = passes_generate_check(
        {ui_.text(ControlId::PictureFolder), ui_.text(ControlId::PictureTotal),
         ui_.text(ControlId::PerPage), ui_.text(ControlId::PageCount)});
    if (!valid) paint_paging_fields(ui_, kAlertFieldColour);
    return valid;
}

bool SiteGenerator::target_is_safe(const Text& name, const Text& main_gallery_name) {
    const std::optional<Text> refusal =
        sub_gallery_target_refusal(library_root_, name, main_gallery_name);
    if (refusal) show_notice(desktop_, *refusal);
    return !refusal;
}

bool SiteGenerator::generate_gallery(bool keep_proportions) {
    static const Text kTitle = "Galmora - 带 [星] 号为必填项目"_t;
    if (!validate_generation_inputs()) return false;
    if (!target_is_safe(ui_.text(ControlId::SubGalleryName),
                        selected_text(ui_, ControlId::MainGalleryList)))
        return false;
    BusyCursor busy(ui_);
    ui_.set_text(ControlId::InformationPanel, Text());
    ui_.set_text(ControlId::PictureTotal, Text());
    state_.reset_for_generation(ui_.text(ControlId::SubGalleryName));
    ui_.set_title(kTitle);
    state_.sub_gallery_name = ui_.text(ControlId::SubGalleryName);
    const ScanSettings settings = ImageScanner::read_settings(ui_);
    ImageScanner::scan_pictures(ui_.text(ControlId::PictureFolder), settings, state_);
    ui_.set_text(ControlId::PictureTotal, to_text(state_.picture_count));
    return write_site(compose_sub_gallery_page(state_, settings.per_page), keep_proportions);
}

bool SiteGenerator::write_site(const Text& page, bool keep_proportions) {
    static const Text kResultHead = "\r\n 新图库目录："_t;
    static const Text kFailureHead = "图库生成失败，无法写入图库页面：\r\n"_t;
    static const Text kFailureTail = "\r\n请检查主图库目录是否可写、磁盘空间是否充足。"_t;
    const Text main_gallery_name = selected_text(ui_, ControlId::MainGalleryList);
    const Text shown_path =
        library_root_ + "/" + main_gallery_name + "/" + state_.sub_gallery_name + "/index.html";
    if (!write_sub_gallery(library_root_ + "/" + main_gallery_name, keep_proportions, page,
                           state_)) {
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
