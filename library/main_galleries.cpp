#include "library/main_galleries.h"

#include <algorithm>

#include "core/codepage.h"
#include "core/directory_scan.h"
#include "core/files.h"
#include "library/library_paths.h"
#include "library/library_texts.h"

namespace galmora {

using namespace galmora::literals;

MainGalleries::MainGalleries(LibraryContext context, SubGalleries& sub_galleries)
    : context_(std::move(context)), sub_galleries_(sub_galleries) {}

void MainGalleries::list_main_galleries() {
    DirectoryScan scan;
    const Text& default_name = library_texts::default_main_gallery();
    for (Text name = scan.find_first(context_.library_root + "/*.*", kDirectory); !name.empty();
         name = scan.find_next()) {
        if (name == "." || name == ".." || name == default_name) continue;
        context_.ui.append_item(ControlId::MainGalleryList, name);
    }
}

void MainGalleries::restore_main_gallery() {
    Controls& ui = context_.ui;
    select_stored_main_gallery();
    if (!entry_exists(selected_main_gallery_path())) {
        ui.set_selected_index(ControlId::MainGalleryList, 0);
        const Text first = ui.item_text(ControlId::MainGalleryList, 0);
        if (is_bare_name(first)) create_directory(child_path(context_.library_root, first));
    }
    list_main_galleries();
    select_stored_main_gallery();
    refresh_without_rebuild();
    context_.state.current_main_gallery = selected_main_gallery_path();
    ui.set_text(ControlId::SiteTitle, selected_text(ui, ControlId::MainGalleryList));
}

void MainGalleries::begin_create_main_gallery() {
    Controls& ui = context_.ui;
    ui.set_visible(ControlId::NewMainGalleryName, true);
    ui.set_visible(ControlId::NewMainGalleryConfirm, true);
    ui.focus(ControlId::NewMainGalleryName);
    ui.set_visible(ControlId::MainGalleryLabel, false);
}

void MainGalleries::create_main_gallery() {
    Controls& ui = context_.ui;
    ui.set_visible(ControlId::NewMainGalleryName, false);
    ui.set_visible(ControlId::NewMainGalleryConfirm, false);
    ui.set_visible(ControlId::MainGalleryLabel, true);

    const Text name = ui.text(ControlId::NewMainGalleryName);
    // A refused name stays in the box for the next try; nothing else changes.
    if (refuse_new_name(name)) return;
    if (!name.empty()) {
        ui.append_item(ControlId::MainGalleryList, name);
        const int count = ui.item_count(ControlId::MainGalleryList);
        ui.set_selected_index(ControlId::MainGalleryList, count);
        // The count, one above the new entry's index: at the next start it
        // selects the last entry of the list.
        context_.config.update([&](GalleryConfig::Edit& edit) { edit.set_selected_index(count); });
        ui.set_text(ControlId::SiteTitle, selected_text(ui, ControlId::MainGalleryList));
    }
    select_first_when_none();
    const Text path = selected_main_gallery_path();
    if (is_main_gallery_path(context_.library_root, path) && !entry_exists(path))
        create_directory(path);
    context_.state.current_main_gallery = path;
    ui.set_text(ControlId::NewMainGalleryName, Text());
    refresh_without_rebuild();
}

void MainGalleries::choose_main_gallery() {
    Controls& ui = context_.ui;
    select_first_when_none();
    const int index = ui.selected_index(ControlId::MainGalleryList);
    context_.config.update([&](GalleryConfig::Edit& edit) { edit.set_selected_index(index); });
    ui.set_text(ControlId::SiteTitle, selected_text(ui, ControlId::MainGalleryList));
    context_.state.current_main_gallery = selected_main_gallery_path();
    refresh_without_rebuild();
}

void MainGalleries::select_stored_main_gallery() {
    context_.ui.set_selected_index(ControlId::MainGalleryList,
                                   std::max(0, context_.config.snapshot().selected_index()));
}

void MainGalleries::select_first_when_none() {
    if (context_.ui.selected_index(ControlId::MainGalleryList) < 0)
        context_.ui.set_selected_index(ControlId::MainGalleryList, 0);
}

bool MainGalleries::refuse_new_name(const Text& name) {
    if (name.empty() || (is_bare_name(name) && !has_control_character(name))) return false;
    static const Text message = "主图库名称不能是“.”或“..”，也不能含有“/”或控制字符。"_t;
    show_notice(context_.desktop, message);
    return true;
}

Text MainGalleries::selected_main_gallery_path() const {
    return child_path(context_.library_root,
                      selected_text(context_.ui, ControlId::MainGalleryList));
}

void MainGalleries::refresh_without_rebuild() {
    context_.state.rebuild_flag = false;
    sub_galleries_.refresh_sub_gallery_list();
}

}  // namespace galmora
