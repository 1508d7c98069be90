#include "library/post_actions.h"

#include "library/library_controls.h"

namespace galmora {

void open_main_gallery_after_change(const LibraryContext& context) {
    const Text& main_gallery = context.state.current_main_gallery;
    if (context.ui.checked(library_controls::kOpenFolderAfter))
        context.desktop.shell_open(main_gallery);
    if (context.ui.checked(library_controls::kOpenPageAfter))
        context.desktop.open_web_page(main_gallery + "/index.html");
}

}  // namespace galmora
