#include "bench/support/replacement_watch.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <array>
#include <chrono>

namespace galmora::bench {

ReplacementWatch::ReplacementWatch(const std::filesystem::path& library_root,
                                   std::string main_gallery)
    : root_(library_root), main_gallery_(std::move(main_gallery)) {
    inotify_ = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    stop_ = eventfd(0, EFD_CLOEXEC);
    if (inotify_ < 0 || stop_ < 0) return;
    watch(root_, Folder::Root);
    watch(root_ / main_gallery_, Folder::MainGallery);
    reader_ = std::thread([this] { read_events(); });
}

ReplacementWatch::~ReplacementWatch() {
    if (reader_.joinable()) {
        const std::uint64_t one = 1;
        (void)!write(stop_, &one, sizeof one);
        reader_.join();
    }
    if (inotify_ >= 0) close(inotify_);
    if (stop_ >= 0) close(stop_);
}

void ReplacementWatch::start_round(const Stopwatch& click) {
    const std::lock_guard lock(mutex_);
    click_ = &click;
    moments_ = {};
}

void ReplacementWatch::stop_round() {
    const std::lock_guard lock(mutex_);
    click_ = nullptr;
}

ReplacementMoments ReplacementWatch::moments() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    for (;;) {
        {
            const std::lock_guard lock(mutex_);
            if (moments_.complete() || std::chrono::steady_clock::now() > deadline) return moments_;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// Called before the reader starts, and by the reader for folders made later.
void ReplacementWatch::watch(const std::filesystem::path& folder, Folder kind) {
    const int descriptor =
        inotify_add_watch(inotify_, folder.c_str(), IN_CREATE | IN_MOVED_TO | IN_ONLYDIR);
    if (descriptor < 0) return;
    if (kind == Folder::Root) root_watch_ = descriptor;
    if (kind == Folder::MainGallery) main_watch_ = descriptor;
    if (kind == Folder::SubGallery) sub_gallery_watches_.insert(descriptor);
}

void ReplacementWatch::read_events() {
    std::array<pollfd, 2> waits{{{inotify_, POLLIN, 0}, {stop_, POLLIN, 0}}};
    alignas(inotify_event) std::array<char, 64 * 1024> buffer;
    while (poll(waits.data(), waits.size(), -1) >= 0 && !(waits[1].revents & POLLIN)) {
        const ssize_t length = read(inotify_, buffer.data(), buffer.size());
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            const std::string name = event->len ? event->name : "";
            if (event->wd == root_watch_)
                note(Folder::Root, event->mask, name);
            else if (event->wd == main_watch_)
                note(Folder::MainGallery, event->mask, name);
            else if (sub_gallery_watches_.count(event->wd))
                note(Folder::SubGallery, event->mask, name);
        }
    }
}

// A page is whole when it is renamed into place; a folder made is watched
// at once, well before its page (site files and the page are written first).
void ReplacementWatch::note(Folder folder, std::uint32_t mask, const std::string& name) {
    if ((mask & IN_CREATE) && (mask & IN_ISDIR)) {
        if (folder == Folder::Root && name == main_gallery_)
            watch(root_ / name, Folder::MainGallery);
        if (folder == Folder::MainGallery) watch(root_ / main_gallery_ / name, Folder::SubGallery);
        return;
    }
    const std::lock_guard lock(mutex_);
    if (!click_ || !(mask & IN_MOVED_TO)) return;
    std::optional<Timing>* moment = nullptr;
    if (folder == Folder::Root && name == "config.ini") moment = &moments_.record_written;
    if (folder == Folder::MainGallery && name == "index.html") moment = &moments_.main_page_rebuilt;
    if (folder == Folder::SubGallery && name == "index.html") moment = &moments_.page_whole;
    if (moment && !*moment) *moment = click_->elapsed();
}

}  // namespace galmora::bench
