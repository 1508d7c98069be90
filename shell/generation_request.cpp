#include "shell/generation_request.h"

#include "library/library_paths.h"
#include "shell/current_main_gallery.h"

namespace galmora {

Text picture_folder_path(const Text& typed, const Text& library_root) {
    if (typed.empty() || typed.front() == '/') return typed;
    return child_path(library_root, typed);
}

GenerationRequest read_generation_request(const Controls& ui, const GalleryConfig::Snapshot& stored,
                                          const Rating& rating, const LogoCoverSelection& selection,
                                          const Text& library_root) {
    GenerationRequest request;
    request.paging = {ui.text(ControlId::PictureFolder), ui.text(ControlId::PictureTotal),
                      ui.text(ControlId::PerPage), ui.text(ControlId::PageCount)};
    request.picture_folder = picture_folder_path(request.paging.picture_folder, library_root);
    request.addressing = {ui.selected_index(ControlId::ModeList) == 1,
                          ui.text(ControlId::SiteAddress)};
    request.per_page = to_integer(request.paging.per_page);
    request.main_gallery = current_main_gallery(ui, library_root);

    GeneratedEntry& entry = request.entry;
    entry.sub_gallery_name = ui.text(ControlId::SubGalleryName);
    entry.quality_label = rating.quality;
    entry.star_string = rating.stars;
    entry.chosen_logo = selection.chosen_logo();
    entry.chosen_cover = selection.chosen_cover();
    entry.main_gallery_index = ui.selected_index(ControlId::MainGalleryList);

    request.main_page = {selected_main_gallery_name(ui), ui.text(ControlId::SiteTitleLink),
                         ui.text(ControlId::SiteIntroduction)};
    request.keep_proportions = stored.keep_proportions();
    request.thumbnails = stored.thumbnails_on();
    request.open_folder_after = ui.checked(ControlId::OpenFolderAfter);
    request.open_page_after = ui.checked(ControlId::OpenPageAfter);
    return request;
}

}  // namespace galmora
