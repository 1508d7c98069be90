#pragma once
// A config.ini in a temporary library root, with raw byte access that
// bypasses the profile code under test.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "library/gallery_config.h"
#include "tests/support/temp_dir.h"

namespace galmora::testing {

class ConfigFileTest : public ::testing::Test {
  protected:
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

    TempDir root_;
    const std::string path_ = root_.file("config.ini");
};

}  // namespace galmora::testing
