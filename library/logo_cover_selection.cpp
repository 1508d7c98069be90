#include "library/logo_cover_selection.h"

#include "core/codepage.h"
#include "core/files.h"
#include "generator/image_scanner.h"
#include "library/library_paths.h"

namespace galmora {

using namespace galmora::literals;

namespace {

// The last three bytes of the path, whatever they are: "x.jpeg" gives "peg".
Text extension_of(const Text& path) {
    return right_text(path, 3);
}

}  // namespace

LogoCoverSelection::LogoCoverSelection(const GalleryConfig& config, Text library_root)
    : config_(config), library_root_(std::move(library_root)) {}

void LogoCoverSelection::draw_suffixes() {
    cover_suffix_ = random_suffix();
    logo_suffix_ = random_suffix();
}

void LogoCoverSelection::end_choices() {
    chosen_logo_.clear();
    chosen_cover_.clear();
}

PictureTaking LogoCoverSelection::take_logo(const Text& main_gallery, const Text& source) {
    const Text img_folder = img_folder_of(main_gallery);
    if (img_folder.empty()) return {};
    const Text name = "logo" + logo_suffix_ + "." + extension_of(source);
    // The logo in use stays until its successor is in place.
    PictureTaking taking{false, copy_notice(source, img_folder, name)};
    if (!taking.notice.empty()) return taking;
    const bool previous_gone = delete_previous_logo(img_folder, source, name);
    taking.taken = true;
    chosen_logo_ = name;
    logo_suffix_ = random_suffix();
    if (!config_.update([&](GalleryConfig::Edit& edit) { edit.set_site_logo(name); }))
        taking.notice = "站点Logo已复制，但未能记录到配置文件“"_t + config_.path() + "”。"_t;
    else if (!previous_gone)
        taking.notice = "站点Logo已更换，但原来的Logo文件未能删除。"_t;
    return taking;
}

PictureTaking LogoCoverSelection::take_cover(const Text& main_gallery, const Text& source) {
    const Text img_folder = img_folder_of(main_gallery);
    if (img_folder.empty()) return {};
    const Text name = "fm" + cover_suffix_ + "." + extension_of(source);
    PictureTaking taking{false, copy_notice(source, img_folder, name)};
    if (!taking.notice.empty()) return taking;
    taking.taken = true;
    chosen_cover_ = name;
    return taking;
}

Text LogoCoverSelection::img_folder_of(const Text& main_gallery) const {
    if (!is_main_gallery_path(library_root_, main_gallery)) return Text();
    return main_gallery + "/img";
}

Text LogoCoverSelection::copy_notice(const Text& source, const Text& img_folder,
                                     const Text& name) const {
    const Text target = child_path(img_folder, name);
    if (!entry_exists(img_folder) && !create_directory(img_folder))
        return "目录“"_t + img_folder + "”无法创建，图片未能复制。"_t;
    if (!copy_file(source, target))
        return "图片“"_t + source + "”未能复制为“"_t + target +
               "”，请检查主图库目录是否可写、磁盘空间是否充足。"_t;
    return Text();
}

// The logo in use makes way for the new one. A damaged weblogo that is not
// a bare name never leads the deletion out of img, and a previous logo that
// is itself the chosen file is kept so that it can still be copied.
bool LogoCoverSelection::delete_previous_logo(const Text& img_folder, const Text& source,
                                              const Text& successor) const {
    const Text previous = config_.snapshot().site_logo();
    if (!is_bare_name(previous) || previous == successor) return true;
    const Text path = child_path(img_folder, previous);
    const auto previous_identity = file_identity(path);
    if (!previous_identity || previous_identity == file_identity(source)) return true;
    return delete_file(path);
}

std::optional<Text> dropped_picture_refusal(const Text& dropped) {
    static const Text several = "请只拖放一个图片文件。"_t;
    static const Text missing = "拖放的不是一个存在的文件。"_t;
    static const Text not_picture =
        "拖放的文件不是支持的图片格式（jpg、jpeg、png、gif、bmp、webp）。"_t;
    const int attributes = file_attributes(dropped);
    if (dropped.find_first_of("\r\n") != Text::npos) return several;
    if (attributes == -1 || (attributes & kDirectory) || !(attributes & kArchive)) return missing;
    if (!ImageScanner::is_picture_name(dropped)) return not_picture;
    return std::nullopt;
}

}  // namespace galmora
