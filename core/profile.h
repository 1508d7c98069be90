#pragma once
// Profile (INI) files with the semantics of the Windows profile functions:
// case-insensitive names, first occurrence wins, trimmed values with one pair
// of enclosing quotes removed, values cut to 10239 bytes, CR LF on write.
// Every write replaces the file atomically.

#include <memory>
#include <string_view>
#include <vector>

#include "core/text.h"

namespace galmora {

Text read_profile(const Text& file, std::string_view section, std::string_view key,
                  std::string_view default_value = {});
bool write_profile(const Text& file, std::string_view section, std::string_view key,
                   std::string_view value);

// The whole file parsed once; value() answers exactly what read_profile would
// have answered for the file as it was when loaded.
class ProfileSnapshot {
  public:
    static ProfileSnapshot load(const Text& file);
    ~ProfileSnapshot();
    ProfileSnapshot(ProfileSnapshot&&) noexcept;
    ProfileSnapshot& operator=(ProfileSnapshot&&) noexcept;

    Text value(std::string_view section, std::string_view key,
               std::string_view default_value = {}) const;
    // Section names in file order, as written (trimmed), duplicates included.
    std::vector<Text> section_names() const;

  private:
    struct Index;
    explicit ProfileSnapshot(std::unique_ptr<Index> index);
    std::unique_ptr<Index> index_;
};

}  // namespace galmora
