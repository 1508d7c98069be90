// Times the thumbnails of 200 camera photos: 4000 x 3000 JPEGs of about
// 3.5 MB, as a 12 MP camera writes them (every one with EXIF, some turned
// by their orientation, some with a GPS position), each made to fit within
// 504 x 504, first on one thread, then on every core. Target: at most 25 ms
// a photo with every core busy. Then whole generations of the folder as the
// program runs them, recorded in a library of their own: without
// thumbnails, with thumbnails made afresh, and again reusing them. Target:
// the second generation with thumbnails at most 2 x one without. Also
// prints the peak memory.
//
//   bench_thumbnail_bench [photo folder]
//
// With a folder argument the photos are made there once and kept, so that
// later runs skip their slow creation; such a later run also gives the
// peak memory of the thumbnails alone.

#include <sys/resource.h>

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "bench/support/photo_scene.h"
#include "bench/support/picture_tree.h"
#include "bench/support/timing.h"
#include "core/codepage.h"
#include "core/files.h"
#include "generator/image_scanner.h"
#include "generator/page_blocks.h"
#include "generator/sub_gallery_builder.h"
#include "generator/thumbnail_job.h"
#include "imaging/qt_picture_maker.h"
#include "library/gallery_config.h"
#include "library/generation_record.h"
#include "tests/support/exif_segment.h"

namespace fs = std::filesystem;
using namespace galmora;

namespace {

constexpr int kPhotos = 200;
constexpr int kCameraQuality = 90;
constexpr int kBox = 504;
constexpr int kRounds = 3;
// Whole generations take milliseconds: more rounds find their floor.
constexpr int kGenerationRounds = 20;

Bytes camera_jpeg(const QImage& image) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(kCameraQuality);
    writer.write(image);
    return Bytes(data.begin(), data.end());
}

// Every photo carries EXIF; one in ten is a portrait turned by orientation
// 6, one in 25 is turned by 8, one in three has a GPS position.
testing::ExifTags exif_of(int index) {
    const int orientation = index % 10 == 3 ? 6 : index % 25 == 7 ? 8 : 1;
    return {orientation, index % 3 == 0};
}

fs::path photo_path(const fs::path& folder, int index) {
    return folder / ("photo-" + std::to_string(1000 + index) + ".jpg");
}

// Makes the missing photos, on every core; true when any was made.
bool make_photos(const fs::path& folder) {
    fs::create_directories(folder);
    std::atomic<int> next{0};
    std::atomic<bool> made{false};
    const auto work = [&] {
        for (int index; (index = next++) < kPhotos;) {
            const fs::path path = photo_path(folder, index);
            if (fs::exists(path)) continue;
            const Bytes jpeg =
                testing::jpeg_with_exif(camera_jpeg(bench::photo_like(index)), exif_of(index));
            write_file(local_text(path.string()), jpeg);
            made = true;
        }
    };
    std::vector<std::thread> threads;
    for (unsigned t = 0; t < std::max(1u, std::thread::hardware_concurrency()); ++t)
        threads.emplace_back(work);
    for (std::thread& thread : threads) thread.join();
    return made;
}

struct Batch {
    int made = 0;
    std::uintmax_t thumbnail_bytes = 0;
};

// Each photo read and made as the generation's job does it.
Batch make_thumbnails(const std::vector<Text>& photos, unsigned threads) {
    const QtPictureMaker maker;
    const PictureRequest request{{{RenditionBox::Fit::Within, kBox, kBox}}};
    std::atomic<int> next{0}, made{0};
    std::atomic<std::uintmax_t> bytes{0};
    const auto work = [&] {
        for (int index; (index = next++) < int(photos.size());) {
            const std::optional<Bytes> photo = read_file(photos[index]);
            if (!photo) continue;
            const PictureResult result = maker.make(*photo, request, {});
            if (result.renditions.empty()) continue;
            ++made;
            bytes += result.renditions.front().bytes.size();
        }
    };
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads; ++t) workers.emplace_back(work);
    for (std::thread& worker : workers) worker.join();
    return {made.load(), bytes.load()};
}

void time_thumbnails(const std::vector<Text>& photos, unsigned threads) {
    Batch batch;
    const bench::Timing time =
        bench::best_of(kRounds, [&] { batch = make_thumbnails(photos, threads); });
    const double count = double(photos.size());
    std::printf(
        "%u thread%s: %6.1f ms a photo (on the processors %6.1f ms), %d of %d made, "
        "%.1f KB each\n",
        threads, threads == 1 ? " " : "s", 1000 * time.wall / count, 1000 * time.processor / count,
        batch.made, int(photos.size()),
        double(batch.thumbnail_bytes) / 1024 / std::max(1, batch.made));
}

std::uintmax_t folder_bytes(const std::vector<fs::path>& files) {
    std::uintmax_t total = 0;
    std::error_code error;
    for (const fs::path& file : files) total += fs::file_size(file, error);
    return total;
}

// Part one: the thumbnails of every photo, one thread and every core.
void thumbnail_part(const fs::path& folder) {
    std::vector<fs::path> files;
    std::vector<Text> photos;
    for (int index = 0; index < kPhotos; ++index) {
        files.push_back(photo_path(folder, index));
        photos.push_back(local_text(files.back().string()));
        read_file(photos.back());  // from the disk cache from now on
    }
    std::printf("%d photos of %d x %d, %.2f MB each; thumbnails within %d x %d\n", kPhotos,
                bench::kPhotoWidth, bench::kPhotoHeight,
                double(folder_bytes(files)) / kPhotos / 1e6, kBox, kBox);
    time_thumbnails(photos, 1);
    time_thumbnails(photos, std::max(1u, std::thread::hardware_concurrency()));
    std::printf("target: at most 25 ms a photo with every core busy\n");
}

// One generation of the folder into a new sub-gallery, scan to main page,
// with or without thumbnails; the generation's steps as the window runs
// them, without the window.
class Generation {
  public:
    Generation(const Text& photos, const Text& root, const GalleryConfig& config)
        : photos(photos), root(root), config(config) {}

    ThumbnailReport run(bool thumbnails) {
        const Text main_gallery = root + "/bench";
        const Text name = "g" + to_text(++serial);
        const PictureList pictures = ImageScanner::scan_pictures(photos, {});
        ThumbnailReport report;
        if (thumbnails) {
            prepare_thumbnail_folder(main_gallery);
            ThumbnailSettings settings;
            settings.cover = true;
            report = make_thumbnails(pictures, main_gallery, settings, maker, budget, {}, {});
        }
        const Text page = compose_sub_gallery_page(
            name, page_blocks(pictures, kPhotos, thumbnails ? &report.thumbnails : nullptr),
            kPhotos);
        const WrittenSubGallery written = write_sub_gallery(main_gallery, name, true, page);
        const GeneratedEntry entry{
            name, int(pictures.size()), local_text("高清"), local_text("★"), {}, report.cover, 0};
        commit_generation(config, root, entry, {"bench", "#", {}},
                          {written.folder_created, !report.cover.empty()});
        return report;
    }

  private:
    const Text& photos;
    const Text& root;
    const GalleryConfig& config;
    const QtPictureMaker maker;
    MemoryBudget budget{MemoryBudget::for_this_machine()};
    int serial = 0;
};

bench::Timing faster(bench::Timing a, bench::Timing b) {
    return {std::min(a.wall, b.wall), std::min(a.processor, b.processor)};
}

// Part two: whole generations, the second with thumbnails reusing the first's.
void generation_part(const fs::path& folder, const fs::path& library) {
    std::error_code ignored;
    fs::remove_all(library, ignored);  // the first generation with thumbnails makes them all
    fs::create_directories(library / "bench");
    const Text photos = local_text(folder.string());
    const Text root = local_text(library.string());
    const GalleryConfig config(root + "/config.ini");
    config.ensure_file();
    Generation generation{photos, root, config};
    bench::Stopwatch first_watch;
    const ThumbnailReport first = generation.run(true);
    const bench::Timing first_time = first_watch.elapsed();
    // Taken in turns, so that both meet a library of the same size: every
    // generation adds a sub-gallery that the main page rebuild lists.
    ThumbnailReport again;
    bench::Timing plain{1e9, 1e9}, reused{1e9, 1e9};
    for (int round = 0; round < kGenerationRounds; ++round) {
        plain = faster(plain, bench::best_of(1, [&] { generation.run(false); }));
        reused = faster(reused, bench::best_of(1, [&] { again = generation.run(true); }));
    }
    std::printf("generation without thumbnails: %8.1f ms\n", 1000 * plain.wall);
    std::printf("generation making thumbnails:  %8.1f ms (%.1f ms a photo; %d made, cover %s)\n",
                1000 * first_time.wall, 1000 * first_time.wall / kPhotos, first.made,
                first.cover.empty() ? "none" : "made");
    std::printf(
        "generation reusing them:       %8.1f ms (%d reused), %.2f x the one without "
        "(target <= 2)\n",
        1000 * reused.wall, again.reused, reused.wall / plain.wall);
}

}  // namespace

int main(int argc, char** argv) {
    const bench::BenchFolder root = bench::bench_folder(argc, argv, "galmora-thumbnail-bench");
    if (root.path.empty()) return 0;
    const fs::path photos = root.path / "photos";
    const bool made_now = make_photos(photos);
    QtPictureMaker::set_process_limits();

    thumbnail_part(photos);
    generation_part(photos, root.path / "library");

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf(
        "peak memory: %.0f MB%s\n", double(usage.ru_maxrss) / 1024,
        made_now ? " (this run also made the photos: run again for the thumbnails alone)" : "");
    std::error_code error;
    if (!root.kept) fs::remove_all(root.path, error);
    return 0;
}
