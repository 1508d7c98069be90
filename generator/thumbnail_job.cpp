#include "generator/thumbnail_job.h"

#include <algorithm>
#include <new>

#include "core/item_workers.h"

namespace galmora {

namespace {

constexpr std::size_t kFirstLeftOutShown = 5;

// Everything that changes the files made from the same picture; a change
// here gives every picture a new key, so old files are never reused.
Text settings_key(const ThumbnailSettings& settings) {
    Text key = "within " + to_text(settings.box);
    if (!settings.copy_sides.empty()) key += " copies";
    for (int side : settings.copy_sides) key += " " + to_text(side);
    return key + " v2";
}

Text cover_settings_key(const ThumbnailSettings& settings) {
    return "cover " + to_text(settings.cover_width) + "x" + to_text(settings.cover_height) + " v2";
}

PictureRequest picture_request(const ThumbnailSettings& settings) {
    PictureRequest request{{{RenditionBox::Fit::Within, settings.box, settings.box}}};
    for (int side : settings.copy_sides)
        request.boxes.push_back({RenditionBox::Fit::Within, side, side});
    return request;
}

LeftOutReason reason_of(PictureSkip skip) {
    switch (skip) {
        case PictureSkip::AlreadySmall:
            return LeftOutReason::AlreadySmall;
        case PictureSkip::Animated:
            return LeftOutReason::Animated;
        case PictureSkip::TooLarge:
            return LeftOutReason::TooLarge;
        case PictureSkip::OverBudget:
            return LeftOutReason::OverBudget;
        case PictureSkip::OutOfMemory:
            return LeftOutReason::OutOfMemory;
        case PictureSkip::NotEncoded:
            return LeftOutReason::NotEncoded;
        case PictureSkip::Stopped:
            return LeftOutReason::Stopped;
        case PictureSkip::Unreadable:
            break;
    }
    return LeftOutReason::Unreadable;
}

PictureResult skipped(PictureSkip why) {
    return {{}, why};
}

CappedRead read_picture_file(const Text& path, std::int64_t max_bytes) {
    return read_file_capped(path, max_bytes);
}

}  // namespace

struct ThumbnailJob::Outcome {
    enum class Kind : std::uint8_t { Made, Reused, LeftOut };
    PictureThumbnail thumbnail;
    Kind kind = Kind::LeftOut;
    LeftOutReason reason = LeftOutReason::Stopped;
    std::int64_t bytes = 0;  // the files' on disk
};

// A picture as it is on disk now: its stamp and its keys. Its files are
// kept under one key for a picture browsers show and another for one whose
// files stand in for it (HEIC, AVIF), so that a reuse tells which without
// reading the picture.
struct ThumbnailJob::Identity {
    FileStamp stamp;
    Text shown_key;
    Text standing_in_key;
    const Text& key(bool browser_shows) const {
        return browser_shows ? shown_key : standing_in_key;
    }
};

ThumbnailJob::ThumbnailJob(PictureList pictures, Text main_gallery, ThumbnailSettings settings,
                           const PictureMaker& maker, MemoryBudget& budget,
                           PictureFileReader reader)
    : pictures_(std::move(pictures)),
      main_gallery_(std::move(main_gallery)),
      settings_(std::move(settings)),
      maker_(maker),
      budget_(budget),
      read_(reader ? std::move(reader) : PictureFileReader(read_picture_file)),
      picture_request_(picture_request(settings_)),
      settings_key_(settings_key(settings_)),
      with_cover_(settings_.cover && !pictures_.empty()),
      outcomes_(pictures_.size()) {}

ThumbnailJob::~ThumbnailJob() = default;

std::size_t ThumbnailJob::item_count() const {
    return pictures_.size() + (with_cover_ ? 1 : 0);
}

void ThumbnailJob::work(std::size_t item, std::stop_token stop) {
    if (with_cover_ && item == 0) return cover_work(stop);
    const std::size_t picture = with_cover_ ? item - 1 : item;
    outcomes_[picture] = picture_work(picture, stop);
}

const ThumbnailFolder& ThumbnailJob::folder() {
    std::call_once(folder_listed_, [this] { folder_.emplace(thumbnail_folder(main_gallery_)); });
    return *folder_;
}

// A file system that keeps times to the nanosecond keeps a change time no
// one can set back: a rewrite with the times kept still changes the stamp.
// One that keeps them coarsely (FAT's two seconds) may not: its pictures'
// keys also hold a sample of their first and last bytes.
std::optional<ThumbnailJob::Identity> ThumbnailJob::identify(const Text& path,
                                                             std::string_view key_settings) const {
    constexpr std::int64_t kCoarseTimeNs = 10'000'000;
    const std::optional<FileStamp> stamp = file_stamp(path);
    if (!stamp) return std::nullopt;
    std::uint64_t content = 0;
    if (stamp->modified_ns % kCoarseTimeNs == 0) {
        const std::optional<FileEnds> ends =
            read_file_ends(path, kContentSampleBytes, kContentSampleBytes);
        if (!ends) return std::nullopt;
        content = content_sample(ends->head, ends->tail);
    }
    return Identity{*stamp, thumbnail_key(path, *stamp, content, key_settings),
                    thumbnail_key(path, *stamp, content, Text(key_settings) + " standing in")};
}

ThumbnailJob::Outcome ThumbnailJob::picture_work(std::size_t picture, std::stop_token stop) {
    const auto left_out = [](LeftOutReason reason) {
        return Outcome{{}, Outcome::Kind::LeftOut, reason};
    };
    const auto with_files = [](ThumbnailFolder::Files files, Outcome::Kind kind) {
        return Outcome{std::move(files.thumbnail), kind, LeftOutReason::Stopped, files.bytes};
    };
    const Text path = pictures_.path(picture);
    const std::optional<Identity> identity = identify(path, settings_key_);
    if (!identity) return left_out(LeftOutReason::Unreadable);
    for (const bool browser_shows : {true, false})
        if (auto reused = folder().reusable(identity->key(browser_shows), !browser_shows))
            return with_files(std::move(*reused), Outcome::Kind::Reused);
    if (const std::optional<LeftOutReason> early = told_by_header(path)) return left_out(*early);
    if (identity->stamp.size > settings_.max_file_bytes) return left_out(LeftOutReason::TooLarge);
    const PictureResult made = made_within_budget(path, *identity, picture_request_, stop);
    if (made.skip) return left_out(reason_of(*made.skip));
    if (stop.stop_requested()) return left_out(LeftOutReason::Stopped);
    std::optional<ThumbnailFolder::Files> written = folder().write(
        identity->key(made.browser_shows_original), made.renditions, !made.browser_shows_original);
    if (!written) return left_out(LeftOutReason::NotWritten);
    return with_files(std::move(*written), Outcome::Kind::Made);
}

// What the picture's first bytes tell for certain, so that the whole file
// of a picture small already is never read.
std::optional<LeftOutReason> ThumbnailJob::told_by_header(const Text& path) const {
    const std::optional<FileEnds> head = read_file_ends(path, kContentSampleBytes, 0);
    if (!head) return LeftOutReason::Unreadable;
    const std::optional<PictureSkip> skip = maker_.estimate(head->head, picture_request_).skip;
    if (skip == PictureSkip::AlreadySmall || skip == PictureSkip::TooLarge) return reason_of(*skip);
    return std::nullopt;
}

// The file is read within a share of its own size; its header then tells
// the work's peak, which the share grows to. A share that cannot grow at
// once is given back and the whole peak waited for: a holder that waited
// for more could wait for ever on others that do the same.
PictureResult ThumbnailJob::made_within_budget(const Text& path, const Identity& identity,
                                               const PictureRequest& request,
                                               std::stop_token stop) const {
    const auto not_taken = [&stop] {
        return skipped(stop.stop_requested() ? PictureSkip::Stopped : PictureSkip::OverBudget);
    };
    try {
        std::optional<MemoryBudget::Share> share = budget_.take(identity.stamp.size, stop);
        if (!share) return not_taken();
        // Capped at the size seen: a file that grew since is being written.
        CappedRead read = read_(path, identity.stamp.size);
        if (read.status != CappedRead::Status::Read) return skipped(PictureSkip::Unreadable);
        if (stop.stop_requested()) return skipped(PictureSkip::Stopped);
        const PictureEstimate estimate = maker_.estimate(read.bytes, request);
        if (estimate.skip) return skipped(*estimate.skip);
        if (!share->try_grow(estimate.peak_bytes)) {
            read = {};
            share.reset();
            share = budget_.take(estimate.peak_bytes, stop);
            if (!share) return not_taken();
            read = read_(path, identity.stamp.size);
            if (read.status != CappedRead::Status::Read) return skipped(PictureSkip::Unreadable);
        }
        return maker_.make(read.bytes, request, stop);
    } catch (const std::bad_alloc&) {
        return skipped(PictureSkip::OutOfMemory);
    }
}

void ThumbnailJob::cover_work(std::stop_token stop) {
    const Text path = pictures_.path(0);
    const std::optional<Identity> identity = identify(path, cover_settings_key(settings_));
    if (!identity) return;
    const Text stem = "fm" + identity->shown_key;
    for (std::string_view extension : {"jpg", "webp"}) {
        Text name = stem + "." + Text(extension);
        if (whole_picture_file_size(img_file(name))) {
            cover_ = std::move(name);
            return;
        }
    }
    const PictureRequest request{
        {{RenditionBox::Fit::Fill, settings_.cover_width, settings_.cover_height}}};
    const PictureResult made = made_within_budget(path, *identity, request, stop);
    if (made.skip || made.renditions.empty() || stop.stop_requested()) return;
    const Rendition& cover = made.renditions.front();
    Text name = stem + "." + Text(cover.extension);
    // Unflushed, as thumbnails are: a cover cut by a power cut is made again.
    if (!replace_file_atomically(img_file(name), cover.bytes, Flush::No)) return;
    cover_ = std::move(name);
    cover_made_ = true;
}

ThumbnailReport ThumbnailJob::report(const std::function<bool(std::size_t item)>& finished) {
    ThumbnailReport report;
    const std::size_t first_picture_item = with_cover_ ? 1 : 0;
    if (with_cover_ && finished(0)) {
        report.cover = std::move(cover_);
        report.cover_made = cover_made_;
    }
    report.thumbnails.reserve(outcomes_.size());
    for (std::size_t i = 0; i < outcomes_.size(); ++i) {
        Outcome outcome = finished(first_picture_item + i) ? std::move(outcomes_[i]) : Outcome{};
        const int copies = static_cast<int>(outcome.thumbnail.copies.size());
        report.bytes += outcome.bytes;
        switch (outcome.kind) {
            case Outcome::Kind::Made:
                ++report.made;
                report.copies_made += copies;
                break;
            case Outcome::Kind::Reused:
                ++report.reused;
                report.copies_reused += copies;
                break;
            case Outcome::Kind::LeftOut:
                if (outcome.reason == LeftOutReason::AlreadySmall) {
                    ++report.already_small;
                    break;
                }
                ++report.left_out;
                if (outcome.reason == LeftOutReason::Stopped)
                    report.stopped = true;
                else if (report.first_left_out.size() < kFirstLeftOutShown)
                    report.first_left_out.push_back({i, outcome.reason});
                break;
        }
        report.thumbnails.push_back(std::move(outcome.thumbnail));
    }
    return report;
}

ThumbnailReport make_thumbnails(const PictureList& pictures, const Text& main_gallery,
                                const ThumbnailSettings& settings, const PictureMaker& maker,
                                MemoryBudget& budget, std::stop_token stop,
                                const ThumbnailProgress& progress, PictureFileReader reader) {
    ThumbnailJob job(pictures, main_gallery, settings, maker, budget, std::move(reader));
    const auto total = static_cast<int>(pictures.size());
    ItemWorkers workers(
        job.item_count(), ItemWorkers::thread_count(settings.threads),
        [&job](std::size_t item, std::stop_token item_stop) { job.work(item, item_stop); },
        [&progress, total](std::size_t finished) {
            if (progress) progress(std::min(static_cast<int>(finished), total), total);
        },
        std::move(stop));
    while (!workers.wait(std::chrono::hours(1))) {
    }
    return job.report([&workers](std::size_t item) { return workers.finished(item); });
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
