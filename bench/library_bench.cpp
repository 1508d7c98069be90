// A library whose main gallery holds 5,000 sub-gallery folders with 5,000
// records: the time of one main page rebuild, of one listing of the
// sub-galleries, and of one deletion followed by both, as the window runs
// them.

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/codepage.h"
#include "core/files.h"
#include "library/gallery_config.h"
#include "library/sub_galleries.h"
#include "library/sub_gallery_deletion.h"

using namespace galmora;

namespace {

constexpr int kSubGalleries = 5000;

using Clock = std::chrono::steady_clock;

double milliseconds_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

Text name_of(int i) {
    static const Text prefix = local_text("图库");
    return prefix + to_text(100000000 + i);
}

void build_library(const Text& root, const Text& main_gallery) {
    create_directory(main_gallery);
    create_directory(main_gallery + "/img");
    Text config = "[NAME]\r\nname=0\r\n[images]\r\nnum=" + to_text(kSubGalleries) +
                  "\r\n[Logo]\r\nweblogo=logo.png\r\n[dl]\r\nd=1\r\n[bl]\r\nd=1\r\n";
    for (int i = 1; i <= kSubGalleries; ++i) {
        const Text name = name_of(i), n = to_text(i);
        create_directory(main_gallery + "/" + name);
        write_file(main_gallery + "/" + name + "/index.html", as_bytes("page"));
        config += "[P" + n + "]\r\npname=" + name + "\r\npimg=fm" + n + ".jpg\r\npnum=" + n +
                  "\r\nphd=hd\r\npstar=*****\r\n";
    }
    write_file(root + "/config.ini", as_bytes(config));
}

}  // namespace

int main() {
    std::string folder = (std::filesystem::temp_directory_path() / "galmora-bench-XXXXXX");
    if (!mkdtemp(folder.data())) return 1;
    const Text root = local_text(folder);
    const Text main_name = local_text("我的图片库");
    const Text main_gallery = root + "/" + main_name;
    build_library(root, main_gallery);

    const GalleryConfig config(root + "/config.ini");
    const MainPageForm form{main_name, "#", Text()};
    std::printf("library: %d sub-gallery folders, %d records\n", kSubGalleries, kSubGalleries);

    auto start = Clock::now();
    rebuild_main_page(root, form, config);
    std::printf("main page rebuild: %.1f ms (%zu bytes)\n", milliseconds_since(start),
                read_file(main_gallery + "/index.html").value_or(Bytes()).size());

    start = Clock::now();
    const std::size_t listed = sub_gallery_names(root, main_name).size();
    std::printf("sub-gallery listing: %.1f ms (%zu entries)\n", milliseconds_since(start), listed);

    const Text victim = sub_gallery_names(root, main_name)[kSubGalleries / 2 - 1];
    int progress_texts = 0;
    start = Clock::now();
    const auto outcome =
        delete_sub_gallery(config, main_gallery, victim, [&](const Text&) { ++progress_texts; });
    sub_gallery_names(root, main_name);
    rebuild_main_page(root, form, config);
    std::printf(
        "one deletion (record, folder, compaction, listing, main page): %.1f ms, "
        "%d records left\n",
        milliseconds_since(start), config.snapshot().record_count());
    const bool deleted = outcome && outcome->folder_gone && progress_texts == 3 &&
                         config.snapshot().record_count() == kSubGalleries - 1;

    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return deleted ? 0 : 1;
}
