#include "core/profile_lines.h"

namespace galmora::profile {

bool is_blank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

std::string_view trim(std::string_view t) {
    while (!t.empty() && is_blank(t.front())) t.remove_prefix(1);
    while (!t.empty() && is_blank(t.back())) t.remove_suffix(1);
    return t;
}

ProfileLine parse_line(std::string_view line) {
    std::string_view t = line;
    while (!t.empty() && is_blank(t.front())) t.remove_prefix(1);
    if (t.empty()) return {};
    if (t.front() == ';') return {LineKind::Comment, {}, {}};
    if (t.front() == '[') {
        const std::size_t close = t.find(']');
        if (close != std::string_view::npos)
            return {LineKind::Section, trim(t.substr(1, close - 1)), {}};
    }
    const std::size_t equals = t.find('=');
    if (equals == std::string_view::npos) return {};
    return {LineKind::Key, trim(t.substr(0, equals)), t.substr(equals + 1)};
}

std::string_view without_byte_order_mark(std::string_view contents) {
    if (contents.starts_with(kByteOrderMark)) contents.remove_prefix(kByteOrderMark.size());
    return contents;
}

std::string_view clean_name(std::string_view name) {
    return trim(name.substr(0, name.find('\0')));
}

Text clean_path(std::string_view file) {
    std::string_view path = file.substr(0, file.find('\0'));
    while (!path.empty() && is_blank(path.front())) path.remove_prefix(1);
    return Text(path);
}

namespace {

char fold_ascii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool is_lead_byte(char c) {
    return static_cast<unsigned char>(c) >= 0x80;
}

}  // namespace

bool names_equal(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (is_lead_byte(a[i])) {
            // A two-byte character matches only itself, trail byte included.
            if (a[i] != b[i] || (i + 1 < a.size() && a[i + 1] != b[i + 1])) return false;
            ++i;
        } else if (fold_ascii(a[i]) != fold_ascii(b[i])) {
            return false;
        }
    }
    return true;
}

std::string folded_name(std::string_view name) {
    std::string folded(name);
    for (std::size_t i = 0; i < folded.size(); ++i) {
        if (is_lead_byte(folded[i]))
            ++i;
        else
            folded[i] = fold_ascii(folded[i]);
    }
    return folded;
}

Text finished_value(std::string_view raw_value) {
    std::string_view value = trim(raw_value.substr(0, raw_value.find('\0')));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return Text(value.substr(0, kValueLimit));
}

Text finished_default(std::string_view default_value) {
    std::string_view value = default_value.substr(0, default_value.find('\0'));
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
    return Text(value.substr(0, kValueLimit));
}

}  // namespace galmora::profile
