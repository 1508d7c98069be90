#include "shell/deletion_controller.h"

#include "library/library_paths.h"
#include "library/sub_gallery_deletion.h"
#include "shell/current_main_gallery.h"
#include "shell/failure_notices.h"
#include "shell/library_captions.h"

namespace galmora {

DeletionController::DeletionController(Controls& ui, DesktopServices& desktop,
                                       const GalleryConfig& config, Text library_root,
                                       SubGalleryList& sub_galleries,
                                       LogoCoverController& logo_cover)
    : ui_(ui),
      desktop_(desktop),
      config_(config),
      library_root_(std::move(library_root)),
      sub_galleries_(sub_galleries),
      logo_cover_(logo_cover) {}

void DeletionController::delete_selected() {
    const int index = ui_.selected_index(ControlId::SubGalleryList);
    const Text name = ui_.item_text(ControlId::SubGalleryList, index);
    if (index <= 0 || name == library_captions::sub_gallery_prompt() ||
        !is_deletable_sub_gallery(name) || !is_bare_name(selected_main_gallery_name(ui_)))
        return;

    show(Text());
    show(deletion_announcement());
    if (ask_to_confirm(desktop_, deletion_confirmation(name)) != kResultOk) return;
    const Text main_gallery = current_main_gallery(ui_, library_root_);
    const std::optional<DeletionOutcome> outcome = delete_sub_gallery(
        config_, main_gallery, name, [this](const Text& progress) { show(progress); });
    if (!outcome) return;
    sub_galleries_.refresh();
    const bool page_written = sub_galleries_.rebuild_main_page();
    logo_cover_.end_choices();
    open_main_gallery_after_change(ui_, desktop_, library_root_);
    show(deletion_result(*outcome) +
         (page_written ? Text() : main_page_not_rebuilt(main_gallery + "/index.html")));
}

void DeletionController::show(const Text& panel_text) {
    ui_.set_text(ControlId::InformationPanel, panel_text);
}

}  // namespace galmora
