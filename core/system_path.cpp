#include "core/system_path.h"

#include "core/codepage.h"
#include "core/files.h"

namespace galmora {

std::optional<std::string> system_path(std::string_view path) {
    if (path.empty() || path.find('\0') != std::string_view::npos) return std::nullopt;
    return strict_utf8(path);
}

FileStamp stamp_of(const struct stat& status) {
    const auto nanoseconds = [](const timespec& time) {
        return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
    };
    return FileStamp{static_cast<std::int64_t>(status.st_size), nanoseconds(status.st_mtim),
                     nanoseconds(status.st_ctim)};
}

int attributes_from_status(const struct stat& status, std::string_view name) {
    const int attributes = attributes_without_read_only(S_ISDIR(status.st_mode), name);
    return is_read_only(status) ? attributes | kReadOnly : attributes;
}

int attributes_without_read_only(bool folder, std::string_view name) {
    int attributes = folder ? kDirectory : kArchive;
    const bool dot_entry = name == "." || name == "..";
    if (!dot_entry && !name.empty() && name.front() == '.') attributes |= kHidden;
    return attributes;
}

// Folders never carry read-only: one on read-only media must still be scanned.
bool is_read_only(const struct stat& status) {
    return !S_ISDIR(status.st_mode) && (status.st_mode & S_IWUSR) == 0;
}

std::string_view last_path_element(std::string_view path) {
    while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace galmora
