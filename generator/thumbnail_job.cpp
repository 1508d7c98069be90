#include "generator/thumbnail_job.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <unordered_map>

#include "core/directory_scan.h"
#include "core/files.h"

namespace galmora {

namespace {

constexpr std::size_t kFirstLeftOutShown = 5;

// Everything that changes a thumbnail made from the same picture; a change
// here gives every picture a new key, so old thumbnails are never reused.
Text settings_key(const ThumbnailSettings& settings) {
    return "within " + to_text(settings.box) + " v1";
}

LeftOutReason reason_of(ThumbnailSkip skip) {
    switch (skip) {
        case ThumbnailSkip::AlreadySmall:
            return LeftOutReason::AlreadySmall;
        case ThumbnailSkip::Animated:
            return LeftOutReason::Animated;
        case ThumbnailSkip::TooLarge:
            return LeftOutReason::TooLarge;
        case ThumbnailSkip::Unreadable:
            break;
    }
    return LeftOutReason::Unreadable;
}

// The thumbnails already in the folder, by key.
std::unordered_map<Text, PictureThumbnail> existing_thumbnails(const Text& folder) {
    std::unordered_map<Text, PictureThumbnail> found;
    DirectoryScan scan;
    for (Text name = scan.find_first(folder + "/*.*", kArchive); !name.empty();
         name = scan.find_next()) {
        if (const auto parsed = parse_thumbnail_file_name(name))
            found.emplace(parsed->key, PictureThumbnail{name, parsed->width});
    }
    return found;
}

enum class Outcome : std::uint8_t { NotDone, Made, Reused, LeftOut };

struct PictureResult {
    PictureThumbnail thumbnail;
    Outcome outcome = Outcome::NotDone;
    LeftOutReason reason = LeftOutReason::Stopped;
};

// The shared state of one run: the working threads take the next task by
// number; each task's result is written by the one thread that took it.
class ThumbnailWork {
  public:
    ThumbnailWork(const PictureList& pictures, const Text& main_gallery,
                  const ThumbnailSettings& settings, const ThumbnailMaker& maker,
                  const ThumbnailProgress& progress)
        : pictures_(pictures),
          main_gallery_(main_gallery),
          folder_(thumbnail_folder(main_gallery)),
          settings_(settings),
          settings_key_(settings_key(settings)),
          maker_(maker),
          progress_(progress),
          existing_(existing_thumbnails(folder_)),
          results_(pictures.size()),
          with_cover_(settings.cover && !pictures.empty()) {}

    void work(std::stop_token stop) {
        const std::size_t tasks = pictures_.size() + (with_cover_ ? 1 : 0);
        while (!stop.stop_requested()) {
            const std::size_t task = next_task_++;
            if (task >= tasks) return;
            if (with_cover_ && task == 0) {
                make_cover();
                continue;
            }
            const std::size_t picture = with_cover_ ? task - 1 : task;
            results_[picture] = thumbnail_for(picture);
            if (progress_) progress_(++done_, static_cast<int>(pictures_.size()));
        }
    }

    ThumbnailReport report() {
        ThumbnailReport report;
        report.cover = std::move(cover_);
        report.cover_made = cover_made_;
        report.thumbnails.reserve(results_.size());
        for (std::size_t i = 0; i < results_.size(); ++i) {
            PictureResult& result = results_[i];
            report.thumbnails.push_back(std::move(result.thumbnail));
            tally(report, i, result);
        }
        return report;
    }

  private:
    PictureResult thumbnail_for(std::size_t picture) const {
        const Text path = pictures_.path(picture);
        const std::optional<FileStamp> stamp = file_stamp(path);
        if (!stamp) return left_out(LeftOutReason::Unreadable);
        const Text key = thumbnail_key(path, *stamp, settings_key_);
        if (const auto found = existing_.find(key); found != existing_.end())
            return {found->second, Outcome::Reused};
        ThumbnailResult made =
            maker_.make({path, ThumbnailRequest::Fit::Within, settings_.box, settings_.box});
        if (!made.thumbnail) return left_out(reason_of(made.skip));
        const Thumbnail& thumbnail = *made.thumbnail;
        Text name =
            thumbnail_file_name(key, thumbnail.width, thumbnail.height, thumbnail.extension);
        if (!write_new_file(folder_ + "/" + name, thumbnail.bytes))
            return left_out(LeftOutReason::NotWritten);
        return {{std::move(name), thumbnail.width}, Outcome::Made};
    }

    void make_cover() {
        const Text path = pictures_.path(0);
        const std::optional<FileStamp> stamp = file_stamp(path);
        if (!stamp) return;
        const Text stem = "fm" + thumbnail_key(path, *stamp, cover_settings_key());
        for (std::string_view extension : {"jpg", "webp"}) {
            if (file_attributes(img_file(stem + "." + Text(extension))) != -1) {
                cover_ = stem + "." + Text(extension);
                return;
            }
        }
        const ThumbnailResult made = maker_.make(
            {path, ThumbnailRequest::Fit::Fill, settings_.cover_width, settings_.cover_height});
        if (!made.thumbnail) return;
        Text name = stem + "." + Text(made.thumbnail->extension);
        if (!write_new_file(img_file(name), made.thumbnail->bytes)) return;
        cover_ = std::move(name);
        cover_made_ = true;
    }

    Text cover_settings_key() const {
        return "cover " + to_text(settings_.cover_width) + "x" + to_text(settings_.cover_height) +
               " v1";
    }

    Text img_file(const Text& name) const { return main_gallery_ + "/img/" + name; }

    // Written beside its place and renamed into it: a page names only whole
    // files, whenever the program is stopped. Not flushed to the disk: a
    // thumbnail lost to a power cut is made again by the next generation.
    static bool write_new_file(const Text& path, const Bytes& bytes) {
        return replace_file_atomically(path, bytes, Flush::No);
    }

    static PictureResult left_out(LeftOutReason reason) { return {{}, Outcome::LeftOut, reason}; }

    static void tally(ThumbnailReport& report, std::size_t picture, const PictureResult& result) {
        switch (result.outcome) {
            case Outcome::Made:
                ++report.made;
                return;
            case Outcome::Reused:
                ++report.reused;
                return;
            case Outcome::LeftOut:
                if (report.first_left_out.size() < kFirstLeftOutShown)
                    report.first_left_out.push_back({picture, result.reason});
                break;
            case Outcome::NotDone:
                report.stopped = true;
                break;
        }
        ++report.left_out;
    }

    const PictureList& pictures_;
    const Text& main_gallery_;
    const Text folder_;
    const ThumbnailSettings& settings_;
    const Text settings_key_;
    const ThumbnailMaker& maker_;
    const ThumbnailProgress& progress_;
    const std::unordered_map<Text, PictureThumbnail> existing_;
    std::vector<PictureResult> results_;
    const bool with_cover_;
    Text cover_;  // both written by the one thread that makes the cover
    bool cover_made_ = false;
    std::atomic<std::size_t> next_task_{0};
    std::atomic<int> done_{0};
};

int thread_count(const ThumbnailSettings& settings) {
    if (settings.threads > 0) return settings.threads;
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

}  // namespace

ThumbnailReport make_thumbnails(const PictureList& pictures, const Text& main_gallery,
                                const ThumbnailSettings& settings, const ThumbnailMaker& maker,
                                std::stop_token stop, const ThumbnailProgress& progress) {
    ThumbnailWork work(pictures, main_gallery, settings, maker, progress);
    {
        std::vector<std::jthread> helpers;
        for (int i = 1; i < thread_count(settings); ++i)
            helpers.emplace_back([&work, stop] { work.work(stop); });
        work.work(stop);
    }  // the helpers are joined here
    return work.report();
}

bool prepare_thumbnail_folder(const Text& main_gallery) {
    const Text img = main_gallery + "/img";
    const Text folder = thumbnail_folder(main_gallery);
    if (file_attributes(img) == -1) create_directory(img);
    if (file_attributes(folder) == -1) create_directory(folder);
    const int attributes = file_attributes(folder);
    return attributes != -1 && (attributes & kDirectory);
}

}  // namespace galmora
