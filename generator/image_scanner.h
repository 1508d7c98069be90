#pragma once
// Finds the pictures of a folder tree by their name suffix: counts them for
// the form, and lists them for a generation.

#include <string_view>

#include "core/text.h"
#include "generator/picture_list.h"

namespace galmora {

// Which files count as pictures: the formats browsers show (18 forms of
// their suffixes), or those and the formats phones store that the program
// converts for the page (HEIC, HEIF, AVIF), which only a generation with
// thumbnails shows.
enum class PictureFormats { Web, WebAndPhone };

class ImageScanner {
  public:
    // One of the accepted suffixes, byte for byte (lower case, upper case
    // or capitalised); no dot needed.
    static bool is_picture_name(std::string_view name,
                                PictureFormats formats = PictureFormats::Web);

    // Depth-first over folder and its plain subfolders, each real folder at
    // most once: the pictures in the order met, with their sources written
    // as addressing says.
    static PictureList scan_pictures(const Text& folder, const PictureAddressing& addressing,
                                     PictureFormats formats = PictureFormats::Web);
    // The number of pictures scan_pictures would find, without listing them.
    static int count_picture_files(const Text& folder,
                                   PictureFormats formats = PictureFormats::Web);
};

}  // namespace galmora
