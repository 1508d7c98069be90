#include "bench/support/picture_tree.h"

#include <stdlib.h>

#include <cstdlib>
#include <fstream>
#include <vector>

namespace galmora::bench {

namespace fs = std::filesystem;

void make_picture_tree(const fs::path& root, int pictures) {
    static const char* kSuffixes[] = {".jpg", ".png", ".JPG", ".gif", ".jpeg", ".webp"};
    if (fs::exists(root)) return;
    std::vector<fs::path> folders;
    for (int top = 0; top < 20; ++top) {
        fs::path parent = root / ("album " + std::to_string(top));
        folders.push_back(parent);
        for (int sub = 0; sub < 5; ++sub)
            folders.push_back(parent / ("day_" + std::to_string(sub)));
    }
    for (const auto& folder : folders) fs::create_directories(folder);
    for (int i = 0; i < pictures; ++i) {
        const fs::path& folder = folders[i % folders.size()];
        std::ofstream(folder / ("IMG_" + std::to_string(100000 + i) + kSuffixes[i % 6])) << "px";
    }
    for (const auto& folder : folders) {
        std::ofstream(folder / "notes.txt") << "not a picture";
        std::ofstream(folder / "Thumbs.db") << "x";
    }
}

Timing find_timing(const fs::path& root, int rounds) {
    const std::string command = "/usr/bin/find '" + root.string() + "' > /dev/null";
    if (std::system(command.c_str()) != 0) return {};
    return best_of(rounds, [&] { (void)std::system(command.c_str()); });
}

BenchFolder bench_folder(int argc, char** argv, const std::string& prefix) {
    if (argc > 1) return {argv[1], true};
    std::string pattern = (fs::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) return {};
    return {pattern, false};
}

}  // namespace galmora::bench
