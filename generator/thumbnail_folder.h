#pragma once
// A main gallery's thumbnail folder as a generation uses it: the files an
// earlier generation made for a picture, reused only when every one of them
// is whole, and a picture's new files, written so that no page ever names a
// half-written one.

#include <optional>
#include <unordered_map>
#include <vector>

#include "core/files.h"
#include "core/text.h"
#include "generator/picture_maker.h"
#include "generator/thumbnail_names.h"

namespace galmora {

class ThumbnailFolder {
  public:
    // Lists the folder once.
    explicit ThumbnailFolder(Text folder);

    // A picture's files in page form, and the bytes they take on disk.
    struct Files {
        PictureThumbnail thumbnail;
        std::int64_t bytes = 0;
    };

    // The picture's files made before under key, when its thumbnail (named
    // last of them all) and every copy beside it are whole: since the system
    // last started, or whole by their format and adding up to the bytes
    // their names record.
    std::optional<Files> reusable(const Text& key, bool stands_for_original) const;

    // Writes the renditions made for one picture under key and the bytes
    // they take together: the copies first and the thumbnail (the first
    // rendition) last, each under a temporary name renamed into place. They are not flushed to the
    // disk: one cut or emptied by a power cut fails reusable() and is made again. nullopt when a
    // file could not be written.
    std::optional<Files> write(const Text& key, const std::vector<Rendition>& renditions,
                               bool stands_for_original) const;

  private:
    struct Found {
        Text name;
        PictureSize size;
        std::int64_t files_bytes = 0;  // as its name records them
    };
    std::optional<std::int64_t> whole_bytes(const std::vector<Found>& files) const;

    Text path_;
    OpenFolder folder_;
    std::unordered_map<Text, std::vector<Found>> by_key_;  // each smallest first
};

// The size of the picture file at path when it is whole as its format
// tells: a JPEG that starts with its start marker and ends with its end
// marker, a WebP whose RIFF size is the file's. A file cut short, emptied
// or zero-filled by a power cut is not: nullopt.
std::optional<std::int64_t> whole_picture_file_size(const Text& path);

// The thumbnail folder's files as pictures: the thumbnail and the copies
// of one picture in page form.
PictureThumbnail picture_files(const Text& thumbnail_name, std::vector<PictureSize> copies,
                               bool stands_for_original);

}  // namespace galmora
