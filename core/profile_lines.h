#pragma once
// Internal to core: the line grammar of profile files, shared by the reader,
// the snapshot and the writer so that all three see the same file.

#include <cstddef>
#include <string>
#include <string_view>

#include "core/text.h"

namespace galmora::profile {

inline constexpr std::size_t kValueLimit = 10239;

enum class LineKind { Other, Comment, Section, Key };

struct ProfileLine {
    LineKind kind = LineKind::Other;
    std::string_view name;       // section or key, trimmed
    std::string_view raw_value;  // a key line's text after its first "="
};

ProfileLine parse_line(std::string_view line);

// The UTF-8 byte-order mark an editor may put in front of the first line.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// The contents after a leading byte-order mark, which is no part of any line.
std::string_view without_byte_order_mark(std::string_view contents);

// Calls visit(line) for every line; CR LF, LF and CR alone end lines.
template <typename Visit>
void for_each_line(std::string_view contents, Visit&& visit) {
    std::size_t start = 0;
    const std::size_t size = contents.size();
    while (start < size) {
        std::size_t end = start;
        while (end < size && contents[end] != '\r' && contents[end] != '\n') ++end;
        if (!visit(contents.substr(start, end - start))) return;
        if (end < size && contents[end] == '\r' && end + 1 < size && contents[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
}

bool is_blank(char c);
std::string_view trim(std::string_view t);
// A name as the caller passes it: up to a zero byte, without surrounding blanks.
std::string_view clean_name(std::string_view name);
// A file path as the reader takes it: up to a zero byte, leading blanks skipped.
Text clean_path(std::string_view file);
// Case-insensitive for ASCII letters, but never inside a two-byte character.
bool names_equal(std::string_view a, std::string_view b);
std::string folded_name(std::string_view name);
// The value a lookup returns for a key line's raw value.
Text finished_value(std::string_view raw_value);
// The default with its trailing blanks removed.
Text finished_default(std::string_view default_value);

}  // namespace galmora::profile
