#include "library/sub_galleries.h"

#include "core/directory_scan.h"
#include "core/files.h"
#include "generator/main_page.h"
#include "generator/page_composer.h"
#include "library/library_paths.h"

namespace galmora {

namespace {

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

std::vector<Text> sub_gallery_folders(const Text& main_gallery) {
    std::vector<Text> folders;
    DirectoryScan scan;
    for (Text name = scan.find_first(main_gallery + "/*.*", kDirectory); !name.empty();
         name = scan.find_next()) {
        if (name != "." && name != ".." && !is_asset_folder(name)) folders.push_back(name);
    }
    return folders;
}

std::vector<Text> sub_gallery_names(const Text& library_root, const Text& main_gallery_name) {
    if (!is_bare_name(main_gallery_name)) return {};
    return sub_gallery_folders(child_path(library_root, main_gallery_name));
}

bool rebuild_main_page(const Text& library_root, const MainPageForm& form,
                       const GalleryConfig& config) {
    const Text main_gallery = child_path(library_root, form.main_gallery_name);
    if (!is_main_gallery_path(library_root, main_gallery)) return false;
    const GalleryConfig::Snapshot snapshot = config.snapshot();
    MainPageContent content;
    content.main_gallery_name = form.main_gallery_name;
    content.sub_gallery_folders = sub_gallery_folders(main_gallery);
    content.records = recorded_sub_galleries(snapshot);
    content.weblogo = snapshot.site_logo();
    content.title_link = form.title_link;
    content.introduction = form.introduction;
    content.lanterns = snapshot.lanterns_on();
    return PageComposer::write_page(main_gallery + "/index.html", compose_main_page(content));
}

}  // namespace galmora
