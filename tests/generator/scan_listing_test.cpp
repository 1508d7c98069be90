#include "generator/scan_listing.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/codepage.h"
#include "core/directory_scan.h"
#include "core/files.h"
#include "tests/support/hostile_tree.h"
#include "tests/support/temp_dir.h"

namespace galmora {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

// "name" or "name/" for a plain folder, in listing order.
std::vector<std::string> listed(const Text& folder) {
    std::vector<std::string> names;
    for (const ScanEntry& entry : list_scan_entries(folder))
        names.push_back(entry.name + (entry.plain_folder ? "/" : ""));
    return names;
}

std::vector<std::string> scanned(const Text& folder) {
    std::vector<std::string> names;
    DirectoryScan scan;
    for (Text name = scan.find_first(folder + "/*.*", kAllEntries); !name.empty();
         name = scan.find_next())
        if (name != "." && name != "..")
            names.push_back(name + (scan.attributes() == kDirectory ? "/" : ""));
    return names;
}

TEST(ListScanEntries, AgreesWithDirectoryScanInEveryHostileFolder) {
    TempDir dir;
    testing::make_hostile_tree(dir.path());
    int folders = 0;
    for (const auto& item : fs::recursive_directory_iterator(dir.path())) {
        if (!item.is_directory() || item.is_symlink()) continue;
        const Text folder = local_text(item.path().string());
        EXPECT_EQ(listed(folder), scanned(folder)) << item.path();
        ++folders;
    }
    EXPECT_GE(folders, 5);
    EXPECT_EQ(listed(dir.text()), scanned(dir.text()));
}

TEST(ListScanEntries, OrdersSkipsAndRefusesLikeTheListing) {
    TempDir dir;
    for (const char* name : {"a_b.txt", "ab.txt", "B.jpg", "b.jpg", "\xFF.jpg"})
        std::ofstream(fs::path(dir.path()) / name) << "x";
    fs::create_symlink(fs::path(dir.path()) / "gone", fs::path(dir.path()) / "dangling.jpg");
    fs::create_directory(fs::path(dir.path()) / "c");
    EXPECT_EQ(listed(dir.text()),
              (std::vector<std::string>{"ab.txt", "a_b.txt", "B.jpg", "b.jpg", "c/"}));
    EXPECT_EQ(listed(dir.text()), scanned(dir.text()));
    EXPECT_TRUE(listed(dir.file_text("missing")).empty());
    EXPECT_TRUE(listed(dir.file_text("ab.txt")).empty());
    EXPECT_TRUE(listed("").empty());
}

}  // namespace
}  // namespace galmora
