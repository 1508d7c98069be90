#include "generator/image_scanner.h"

#include <algorithm>
#include <array>
#include <deque>
#include <unordered_set>

#include "core/directory_scan.h"
#include "core/files.h"
#include "generator/page_composer.h"

namespace galmora {

namespace {

constexpr std::array<std::string_view, 18> kPictureSuffixes = {
    "jpg", "png",  "gif",  "bmp", "jpeg", "webp", "JPG", "PNG",  "GIF",
    "BMP", "JPEG", "WEBP", "Jpg", "Png",  "Gif",  "Bmp", "Jpeg", "Webp"};

constexpr std::array<std::string_view, 9> kPhoneSuffixes = {"heic", "heif", "avif", "HEIC", "HEIF",
                                                            "AVIF", "Heic", "Heif", "Avif"};

struct IdentityHash {
    std::size_t operator()(const FileIdentity& id) const noexcept {
        return std::hash<unsigned long long>()(id.inode * 0x9E3779B97F4A7C15ull ^ id.device);
    }
};

// One open folder of the walk, with its listing in progress.
struct Frame {
    Frame(Text path, std::uint32_t listed) : folder(std::move(path)), listed_as(listed) {}

    // The next entry's name, or the empty text at the end.
    Text next_name() {
        if (started) return listing.find_next();
        started = true;
        return listing.find_first(folder + "*.*", kAllEntries);
    }

    DirectoryScan listing;
    bool started = false;
    Text folder;              // ends with "/"
    std::uint32_t listed_as;  // what folder_entered gave for it
};

// Depth-first walk without recursion, so neither a deep tree nor a link loop
// can exhaust the stack; a folder reached twice (through a link) is skipped.
// Each plain subfolder is walked where it is met. folder_entered(folder) is
// told of each folder walked; on_picture(frame, name) handles one picture.
template <typename FolderEntered, typename OnPicture>
void walk_pictures(const Text& root, PictureFormats formats, FolderEntered&& folder_entered,
                   OnPicture&& on_picture) {
    std::deque<Frame> stack;  // a listing stays where it is while deeper ones open
    std::unordered_set<FileIdentity, IdentityHash> seen;
    auto enter = [&](Text folder) {
        if (folder.empty()) return;
        if (folder.back() != '/') folder += '/';
        auto identity = file_identity(folder);
        if (!identity || !seen.insert(*identity).second) return;
        const std::uint32_t listed = folder_entered(folder);
        stack.emplace_back(std::move(folder), listed);
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
        else if (ImageScanner::is_picture_name(name, formats))
            on_picture(frame, name);
    }
}

}  // namespace

bool ImageScanner::is_picture_name(std::string_view name, PictureFormats formats) {
    const auto ends_with_one_of = [name](const auto& suffixes) {
        return std::any_of(suffixes.begin(), suffixes.end(),
                           [name](std::string_view suffix) { return name.ends_with(suffix); });
    };
    return ends_with_one_of(kPictureSuffixes) ||
           (formats == PictureFormats::WebAndPhone && ends_with_one_of(kPhoneSuffixes));
}

PictureList ImageScanner::scan_pictures(const Text& folder, const PictureAddressing& addressing,
                                        PictureFormats formats) {
    PictureList pictures;
    auto folder_entered = [&](const Text& path) {
        return pictures.add_folder(path, addressing.network_mode
                                             ? addressing.web_address
                                             : PageComposer::encode_source(path));
    };
    auto on_picture = [&](const Frame& frame, const Text& name) {
        pictures.add_picture(frame.listed_as, name);
    };
    walk_pictures(folder, formats, folder_entered, on_picture);
    return pictures;
}

int ImageScanner::count_picture_files(const Text& folder, PictureFormats formats) {
    int count = 0;
    walk_pictures(
        folder, formats, [](const Text&) { return std::uint32_t(0); },
        [&](const Frame&, const Text&) { ++count; });
    return count;
}

}  // namespace galmora
