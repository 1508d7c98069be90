#pragma once
// Profile (INI) files with the semantics of the Windows profile functions:
// case-insensitive names, first occurrence wins, trimmed values with one pair
// of enclosing quotes removed, values cut to 10239 bytes, CR LF on write.
// Every write replaces the file atomically.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/text.h"

namespace galmora {

// The whole file parsed once; value() answers exactly what a lookup of the
// key in the file (the first matching section, the first matching key in it)
// would have answered for the file as it was when loaded.
class ProfileSnapshot {
  public:
    static ProfileSnapshot load(const Text& file);
    // The same for a file's contents already in memory.
    static ProfileSnapshot parse(std::string_view contents);
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

// A profile file read once, edited in memory and written back with one atomic
// replacement, so that several values change together or not at all. Each
// set() changes the text exactly as one profile write of that key would
// change the file.
class ProfileDocument {
  public:
    // nullopt when the path is blank, or the file exists but cannot be read.
    static std::optional<ProfileDocument> load(const Text& file);

    // false, and nothing changed, for a name or value write_profile refuses.
    bool set(std::string_view section, std::string_view key, std::string_view value);
    // Every line replaced by lines (CR LF ended); a byte-order mark in front stays.
    void replace_lines(std::string_view lines);
    ProfileSnapshot snapshot() const;
    bool edited() const { return edited_; }
    // Replaces the file with the edited text; true without writing when
    // nothing was edited.
    bool save() const;

  private:
    ProfileDocument(Text path, std::string contents);

    Text path_;
    std::string byte_order_mark_;
    std::string lines_;
    bool edited_ = false;
};

}  // namespace galmora
