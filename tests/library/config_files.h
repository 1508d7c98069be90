#pragma once
// A temporary library root for config.ini tests, with raw byte access that
// bypasses the profile code under test.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "library/gallery_config.h"

namespace galmora::testing {

class ConfigFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "galmora-config-XXXXXX");
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        path_ = root_ + "/config.ini";
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(root_, ignored);
    }

    void put(const std::string& bytes) const {
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    std::string bytes() const {
        std::ifstream in(path_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    bool exists() const { return std::filesystem::exists(path_); }
    GalleryConfig config() const { return GalleryConfig(path_); }

    std::string root_, path_;
};

}  // namespace galmora::testing
