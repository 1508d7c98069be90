// Times the thumbnails of 200 camera photos: 4000 x 3000 JPEGs of about
// 3.5 MB, as a 12 MP camera writes them (every one with EXIF, some turned
// by their orientation, some with a GPS position), each made to fit within
// 504 x 504, first on one thread, then on every core (target: at most 25 ms
// a photo with every core busy); then the thumbnail and the viewer's copies
// (1280, 1600 and 2048) together (target: 60 ms). Then 20 of them as HEIC
// made by heif-enc, thumbnail and copies (target: 500 ms). Then whole
// generations of the folder as the program runs them, recorded in a library
// of their own: without thumbnails, with thumbnails and copies made afresh,
// and again reusing them (target: the second at most 2 x one without). Last
// the memory the generation's job holds with 2 and with 16 workers, and
// the process's peak.
//
//   bench_thumbnail_bench [photo folder]
//
// With a folder argument the photos are made there once and kept, so that
// later runs skip their slow creation; such a later run also gives the
// peak memory of the picture work alone.

#include <sys/resource.h>

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <mutex>
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
#include "tests/support/allocated_bytes.h"
#include "tests/support/exif_segment.h"

namespace fs = std::filesystem;
using namespace galmora;

namespace {

constexpr int kPhotos = 200;
constexpr int kHeicPhotos = 20;
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

const std::vector<int> kCopySides = {1280, 1600, 2048};

PictureRequest thumbnail_request(bool with_copies) {
    PictureRequest request{{{RenditionBox::Fit::Within, kBox, kBox}}};
    if (with_copies)
        for (int side : kCopySides)
            request.boxes.push_back({RenditionBox::Fit::Within, side, side});
    return request;
}

bool holds(ByteView bytes, ByteView part) {
    return std::search(bytes.begin(), bytes.end(), part.begin(), part.end()) != bytes.end();
}

struct Batch {
    int made = 0;
    std::vector<std::uintmax_t> bytes;  // by long side: the thumbnail's and each copy's
    std::vector<int> count;
    bool metadata_left = false;  // a made file carries EXIF or the GPS position
};

// Each photo read and made as the generation's job does it.
Batch make_renditions(const std::vector<Text>& photos, unsigned threads,
                      const PictureRequest& request) {
    const QtPictureMaker maker;
    std::atomic<int> next{0};
    std::mutex mutex;
    Batch batch;
    batch.bytes.assign(request.boxes.size(), 0);
    batch.count.assign(request.boxes.size(), 0);
    const auto work = [&] {
        for (int index; (index = next++) < int(photos.size());) {
            const std::optional<Bytes> photo = read_file(photos[index]);
            if (!photo) continue;
            const PictureResult result = maker.make(*photo, request, {});
            const std::lock_guard lock(mutex);
            batch.made += result.renditions.empty() ? 0 : 1;
            for (std::size_t i = 0; i < result.renditions.size(); ++i) {
                const Bytes& bytes = result.renditions[i].bytes;
                batch.bytes[i] += bytes.size();
                ++batch.count[i];
                batch.metadata_left = batch.metadata_left || holds(bytes, as_bytes("Exif")) ||
                                      holds(bytes, testing::gps_latitude_bytes());
            }
        }
    };
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads; ++t) workers.emplace_back(work);
    for (std::thread& worker : workers) worker.join();
    return batch;
}

void time_renditions(const std::vector<Text>& photos, unsigned threads,
                     const PictureRequest& request) {
    Batch batch;
    const bench::Timing time =
        bench::best_of(kRounds, [&] { batch = make_renditions(photos, threads, request); });
    const double count = double(photos.size());
    std::printf("%u thread%s: %6.1f ms a photo (on the processors %6.1f ms), %d of %d made;",
                threads, threads == 1 ? " " : "s", 1000 * time.wall / count,
                1000 * time.processor / count, batch.made, int(photos.size()));
    for (std::size_t i = 0; i < request.boxes.size(); ++i)
        std::printf(" %d: %d, %.0f KB each", request.boxes[i].width, batch.count[i],
                    double(batch.bytes[i]) / 1024 / std::max(1, batch.count[i]));
    std::printf("%s\n", batch.metadata_left ? "; METADATA LEFT IN A FILE" : "");
}

std::uintmax_t folder_bytes(const std::vector<fs::path>& files) {
    std::uintmax_t total = 0;
    std::error_code error;
    for (const fs::path& file : files) total += fs::file_size(file, error);
    return total;
}

std::vector<Text> cached_photos(const std::vector<fs::path>& files) {
    std::vector<Text> photos;
    for (const fs::path& file : files) {
        photos.push_back(local_text(file.string()));
        read_file(photos.back());  // from the disk cache from now on
    }
    return photos;
}

void time_both(const std::vector<Text>& photos, bool with_copies) {
    const PictureRequest request = thumbnail_request(with_copies);
    time_renditions(photos, 1, request);
    time_renditions(photos, std::max(1u, std::thread::hardware_concurrency()), request);
}

// Part one: the thumbnails of every photo, then thumbnails and copies, one
// thread and every core.
void thumbnail_part(const fs::path& folder) {
    std::vector<fs::path> files;
    for (int index = 0; index < kPhotos; ++index) files.push_back(photo_path(folder, index));
    const std::vector<Text> photos = cached_photos(files);
    std::printf("%d photos of %d x %d, %.2f MB each; thumbnails within %d x %d\n", kPhotos,
                bench::kPhotoWidth, bench::kPhotoHeight,
                double(folder_bytes(files)) / kPhotos / 1e6, kBox, kBox);
    time_both(photos, false);
    std::printf("target: at most 25 ms a photo with every core busy\n");
    std::printf("thumbnails and copies within 1280, 1600 and 2048:\n");
    time_both(photos, true);
    std::printf("target: at most 60 ms a photo with every core busy\n");
}

// The same photos as a phone's HEIC, made once by heif-enc (which keeps
// their EXIF, GPS included).
std::vector<fs::path> make_heic(const fs::path& photos, const fs::path& folder) {
    fs::create_directories(folder);
    std::vector<fs::path> files;
    for (int index = 0; index < kHeicPhotos; ++index) {
        const fs::path file = folder / ("photo-" + std::to_string(1000 + index) + ".heic");
        const std::string command = "heif-enc -q 50 -o '" + file.string() + "' '" +
                                    photo_path(photos, index).string() + "' >/dev/null";
        if (fs::exists(file) || std::system(command.c_str()) == 0) files.push_back(file);
    }
    return files;
}

// Part two: thumbnails and copies of 12 MP HEIC photos.
void heic_part(const fs::path& photos, const fs::path& folder) {
    const std::vector<fs::path> files = make_heic(photos, folder);
    if (files.empty()) {
        std::printf("HEIC: heif-enc (libheif-examples) made no file\n");
        return;
    }
    std::printf("%d HEIC photos of %d x %d, %.2f MB each:\n", int(files.size()), bench::kPhotoWidth,
                bench::kPhotoHeight, double(folder_bytes(files)) / double(files.size()) / 1e6);
    time_both(cached_photos(files), true);
    std::printf("target: at most 500 ms a photo with every core busy\n");
}

// Part three: the memory the generation's job holds with 2 and 16 workers.
void memory_part(const fs::path& photos, const fs::path& library) {
    const PictureList pictures = ImageScanner::scan_pictures(local_text(photos.string()), {});
    for (int workers : {2, 16}) {
        std::error_code ignored;
        fs::remove_all(library, ignored);
        const Text main_gallery = local_text((library / "bench").string());
        fs::create_directories(library / "bench");
        prepare_thumbnail_folder(main_gallery);
        ThumbnailSettings settings;
        settings.copy_sides = kCopySides;
        settings.threads = workers;
        MemoryBudget budget(MemoryBudget::for_this_machine());
        const QtPictureMaker maker;
        testing::AllocationPeak peak;
        make_thumbnails(pictures, main_gallery, settings, maker, budget, {}, {});
        std::printf("%2d workers: the job held at most %.0f MB (budget %.0f MB)\n", workers,
                    double(peak.above_start()) / (1 << 20), double(budget.limit()) / (1 << 20));
    }
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
            settings.copy_sides = kCopySides;
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
    heic_part(photos, root.path / "heic");
    generation_part(photos, root.path / "library");
    memory_part(photos, root.path / "library");

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf(
        "peak memory: %.0f MB%s\n", double(usage.ru_maxrss) / 1024,
        made_now ? " (this run also made the photos: run again for the thumbnails alone)" : "");
    std::error_code error;
    if (!root.kept) fs::remove_all(root.path, error);
    return 0;
}
