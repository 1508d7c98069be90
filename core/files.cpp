#include "core/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/codepage.h"
#include "core/folder_listing.h"
#include "core/system_path.h"

namespace galmora {

namespace {

bool write_all(int fd, ByteView data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool close_checked(int fd) {
    return ::close(fd) == 0 || errno == EINTR;
}

// The file a replacement must land on: a symbolic link keeps pointing at
// its target, which receives the new contents.
std::string replacement_target(const std::string& path) {
    struct stat status;
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) return path;
    std::string target(resolved);
    std::free(resolved);
    return target;
}

std::string folder_of(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

mode_t current_umask() {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

// The temporary sibling file is hidden and keeps the name short enough for
// any file system.
std::string temporary_name_for(const std::string& target) {
    std::string base(last_path_element(target));
    if (base.size() > 200) base.resize(200);
    const std::string folder = folder_of(target);
    return (folder == "/" ? std::string() : folder) + "/." + base + ".XXXXXX";
}

bool fill_temporary(int fd, const std::string& target, ByteView contents) {
    struct stat old;
    if (::stat(target.c_str(), &old) == 0) {
        if (::fchmod(fd, old.st_mode & 07777) != 0) return false;
        [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
    } else if (::fchmod(fd, 0666 & ~current_umask()) != 0) {
        return false;
    }
    return write_all(fd, contents) && ::fsync(fd) == 0;
}

void sync_folder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

std::string executable_path() {
    std::string path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size()) return {};
    path.resize(static_cast<std::size_t>(length));
    return path;
}

std::string current_directory() {
    char* path = ::getcwd(nullptr, 0);
    if (path == nullptr) return ".";
    std::string current(path);
    std::free(path);
    return current;
}

bool has_wildcard(std::string_view element) {
    return element.find_first_of("*?") != std::string_view::npos;
}

// A path that can only mean the root of the file system (or a drive root
// written the Windows way) is never removed.
bool is_root_path(std::string_view path) {
    if (path.find_first_not_of('/') == std::string_view::npos) return true;
    const bool drive = path.size() >= 2 && path[1] == ':' &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    return drive && (path.size() == 2 || (path.size() == 3 && (path[2] == '/' || path[2] == '\\')));
}

bool same_entry(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Deletes everything in the open folder except names beginning with ".".
// Links are removed as links; folders on another device are not entered.
void empty_folder(int folder_fd, dev_t device) {
    DIR* folder = ::fdopendir(folder_fd);
    if (folder == nullptr) {
        ::close(folder_fd);
        return;
    }
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(folder))
        if (entry->d_name[0] != '.') names.emplace_back(entry->d_name);
    const int fd = ::dirfd(folder);
    for (const std::string& name : names) {
        struct stat status;
        if (::fstatat(fd, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISDIR(status.st_mode)) {
            ::unlinkat(fd, name.c_str(), 0);
            continue;
        }
        if (status.st_dev != device) continue;
        const int child =
            ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (child >= 0) empty_folder(child, device);
        ::unlinkat(fd, name.c_str(), AT_REMOVEDIR);
    }
    ::closedir(folder);
}

}  // namespace

Text program_directory() {
    const std::string executable = executable_path();
    const std::size_t slash = executable.rfind('/');
    std::string folder = slash == std::string::npos ? current_directory()
                         : slash == 0               ? std::string("/")
                                                    : executable.substr(0, slash);
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

bool create_directory(const Text& path) {
    const auto system = system_path(path);
    return system && ::mkdir(system->c_str(), 0777) == 0;
}

bool remove_tree(const Text& path) {
    std::string_view trimmed(path);
    while (!trimmed.empty() && trimmed.front() == ' ') trimmed.remove_prefix(1);
    if (trimmed.empty() || is_root_path(trimmed)) return false;
    const auto system = system_path(trimmed);
    struct stat status, root;
    if (!system || ::lstat(system->c_str(), &status) != 0) return false;
    if (S_ISLNK(status.st_mode)) return ::unlink(system->c_str()) == 0;
    if (!S_ISDIR(status.st_mode)) return false;
    if (::stat("/", &root) == 0 && same_entry(status, root)) return false;
    const int fd = ::open(system->c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) empty_folder(fd, status.st_dev);
    return ::rmdir(system->c_str()) == 0;
}

bool copy_file(const Text& source, const Text& destination) {
    const auto from = system_path(source);
    const auto to = system_path(destination);
    if (!from || !to) return false;
    const int in = ::open(from->c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    struct stat status, existing;
    const bool copyable = ::fstat(in, &status) == 0 && !S_ISDIR(status.st_mode) &&
                          // Copying a file onto itself would truncate it first.
                          !(::stat(to->c_str(), &existing) == 0 && same_entry(status, existing));
    const int out = copyable ? ::open(to->c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC,
                                      (status.st_mode & 0777) | S_IWUSR)
                             : -1;
    bool copied = out >= 0;
    std::uint8_t buffer[65536];
    while (copied) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            copied = n == 0;
            break;
        }
        copied = write_all(out, ByteView(buffer, static_cast<std::size_t>(n)));
    }
    ::close(in);
    return out >= 0 && close_checked(out) && copied;
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

int file_attributes(const Text& path) {
    const auto system = system_path(path);
    struct stat status;
    if (!system || ::stat(system->c_str(), &status) != 0) return -1;
    return attributes_from_status(status, last_path_element(*system));
}

bool write_file(const Text& path, std::initializer_list<ByteView> parts) {
    const auto system = system_path(path);
    if (!system) return false;
    const int fd = ::open(system->c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    bool written = true;
    for (ByteView part : parts) written = written && write_all(fd, part);
    return close_checked(fd) && written;
}

bool write_file(const Text& path, ByteView contents) {
    return write_file(path, {contents});
}

bool replace_file_atomically(const Text& path, ByteView contents) {
    const auto system = system_path(path);
    if (!system) return false;
    const std::string target = replacement_target(*system);
    struct stat status;
    if (::stat(target.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) return false;
    std::string temporary = temporary_name_for(target);
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return false;
    const bool filled = fill_temporary(fd, target, contents);
    if (!close_checked(fd) || !filled || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    sync_folder(folder_of(target));
    return true;
}

std::optional<Bytes> read_file(const Text& path) {
    const auto system = system_path(path);
    if (!system) return std::nullopt;
    const int fd = ::open(system->c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat status;
    if (::fstat(fd, &status) != 0 || S_ISDIR(status.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    Bytes contents;
    if (S_ISREG(status.st_mode)) contents.reserve(static_cast<std::size_t>(status.st_size));
    std::uint8_t buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        contents.insert(contents.end(), buffer, buffer + n);
    }
    ::close(fd);
    return contents;
}

}  // namespace galmora
