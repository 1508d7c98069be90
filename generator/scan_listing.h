#pragma once
// One folder's entries for the picture scan, in the listing order of
// DirectoryScan and with the same names, but without looking up each entry:
// the scan only needs to know which entries are plain folders, and the
// folder listing says that for files and folders alike. Only symbolic links
// and entries of unknown type are looked up (links followed).

#include <vector>

#include "core/text.h"

namespace galmora {

struct ScanEntry {
    Text name;
    // What DirectoryScan would report as attributes exactly 0x10: a folder
    // (or a link to one) whose name does not begin with ".".
    bool plain_folder = false;
};

// Without "." and ".."; empty for a folder that is missing, unreadable or
// no folder. Names that do not convert exactly to the local code page, and
// links that lead nowhere, are left out, as DirectoryScan leaves them out.
std::vector<ScanEntry> list_scan_entries(const Text& folder);

}  // namespace galmora
