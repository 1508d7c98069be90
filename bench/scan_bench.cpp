// Times the picture scan and a whole generation over the largest folder a
// generation accepts (97,901 pictures at 998 per page) against `find` walking
// the same tree. Targets: scan <= 1.5 x find, whole generation <= 2 x find.
//
//   bench_scan_bench [tree folder]
//
// With a folder argument the tree is made there once and kept, so that
// repeated runs (profiling) skip the slow creation.

#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/support/picture_tree.h"
#include "core/codepage.h"
#include "generator/image_scanner.h"
#include "generator/page_blocks.h"
#include "tests/support/sub_gallery_generation.h"

namespace fs = std::filesystem;
using namespace galmora;

namespace {

constexpr int kRounds = 5;

void print_ratio(const char* what, bench::Timing time, bench::Timing find, double target) {
    std::printf("%s %8.3f s  ratio %.2f (target <= %g); on the processor %.3f s, ratio %.2f\n",
                what, time.wall, time.wall / find.wall, target, time.processor,
                time.processor / find.processor);
}

}  // namespace

int main(int argc, char** argv) {
    const bench::BenchFolder root = bench::bench_folder(argc, argv, "galmora-scan-bench");
    if (root.path.empty()) return 0;
    const fs::path pictures = root.path / "pictures";
    bench::make_picture_tree(pictures, bench::kLargestTotal);
    fs::create_directories(root.path / "library" / "bench");

    const bench::Timing find_time = bench::find_timing(pictures, kRounds);
    const Text folder = local_text(pictures.string());
    int found = 0;
    const bench::Timing scan_time = bench::best_of(kRounds, [&] {
        found = static_cast<int>(
            page_blocks(ImageScanner::scan_pictures(folder, {}), bench::kLargestPerPage)
                .picture_count);
    });
    bool written = true;
    const bench::Timing generation_time = bench::best_of(kRounds, [&] {
        const testing::SubGalleryRequest request{
            folder,
            {},
            bench::kLargestPerPage,
            "gallery",
            local_text((root.path / "library" / "bench").string()),
            true};
        written = testing::build_sub_gallery(request).has_value() && written;
    });
    std::error_code error;
    const auto page_size =
        fs::file_size(root.path / "library" / "bench" / "gallery" / "index.html", error);

    std::printf("pictures found: %d of %d at %d a page, index.html %ju bytes, written: %s\n", found,
                bench::kLargestTotal, bench::kLargestPerPage,
                static_cast<std::uintmax_t>(page_size), written ? "yes" : "NO");
    if (find_time.wall <= 0) {
        std::printf("find failed: no ratios\n");
    } else {
        std::printf("find:             %8.3f s  on the processor %.3f s\n", find_time.wall,
                    find_time.processor);
        print_ratio("scan with markup:", scan_time, find_time, 1.5);
        print_ratio("whole generation:", generation_time, find_time, 2);
    }
    if (!root.kept) fs::remove_all(root.path, error);
    return 0;
}
