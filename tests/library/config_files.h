#pragma once
// A config.ini in a temporary library root, with raw byte access that
// bypasses the profile code under test.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "core/profile.h"
#include "library/gallery_config.h"
#include "tests/support/temp_dir.h"
#include "tests/support/profile_calls.h"

namespace galmora::testing {

class ConfigFileTest : public ::testing::Test {
  protected:
    void put(const std::string& bytes) const { root_.put("config.ini", bytes); }
    std::string bytes() const { return root_.contents("config.ini"); }
    bool exists() const { return std::filesystem::exists(path_); }
    GalleryConfig config() const { return GalleryConfig(path_); }

    TempDir root_;
    const std::string path_ = root_.file("config.ini");
};

// The defaults of a first start, byte for byte.
inline const std::string kDefaultConfig =
    "[NAME]\r\nname=0\r\n[images]\r\nnum=0\r\n[Logo]\r\nweblogo=logo.png\r\n"
    "[dl]\r\nd=1\r\n[bl]\r\nd=1\r\n";

// Single operations on the file, each one replacement of it as the program
// makes them.
inline int append_record(const GalleryConfig& config, const SubGalleryRecord& record) {
    int number = -1;
    config.update([&](GalleryConfig::Edit& edit) { number = edit.append_record(record); });
    return number;
}
inline bool write_value(const GalleryConfig& config, std::string_view section, std::string_view key,
                        std::string_view value) {
    bool written = false;
    config.update(
        [&](GalleryConfig::Edit& edit) { written = edit.write_value(section, key, value); });
    return written;
}
inline void blank_record(const GalleryConfig& config, int number) {
    config.update([&](GalleryConfig::Edit& edit) { edit.blank_record(number); });
}
inline bool compact(const GalleryConfig& config) {
    return config.update([](GalleryConfig::Edit& edit) { edit.compact(); });
}

// What one read_profile per key answers: the literal reading that every
// snapshot read must equal.
inline Text literal_value(const GalleryConfig& config, std::string_view section,
                          std::string_view key) {
    return read_profile(config.path(), section, key);
}
inline SubGalleryRecord literal_record(const GalleryConfig& config, int number) {
    const Text section = "P" + to_text(number);
    return {literal_value(config, section, "pname"), literal_value(config, section, "pimg"),
            literal_value(config, section, "pnum"), literal_value(config, section, "phd"),
            literal_value(config, section, "pstar")};
}
inline int literal_record_count(const GalleryConfig& config) {
    return to_integer(literal_value(config, "images", "num"));
}

}  // namespace galmora::testing
