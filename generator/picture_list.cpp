#include "generator/picture_list.h"

#include <algorithm>

#include "generator/page_composer.h"

namespace galmora {

namespace {

// Only the bytes the page composer encodes make a name need encoding; the
// common case appends the name as it is.
bool may_need_encoding(std::string_view name) {
    return std::any_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == '"' || c == '#' || c == '?' ||
               c == '%' || c == '\\' || c == '&';
    });
}

}  // namespace

std::uint32_t PictureList::add_folder(Text path, Text source_prefix) {
    folders_.push_back({std::move(path), std::move(source_prefix)});
    return static_cast<std::uint32_t>(folders_.size() - 1);
}

void PictureList::add_picture(std::uint32_t folder, Text name) {
    pictures_.push_back({folder, std::move(name)});
}

Text PictureList::path(std::size_t index) const {
    const Picture& picture = pictures_[index];
    return folders_[picture.folder].path + picture.name;
}

void PictureList::append_source(Text& out, std::size_t index) const {
    const Picture& picture = pictures_[index];
    out += folders_[picture.folder].source_prefix;
    if (may_need_encoding(picture.name))
        out += PageComposer::encode_source(picture.name);
    else
        out += picture.name;
}

}  // namespace galmora
