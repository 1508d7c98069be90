#include "generator/thumbnail_folder.h"

#include <algorithm>

#include "core/directory_scan.h"
#include "core/files.h"

namespace galmora {

namespace {

bool has_prefix(ByteView bytes, std::string_view prefix, std::size_t at = 0) {
    return bytes.size() >= at + prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), bytes.begin() + at,
                      [](char c, std::uint8_t b) { return static_cast<std::uint8_t>(c) == b; });
}

std::uint32_t little_endian32(ByteView bytes, std::size_t at) {
    return std::uint32_t(bytes[at]) | std::uint32_t(bytes[at + 1]) << 8 |
           std::uint32_t(bytes[at + 2]) << 16 | std::uint32_t(bytes[at + 3]) << 24;
}

}  // namespace

std::optional<std::int64_t> whole_picture_file_size(const Text& path) {
    constexpr std::size_t kHead = 12;
    const std::optional<FileEnds> ends = read_file_ends(path, kHead, 2);
    if (!ends || ends->head.size() < kHead) return std::nullopt;
    const bool whole = has_prefix(ends->head, "\xFF\xD8\xFF")
                           ? has_prefix(ends->tail, "\xFF\xD9")
                           : has_prefix(ends->head, "RIFF") && has_prefix(ends->head, "WEBP", 8) &&
                                 std::int64_t(little_endian32(ends->head, 4)) + 8 == ends->size;
    if (!whole) return std::nullopt;
    return ends->size;
}

PictureThumbnail picture_files(const Text& thumbnail_name, std::vector<PictureSize> copies,
                               bool stands_for_original) {
    const std::optional<ThumbnailName> parsed = parse_thumbnail_file_name(thumbnail_name);
    return {thumbnail_name, parsed ? parsed->width : 0, std::move(copies), stands_for_original};
}

ThumbnailFolder::ThumbnailFolder(Text folder) : folder_(std::move(folder)) {
    DirectoryScan scan;
    for (Text name = scan.find_first(folder_ + "/*.*", kArchive); !name.empty();
         name = scan.find_next()) {
        if (const auto parsed = parse_thumbnail_file_name(name))
            by_key_[parsed->key].push_back({name, {parsed->width, parsed->height}});
    }
    for (auto& [key, found] : by_key_)
        std::sort(found.begin(), found.end(),
                  [](const Found& a, const Found& b) { return a.size.width < b.size.width; });
}

std::optional<ThumbnailFolder::Files> ThumbnailFolder::reusable(const Text& key,
                                                                bool stands_for_original) const {
    const auto found = by_key_.find(key);
    if (found == by_key_.end()) return std::nullopt;
    std::vector<PictureSize> copies;
    std::int64_t bytes = 0;
    for (const Found& file : found->second) {
        const std::optional<std::int64_t> size = whole_picture_file_size(folder_ + "/" + file.name);
        if (!size) return std::nullopt;
        bytes += *size;
        if (&file != &found->second.front()) copies.push_back(file.size);
    }
    return Files{picture_files(found->second.front().name, std::move(copies), stands_for_original),
                 bytes};
}

std::optional<ThumbnailFolder::Files> ThumbnailFolder::write(
    const Text& key, const std::vector<Rendition>& renditions, bool stands_for_original) const {
    if (renditions.empty()) return std::nullopt;
    std::vector<PictureSize> copies;
    std::int64_t bytes = 0;
    for (auto copy = renditions.rbegin(); copy != renditions.rend(); ++copy) {
        const Text name = thumbnail_file_name(key, copy->width, copy->height, copy->extension);
        if (!replace_file_atomically(folder_ + "/" + name, copy->bytes, Flush::No))
            return std::nullopt;
        bytes += std::int64_t(copy->bytes.size());
        if (copy + 1 != renditions.rend())
            copies.insert(copies.begin(), {copy->width, copy->height});
    }
    const Rendition& thumbnail = renditions.front();
    return Files{picture_files(thumbnail_file_name(key, thumbnail.width, thumbnail.height,
                                                   thumbnail.extension),
                               std::move(copies), stands_for_original),
                 bytes};
}

}  // namespace galmora
