#include "shell/current_main_gallery.h"

#include "library/library_paths.h"

namespace galmora {

Text selected_main_gallery_name(const Controls& ui) {
    return selected_text(ui, ControlId::MainGalleryList);
}

Text current_main_gallery(const Controls& ui, const Text& library_root) {
    return child_path(library_root, selected_main_gallery_name(ui));
}

void open_main_gallery_after_change(const Controls& ui, DesktopServices& desktop,
                                    const Text& library_root) {
    open_after_change(desktop, current_main_gallery(ui, library_root),
                      ui.checked(ControlId::OpenFolderAfter), ui.checked(ControlId::OpenPageAfter));
}

void open_after_change(DesktopServices& desktop, const Text& main_gallery, bool open_folder,
                       bool open_page) {
    if (open_folder) desktop.shell_open(main_gallery);
    if (open_page) desktop.open_web_page(main_gallery + "/index.html");
}

}  // namespace galmora
