#pragma once
// One directory listing in progress. Entries come "." and ".." first, then by
// name ascending as an NTFS listing gives them (UTF-8 bytes, ASCII letters
// folded to upper case). Names that are not valid UTF-8 are left out.

#include <cstddef>
#include <string>
#include <vector>

#include "core/folder_listing.h"
#include "core/text.h"

namespace galmora {

class DirectoryScan {
  public:
    DirectoryScan() = default;
    DirectoryScan(const DirectoryScan&) = delete;
    DirectoryScan& operator=(const DirectoryScan&) = delete;

    // pattern: folder + "/" + a wildcard name ("*.*" lists everything).
    // Returns the first entry whose attributes share a bit with mask, or the
    // empty text at the end.
    Text find_first(const Text& pattern, int mask);
    Text find_next();
    void close();
    // Attributes of the entry last returned (saves a second look-up), or -1
    // at the end. Whether a file is read-only is looked up on the first ask.
    int attributes() const;
    // Whether the entry last returned has attributes of exactly 0x10, a
    // folder whose name does not begin with "."; never needs a look-up.
    bool is_plain_folder() const;

  private:
    Text next_accepted();
    bool accepts(ListedEntry& entry);

    std::string folder_;  // UTF-8, where the listed names are
    std::vector<ListedEntry> entries_;
    std::size_t position_ = 0;
    int mask_ = 0;
    // Of the entry last returned; its read-only bit settled on demand.
    mutable int current_attributes_ = -1;
    mutable bool current_read_only_open_ = false;
};

}  // namespace galmora
