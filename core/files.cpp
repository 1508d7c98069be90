#include "core/files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "core/codepage.h"
#include "core/folder_listing.h"
#include "core/system_path.h"

namespace galmora {

namespace {

std::string executable_path() {
    std::string path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size()) return {};
    path.resize(static_cast<std::size_t>(length));
    return path;
}

bool has_wildcard(std::string_view element) {
    return element.find_first_of("*?") != std::string_view::npos;
}

}  // namespace

Text program_directory() {
    const std::string executable = executable_path();
    // The link always holds an absolute path; without it there is no folder
    // to give, rather than a guess from the current directory.
    const std::size_t slash = executable.rfind('/');
    if (slash == std::string::npos) return {};
    const std::string folder = slash == 0 ? std::string("/") : executable.substr(0, slash);
    if (std::optional<Text> local = strict_local(folder)) return *local;
    // A folder name outside UTF-8 cannot be named exactly; the replaced
    // name leads nowhere rather than somewhere else.
    return local_text(folder);
}

bool set_current_directory(const Text& path) {
    const auto system = system_path(path);
    return system && ::chdir(system->c_str()) == 0;
}

bool path_exists(const Text& path) {
    const auto system = system_path(path);
    if (!system) return false;
    const SplitPath split = split_last_element(*system);
    if (has_wildcard(split.name)) {
        const auto listed = list_folder(split.folder, split.name);
        return listed && !listed->empty();
    }
    struct stat status;
    return ::stat(system->c_str(), &status) == 0;
}

int file_attributes(const Text& path) {
    const auto system = system_path(path);
    struct stat status;
    if (!system || ::stat(system->c_str(), &status) != 0) return -1;
    return attributes_from_status(status, last_path_element(*system));
}

bool create_directory(const Text& path) {
    const auto system = system_path(path);
    return system && ::mkdir(system->c_str(), 0777) == 0;
}

bool delete_file(const Text& path) {
    const auto system = system_path(path);
    struct stat status;
    if (!system || ::lstat(system->c_str(), &status) != 0 || S_ISDIR(status.st_mode)) return false;
    return ::unlink(system->c_str()) == 0;
}

std::optional<FileIdentity> file_identity(const Text& path) {
    const auto system = system_path(path);
    struct stat status;
    if (!system || ::stat(system->c_str(), &status) != 0) return std::nullopt;
    return FileIdentity{static_cast<unsigned long long>(status.st_dev),
                        static_cast<unsigned long long>(status.st_ino)};
}

std::optional<FileStamp> file_stamp(const Text& path) {
    const auto system = system_path(path);
    struct stat status;
    if (!system || ::stat(system->c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return stamp_of(status);
}

}  // namespace galmora
