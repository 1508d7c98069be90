#pragma once
// Everything one generation reads, gathered in one place when 生成图片库 is
// pressed: the form, the remembered switches, the rating and the logo and
// cover that stand chosen. The steps of the generation receive parts of it;
// none of them reads the window or the switches again.

#include "core/text.h"
#include "generator/paging.h"
#include "generator/picture_list.h"
#include "library/gallery_config.h"
#include "library/generation_record.h"
#include "library/logo_cover_selection.h"
#include "library/sub_galleries.h"
#include "shell/controls.h"
#include "shell/shell_commands.h"

namespace galmora {

struct GenerationRequest {
    PagingForm paging;    // the texts the generate check judges
    Text picture_folder;  // to scan: a relative one lies in the library root
    PictureAddressing addressing;
    int per_page = 0;
    Text main_gallery;       // the main gallery's folder
    GeneratedEntry entry;    // what the record says; its picture count follows the scan
    MainPageForm main_page;  // the main gallery's name and the texts of its page
    bool keep_proportions = true;
    bool thumbnails = false;  // the remembered 缩略图 option
    bool open_folder_after = false;
    bool open_page_after = false;
};

// The folder a typed picture folder names: one without a leading "/" lies
// in the library root, whatever the process's current folder is.
Text picture_folder_path(const Text& typed, const Text& library_root);

GenerationRequest read_generation_request(const Controls& ui, const GalleryConfig::Snapshot& stored,
                                          const Rating& rating, const LogoCoverSelection& selection,
                                          const Text& library_root);

}  // namespace galmora
