#pragma once
// Internal to core: how a Text path reaches the system, and how the system's
// view of an entry becomes EntryAttributes.

#include <sys/stat.h>

#include <optional>
#include <string>
#include <string_view>

#include "core/files.h"
#include "core/text.h"

namespace galmora {

// The UTF-8 form of a path for a system call, or nullopt when the path is
// empty, holds a zero byte or does not convert exactly: nothing is ever
// opened or written under a mangled name.
std::optional<std::string> system_path(std::string_view path);

// 0x10 for a folder, 0x20 otherwise; hidden for a name beginning with "."
// (except "." and ".."), read-only for a file its owner cannot write.
int attributes_from_status(const struct stat& status, std::string_view name);
// The same without the read-only bit, which only a look-up can tell.
int attributes_without_read_only(bool folder, std::string_view name);
bool is_read_only(const struct stat& status);

// A file's stamp from its status record.
FileStamp stamp_of(const struct stat& status);

// Whether two status records describe the same file (device and inode).
inline bool same_file(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The last element of a UTF-8 path, ignoring trailing "/".
std::string_view last_path_element(std::string_view path);

}  // namespace galmora
