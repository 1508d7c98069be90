#include "shell/sub_gallery_list.h"

#include "library/sub_galleries.h"
#include "shell/current_main_gallery.h"
#include "shell/library_captions.h"

namespace galmora {

SubGalleryList::SubGalleryList(Controls& ui, const GalleryConfig& config, Text library_root)
    : ui_(ui), config_(config), library_root_(std::move(library_root)) {}

void SubGalleryList::refresh() {
    const Text& prompt = library_captions::sub_gallery_prompt();
    ui_.clear_items(ControlId::SubGalleryList);
    ui_.append_item(ControlId::SubGalleryList, prompt);
    ui_.set_selected_index(ControlId::SubGalleryList, 0);
    for (const Text& name : sub_gallery_names(library_root_, selected_main_gallery_name(ui_)))
        if (name != prompt) ui_.append_item(ControlId::SubGalleryList, name);
}

bool SubGalleryList::rebuild_main_page() {
    return galmora::rebuild_main_page(
        library_root_,
        {selected_main_gallery_name(ui_), ui_.text(ControlId::SiteTitleLink),
         ui_.text(ControlId::SiteIntroduction)},
        config_);
}

}  // namespace galmora
