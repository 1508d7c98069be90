#include "tests/support/profile_calls.h"

#include <optional>

#include "core/files.h"
#include "core/profile.h"
#include "core/profile_lines.h"

namespace galmora::testing {

using profile::LineKind;

namespace {

std::string_view as_text(const Bytes& bytes) {
    return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// The raw value of the first matching key in the first matching section;
// stops reading at the end of that section.
std::optional<std::string_view> find_raw_value(std::string_view contents, std::string_view section,
                                               std::string_view key) {
    std::optional<std::string_view> found;
    bool in_section = false;
    bool section_seen = false;
    profile::for_each_line(contents, [&](std::string_view text) {
        const profile::ProfileLine line = profile::parse_line(text);
        if (line.kind == LineKind::Section) {
            if (section_seen) return false;
            in_section = section_seen = profile::names_equal(line.name, section);
        } else if (line.kind == LineKind::Key && in_section &&
                   profile::names_equal(line.name, key)) {
            found = line.raw_value;
            return false;
        }
        return true;
    });
    return found;
}

}  // namespace

Text read_profile(const Text& file, std::string_view section, std::string_view key,
                  std::string_view default_value) {
    const Text path = profile::clean_path(file);
    const std::string_view wanted_section = profile::clean_name(section);
    const std::string_view wanted_key = profile::clean_name(key);
    if (path.empty() || wanted_section.empty() || wanted_key.empty()) return {};
    const std::optional<Bytes> contents = read_file(path);
    if (contents) {
        const auto raw = find_raw_value(profile::without_byte_order_mark(as_text(*contents)),
                                        wanted_section, wanted_key);
        if (raw) return profile::finished_value(*raw);
    }
    return profile::finished_default(default_value);
}

bool write_profile(const Text& file, std::string_view section, std::string_view key,
                   std::string_view value) {
    std::optional<ProfileDocument> document = ProfileDocument::load(file);
    return document && document->set(section, key, value) && document->save();
}

}  // namespace galmora::testing
