#pragma once
// Whether a file name is a picture by its suffix: the same 18 forms that the
// picture scan accepts ("jpg", "JPG", "Jpg", ... "webp", "WEBP", "Webp"),
// byte for byte, no dot needed.

#include <string_view>

namespace galmora {

bool is_picture_file_name(std::string_view name);

}  // namespace galmora
