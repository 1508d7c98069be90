#pragma once
// One directory listing in progress. Entries come "." and ".." first, then by
// name ascending as an NTFS listing gives them (UTF-8 bytes, ASCII letters
// folded to upper case). Names that are not valid UTF-8 are left out.

#include <cstddef>
#include <vector>

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
    // Attributes of the entry last returned (saves a second look-up).
    int attributes() const { return current_attributes_; }

  private:
    struct Entry {
        Text name;
        int attributes;
    };
    Text next_accepted();

    std::vector<Entry> entries_;
    std::size_t position_ = 0;
    int mask_ = 0;
    int current_attributes_ = -1;
};

}  // namespace galmora
