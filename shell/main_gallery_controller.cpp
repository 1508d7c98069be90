#include "shell/main_gallery_controller.h"

#include "core/codepage.h"
#include "library/library_paths.h"
#include "library/main_galleries.h"
#include "shell/current_main_gallery.h"
#include "shell/failure_notices.h"

namespace galmora {

MainGalleryController::MainGalleryController(Controls& ui, DesktopServices& desktop,
                                             const GalleryConfig& config, Text library_root,
                                             SubGalleryList& sub_galleries)
    : ui_(ui),
      desktop_(desktop),
      config_(config),
      library_root_(std::move(library_root)),
      sub_galleries_(sub_galleries) {}

void MainGalleryController::select_default() {
    ui_.set_selected_index(ControlId::MainGalleryList, 0);
}

void MainGalleryController::restore() {
    select_stored();
    if (!main_gallery_exists(library_root_, selected_main_gallery_name(ui_))) {
        select_default();
        create_folder(ui_.item_text(ControlId::MainGalleryList, 0));
    }
    for (const Text& name : main_gallery_names(library_root_))
        ui_.append_item(ControlId::MainGalleryList, name);
    select_stored();
    sub_galleries_.refresh();
    show_title();
}

void MainGalleryController::begin_create() {
    ui_.set_visible(ControlId::NewMainGalleryName, true);
    ui_.set_visible(ControlId::NewMainGalleryConfirm, true);
    ui_.focus(ControlId::NewMainGalleryName);
    ui_.set_visible(ControlId::MainGalleryLabel, false);
}

void MainGalleryController::hide_new_name() {
    ui_.set_visible(ControlId::NewMainGalleryName, false);
    ui_.set_visible(ControlId::NewMainGalleryConfirm, false);
    ui_.set_visible(ControlId::MainGalleryLabel, true);
}

void MainGalleryController::create() {
    hide_new_name();

    const Text name = ui_.text(ControlId::NewMainGalleryName);
    // A refused name stays in the box for the next try; nothing else changes.
    if (const std::optional<Text> refusal = new_main_gallery_name_refusal(name)) {
        show_notice(desktop_, *refusal);
        return;
    }
    if (!name.empty()) {
        ui_.append_item(ControlId::MainGalleryList, name);
        const int count = ui_.item_count(ControlId::MainGalleryList);
        ui_.set_selected_index(ControlId::MainGalleryList, count);
        // The count, one above the new entry's index: at the next start it
        // selects the last entry of the list.
        store_index(count);
        show_title();
    }
    select_first_when_none();
    create_folder(selected_main_gallery_name(ui_));
    ui_.set_text(ControlId::NewMainGalleryName, Text());
    sub_galleries_.refresh();
}

void MainGalleryController::choose() {
    select_first_when_none();
    store_index(ui_.selected_index(ControlId::MainGalleryList));
    show_title();
    sub_galleries_.refresh();
}

void MainGalleryController::show_selected(int index) {
    ui_.set_selected_index(ControlId::MainGalleryList, index);
}

void MainGalleryController::store_index(int index) {
    using namespace galmora::literals;
    if (!store_main_gallery_index(config_, index))
        show_notice(desktop_, setting_not_stored("主图库的选择"_t, config_.path(),
                                                 config_.rewrite_problem()));
}

void MainGalleryController::create_folder(const Text& name) {
    if (!create_main_gallery_folder(library_root_, name))
        show_notice(desktop_, folder_not_created(child_path(library_root_, name)));
}

void MainGalleryController::select_stored() {
    ui_.set_selected_index(ControlId::MainGalleryList, stored_main_gallery_index(config_));
}

void MainGalleryController::select_first_when_none() {
    if (ui_.selected_index(ControlId::MainGalleryList) < 0)
        ui_.set_selected_index(ControlId::MainGalleryList, 0);
}

void MainGalleryController::show_title() {
    ui_.set_text(ControlId::SiteTitle, selected_main_gallery_name(ui_));
}

}  // namespace galmora
