#include "library/sub_gallery_deletion.h"

#include "core/codepage.h"
#include "core/files.h"
#include "library/deletion_check.h"
#include "library/library_paths.h"
#include "library/library_texts.h"
#include "library/post_actions.h"

namespace galmora {

using namespace galmora::literals;

namespace {

// The progress texts, each replacing the one before.
const Text& announced() {
    static const Text text = "即将删除被选择的子图库所有相关数据...\r\n"_t;
    return text;
}
const Text& clearing_data() {
    static const Text text =
        "即将删除被选择的子图库所有相关数据...\r\n\r\n清除被选择子图库的相关数据...\r\n"_t;
    return text;
}
const Text& clearing_records() {
    static const Text text =
        "即将删除被选择的子图库所有相关数据...\r\n\r\n清除被选择子图库的相关记录...\r\n\r\n"_t;
    return text;
}
const Text& deleting_folder() {
    static const Text text =
        "即将删除被选择的子图库所有相关数据...\r\n\r\n清除被选择子图库的相关记录...\r\n\r\n"
        "删除被选择子图库的目录...\r\n\r\n"_t;
    return text;
}
// The final text up to its last line.
const Text& final_steps() {
    static const Text text =
        "即将删除被选择的子图库所有相关数据...\r\n\r\n清除被选择子图库的相关记录...\r\n\r\n"
        "删除被选择子图库的封面与目录...\r\n\r\n刷新子图库列表...\r\n\r\n更新数据...\r\n\r\n"_t;
    return text;
}

// A folder of the selected main gallery that may be deleted: one entry of
// it, and never one of its asset folders.
bool is_deletable_sub_gallery(const Text& name) {
    return is_bare_name(name) && !is_asset_folder(name) &&
           name != library_texts::sub_gallery_prompt();
}

}  // namespace

SubGalleryDeletion::SubGalleryDeletion(LibraryContext context, SubGalleries& sub_galleries)
    : context_(std::move(context)), sub_galleries_(sub_galleries) {}

void SubGalleryDeletion::delete_sub_gallery() {
    Controls& ui = context_.ui;
    context_.state.rebuild_flag = true;
    const int index = ui.selected_index(ControlId::SubGalleryList);
    const Text name = ui.item_text(ControlId::SubGalleryList, index);
    const Text main_name = selected_text(ui, ControlId::MainGalleryList);
    if (index <= 0 || !is_deletable_sub_gallery(name) || !is_bare_name(main_name)) return;
    const Text main_gallery = child_path(context_.library_root, main_name);

    show(Text());
    show(announced());
    if (!confirm(name)) return;
    // One reading serves the search and the cover name: nothing writes the
    // file between them.
    const GalleryConfig::Snapshot snapshot = context_.config.snapshot();
    const std::optional<int> slot = snapshot.find_record(name);
    const Text cover =
        slot ? cover_to_delete(main_gallery, snapshot.read_record(*slot).pimg) : Text();
    // remove_tree never follows a symbolic link: a linked sub-gallery loses
    // the link, never what it points to.
    const Text folder = child_path(main_gallery, name);
    // All or nothing: what cannot go is found before anything goes.
    if (const std::optional<Text> refusal = deletion_refusal(folder, cover, context_.config)) {
        show(final_steps() + *refusal);
        return;
    }
    show(clearing_data());
    if (!cover.empty()) delete_file(cover);
    // The record blanked and the rest moved up in one replacement of
    // config.ini, before the folder goes: a kill in between leaves a folder
    // without a record, which can be deleted again. A folder made by hand
    // has no record and keeps every other record.
    context_.config.update([&](GalleryConfig::Edit& edit) {
        if (slot) edit.blank_record(*slot);
        edit.compact();
    });
    show(clearing_records());
    remove_tree(folder);
    const bool folder_gone = !entry_exists(folder);
    show(deleting_folder());
    sub_galleries_.refresh_sub_gallery_list();
    open_main_gallery_after_change(context_);

    static const Text done = "完成删除^^!"_t;
    static const Text not_deleted = "子图库目录未能删除，请检查文件权限或是否有文件正在使用。"_t;
    show(final_steps() + (folder_gone ? done : not_deleted));
}

bool SubGalleryDeletion::confirm(const Text& name) {
    static const Text before = "确认删除【"_t;
    static const Text after = "】子图库吗？\r\n此操作不可恢复"_t;
    return ask_to_confirm(context_.desktop, before + name + after) == kResultOk;
}

Text SubGalleryDeletion::cover_to_delete(const Text& main_gallery, const Text& pimg) {
    // "fm.jpg" is the cover every sub-gallery without its own shares.
    if (pimg == "fm.jpg" || !is_bare_name(pimg)) return Text();
    const Text cover = child_path(main_gallery + "/img", pimg);
    const int attributes = file_attributes(cover);
    if (attributes == -1 || (attributes & kDirectory) || !(attributes & kArchive)) return Text();
    return cover;
}

void SubGalleryDeletion::show(const Text& panel_text) {
    context_.ui.set_text(ControlId::InformationPanel, panel_text);
}

}  // namespace galmora
