// Whole-file contents: reading, writing, atomic replacement (and the clean-up
// after a replacement that was killed) and copying.

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/files.h"
#include "core/folder_listing.h"
#include "core/system_path.h"

namespace galmora {

namespace {

// Non-blocking, so that a FIFO without a reader fails instead of hanging
// the window; regular files are unaffected.
constexpr int kWriteFlags = O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC;

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

// The process's file-mode creation mask. umask() can only be read by setting
// it, which would change the mode of a file another thread creates meanwhile,
// so the kernel's report is read instead; without one, owner-only.
mode_t current_umask() {
    constexpr mode_t kOwnerOnly = 077;
    const std::optional<Bytes> status = read_file("/proc/self/status");
    if (!status) return kOwnerOnly;
    const std::string_view text(reinterpret_cast<const char*>(status->data()), status->size());
    constexpr std::string_view kField = "\nUmask:";
    const std::size_t field = text.find(kField);
    const std::size_t digits = field == std::string_view::npos
                                   ? field
                                   : text.find_first_not_of(" \t", field + kField.size());
    if (digits == std::string_view::npos) return kOwnerOnly;
    unsigned mask = 0;
    const auto read = std::from_chars(text.data() + digits, text.data() + text.size(), mask, 8);
    return read.ec == std::errc() ? static_cast<mode_t>(mask & 0777) : kOwnerOnly;
}

// The temporary sibling of a file is hidden: "." + the file's name (cut short
// enough for any file system) + "." + the random characters mkostemp puts in
// place of kRandomPart.
constexpr std::string_view kRandomPart = "XXXXXX";

std::string temporary_stem_for(const std::string& target) {
    std::string base(last_path_element(target));
    if (base.size() > 200) base.resize(200);
    return "." + base + ".";
}

std::string in_folder(const std::string& folder, const std::string& name) {
    return (folder == "/" ? std::string() : folder) + "/" + name;
}

std::string temporary_name_for(const std::string& target) {
    return in_folder(folder_of(target), temporary_stem_for(target) + std::string(kRandomPart));
}

bool is_temporary_name(std::string_view name, std::string_view stem) {
    if (name.size() != stem.size() + kRandomPart.size() || !name.starts_with(stem)) return false;
    const auto is_random_character = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    };
    const std::string_view random = name.substr(stem.size());
    return std::all_of(random.begin(), random.end(), is_random_character);
}

// The mode (and, for root, the owner) the file being replaced has, or what
// a new file gets from the umask.
bool take_mode_of(int fd, const std::string& target) {
    struct stat old;
    if (::stat(target.c_str(), &old) == 0) {
        if (::fchmod(fd, old.st_mode & 07777) != 0) return false;
        [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
        return true;
    }
    return ::fchmod(fd, 0666 & ~current_umask()) == 0;
}

void sync_folder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// A temporary sibling of a file being replaced. A second, read-only
// descriptor holds a lock on it from its creation until it is renamed or
// removed, so that the clean-up of files left by a killed writer can tell a
// live one from a leftover; the writing descriptor is closed (and checked)
// before the rename.
struct Replacement {
    std::string path;
    int lock = -1;

    // Removes the file unless it was renamed, and releases the lock.
    void discard() {
        ::unlink(path.c_str());
        release();
    }
    void release() { ::close(lock); }
};

// The problem a failed write's errno stands for.
WriteProblem write_problem_of(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return WriteProblem::FolderNotWritable;
        case EROFS:
            return WriteProblem::ReadOnlyDisk;
        case ENOSPC:
        case EDQUOT:
            return WriteProblem::DiskFull;
        case EISDIR:
            return WriteProblem::IsFolder;
        default:
            return WriteProblem::Other;
    }
}

// The temporary sibling of target, open for writing, locked, with the mode
// the target will keep; nullopt (and nothing left behind, problem set) when
// target may not be replaced. A folder is never replaced, nor a file marked
// read-only (its owner cannot write it), even where the folder would allow
// the rename.
struct OpenedReplacement {
    Replacement replacement;
    int fd = -1;
};
std::optional<OpenedReplacement> open_replacement(const std::string& target,
                                                  WriteProblem& problem) {
    struct stat status;
    if (::stat(target.c_str(), &status) == 0) {
        if (S_ISDIR(status.st_mode)) return problem = WriteProblem::IsFolder, std::nullopt;
        if ((status.st_mode & S_IWUSR) == 0)
            return problem = WriteProblem::ReadOnlyFile, std::nullopt;
    }
    OpenedReplacement opened{{temporary_name_for(target)}};
    opened.fd = ::mkostemp(opened.replacement.path.data(), O_CLOEXEC);
    if (opened.fd < 0) return problem = write_problem_of(errno), std::nullopt;
    // Opened while the file still has mkostemp's owner-only mode.
    Replacement& replacement = opened.replacement;
    replacement.lock = ::open(replacement.path.c_str(), O_RDONLY | O_CLOEXEC);
    if (replacement.lock < 0 || ::flock(replacement.lock, LOCK_EX | LOCK_NB) != 0 ||
        !take_mode_of(opened.fd, target)) {
        problem = write_problem_of(errno);
        ::close(opened.fd);
        replacement.discard();
        return std::nullopt;
    }
    return opened;
}

// Removes the file at path when it is a regular file that nobody holds
// locked: a writer keeps its temporary file locked until it is renamed.
void remove_if_abandoned(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return;
    struct stat status;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        ::unlink(path.c_str());
    }
    ::close(fd);
}

}  // namespace

bool write_file(const Text& path, std::initializer_list<ByteView> parts) {
    const auto system = system_path(path);
    const int fd = system ? ::open(system->c_str(), kWriteFlags, 0666) : -1;
    if (fd < 0) return false;
    bool written = true;
    for (ByteView part : parts) written = written && write_all(fd, part);
    return close_checked(fd) && written;
}

bool write_file(const Text& path, ByteView contents) {
    return write_file(path, {contents});
}

struct FileReplacement::Open {
    std::string target;
    OpenedReplacement opened;
};

FileReplacement::FileReplacement(const Text& path, Flush flush) : flush_(flush) {
    const auto system = system_path(path);
    if (!system) {
        problem_ = WriteProblem::Other;
        return;
    }
    std::string target = replacement_target(*system);
    WriteProblem problem = WriteProblem::Other;
    if (auto opened = open_replacement(target, problem))
        open_ = std::make_unique<Open>(Open{std::move(target), std::move(*opened)});
    else
        problem_ = problem;
}

FileReplacement::~FileReplacement() {
    discard();
}

bool FileReplacement::write(ByteView part) {
    if (!open_ || problem_) return false;
    if (!write_all(open_->opened.fd, part)) problem_ = write_problem_of(errno);
    return !problem_;
}

bool FileReplacement::close_file(int fd) {
    if (!problem_ && flush_ == Flush::Yes && ::fsync(fd) != 0) problem_ = write_problem_of(errno);
    if (!close_checked(fd) && !problem_) problem_ = write_problem_of(errno);
    return !problem_;
}

bool FileReplacement::finish() {
    if (!open_) return false;
    const std::unique_ptr<Open> open = std::move(open_);
    Replacement& replacement = open->opened.replacement;
    if (!close_file(open->opened.fd) ||
        ::rename(replacement.path.c_str(), open->target.c_str()) != 0) {
        replacement.discard();
        return false;
    }
    replacement.release();
    if (flush_ == Flush::Yes) sync_folder(folder_of(open->target));
    return true;
}

std::optional<WriteProblem> FileReplacement::discard() {
    if (open_) {
        const std::unique_ptr<Open> open = std::move(open_);
        close_file(open->opened.fd);
        open->opened.replacement.discard();
    }
    return problem_;
}

bool replace_file_atomically(const Text& path, ByteView contents, Flush flush) {
    FileReplacement replacement(path, flush);
    return replacement.write(contents) && replacement.finish();
}

std::optional<WriteProblem> replacement_problem(const Text& path, ByteView contents) {
    FileReplacement trial(path, Flush::Yes);
    trial.write(contents);
    return trial.discard();
}

void remove_abandoned_replacements(const Text& path) {
    const auto system = system_path(path);
    if (!system) return;
    const std::string target = replacement_target(*system);
    const std::string folder = folder_of(target);
    const std::string stem = temporary_stem_for(target);
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr) return;
    std::vector<std::string> abandoned;
    while (const dirent* entry = ::readdir(listing))
        if (is_temporary_name(entry->d_name, stem))
            abandoned.push_back(in_folder(folder, entry->d_name));
    ::closedir(listing);
    for (const std::string& file : abandoned) remove_if_abandoned(file);
}

std::optional<std::string_view> replaced_name(std::string_view name) {
    if (name.size() < 2 + kRandomPart.size() + 1 || name[0] != '.') return std::nullopt;
    const std::string_view stem = name.substr(0, name.size() - kRandomPart.size());
    if (stem.back() != '.' || !is_temporary_name(name, stem)) return std::nullopt;
    return stem.substr(1, stem.size() - 2);
}

void remove_abandoned_replacements_in(const Text& folder,
                                      const std::function<bool(std::string_view name)>& ours) {
    const auto system = system_path(folder);
    if (!system) return;
    DIR* listing = ::opendir(system->c_str());
    if (listing == nullptr) return;
    std::vector<std::string> abandoned;
    while (const dirent* entry = ::readdir(listing)) {
        const std::optional<std::string_view> name = replaced_name(entry->d_name);
        if (name && !name->empty() && ours(*name))
            abandoned.push_back(in_folder(*system, entry->d_name));
    }
    ::closedir(listing);
    for (const std::string& file : abandoned) remove_if_abandoned(file);
}

namespace {

// A descriptor of path when it names a regular file (links followed), with
// its status; -1 otherwise. Non-blocking, so that a FIFO never hangs.
int open_regular(const Text& path, struct stat& status) {
    const auto system = system_path(path);
    if (!system) return -1;
    const int fd = ::open(system->c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Appends what fd holds from where it stands to its end, or up to just
// past limit bytes in all; false on a read error.
bool read_rest(int fd, Bytes& contents, std::size_t limit) {
    std::uint8_t buffer[65536];
    while (contents.size() <= limit) {
        const std::size_t wanted = std::min(sizeof buffer, limit + 1 - contents.size());
        const ssize_t n = ::read(fd, buffer, wanted);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;
        contents.insert(contents.end(), buffer, buffer + n);
    }
    return true;
}

bool read_at(int fd, Bytes& out, std::size_t length, std::int64_t offset) {
    out.resize(length);
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = ::pread(fd, out.data() + done, length - done, offset + done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

OpenFolder::OpenFolder(const Text& path) {
    if (const auto system = system_path(path))
        fd_ = ::open(system->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

OpenFolder::~OpenFolder() {
    if (fd_ >= 0) ::close(fd_);
}

std::vector<Text> OpenFolder::file_names() const {
    std::vector<Text> names;
    const int listed = fd_ >= 0 ? ::dup(fd_) : -1;
    DIR* listing = listed >= 0 ? ::fdopendir(listed) : nullptr;
    if (listing == nullptr) {
        if (listed >= 0) ::close(listed);
        return names;
    }
    ::rewinddir(listing);
    while (const dirent* entry = ::readdir(listing)) {
        if (entry->d_type != DT_REG && entry->d_type != DT_UNKNOWN && entry->d_type != DT_LNK)
            continue;
        if (std::optional<Text> local = local_name(entry->d_name))
            names.push_back(std::move(*local));
    }
    ::closedir(listing);
    return names;
}

std::optional<FileStamp> OpenFolder::stamp(const Text& name) const {
    const auto system = system_path(name);
    struct stat status;
    if (fd_ < 0 || !system || system->find('/') != std::string::npos ||
        ::fstatat(fd_, system->c_str(), &status, 0) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return stamp_of(status);
}

std::int64_t system_start_ns() {
    static const std::int64_t start = [] {
        const std::optional<Bytes> stat = read_file("/proc/stat");
        if (!stat) return std::int64_t(0);
        const std::string_view text(reinterpret_cast<const char*>(stat->data()), stat->size());
        constexpr std::string_view kField = "\nbtime ";
        const std::size_t field = text.find(kField);
        std::int64_t seconds = 0;
        if (field == std::string_view::npos ||
            std::from_chars(text.data() + field + kField.size(), text.data() + text.size(), seconds)
                    .ec != std::errc())
            return std::int64_t(0);
        return seconds * 1000000000;
    }();
    return start;
}

std::optional<Bytes> read_file(const Text& path) {
    struct stat status;
    const int fd = open_regular(path, status);
    if (fd < 0) return std::nullopt;
    Bytes contents;
    contents.reserve(static_cast<std::size_t>(status.st_size));
    const bool read = read_rest(fd, contents, static_cast<std::size_t>(-2));
    ::close(fd);
    if (!read) return std::nullopt;
    return contents;
}

CappedRead read_file_capped(const Text& path, std::int64_t max_bytes) {
    struct stat status;
    const int fd = open_regular(path, status);
    if (fd < 0) return {};
    const auto limit = static_cast<std::size_t>(std::max<std::int64_t>(max_bytes, 0));
    if (status.st_size > max_bytes) {
        ::close(fd);
        return {CappedRead::Status::TooLarge, {}};
    }
    CappedRead result;
    result.bytes.reserve(static_cast<std::size_t>(status.st_size));
    const bool read = read_rest(fd, result.bytes, limit);
    ::close(fd);
    if (!read) return {};
    result.status =
        result.bytes.size() > limit ? CappedRead::Status::TooLarge : CappedRead::Status::Read;
    if (result.status != CappedRead::Status::Read) result.bytes = {};
    return result;
}

std::optional<FileEnds> read_file_ends(const Text& path, std::size_t head, std::size_t tail) {
    struct stat status;
    const int fd = open_regular(path, status);
    if (fd < 0) return std::nullopt;
    FileEnds ends;
    ends.stamp = stamp_of(status);
    const auto size = static_cast<std::size_t>(status.st_size);
    const std::size_t tail_length = std::min(tail, size);
    const bool read =
        read_at(fd, ends.head, std::min(head, size), 0) &&
        read_at(fd, ends.tail, tail_length, static_cast<std::int64_t>(size - tail_length));
    ::close(fd);
    if (!read) return std::nullopt;
    return ends;
}

bool copy_file(const Text& source, const Text& destination) {
    const auto from = system_path(source);
    const auto to = system_path(destination);
    if (!from || !to) return false;
    const int in = ::open(from->c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (in < 0) return false;
    struct stat status, existing;
    const bool copyable = ::fstat(in, &status) == 0 && S_ISREG(status.st_mode) &&
                          // Copying a file onto itself would truncate it first.
                          !(::stat(to->c_str(), &existing) == 0 && same_file(status, existing));
    const int out =
        copyable ? ::open(to->c_str(), kWriteFlags, (status.st_mode & 0777) | S_IWUSR) : -1;
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

}  // namespace galmora
