#include "library/gallery_config.h"

#include <algorithm>
#include <array>
#include <climits>

#include "core/files.h"

namespace galmora {

namespace {

constexpr std::array<std::string_view, 5> kRecordKeys = {"pname", "pimg", "pnum", "phd", "pstar"};
// The thumbnails option's own section: absent until the box is first clicked.
constexpr std::string_view kThumbnailsSection = "thumbnails";

std::array<const Text*, 5> fields_of(const SubGalleryRecord& record) {
    return {&record.pname, &record.pimg, &record.pnum, &record.phd, &record.pstar};
}

std::array<Text*, 5> fields_of(SubGalleryRecord& record) {
    return {&record.pname, &record.pimg, &record.pnum, &record.phd, &record.pstar};
}

Text record_section(int number) {
    return "P" + to_text(number);
}

const char* toggle_text(bool on) {
    return on ? "1" : "0";
}

// A value lives on one line; a line break would cut it and turn the rest
// into lines of their own (even a section header), a zero byte ends it.
bool fits_on_a_line(std::string_view value) {
    return value.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

// The text written after "=" so that the reader gives the value back
// unchanged: it trims blanks and strips one pair of enclosing quotes, so a
// value that starts or ends with either is wrapped in double quotes (a
// folder may well be named " x" or "'x'"). Every other value is written as
// it is.
Text stored_form(std::string_view value) {
    if (value.empty()) return Text();
    const auto needs_quotes = [](unsigned char c) { return c <= 0x20 || c == '"' || c == '\''; };
    if (!needs_quotes(value.front()) && !needs_quotes(value.back())) return Text(value);
    return "\"" + Text(value) + "\"";
}

// The slot number a section name may stand for, or 0. Generous on purpose:
// "P05" or "p5 x" count as 5 too. Counting a section that no lookup of
// "P5" reaches only costs one lookup that reads empty; missing one that a
// lookup does reach would lose a record.
int slot_number_of(std::string_view name) {
    size_t i = 0;
    while (i < name.size() && static_cast<unsigned char>(name[i]) <= 0x20) ++i;
    if (i == name.size() || (name[i] != 'P' && name[i] != 'p')) return 0;
    long long number = 0;
    bool any_digit = false;
    for (++i; i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i) {
        any_digit = true;
        number = number * 10 + (name[i] - '0');
        if (number > INT_MAX) return 0;  // no int slot number prints as this
    }
    return any_digit ? static_cast<int>(number) : 0;
}

// One section of the compacted file.
void append_section(Text& out, std::string_view section, std::string_view key,
                    std::string_view value) {
    out.append("[").append(section).append("]\r\n");
    out.append(key).append("=").append(stored_form(value)).append("\r\n");
}

// The whole file as compaction leaves it: the head, the records with a name
// renumbered from 1, then the two switches as they were.
Text compacted_text(const GalleryConfig::Snapshot& snapshot) {
    Text records;
    int out = 1;
    for (int slot : snapshot.slots_present()) {
        const SubGalleryRecord record = snapshot.read_record(slot);
        if (record.pname.empty()) continue;
        records.append("[P").append(to_text(out)).append("]\r\n");
        const auto fields = fields_of(record);
        for (size_t i = 0; i < kRecordKeys.size(); ++i)
            records.append(kRecordKeys[i])
                .append("=")
                .append(stored_form(*fields[i]))
                .append("\r\n");
        ++out;
    }
    Text text;
    append_section(text, "NAME", "name", snapshot.read_value("NAME", "name"));
    append_section(text, "images", "num", to_text(out - 1));
    append_section(text, "Logo", "weblogo", snapshot.site_logo());
    text += records;
    // The switches live in the same file; keep them as they were.
    for (std::string_view toggle :
         {std::string_view("dl"), std::string_view("bl"), kThumbnailsSection}) {
        if (snapshot.has_value(toggle, "d"))
            append_section(text, toggle, "d", snapshot.read_value(toggle, "d"));
    }
    return text;
}

}  // namespace

// ---------------------------------------------------------------------------
// Snapshot

GalleryConfig::Snapshot::Snapshot(ProfileSnapshot profile) : profile_(std::move(profile)) {
    record_count_ = to_integer(read_value("images", "num"));
    for (const Text& name : profile_.section_names()) {
        const int number = slot_number_of(name);
        if (number > 0 && number <= record_count_) slots_present_.push_back(number);
    }
    std::sort(slots_present_.begin(), slots_present_.end());
    slots_present_.erase(std::unique(slots_present_.begin(), slots_present_.end()),
                         slots_present_.end());
    for (int slot : slots_present_) {
        Text pname = read_value(record_section(slot), "pname");
        if (!pname.empty()) slots_by_pname_[std::move(pname)].push_back(slot);
    }
}

Text GalleryConfig::Snapshot::read_value(std::string_view section, std::string_view key) const {
    return profile_.value(section, key);
}

bool GalleryConfig::Snapshot::has_value(std::string_view section, std::string_view key) const {
    // A missing key answers with the default, a present one with its value
    // whatever the default: only a present key gives the same answer twice.
    return profile_.value(section, key, "0") == profile_.value(section, key, "1");
}

int GalleryConfig::Snapshot::selected_index() const {
    return to_integer(read_value("NAME", "name"));
}

int GalleryConfig::Snapshot::record_count() const {
    return record_count_;
}

SubGalleryRecord GalleryConfig::Snapshot::read_record(int number) const {
    SubGalleryRecord record;
    const Text section = record_section(number);
    const auto fields = fields_of(record);
    for (size_t i = 0; i < kRecordKeys.size(); ++i)
        *fields[i] = read_value(section, kRecordKeys[i]);
    return record;
}

const std::vector<int>& GalleryConfig::Snapshot::slots_present() const {
    return slots_present_;
}

Text GalleryConfig::Snapshot::site_logo() const {
    return read_value("Logo", "weblogo");
}

bool GalleryConfig::Snapshot::lanterns_on() const {
    return read_value("dl", "d") == "1";
}

bool GalleryConfig::Snapshot::keep_proportions() const {
    return read_value("bl", "d") == "1";
}

bool GalleryConfig::Snapshot::thumbnails_on() const {
    return read_value(kThumbnailsSection, "d") == "1";
}

std::optional<int> GalleryConfig::Snapshot::find_record(const Text& pname) const {
    if (!pname.empty()) {
        const auto& slots = records_named(pname);
        if (slots.empty()) return std::nullopt;
        return slots.front();
    }
    // The empty name matches every slot whose pname reads empty: a present
    // slot with an empty pname, or the first slot without a section.
    int expected = 1;
    for (int slot : slots_present_) {
        if (slot != expected) break;
        if (read_value(record_section(slot), "pname").empty()) return slot;
        ++expected;
    }
    if (expected <= record_count_) return expected;
    return std::nullopt;
}

const std::vector<int>& GalleryConfig::Snapshot::records_named(const Text& pname) const {
    static const std::vector<int> none;
    const auto found = slots_by_pname_.find(pname);
    return found == slots_by_pname_.end() ? none : found->second;
}

// ---------------------------------------------------------------------------
// Edit

bool GalleryConfig::Edit::write_value(std::string_view section, std::string_view key,
                                      std::string_view value) {
    return document_.set(section, key, stored_form(value));
}

void GalleryConfig::Edit::set_selected_index(int index) {
    write_value("NAME", "name", to_text(index));
}

void GalleryConfig::Edit::set_site_logo(const Text& name) {
    write_value("Logo", "weblogo", name);
}

void GalleryConfig::Edit::set_lanterns_on(bool on) {
    write_value("dl", "d", toggle_text(on));
}

void GalleryConfig::Edit::set_keep_proportions(bool on) {
    write_value("bl", "d", toggle_text(on));
}

void GalleryConfig::Edit::set_thumbnails_on(bool on) {
    write_value(kThumbnailsSection, "d", toggle_text(on));
}

int GalleryConfig::Edit::append_record(const SubGalleryRecord& record) {
    // A negative count is as meaningless as one without digits and counts as
    // 0; otherwise the record would go to "P0" or "P-4", which no reader
    // ever visits, and be dropped by the next compaction.
    const int count = std::max(0, snapshot().record_count());
    // A saturated count has no next number: refuse rather than overwrite.
    if (count == INT_MAX) return 0;
    const auto fields = fields_of(record);
    // All five keys or none: a record cut short would be worse than none.
    for (const Text* field : fields)
        if (!fits_on_a_line(*field)) return 0;
    const double number = static_cast<double>(count) + 1.0;
    const Text number_text = to_text(number);
    const Text section = "P" + number_text;
    // The record key by key, then the count that points at it.
    for (size_t i = 0; i < kRecordKeys.size(); ++i)
        write_value(section, kRecordKeys[i], *fields[i]);
    write_value("images", "num", number_text);
    return static_cast<int>(number);
}

void GalleryConfig::Edit::blank_record(int number) {
    const Text section = record_section(number);
    for (std::string_view key : kRecordKeys) write_value(section, key, "");
}

void GalleryConfig::Edit::compact() {
    document_.replace_lines(compacted_text(snapshot()));
}

// ---------------------------------------------------------------------------
// GalleryConfig

GalleryConfig::GalleryConfig(Text path) : path_(std::move(path)) {}

GalleryConfig::Snapshot GalleryConfig::snapshot() const {
    return Snapshot(ProfileSnapshot::load(path_));
}

std::optional<GalleryConfig::Edit> GalleryConfig::open_edit() const {
    std::optional<ProfileDocument> document = ProfileDocument::load(path_);
    if (!document) return std::nullopt;
    return Edit(std::move(*document));
}

bool GalleryConfig::ensure_file() const {
    if (file_attributes(path_) != -1) return true;
    // Key by key into the empty file, so it is exactly what the profile
    // writes make, and written whole.
    return update([](Edit& edit) {
        edit.set_selected_index(0);
        edit.write_value("images", "num", "0");
        edit.set_site_logo("logo.png");
        edit.set_lanterns_on(true);
        edit.set_keep_proportions(true);
    });
}

std::optional<WriteProblem> GalleryConfig::rewrite_problem() const {
    const std::optional<Bytes> old = read_file(path_);
    if (old) return replacement_problem(path_, *old);
    const int attributes = file_attributes(path_);
    if (attributes == -1) return replacement_problem(path_, ByteView());
    return (attributes & kDirectory) ? WriteProblem::IsFolder : WriteProblem::Unreadable;
}

std::optional<Bytes> GalleryConfig::saved_contents() const {
    return read_file(path_);
}

bool GalleryConfig::restore(const Bytes& contents) const {
    return replace_file_atomically(path_, contents);
}

void GalleryConfig::remove_abandoned_writes() const {
    remove_abandoned_replacements(path_);
}

}  // namespace galmora
