#include "generator/image_scanner.h"

#include <algorithm>
#include <array>
#include <deque>
#include <unordered_set>

#include "core/directory_scan.h"
#include "core/files.h"
#include "generator/page_blocks.h"
#include "generator/page_composer.h"

namespace galmora {

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

bool ImageScanner::is_picture_name(std::string_view name) {
    for (std::string_view suffix : kPictureSuffixes)
        if (name.ends_with(suffix)) return true;
    return false;
}

PageBlocks ImageScanner::scan_pictures(const Text& folder, const ScanSettings& settings) {
    PageBlocks blocks;
    Text source;
    auto prefix_of = [&](const Text& path) {
        return settings.network_mode ? settings.web_address : PageComposer::encode_source(path);
    };
    auto on_picture = [&](const Frame& frame, const Text& name) {
        source.assign(frame.source_prefix);
        append_source_name(source, name);
        add_picture_to_pages(blocks, source, settings.per_page);
    };
    walk_pictures(folder, prefix_of, on_picture);
    return blocks;
}

int ImageScanner::count_picture_files(const Text& folder) {
    int count = 0;
    walk_pictures(
        folder, [](const Text&) { return Text(); }, [&](const Frame&, const Text&) { ++count; });
    return count;
}

}  // namespace galmora
