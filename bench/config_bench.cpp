// config.ini with 5,000 records: reading every record through one snapshot,
// reading them key by key (one file parse per key), and compaction.

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/files.h"
#include "core/profile.h"
#include "core/text.h"
#include "library/gallery_config.h"
#include "tests/support/profile_calls.h"

using namespace galmora;
using galmora::testing::read_profile;

namespace {

constexpr int kRecords = 5000;
// The key-by-key pass stops after this long and extrapolates.
constexpr double kKeyByKeyBudgetSeconds = 5.0;

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

Text library_file() {
    Text text = "[NAME]\r\nname=0\r\n[images]\r\nnum=" + to_text(kRecords) +
                "\r\n[Logo]\r\nweblogo=logo.png\r\n[dl]\r\nd=1\r\n[bl]\r\nd=1\r\n";
    for (int i = 1; i <= kRecords; ++i) {
        const Text n = to_text(i);
        text += "[P" + n + "]\r\npname=gallery" + n + "\r\npimg=fm" + n + ".jpg\r\npnum=" + n +
                "\r\nphd=hd\r\npstar=*****\r\n";
    }
    return text;
}

// One record read key by key, one file parse per key.
Text pname_read_key_by_key(const GalleryConfig& config, int number) {
    const Text section = "P" + to_text(number);
    for (const char* key : {"pimg", "pnum", "phd", "pstar"})
        read_profile(config.path(), section, key);
    return read_profile(config.path(), section, "pname");
}

}  // namespace

int main() {
    std::string folder = (std::filesystem::temp_directory_path() / "galmora-bench-XXXXXX");
    if (!mkdtemp(folder.data())) return 1;
    const GalleryConfig config(folder + "/config.ini");
    const Text contents = library_file();
    write_file(config.path(), as_bytes(contents));
    std::printf("config.ini: %d records, %zu bytes\n", kRecords, contents.size());

    auto start = Clock::now();
    size_t checksum = 0;
    {
        const GalleryConfig::Snapshot snapshot = config.snapshot();
        for (int i = 1; i <= snapshot.record_count(); ++i)
            checksum += snapshot.read_record(i).pname.size();
    }
    std::printf("snapshot: every record read in %.3f ms\n", seconds_since(start) * 1e3);

    start = Clock::now();
    int read = 0;
    while (read < kRecords && seconds_since(start) < kKeyByKeyBudgetSeconds)
        checksum += pname_read_key_by_key(config, ++read).size();
    const double elapsed = seconds_since(start);
    if (read == kRecords) {
        std::printf("key by key: every record read in %.3f s\n", elapsed);
    } else {
        std::printf(
            "key by key: %d of %d records read in %.3f s (capped); all would take about "
            "%.1f s\n",
            read, kRecords, elapsed, elapsed / read * kRecords);
    }
    // One parse per key; a main page rebuild read that way parses the file
    // once per record for every folder.
    const double per_parse = elapsed / (read * 5.0);
    std::printf(
        "  (%.3f ms per parse: a key-by-key main page rebuild of %d folders would take "
        "about %.1f h)\n",
        per_parse * 1e3, kRecords, per_parse * kRecords * kRecords / 3600.0);

    start = Clock::now();
    const GalleryConfig::Snapshot snapshot = config.snapshot();
    int matched = 0;
    for (int i = 1; i <= kRecords; ++i)
        matched += static_cast<int>(snapshot.records_named("gallery" + to_text(i)).size());
    std::printf("main page matching: %d folders against every record in %.3f ms\n", matched,
                seconds_since(start) * 1e3);

    start = Clock::now();
    const bool compacted = config.update([](GalleryConfig::Edit& edit) {
        edit.blank_record(kRecords / 2);
        edit.compact();
    });
    std::printf("blank and compact: %s in %.3f ms, %d records left\n",
                compacted ? "done" : "FAILED", seconds_since(start) * 1e3,
                config.snapshot().record_count());

    std::printf("(checksum %zu)\n", checksum);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return compacted ? 0 : 1;
}
