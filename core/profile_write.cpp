// Writing values of a profile file: the file is read, edited as lines and
// replaced atomically.

#include <optional>
#include <string>
#include <vector>

#include "core/files.h"
#include "core/profile.h"
#include "core/profile_lines.h"

namespace galmora {

using profile::LineKind;

namespace {

bool has_any(std::string_view text, std::string_view bytes) {
    return text.find_first_of(bytes) != std::string_view::npos;
}

const std::string_view kLineBreaksAndZero("\r\n\0", 3);

// Names and values that would change the file's structure when written (a
// line break, a "]" closing the header early, a key read back as a comment)
// are refused rather than written.
bool writable(std::string_view section, std::string_view key, std::string_view value) {
    if (section.empty() || key.empty()) return false;
    if (has_any(section, kLineBreaksAndZero) || section.find(']') != std::string_view::npos)
        return false;
    if (has_any(key, kLineBreaksAndZero) || key.find('=') != std::string_view::npos) return false;
    if (key.front() == ';' || key.front() == '[') return false;
    return !has_any(value, kLineBreaksAndZero);
}

struct Placement {
    std::optional<std::size_t> section;   // header line of the first matching section
    std::optional<std::size_t> key;       // its first matching key line
    std::optional<std::size_t> last_key;  // its last key line
};

Placement locate(const std::vector<std::string_view>& lines, std::string_view section,
                 std::string_view key) {
    Placement found;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const profile::ProfileLine line = profile::parse_line(lines[i]);
        if (line.kind == LineKind::Section) {
            if (found.section) break;
            if (profile::names_equal(line.name, section)) found.section = i;
        } else if (line.kind == LineKind::Key && found.section) {
            found.last_key = i;
            if (!found.key && profile::names_equal(line.name, key)) found.key = i;
        }
    }
    return found;
}

std::string edited_contents(std::string_view contents, std::string_view section,
                            std::string_view key, std::string_view value) {
    std::vector<std::string_view> lines;
    profile::for_each_line(contents, [&](std::string_view line) {
        lines.push_back(line);
        return true;
    });
    const Placement place = locate(lines, section, key);
    std::string replaced_line;
    std::string new_key_line = std::string(key) + "=" + std::string(value);
    std::string new_section_line;
    std::size_t insert_after = lines.size();  // after every line: a new section
    if (place.key) {
        // The key keeps its line and its spelling; only the value changes.
        replaced_line =
            std::string(profile::parse_line(lines[*place.key]).name) + "=" + std::string(value);
    } else if (place.section) {
        insert_after = place.last_key.value_or(*place.section) + 1;
    } else {
        new_section_line = "[" + std::string(section) + "]";
    }

    std::string edited;
    edited.reserve(contents.size() + new_key_line.size() + section.size() + 8);
    const auto append_line = [&edited](std::string_view line) {
        edited.append(line);
        edited.append("\r\n");
    };
    for (std::size_t i = 0; i <= lines.size(); ++i) {
        if (!place.key && i == insert_after) {
            if (!new_section_line.empty()) append_line(new_section_line);
            append_line(new_key_line);
        }
        if (i == lines.size()) break;
        append_line(place.key && i == *place.key ? std::string_view(replaced_line) : lines[i]);
    }
    return edited;
}

}  // namespace

ProfileDocument::ProfileDocument(Text path, std::string contents) : path_(std::move(path)) {
    // A byte-order mark stays where it is, in front of the edited lines.
    const std::string_view lines = profile::without_byte_order_mark(contents);
    byte_order_mark_ = contents.substr(0, contents.size() - lines.size());
    lines_ = std::string(lines);
}

std::optional<ProfileDocument> ProfileDocument::load(const Text& file) {
    std::string_view path(file);
    while (!path.empty() && profile::is_blank(path.front())) path.remove_prefix(1);
    if (path.empty()) return std::nullopt;
    const Text file_path(path);
    std::string contents;
    if (std::optional<Bytes> old = read_file(file_path)) {
        contents.assign(old->begin(), old->end());
    } else if (file_attributes(file_path) != -1) {
        return std::nullopt;  // there but unreadable: never replace what could not be read
    }
    return ProfileDocument(file_path, std::move(contents));
}

bool ProfileDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view section_name = profile::trim(section);
    const std::string_view key_name = profile::trim(key);
    if (!writable(section_name, key_name, value)) return false;
    lines_ = edited_contents(lines_, section_name, key_name, value);
    edited_ = true;
    return true;
}

void ProfileDocument::replace_lines(std::string_view lines) {
    lines_ = std::string(lines);
    edited_ = true;
}

ProfileSnapshot ProfileDocument::snapshot() const {
    return ProfileSnapshot::parse(byte_order_mark_ + lines_);
}

bool ProfileDocument::save() const {
    if (!edited_) return true;
    return replace_file_atomically(path_, as_bytes(byte_order_mark_ + lines_));
}

}  // namespace galmora
