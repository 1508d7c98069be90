#include "generator/name_in_use.h"

#include "core/directory_scan.h"
#include "core/files.h"

namespace galmora {

std::optional<Text> other_main_gallery_holding(const Text& library_root,
                                               const Text& current_main_gallery,
                                               const Text& sub_gallery_name) {
    // A main gallery reached through a link to the current one is the same.
    const auto current = file_identity(library_root + "/" + current_main_gallery);
    DirectoryScan scan;
    for (Text main = scan.find_first(library_root + "/*.*", kDirectory); !main.empty();
         main = scan.find_next()) {
        if (main == "." || main == ".." || main == current_main_gallery) continue;
        const Text main_path = library_root + "/" + main;
        if (current && file_identity(main_path) == current) continue;
        const int attributes = file_attributes(main_path + "/" + sub_gallery_name);
        if (attributes != -1 && (attributes & kDirectory)) return main;
    }
    return std::nullopt;
}

}  // namespace galmora
