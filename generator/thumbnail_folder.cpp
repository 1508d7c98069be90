#include "generator/thumbnail_folder.h"

#include <algorithm>

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
    const bool whole =
        has_prefix(ends->head, "\xFF\xD8\xFF")
            ? has_prefix(ends->tail, "\xFF\xD9")
            : has_prefix(ends->head, "RIFF") && has_prefix(ends->head, "WEBP", 8) &&
                  std::int64_t(little_endian32(ends->head, 4)) + 8 == ends->stamp.size;
    if (!whole) return std::nullopt;
    return ends->stamp.size;
}

PictureThumbnail picture_files(const Text& thumbnail_name, std::vector<PictureSize> copies,
                               bool stands_for_original) {
    const std::optional<ThumbnailName> parsed = parse_thumbnail_file_name(thumbnail_name);
    return {thumbnail_name, parsed ? parsed->width : 0, std::move(copies), stands_for_original};
}

ThumbnailFolder::ThumbnailFolder(Text folder) : path_(std::move(folder)), folder_(path_) {
    for (Text& name : folder_.file_names()) {
        if (const auto parsed = parse_thumbnail_file_name(name))
            by_key_[parsed->key].push_back(
                {std::move(name), {parsed->width, parsed->height}, parsed->files_bytes});
    }
    for (auto& [key, found] : by_key_)
        std::sort(found.begin(), found.end(),
                  [](const Found& a, const Found& b) { return a.size.width < b.size.width; });
}

// A thumbnail written since the system started has not been through a power
// cut, nor have the copies written just before it (a program killed while
// writing leaves only its temporary file): its look-up is enough, and the
// bytes its name records are theirs. Older ones are each read at their
// ends and must add up to those bytes.
std::optional<std::int64_t> ThumbnailFolder::whole_bytes(const std::vector<Found>& files) const {
    const Found& thumbnail = files.front();
    const std::optional<FileStamp> stamp = folder_.stamp(thumbnail.name);
    if (!stamp || stamp->size <= 0) return std::nullopt;
    const std::int64_t started = system_start_ns();
    if (started > 0 && stamp->modified_ns >= started && thumbnail.files_bytes > 0)
        return thumbnail.files_bytes;
    std::int64_t bytes = 0;
    for (const Found& file : files) {
        const std::optional<std::int64_t> size = whole_picture_file_size(path_ + "/" + file.name);
        if (!size) return std::nullopt;
        bytes += *size;
    }
    if (thumbnail.files_bytes > 0 && bytes != thumbnail.files_bytes) return std::nullopt;
    return bytes;
}

std::optional<ThumbnailFolder::Files> ThumbnailFolder::reusable(const Text& key,
                                                                bool stands_for_original) const {
    const auto found = by_key_.find(key);
    if (found == by_key_.end()) return std::nullopt;
    const std::optional<std::int64_t> bytes = whole_bytes(found->second);
    if (!bytes) return std::nullopt;
    std::vector<PictureSize> copies;
    for (auto copy = found->second.begin() + 1; copy != found->second.end(); ++copy)
        copies.push_back(copy->size);
    return Files{picture_files(found->second.front().name, std::move(copies), stands_for_original),
                 *bytes};
}

std::optional<ThumbnailFolder::Files> ThumbnailFolder::write(
    const Text& key, const std::vector<Rendition>& renditions, bool stands_for_original) const {
    if (renditions.empty()) return std::nullopt;
    std::int64_t bytes = 0;
    for (const Rendition& rendition : renditions) bytes += std::int64_t(rendition.bytes.size());
    const Text stem = picture_file_stem(key, bytes);
    std::vector<PictureSize> copies;
    for (auto copy = renditions.rbegin(); copy != renditions.rend(); ++copy) {
        const Text name = thumbnail_file_name(stem, copy->width, copy->height, copy->extension);
        if (!replace_file_atomically(path_ + "/" + name, copy->bytes, Flush::No))
            return std::nullopt;
        if (copy + 1 != renditions.rend())
            copies.insert(copies.begin(), {copy->width, copy->height});
    }
    const Rendition& thumbnail = renditions.front();
    return Files{picture_files(thumbnail_file_name(stem, thumbnail.width, thumbnail.height,
                                                   thumbnail.extension),
                               std::move(copies), stands_for_original),
                 bytes};
}

}  // namespace galmora
