#pragma once
// The picture folder the generation benchmarks walk, and the `find` run they
// are measured against.

#include <filesystem>
#include <string>

#include "bench/support/timing.h"

namespace galmora::bench {

// The largest generation the form's checks accept. Total ÷ per page must be
// at most 98 and total ÷ pages at most 998, where pages is the whole part of
// total ÷ per page: so total < 999 × pages <= 999 × 98, whatever the per-page
// value. 97,901 pictures at 998 a page fill 98 blocks and 97 in a last one.
constexpr int kLargestTotal = 97901;
constexpr int kLargestPerPage = 998;

// pictures files with the accepted suffixes spread over 20 folders of 5
// subfolders each, with a text file and a Thumbs.db beside them in every
// folder. Does nothing when root already exists, so a kept tree is reused.
void make_picture_tree(const std::filesystem::path& root, int pictures);

// The time `find` takes to list every entry under root, best of rounds, after
// one run that warms the cache; wall time 0 when find fails.
Timing find_timing(const std::filesystem::path& root, int rounds);

// The tree's folder: argv[1] when given (made there once and kept, so that
// repeated runs skip the slow creation), otherwise a fresh temporary folder.
struct BenchFolder {
    std::filesystem::path path;
    bool kept = false;
};
BenchFolder bench_folder(int argc, char** argv, const std::string& prefix);

}  // namespace galmora::bench
