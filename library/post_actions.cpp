#include "library/post_actions.h"

namespace galmora {

void open_main_gallery_after_change(const LibraryContext& context) {
    const Text& main_gallery = context.state.current_main_gallery;
    if (context.ui.checked(ControlId::OpenFolderAfter)) context.desktop.shell_open(main_gallery);
    if (context.ui.checked(ControlId::OpenPageAfter))
        context.desktop.open_web_page(main_gallery + "/index.html");
}

}  // namespace galmora
