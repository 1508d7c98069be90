#pragma once
// Where thumbnails live and what they are called. Every thumbnail of a main
// gallery lies in its img/thumbs folder, shared by all its sub-galleries, so
// that a second generation of the same pictures reuses them. A thumbnail's
// name is made of hexadecimal digits only (safe in any address, from disk or
// from a web server): a key of the picture it was made from (its path, size,
// times and a sample of its bytes, and the thumbnail's settings) and its own
// size.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "core/files.h"
#include "core/text.h"

namespace galmora {

// "img/thumbs", below the main gallery.
inline constexpr std::string_view kThumbnailFolder = "img/thumbs";
inline Text thumbnail_folder(const Text& main_gallery) {
    return main_gallery + "/" + Text(kThumbnailFolder);
}
// How a sub-gallery page names the folder: from the sub-gallery's folder.
inline constexpr std::string_view kThumbnailAddress = "../img/thumbs/";

struct PictureSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const PictureSize&, const PictureSize&) = default;
};

// A picture's files in a page: its thumbnail (file name in the thumbnail
// folder and width in pixels, the srcset's width descriptor) and the
// viewer's display copies. Every file made from one picture shares the
// thumbnail's key and format; only the size in the name differs
// (copy_file_name), so that the page names a copy by its size alone.
struct PictureThumbnail {
    Text file_name;  // empty: the picture keeps its original only
    int width = 0;
    std::vector<PictureSize> copies = {};  // smallest first; none without a thumbnail
    // Browsers cannot show the original (HEIC, AVIF): the page's src names
    // the largest of the picture's files, and data-original the original.
    bool stands_for_original = false;
};

// Sixteen hexadecimal digits standing for the picture at path (local text)
// as it is on disk (its stamp and a sample of its content, see
// content_sample), and settings (anything that changes the files made).
Text thumbnail_key(std::string_view path, const FileStamp& stamp, std::uint64_t content,
                   std::string_view settings);
// A hash of a file's first and last bytes: a picture rewritten with the
// same size and times (a copy onto a file system that keeps two-second
// times) still gets another key.
std::uint64_t content_sample(ByteView head, ByteView tail);
inline constexpr std::size_t kContentSampleBytes = 4096;

// stem + "-" + width + "x" + height + "." + extension. The page's script
// reads the size back from the name (the viewer lays a thumbnail out before
// its original arrives) and finds a copy by replacing it: keep the form.
Text thumbnail_file_name(std::string_view stem, int width, int height, std::string_view extension);
// The stem all files of one picture share: its key, and the bytes all of
// them take together, so that a reuse knows both from the folder's listing
// (key + "-" + bytes).
Text picture_file_stem(std::string_view key, std::int64_t files_bytes);

// The name of the picture's file of another size beside its thumbnail:
// thumbnail_name with its size replaced.
Text copy_file_name(std::string_view thumbnail_name, PictureSize size);

// A file name of the thumbnail folder read back: its key, the bytes the
// picture's files take (0 in the names of earlier versions, which have
// none) and its size; nullopt for anything else found there (a temporary
// file, a file of the user's).
struct ThumbnailName {
    Text key;
    std::int64_t files_bytes = 0;
    int width = 0;
    int height = 0;
};
std::optional<ThumbnailName> parse_thumbnail_file_name(std::string_view name);
// Sixteen lower-case hexadecimal digits, as thumbnail_key gives them.
bool is_thumbnail_key(std::string_view key);

}  // namespace galmora
