#include "core/directory_scan.h"

#include "core/files.h"
#include "core/system_path.h"

namespace galmora {

Text DirectoryScan::find_first(const Text& pattern, int mask) {
    close();
    mask_ = mask;
    const auto system = system_path(pattern);
    if (!system) return {};
    SplitPath split = split_last_element(*system);
    if (split.name.empty()) return {};
    auto listed = list_folder(split.folder, split.name);
    if (!listed) return {};
    folder_ = std::move(split.folder);
    entries_ = std::move(*listed);
    return next_accepted();
}

Text DirectoryScan::find_next() {
    return next_accepted();
}

void DirectoryScan::close() {
    entries_.clear();
    entries_.shrink_to_fit();
    position_ = 0;
    current_attributes_ = -1;
    current_read_only_open_ = false;
}

int DirectoryScan::attributes() const {
    if (current_read_only_open_) {
        current_attributes_ = with_read_only(folder_, entries_[position_ - 1]);
        current_read_only_open_ = false;
    }
    return current_attributes_;
}

bool DirectoryScan::is_plain_folder() const {
    // A file's listed attributes always hold 0x20, and folders never carry
    // read-only, so the open bit cannot matter here.
    return current_attributes_ == kDirectory;
}

// The name stays in entries_ so that its read-only bit can still be looked up.
Text DirectoryScan::next_accepted() {
    while (position_ < entries_.size()) {
        ListedEntry& entry = entries_[position_++];
        if (accepts(entry)) {
            current_attributes_ = entry.attributes;
            current_read_only_open_ = entry.read_only_open;
            return entry.name;
        }
    }
    close();
    return {};
}

// A mask that asks for read-only alone settles the bit of each file it meets.
bool DirectoryScan::accepts(ListedEntry& entry) {
    if ((entry.attributes & mask_) != 0) return true;
    if (!entry.read_only_open || (mask_ & kReadOnly) == 0) return false;
    entry.attributes = with_read_only(folder_, entry);
    entry.read_only_open = false;
    return (entry.attributes & mask_) != 0;
}

}  // namespace galmora
