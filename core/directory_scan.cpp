#include "core/directory_scan.h"

#include "core/folder_listing.h"
#include "core/system_path.h"

namespace galmora {

Text DirectoryScan::find_first(const Text& pattern, int mask) {
    close();
    mask_ = mask;
    const auto system = system_path(pattern);
    if (!system) return {};
    const SplitPath split = split_last_element(*system);
    if (split.name.empty()) return {};
    auto listed = list_folder(split.folder, split.name);
    if (!listed) return {};
    entries_.reserve(listed->size());
    for (ListedEntry& entry : *listed)
        entries_.push_back({std::move(entry.name), entry.attributes});
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
}

Text DirectoryScan::next_accepted() {
    while (position_ < entries_.size()) {
        Entry& entry = entries_[position_++];
        if ((entry.attributes & mask_) != 0) {
            current_attributes_ = entry.attributes;
            return std::move(entry.name);
        }
    }
    close();
    return {};
}

}  // namespace galmora
