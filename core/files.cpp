#include "core/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

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

}  // namespace

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
