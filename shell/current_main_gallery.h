#pragma once
// The main gallery the window works on, derived here and nowhere else from
// the selection of the main-gallery list, and what is opened after a change
// to it.

#include "core/text.h"
#include "shell/controls.h"
#include "shell/desktop.h"

namespace galmora {

Text selected_main_gallery_name(const Controls& ui);
// library root + "/" + the selected name.
Text current_main_gallery(const Controls& ui, const Text& library_root);

// After a generation or a deletion: the main gallery's folder when
// OpenFolderAfter is ticked, then its main page when OpenPageAfter is.
void open_main_gallery_after_change(const Controls& ui, DesktopServices& desktop,
                                    const Text& library_root);
// The same with the boxes as they were read.
void open_after_change(DesktopServices& desktop, const Text& main_gallery, bool open_folder,
                       bool open_page);

}  // namespace galmora
