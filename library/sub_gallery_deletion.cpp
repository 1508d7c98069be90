#include "library/sub_gallery_deletion.h"

#include "core/codepage.h"
#include "core/files.h"
#include "library/deletion_check.h"
#include "library/library_paths.h"
#include "library/thumbnail_store.h"

namespace galmora {

using namespace galmora::literals;

namespace {

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

// Whether a record other than the one in slot names the cover pimg: the
// sub-galleries of one folder share the cover made from its first picture.
bool cover_named_elsewhere(const GalleryConfig::Snapshot& snapshot, int slot, const Text& pimg) {
    for (int other : snapshot.slots_present())
        if (other != slot && snapshot.read_value("P" + to_text(other), "pimg") == pimg) return true;
    return false;
}

// The record's own cover file in the main gallery's img folder, or the
// empty text when there is none to delete.
Text cover_to_delete(const Text& main_gallery, const GalleryConfig::Snapshot& snapshot, int slot) {
    const Text pimg = snapshot.read_record(slot).pimg;
    // "fm.jpg" is the cover every sub-gallery without its own shares.
    if (pimg == "fm.jpg" || !is_bare_name(pimg) || cover_named_elsewhere(snapshot, slot, pimg))
        return Text();
    const Text cover = child_path(main_gallery + "/img", pimg);
    const int attributes = file_attributes(cover);
    if (attributes == -1 || (attributes & kDirectory) || !(attributes & kArchive)) return Text();
    return cover;
}

}  // namespace

bool is_deletable_sub_gallery(const Text& name) {
    return is_bare_name(name) && !is_asset_folder(name);
}

const Text& deletion_announcement() {
    static const Text text = "即将删除被选择的子图库所有相关数据...\r\n"_t;
    return text;
}

Text deletion_confirmation(const Text& name) {
    static const Text before = "确认删除【"_t;
    static const Text after = "】子图库吗？\r\n此操作不可恢复"_t;
    return before + name + after;
}

Text deletion_result(const DeletionOutcome& outcome) {
    static const Text done = "完成删除^^!"_t;
    static const Text not_deleted = "子图库目录未能删除，请检查文件权限或是否有文件正在使用。"_t;
    static const Text cover_head = "\r\n子图库封面“"_t, cover_tail = "”未能删除。"_t;
    Text result = final_steps() + (outcome.folder_gone ? done : not_deleted);
    if (!outcome.cover_left.empty()) result += cover_head + outcome.cover_left + cover_tail;
    if (outcome.thumbnails_left > 0)
        result += "\r\n"_t + to_text(outcome.thumbnails_left) + " 张缩略图未能删除。"_t;
    if (!outcome.unread_page.empty())
        result += "\r\n缩略图未清理：无法读取页面“"_t + outcome.unread_page + "”。"_t;
    return result;
}

std::optional<DeletionOutcome> delete_sub_gallery(
    const GalleryConfig& config, const Text& main_gallery, const Text& name,
    const std::function<void(const Text&)>& progress) {
    static const Text config_refusal = "未删除任何数据：无法写入配置文件“"_t;
    // One reading serves the search and the cover name: nothing writes the
    // file between them.
    const GalleryConfig::Snapshot snapshot = config.snapshot();
    const std::optional<int> slot = snapshot.find_record(name);
    const Text cover = slot ? cover_to_delete(main_gallery, snapshot, *slot) : Text();
    // remove_tree never follows a symbolic link: a linked sub-gallery loses
    // the link, never what it points to.
    const Text folder = child_path(main_gallery, name);
    const ThumbnailSweep sweep = sweep_thumbnails(main_gallery, name);
    const std::vector<Text>& thumbnails = sweep.unnamed;
    // All or nothing: what cannot go is found before anything goes.
    if (const std::optional<Text> refusal = deletion_refusal(folder, cover, thumbnails, config)) {
        progress(final_steps() + *refusal);
        return std::nullopt;
    }
    progress(clearing_data());
    // The record blanked and the rest moved up in one replacement of
    // config.ini, before the cover and the folder go: a config.ini that
    // fails after all still leaves everything in place, and a kill in
    // between leaves a folder without a record, which can be deleted again.
    // A folder made by hand has no record and keeps every other record.
    const bool recorded = config.update([&](GalleryConfig::Edit& edit) {
        if (slot) edit.blank_record(*slot);
        edit.compact();
    });
    if (!recorded) {
        progress(final_steps() + config_refusal + config.path() + "”。"_t);
        return std::nullopt;
    }
    DeletionOutcome outcome;
    outcome.unread_page = sweep.unreadable_page;
    if (!cover.empty() && !delete_file(cover)) outcome.cover_left = cover;
    progress(clearing_records());
    remove_tree(folder);
    outcome.folder_gone = !entry_exists(folder);
    // Only once the page that named them is gone.
    if (outcome.folder_gone)
        outcome.thumbnails_left =
            static_cast<int>(remove_thumbnails(main_gallery, thumbnails).size());
    progress(deleting_folder());
    return outcome;
}

}  // namespace galmora
