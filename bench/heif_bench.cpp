// Times decode_heif on a 12 MP HEIC photo made by libheif's heif-enc (from
// libheif-examples, quality 50 as it defaults to), with one and with two
// decoding threads, and measures the memory each kind of file takes to
// decode beside the estimate heif_decode_peak_bytes gives for it: 8-bit
// HEIC (4:2:0 and 4:4:4), 10-bit HEIC, HEIC with alpha, 8-bit AVIF.
//
//   bench_heif_bench [folder]
//
// With a folder argument the files are made there once and kept, so that
// later runs skip their slow encoding (the AVIF takes a while).
//
// The memory of one decode is the growth of the resident set's peak over
// the resident set before it, the peak having been reset (Linux's
// /proc/self/clear_refs) after the allocator gave back what it held free.

#include <malloc.h>

#include <QImageWriter>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "bench/support/photo_scene.h"
#include "bench/support/picture_tree.h"
#include "bench/support/timing.h"
#include "core/codepage.h"
#include "core/files.h"
#include "imaging/heif_picture.h"
#include "tests/support/heif_files.h"

namespace fs = std::filesystem;
using namespace galmora;

namespace {

constexpr int kRounds = 5;

struct Kind {
    const char* name;
    const char* file;
    const char* source;  // photo.png, deep.png (16 bits), clear.png (alpha); none: turned
    const char* options;
};

const Kind kKinds[] = {
    {"HEIC 8-bit 4:2:0", "photo.heic", "photo.png", ""},
    {"HEIC 8-bit 4:4:4", "photo444.heic", "photo.png", "-p chroma=444"},
    {"HEIC 10-bit", "deep.heic", "deep.png", "-b 10"},
    {"HEIC with alpha", "clear.heic", "clear.png", ""},
    {"AVIF 8-bit", "photo.avif", "photo.png", "-A -p speed=9"},
    {"AVIF 8-bit 4:4:4", "photo444.avif", "photo.png", "-A -p speed=9 -p chroma=444"},
    {"HEIC turned by irot", "turned.heic", "", ""},
};

bool save_png(const QImage& image, const fs::path& path) {
    QImageWriter writer(QString::fromStdString(path.string()), "png");
    writer.setCompression(1);
    return writer.write(image);
}

// The three sources from one photo: as it is, at 16 bits, with a gradient of alpha.
bool make_sources(const fs::path& folder) {
    if (fs::exists(folder / "clear.png")) return true;
    const QImage photo = bench::photo_like(7);
    QImage clear = photo.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < clear.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(clear.scanLine(y));
        for (int x = 0; x < clear.width(); ++x)
            line[x] = (line[x] & 0xFFFFFF) | (x * 255 / clear.width()) << 24;
    }
    return save_png(photo, folder / "photo.png") &&
           save_png(photo.convertToFormat(QImage::Format_RGBX64), folder / "deep.png") &&
           save_png(clear, folder / "clear.png");
}

// heif-enc writes no irot box: the tests' writer turns the photo a quarter.
bool make_turned(const fs::path& path) {
    const QImage photo = bench::photo_like(7);
    const Bytes heic = testing::heif_file(testing::HeifCodec::Hevc, {{photo, 6}});
    return !heic.empty() && write_file(local_text(path.string()), heic);
}

bool make_file(const fs::path& folder, const Kind& kind) {
    if (fs::exists(folder / kind.file)) return true;
    if (!*kind.source) return make_turned(folder / kind.file);
    const std::string command = "heif-enc " + std::string(kind.options) + " -o '" +
                                (folder / kind.file).string() + "' '" +
                                (folder / kind.source).string() + "' >/dev/null";
    return std::system(command.c_str()) == 0 && fs::exists(folder / kind.file);
}

// A figure of /proc/self/status, in bytes.
std::int64_t status_bytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field + ":", 0) == 0)
            return std::atoll(line.c_str() + field.size() + 1) * 1024;
    return 0;
}

std::int64_t decode_peak_bytes(const Bytes& file) {
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from here
    const std::int64_t before = status_bytes("VmRSS");
    const std::optional<QImage> image = imaging::decode_heif(file, 1);
    const std::int64_t peak = status_bytes("VmHWM");
    return image ? peak - before : -1;
}

void measure_memory(const fs::path& folder, const Kind& kind) {
    if (!make_file(folder, kind)) {
        std::printf("%-18s heif-enc failed\n", kind.name);
        return;
    }
    const std::optional<Bytes> file = read_file(local_text((folder / kind.file).string()));
    const std::optional<imaging::HeifHeader> header =
        file ? imaging::heif_header(*file) : std::nullopt;
    if (!header) {
        std::printf("%-18s unreadable\n", kind.name);
        return;
    }
    const std::int64_t measured = decode_peak_bytes(*file);
    std::printf("%-18s %5.2f MB file: decoding took %6.1f MB, estimate %6.1f MB\n", kind.name,
                double(file->size()) / 1e6, double(measured) / 1e6,
                double(imaging::heif_decode_peak_bytes(*header)) / 1e6);
}

void time_decoding(const Bytes& file) {
    for (int threads : {1, 2}) {
        const bench::Timing time =
            bench::best_of(kRounds, [&] { (void)imaging::decode_heif(file, threads); });
        std::printf("decode_heif, %d decoding thread%s: %6.1f ms (on the processors %6.1f ms)\n",
                    threads, threads == 1 ? " " : "s", 1000 * time.wall, 1000 * time.processor);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const bench::BenchFolder root = bench::bench_folder(argc, argv, "galmora-heif-bench");
    if (root.path.empty()) return 0;
    fs::create_directories(root.path);
    if (!make_sources(root.path) || !make_file(root.path, kKinds[0])) {
        std::printf("could not make the photo (is heif-enc, from libheif-examples, installed?)\n");
        return 1;
    }
    const std::optional<Bytes> heic = read_file(local_text((root.path / kKinds[0].file).string()));
    std::printf("%d x %d HEIC photo by heif-enc, %.2f MB\n", bench::kPhotoWidth,
                bench::kPhotoHeight, double(heic->size()) / 1e6);
    time_decoding(*heic);
    for (const Kind& kind : kKinds) measure_memory(root.path, kind);
    std::error_code error;
    if (!root.kept) fs::remove_all(root.path, error);
    return 0;
}
