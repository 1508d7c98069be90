#include "generator/image_scanner.h"

#include <algorithm>
#include <array>
#include <deque>
#include <unordered_set>

#include "core/codepage.h"
#include "core/directory_scan.h"
#include "core/files.h"
#include "generator/form_colours.h"
#include "generator/page_blocks.h"
#include "generator/page_composer.h"
#include "generator/paging.h"

namespace galmora {

using namespace galmora::literals;

namespace {

constexpr std::array<std::string_view, 18> kPictureSuffixes = {
    "jpg", "png",  "gif",  "bmp", "jpeg", "webp", "JPG", "PNG",  "GIF",
    "BMP", "JPEG", "WEBP", "Jpg", "Png",  "Gif",  "Bmp", "Jpeg", "Webp"};

struct IdentityHash {
    std::size_t operator()(const FileIdentity& id) const noexcept {
        return std::hash<unsigned long long>()(id.inode * 0x9E3779B97F4A7C15ull ^ id.device);
    }
};

// One open folder of the walk, with its listing in progress.
struct Frame {
    Frame(Text path, Text prefix) : folder(std::move(path)), source_prefix(std::move(prefix)) {}

    // The next entry's name, or the empty text at the end.
    Text next_name() {
        if (started) return listing.find_next();
        started = true;
        return listing.find_first(folder + "*.*", kAllEntries);
    }

    DirectoryScan listing;
    bool started = false;
    Text folder;  // ends with "/"
    Text source_prefix;
};

// Depth-first walk without recursion, so neither a deep tree nor a link loop
// can exhaust the stack; a folder reached twice (through a link) is skipped.
// Each plain subfolder is walked where it is met. prefix_of(folder) gives the
// source prefix of a folder's pictures; on_picture(frame, name) handles one.
template <typename PrefixOf, typename OnPicture>
void walk_pictures(const Text& root, PrefixOf&& prefix_of, OnPicture&& on_picture) {
    std::deque<Frame> stack;  // a listing stays where it is while deeper ones open
    std::unordered_set<FileIdentity, IdentityHash> seen;
    auto enter = [&](Text folder) {
        if (folder.empty()) return;
        if (folder.back() != '/') folder += '/';
        auto identity = file_identity(folder);
        if (!identity || !seen.insert(*identity).second) return;
        Text prefix = prefix_of(folder);
        stack.emplace_back(std::move(folder), std::move(prefix));
    };
    enter(root);
    while (!stack.empty()) {
        Frame& frame = stack.back();
        const Text name = frame.next_name();
        if (name.empty())
            stack.pop_back();
        else if (name == "." || name == "..")
            continue;
        else if (frame.listing.is_plain_folder())
            enter(frame.folder + name);  // frame is not used after this
        else if (ImageScanner::is_picture_name(name))
            on_picture(frame, name);
    }
}

// Only the bytes the page composer encodes make a name need encoding; the
// common case appends the name as it is.
bool may_need_encoding(std::string_view name) {
    return std::any_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == '"' || c == '#' || c == '?' ||
               c == '%' || c == '\\' || c == '&';
    });
}

void append_source_name(Text& source, std::string_view name) {
    if (may_need_encoding(name))
        source += PageComposer::encode_source(name);
    else
        source += name;
}

}  // namespace

ImageScanner::ImageScanner(Controls& ui, DesktopServices& desktop, GenerationState& state)
    : ui_(ui), desktop_(desktop), state_(state) {}

bool ImageScanner::is_picture_name(std::string_view name) {
    for (std::string_view suffix : kPictureSuffixes)
        if (name.ends_with(suffix)) return true;
    return false;
}

void ImageScanner::scan_pictures(const Text& folder, const ScanSettings& settings,
                                 GenerationState& state) {
    Text source;
    auto prefix_of = [&](const Text& path) {
        return settings.network_mode ? settings.web_address : PageComposer::encode_source(path);
    };
    auto on_picture = [&](const Frame& frame, const Text& name) {
        source.assign(frame.source_prefix);
        append_source_name(source, name);
        add_picture_to_pages(state, source, settings.per_page);
    };
    walk_pictures(folder, prefix_of, on_picture);
}

int ImageScanner::count_picture_files(const Text& folder) {
    int count = 0;
    walk_pictures(
        folder, [](const Text&) { return Text(); }, [&](const Frame&, const Text&) { ++count; });
    return count;
}

ScanSettings ImageScanner::read_settings(const Controls& ui) {
    ScanSettings settings;
    settings.network_mode = ui.selected_index(ControlId::ModeList) == 1;
    settings.web_address = ui.text(ControlId::SiteAddress);
    settings.per_page = to_integer(ui.text(ControlId::PerPage));
    return settings;
}

void ImageScanner::count_pictures_from_browser() {
    static const Text kTitle = "选择图片所在位置："_t;
    empty_paging_fields();
    ui_.set_text(ControlId::PictureFolder, desktop_.choose_folder(kTitle));
    count_folder_field();
}

void ImageScanner::count_pictures_from_drop(const Text& dropped) {
    ui_.set_text(ControlId::PictureFolder, dropped);
    empty_paging_fields();
    count_folder_field();
}

// Emptying the paging fields raises their handlers, which recompute each
// other from an earlier total: 单页数量 may end up "0" and 页总数 empty.
void ImageScanner::empty_paging_fields() {
    state_.picture_count = 0;
    ui_.set_text(ControlId::PerPage, Text());
    ui_.set_text(ControlId::PageCount, Text());
}

void ImageScanner::count_folder_field() {
    const Text folder = ui_.text(ControlId::PictureFolder);
    if (folder.empty()) return;
    state_.picture_count = count_picture_files(folder);
    ui_.set_text(ControlId::PictureTotal, to_text(state_.picture_count));
    ui_.set_background_colour(ControlId::PictureTotal, is_over_picture_limit(state_.picture_count)
                                                           ? kAlertFieldColour
                                                           : kNormalFieldColour);
}

}  // namespace galmora
