// Writes the sites that bench/large_page.mjs measures in the browser, with
// the page composer and the asset store as a generation uses them:
//
//   大图库  the largest sub-gallery page a generation accepts: 97,901
//          pictures at 998 a page, 98 full blocks and a last one of 97
//   小图库  120 pictures in one block, to compare the cost of a key press
//
// Pictures are in local mode. One real photograph stands behind 998 hard
// links, so every thumbnail of a block has an address of its own (the
// browser fetches and decodes each) while the disk holds one file; picture
// i uses link ((i - 1) mod 998) + 1.
//
//   bench_large_page_site <output folder>
//
// Prints the time the large page took to compose and write, and writes
// site.json naming both pages.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "core/codepage.h"
#include "core/files.h"
#include "generator/asset_store.h"
#include "generator/page_blocks.h"
#include "generator/page_composer.h"
#include "generator/sub_gallery_builder.h"

using namespace galmora;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kLargePictures = 97901;
constexpr int kPerPage = 998;
constexpr int kSmallPictures = 120;

double milliseconds_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The encoded local sources of kPerPage distinct picture files.
std::vector<Text> make_pictures(const fs::path& folder) {
    fs::create_directories(folder);
    const fs::path original = folder / "原图.jpg";
    const ByteView photo = AssetStore::embedded("fm.jpg");
    std::ofstream(original, std::ios::binary)
        .write(reinterpret_cast<const char*>(photo.data()),
               static_cast<std::streamsize>(photo.size()));
    std::vector<Text> sources;
    for (int i = 1; i <= kPerPage; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "照片 %04d.jpg", i);
        const fs::path link = folder / name;
        std::error_code error;
        fs::create_hard_link(original, link, error);
        if (error) fs::create_symlink(original, link, error);
        sources.push_back(PageComposer::encode_source(local_text(link.string())));
    }
    return sources;
}

// The page blocks a scan leaves behind for count pictures.
PageBlocks scanned(const std::vector<Text>& sources, int count) {
    PageBlocks blocks;
    for (int i = 1; i <= count; ++i)
        add_picture_to_pages(blocks, sources[(i - 1) % sources.size()], kPerPage);
    return blocks;
}

fs::path write_gallery(const fs::path& main_gallery, const std::string& name,
                       const std::vector<Text>& sources, int count) {
    const Text local_name = local_text(name);
    const Text page = compose_sub_gallery_page(local_name, scanned(sources, count), kPerPage);
    write_sub_gallery(local_text(main_gallery.string()), local_name, true, page);
    return main_gallery / name / "index.html";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_large_page_site <output folder>\n");
        return 2;
    }
    const fs::path output = argv[1];
    const std::vector<Text> sources = make_pictures(output / "pictures");
    const fs::path main_gallery = output / "library" / "基准";
    fs::create_directories(main_gallery);

    const auto start = Clock::now();
    const fs::path large = write_gallery(main_gallery, "大图库", sources, kLargePictures);
    const double took = milliseconds_since(start);
    const fs::path small = write_gallery(main_gallery, "小图库", sources, kSmallPictures);

    std::printf("large page: %d pictures, %d a page, %ju bytes, composed and written in %.0f ms\n",
                kLargePictures, kPerPage, static_cast<std::uintmax_t>(fs::file_size(large)), took);
    std::ofstream(output / "site.json", std::ios::binary)
        << "{\n  \"large\": \"" << large.string() << "\",\n  \"small\": \"" << small.string()
        << "\"\n}\n";
    return 0;
}
