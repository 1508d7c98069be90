#pragma once
// Files and folders. Paths are local-code-page texts joined with "/"; they
// are converted to UTF-8 just before each system call. "\" is an ordinary
// file-name byte. A relative path resolves against the current directory.

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

#include "core/text.h"

namespace galmora {

enum EntryAttributes : int {
    kReadOnly = 0x01,
    kHidden = 0x02,
    kSystem = 0x04,
    kDirectory = 0x10,
    kArchive = 0x20,
    kAllEntries = 0x37,
};

// The folder of the running executable, without a trailing "/"; empty when
// the system does not tell (no /proc).
Text program_directory();
// Changes the current directory of the whole process: only at start-up,
// before other threads resolve relative paths.
bool set_current_directory(const Text& path);

// "*" and "?" in the last path element are wildcards.
bool path_exists(const Text& path);
// Attributes (symbolic links followed), or -1 when the path names nothing.
int file_attributes(const Text& path);
// One level; false when it exists or its parent is missing.
bool create_directory(const Text& path);
// Never follows a symbolic link and never descends into a mount point;
// refuses "" and "/"; skips dot entries.
bool remove_tree(const Text& path);

// What would keep remove_tree (or delete_file, for a file) from removing
// path entirely, found before anything is removed: the first entry that
// would stay, with the reason. nullopt when nothing is in the way, also when
// path names nothing. As far as permissions and mounts can tell; a file
// system may still refuse at the time of removal.
struct RemovalObstacle {
    enum class Reason {
        NotPermitted,  // its folder may not be changed by this user
        MountPoint,    // something is mounted there
        DotEntry,      // a name beginning with ".", which remove_tree keeps
        Unreadable,    // a folder whose entries cannot be listed
    };
    Reason reason;
    Text path;  // path + "/" + the names down to the entry
};
std::optional<RemovalObstacle> removal_obstacle(const Text& path);
bool copy_file(const Text& source, const Text& destination);
bool delete_file(const Text& path);
// Create or truncate, then write every part in order.
bool write_file(const Text& path, std::initializer_list<ByteView> parts);
bool write_file(const Text& path, ByteView contents);
// Why a file cannot be written or replaced.
enum class WriteProblem {
    IsFolder,           // a folder has the file's name
    ReadOnlyFile,       // the file is marked read-only
    FolderNotWritable,  // its folder may not be changed by this user
    ReadOnlyDisk,       // the file system is mounted read-only
    DiskFull,           // no space (or quota) left
    Unreadable,         // the file is there but cannot be read
    Other,
};
// Writes to a temporary file in the same folder, flushes it to the disk
// (unless told not to) and renames it over path, so a crash leaves the old
// file or the new one. Unflushed, a power cut may still leave an empty file;
// a killed program never does.
enum class Flush { Yes, No };
bool replace_file_atomically(const Text& path, ByteView contents, Flush flush = Flush::Yes);
// The same for a file written part by part: the parts go into the temporary
// file, and finish() renames it over path when every part was written.
// Until then, and when it fails or is never called, path keeps what it held.
class FileReplacement {
  public:
    explicit FileReplacement(const Text& path, Flush flush = Flush::No);
    ~FileReplacement();  // discards what was not finished
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    bool write(ByteView part);
    bool finish();
    // Removes the temporary file instead of renaming it: what kept the
    // replacement from succeeding, or nullopt when it would have (a trial).
    std::optional<WriteProblem> discard();

  private:
    struct Open;
    // Flushes when asked and closes; false (problem_ set) when any write,
    // the flush or the close failed.
    bool close_file(int fd);

    Flush flush_;
    std::unique_ptr<Open> open_;
    std::optional<WriteProblem> problem_;
};
// Removes the temporary files that replace_file_atomically(path, ...) left
// beside path when the process was killed before its rename. A temporary
// file that a running replacement still holds is left alone.
void remove_abandoned_replacements(const Text& path);
// The same for every file of folder whose temporary files are left: those
// whose own name (the temporary file's name without its dot and random
// ending) ours accepts.
void remove_abandoned_replacements_in(const Text& folder,
                                      const std::function<bool(std::string_view name)>& ours);
// Whether name is such a temporary file's name, and the name of the file
// it was to replace.
std::optional<std::string_view> replaced_name(std::string_view temporary_name);
// What would keep replace_file_atomically(path, contents) from succeeding
// now, found by the same checks and a trial write of contents beside path,
// removed again; path itself is not touched. nullopt when it can succeed.
std::optional<WriteProblem> replacement_problem(const Text& path, ByteView contents);
// A file's size, last modification and last change, to tell whether it
// changed since. The change time follows every write and cannot be set
// back, so a copy that keeps the modification time (cp -p, touch -r) still
// tells.
struct FileStamp {
    std::int64_t size = 0;
    std::int64_t modified_ns = 0;
    std::int64_t changed_ns = 0;
};
// nullopt when path names no regular file (links followed).
std::optional<Bytes> read_file(const Text& path);
// A whole file read with a bound inside the read itself, so that a file
// that grows between a look at its size and its reading is still refused.
struct CappedRead {
    enum class Status { Read, TooLarge, Unreadable };
    Status status = Status::Unreadable;
    Bytes bytes;  // when Read
};
CappedRead read_file_capped(const Text& path, std::int64_t max_bytes);
// The first head and last tail bytes of a regular file (the whole file when
// it is shorter) and its stamp, with one open; nullopt when it cannot be read.
struct FileEnds {
    Bytes head;
    Bytes tail;
    FileStamp stamp;
};
std::optional<FileEnds> read_file_ends(const Text& path, std::size_t head, std::size_t tail);
// A folder held open, for many look-ups of the files the program names in
// it (a thumbnail folder): far cheaper than DirectoryScan and a full path
// for each.
class OpenFolder {
  public:
    explicit OpenFolder(const Text& path);
    ~OpenFolder();
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    // The names of its entries that may be files, in no order, without a
    // look-up of each. Names outside UTF-8 are left out.
    std::vector<Text> file_names() const;
    // The stamp of its file name (links followed); nullopt when there is none.
    std::optional<FileStamp> stamp(const Text& name) const;

  private:
    int fd_ = -1;
};
// When the system last started, as file times count; 0 when it does not
// tell. A file modified since has not been through a power cut.
std::int64_t system_start_ns();

// Device and inode of a folder (links followed), so that a recursive walk can
// recognise a folder it has already seen.
struct FileIdentity {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};
std::optional<FileIdentity> file_identity(const Text& path);

std::optional<FileStamp> file_stamp(const Text& path);

}  // namespace galmora
