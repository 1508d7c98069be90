#pragma once
// When a generation's files are whole, seen from outside the program: a
// thread beside the window's waits on inotify for the renames that put
// config.ini, the main page and a sub-gallery page in place, and notes each
// first one after the click. The window's thread is never touched, so what
// is measured is the program's own road.

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>

#include "bench/support/timing.h"

namespace galmora::bench {

// Times since the click; none when the rename was not seen.
struct ReplacementMoments {
    std::optional<Timing> page_whole;         // <main gallery>/<sub-gallery>/index.html
    std::optional<Timing> record_written;     // config.ini
    std::optional<Timing> main_page_rebuilt;  // <main gallery>/index.html
    bool complete() const { return page_whole && record_written && main_page_rebuilt; }
};

class ReplacementWatch {
  public:
    // Watches library_root and its folder main_gallery (made later is fine).
    ReplacementWatch(const std::filesystem::path& library_root, std::string main_gallery);
    ~ReplacementWatch();
    ReplacementWatch(const ReplacementWatch&) = delete;
    ReplacementWatch& operator=(const ReplacementWatch&) = delete;

    bool watching() const { return inotify_ >= 0; }
    // Forgets the moments seen so far; later ones count from click, which
    // must outlive the next call of start_round or stop_round.
    void start_round(const Stopwatch& click);
    void stop_round();
    // Waits up to a second for the renames still on their way to be read.
    ReplacementMoments moments();

  private:
    enum class Folder { Root, MainGallery, SubGallery };

    void watch(const std::filesystem::path& folder, Folder kind);
    void read_events();
    void note(Folder folder, std::uint32_t mask, const std::string& name);

    std::filesystem::path root_;
    std::string main_gallery_;
    int inotify_ = -1;
    int stop_ = -1;  // eventfd that ends the thread
    int root_watch_ = -1, main_watch_ = -1;
    std::set<int> sub_gallery_watches_;  // the reader's alone once it runs
    std::mutex mutex_;                   // guards what follows
    const Stopwatch* click_ = nullptr;
    ReplacementMoments moments_;
    std::thread reader_;
};

}  // namespace galmora::bench
