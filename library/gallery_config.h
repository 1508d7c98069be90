#pragma once
// The library's one config.ini: every read and write of it goes through here.

#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/profile.h"
#include "core/text.h"

namespace galmora {

struct SubGalleryRecord {
    Text pname, pimg, pnum, phd, pstar;
};

class GalleryConfig {
  public:
    explicit GalleryConfig(Text path);  // library root + "/config.ini"
    const Text& path() const { return path_; }

    void ensure_file() const;
    Text read_value(std::string_view section, std::string_view key) const;
    // A value that starts or ends with a blank or a quote is written inside
    // double quotes, so that it reads back unchanged.
    bool write_value(std::string_view section, std::string_view key, std::string_view value) const;

    int selected_index() const;
    void set_selected_index(int index) const;
    int record_count() const;
    Text site_logo() const;
    void set_site_logo(const Text& name) const;
    bool lanterns_on() const;
    void set_lanterns_on(bool on) const;
    bool keep_proportions() const;
    void set_keep_proportions(bool on) const;

    // The new record's number; 0 when nothing was written (a field holds a
    // line break or zero byte, or num is already at the largest number).
    int append_record(const SubGalleryRecord& record) const;
    SubGalleryRecord read_record(int number) const;
    // One parse of the file; std::nullopt when no slot from 1 to num matches.
    std::optional<int> find_record(const Text& pname) const;
    void blank_record(int number) const;
    // Replaces the file atomically; false (file untouched) when it exists but
    // cannot be read.
    bool compact() const;
    // Whether the file can be rewritten now (read when present, a replacement
    // written beside it), asked before an operation changes anything.
    bool can_rewrite() const;

    // The whole file parsed once, for operations that read many values.
    class Snapshot {
      public:
        explicit Snapshot(const Text& path);
        Text read_value(std::string_view section, std::string_view key) const;
        // Whether the key is in the file at all (a present key may be empty).
        bool has_value(std::string_view section, std::string_view key) const;
        int record_count() const;
        SubGalleryRecord read_record(int number) const;
        // Highest record number that can hold a record: min(num, highest
        // [P<n>] section present), so loops never run to a huge num.
        int last_possible_record() const;
        // The slots from 1 to num that have a section, ascending; every
        // other slot reads empty. Loops over records visit only these.
        const std::vector<int>& slots_present() const;

        Text site_logo() const;
        bool lanterns_on() const;
        bool keep_proportions() const;
        // The lowest slot from 1 to num whose pname equals the name.
        std::optional<int> find_record(const Text& pname) const;
        // Every slot from 1 to num whose pname equals the name, ascending.
        // A folder name is never empty, so the empty name matches nothing here.
        const std::vector<int>& records_named(const Text& pname) const;

      private:
        ProfileSnapshot profile_;
        int last_section_number_ = 0;
        int record_count_ = 0;
        std::vector<int> slots_present_;
        std::unordered_map<Text, std::vector<int>> slots_by_pname_;
    };
    Snapshot snapshot() const { return Snapshot(path_); }

  private:
    static Text compacted_text(const Snapshot& snapshot);

    Text path_;
};

}  // namespace galmora
