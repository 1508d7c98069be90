#include "library/picture_names.h"

#include <array>

namespace galmora {

bool is_picture_file_name(std::string_view name) {
    static constexpr std::array<std::string_view, 18> kSuffixes = {
        "jpg", "png",  "gif",  "bmp", "jpeg", "webp", "JPG", "PNG",  "GIF",
        "BMP", "JPEG", "WEBP", "Jpg", "Png",  "Gif",  "Bmp", "Jpeg", "Webp"};
    for (std::string_view suffix : kSuffixes) {
        if (name.size() >= suffix.size() && name.substr(name.size() - suffix.size()) == suffix)
            return true;
    }
    return false;
}

}  // namespace galmora
