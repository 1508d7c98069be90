#pragma once
// The pictures of one generation as the scan met them, in order: the value
// that page composition and the thumbnails read. Each picture is kept as
// its folder and its name, so that neither its path nor its source in the
// page is held twice.

#include <cstdint>
#include <vector>

#include "core/text.h"

namespace galmora {

// How a picture's source is written into the page.
struct PictureAddressing {
    bool network_mode = false;  // "网络模式": the web address + the file name
    Text web_address;
};

class PictureList {
  public:
    // A folder the scan entered: its path (ending with "/") and the source
    // prefix of its pictures.
    std::uint32_t add_folder(Text path, Text source_prefix);
    void add_picture(std::uint32_t folder, Text name);

    std::size_t size() const { return pictures_.size(); }
    bool empty() const { return pictures_.empty(); }
    // The picture's file, to read it.
    Text path(std::size_t index) const;
    const Text& name(std::size_t index) const { return pictures_[index].name; }
    // Appends the picture's source as the page writes it into its src
    // attribute: the folder's prefix and the name, encoded where needed.
    void append_source(Text& out, std::size_t index) const;

  private:
    struct Folder {
        Text path;
        Text source_prefix;
    };
    struct Picture {
        std::uint32_t folder;
        Text name;
    };
    std::vector<Folder> folders_;
    std::vector<Picture> pictures_;
};

}  // namespace galmora
