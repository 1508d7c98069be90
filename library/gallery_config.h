#pragma once
// The library's one config.ini: every read and write of it goes through here.
// Reads go through a Snapshot, writes through an Edit; nothing is kept
// between operations, each one reads the file afresh.

#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/files.h"
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

    // The whole file parsed once; answers what one read per key would answer.
    class Snapshot {
      public:
        explicit Snapshot(ProfileSnapshot profile);
        Text read_value(std::string_view section, std::string_view key) const;
        // Whether the key is in the file at all (a present key may be empty).
        bool has_value(std::string_view section, std::string_view key) const;

        int selected_index() const;
        int record_count() const;
        Text site_logo() const;
        bool lanterns_on() const;
        bool keep_proportions() const;
        // The thumbnails option; a file without its key reads as off.
        bool thumbnails_on() const;

        SubGalleryRecord read_record(int number) const;
        // The slots from 1 to num that have a section, ascending; every
        // other slot reads empty. Loops over records visit only these.
        const std::vector<int>& slots_present() const;
        // The lowest slot from 1 to num whose pname equals the name.
        std::optional<int> find_record(const Text& pname) const;
        // Every slot from 1 to num whose pname equals the name, ascending.
        // A folder name is never empty, so the empty name matches nothing here.
        const std::vector<int>& records_named(const Text& pname) const;

      private:
        ProfileSnapshot profile_;
        int record_count_ = 0;
        std::vector<int> slots_present_;
        std::unordered_map<Text, std::vector<int>> slots_by_pname_;
    };

    // The file's text in memory while one operation changes it. Each change
    // has the effect one profile write per key would have on the file; the
    // whole text is written once, by GalleryConfig::update.
    class Edit {
      public:
        // A value that starts or ends with a blank or a quote is written
        // inside double quotes, so that it reads back unchanged.
        bool write_value(std::string_view section, std::string_view key, std::string_view value);

        void set_selected_index(int index);
        void set_site_logo(const Text& name);
        void set_lanterns_on(bool on);
        void set_keep_proportions(bool on);
        void set_thumbnails_on(bool on);

        // The new record's number; 0 when nothing was written (a field holds
        // a line break or zero byte, or num is already at the largest number).
        int append_record(const SubGalleryRecord& record);
        void blank_record(int number);
        // Renumbers the records 1 ... n without gaps and drops blanked ones.
        void compact();

      private:
        friend class GalleryConfig;
        explicit Edit(ProfileDocument document) : document_(std::move(document)) {}
        Snapshot snapshot() const { return Snapshot(document_.snapshot()); }

        ProfileDocument document_;
    };

    Snapshot snapshot() const;

    // Reads the file, lets change(Edit&) edit it and replaces it once with
    // the result (not at all when nothing was changed). false, the file
    // untouched, when it exists but cannot be read or cannot be replaced.
    template <typename Change>
    bool update(Change&& change) const {
        std::optional<Edit> edit = open_edit();
        if (!edit) return false;
        change(*edit);
        return edit->document_.save();
    }

    // When the file is missing: the first-start defaults. False when it is
    // missing and could not be created.
    bool ensure_file() const;
    // What keeps the file from being rewritten now (read when present, a
    // replacement written beside it), asked before an operation changes
    // anything; nullopt when it can be.
    std::optional<WriteProblem> rewrite_problem() const;
    // The file's bytes as they are now, to be put back by restore() when
    // what an operation wrote must be undone; nullopt when missing or
    // unreadable.
    std::optional<Bytes> saved_contents() const;
    bool restore(const Bytes& contents) const;
    // Removes what a write killed before it finished left beside the file.
    void remove_abandoned_writes() const;

  private:
    std::optional<Edit> open_edit() const;

    Text path_;
};

}  // namespace galmora
