#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "core/codepage.h"

namespace galmora::testing {

namespace {

namespace fs = std::filesystem;

// Tests may leave folders without write or search permission; give every
// real folder (never a link's target) back to its owner before removal.
void make_removable(const fs::path& folder) {
    ::chmod(folder.c_str(), 0700);
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code kind_error;
        if (it->symlink_status(kind_error).type() == fs::file_type::directory)
            make_removable(it->path());
    }
}

}  // namespace

TempDir::TempDir() {
    std::string pattern = "/tmp/galmora-test-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "cannot create a temporary folder";
        return;
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    if (path_.empty()) return;
    make_removable(path_);
    std::error_code error;
    fs::remove_all(path_, error);  // removes links themselves, never their targets
}

Text TempDir::text() const {
    return local_text(path_);
}

Text TempDir::file_text(const std::string& name_utf8) const {
    return local_text(file(name_utf8));
}

void TempDir::put(const std::string& name_utf8, std::string_view contents) const {
    const fs::path path = file(name_utf8);
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << contents;
}

std::string TempDir::contents(const std::string& name_utf8) const {
    std::ifstream in(file(name_utf8), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace galmora::testing
