#include "library/sub_galleries.h"

#include <vector>

#include "core/directory_scan.h"
#include "core/files.h"
#include "generator/main_page.h"
#include "generator/page_composer.h"
#include "library/library_paths.h"
#include "library/library_texts.h"

namespace galmora {

namespace {

// The folders of a main gallery that are sub-galleries, in listing order:
// every folder but the site's own asset folders.
std::vector<Text> sub_gallery_folders(const Text& main_gallery) {
    std::vector<Text> folders;
    DirectoryScan scan;
    for (Text name = scan.find_first(main_gallery + "/*.*", kDirectory); !name.empty();
         name = scan.find_next()) {
        if (name != "." && name != ".." && !is_asset_folder(name)) folders.push_back(name);
    }
    return folders;
}

std::vector<MainPageRecord> recorded_sub_galleries(const GalleryConfig::Snapshot& snapshot) {
    std::vector<MainPageRecord> records;
    for (int slot : snapshot.slots_present()) {
        SubGalleryRecord record = snapshot.read_record(slot);
        records.push_back({std::move(record.pname), std::move(record.pimg), std::move(record.pnum),
                           std::move(record.phd), std::move(record.pstar)});
    }
    return records;
}

}  // namespace

SubGalleries::SubGalleries(LibraryContext context) : context_(std::move(context)) {}

void SubGalleries::refresh_sub_gallery_list() {
    Controls& ui = context_.ui;
    const Text& prompt = library_texts::sub_gallery_prompt();
    ui.clear_items(ControlId::SubGalleryList);
    ui.append_item(ControlId::SubGalleryList, prompt);
    ui.set_selected_index(ControlId::SubGalleryList, 0);

    // With no main gallery selected there is nothing to list: the library
    // root's own folders are main galleries, never sub-galleries.
    const Text main_name = selected_text(ui, ControlId::MainGalleryList);
    if (is_bare_name(main_name)) {
        for (const Text& name : sub_gallery_folders(child_path(context_.library_root, main_name)))
            if (name != prompt) ui.append_item(ControlId::SubGalleryList, name);
    }
    if (context_.state.rebuild_flag) rebuild_main_page();
}

void SubGalleries::rebuild_main_page() {
    const Text& main_gallery = context_.state.current_main_gallery;
    if (is_main_gallery_path(context_.library_root, main_gallery)) write_main_page(main_gallery);
    // The rebuild ends every logo and cover choice; only the captions change.
    context_.ui.set_text(ControlId::CoverBox, library_texts::default_cover());
    context_.ui.set_text(ControlId::LogoBox, library_texts::default_logo());
}

void SubGalleries::write_main_page(const Text& main_gallery) {
    const GalleryConfig::Snapshot snapshot = context_.config.snapshot();
    MainPageContent content;
    content.main_gallery_name = selected_text(context_.ui, ControlId::MainGalleryList);
    content.sub_gallery_folders = sub_gallery_folders(main_gallery);
    content.records = recorded_sub_galleries(snapshot);
    content.weblogo = snapshot.site_logo();
    content.title_link = context_.ui.text(ControlId::SiteTitleLink);
    content.introduction = context_.ui.text(ControlId::SiteIntroduction);
    content.lanterns = snapshot.lanterns_on();
    PageComposer::write_page(main_gallery + "/index.html", compose_main_page(content));
}

}  // namespace galmora
