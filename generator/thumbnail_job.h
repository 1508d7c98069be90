#pragma once
// The thumbnails (and the viewer's display copies) of one generation, as
// work over items that any number of threads share: one item a picture,
// and first, when asked, the main page card's cover made from the first
// picture. A picture unchanged since an earlier generation (its key: path,
// size, times, a sample of its bytes, the settings) reuses the files made
// then when they are whole; otherwise its bytes are read, within a share of
// a memory budget that all picture work holds together, and handed to the
// picture maker. Nothing here touches the window: the outcome is a value.

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <vector>

#include "core/files.h"
#include "core/memory_budget.h"
#include "core/text.h"
#include "generator/picture_list.h"
#include "generator/picture_maker.h"
#include "generator/thumbnail_folder.h"
#include "generator/thumbnail_names.h"

namespace galmora {

struct ThumbnailSettings {
    int box = 504;  // thumbnails fit within box x box pixels
    // The long sides of the viewer's display copies, ascending; none: no
    // copies. A picture no larger than a size gets no copy of that size.
    std::vector<int> copy_sides;
    // The main page card's cover box, made from the first picture when
    // asked: main gallery/img/fm<key>.<extension>, the key standing for the
    // picture as with thumbnails, so that the sub-galleries of one folder
    // share one cover.
    bool cover = false;
    int cover_width = 894;
    int cover_height = 504;
    int threads = 0;  // 0: one a core
    // Larger picture files are not read at all.
    std::int64_t max_file_bytes = std::int64_t(256) << 20;
};

// Reads a picture's bytes: core's read_file_capped, or a test's stand-in.
using PictureFileReader = std::function<CappedRead(const Text& path, std::int64_t max_bytes)>;

// Why a picture keeps its original only.
enum class LeftOutReason {
    AlreadySmall,
    Animated,
    Unreadable,
    TooLarge,
    OverBudget,
    OutOfMemory,
    NotEncoded,
    NotWritten,  // made, but the thumbnail folder did not take it
    Stopped,     // the user stopped the making before or during its turn
};

struct ThumbnailReport {
    std::vector<PictureThumbnail> thumbnails;  // by picture index; empty name: none
    int made = 0;                              // pictures whose files were made now
    int reused = 0;                            // pictures whose files an earlier generation made
    int copies_made = 0;                       // display copies among the files made now
    int copies_reused = 0;                     // and among those reused
    std::int64_t bytes = 0;  // what the thumbnails and copies the page names take on disk
    int already_small = 0;   // pictures that need none: counted apart
    int left_out = 0;        // the other pictures without, the stopped ones included
    struct LeftOut {
        std::size_t picture;
        LeftOutReason reason;
    };
    std::vector<LeftOut> first_left_out;  // the first few failures, by picture order
    bool stopped = false;
    Text cover;               // the cover's file name in img, empty when there is none
    bool cover_made = false;  // made now, not found from before
};

class ThumbnailJob {
  public:
    // maker and budget must outlive the job and every thread working on it.
    ThumbnailJob(PictureList pictures, Text main_gallery, ThumbnailSettings settings,
                 const PictureMaker& maker, MemoryBudget& budget, PictureFileReader reader = {});
    ~ThumbnailJob();
    ThumbnailJob(const ThumbnailJob&) = delete;
    ThumbnailJob& operator=(const ThumbnailJob&) = delete;

    std::size_t item_count() const;
    // Each item once, from any thread, several at once.
    void work(std::size_t item, std::stop_token stop);
    // Once the work has ended: the outcome of the items finished tells were
    // worked through; every other picture counts as stopped.
    ThumbnailReport report(const std::function<bool(std::size_t item)>& finished);

    const PictureList& pictures() const { return pictures_; }

  private:
    struct Outcome;
    struct Identity;

    Outcome picture_work(std::size_t picture, std::stop_token stop);
    void cover_work(std::stop_token stop);
    std::optional<Identity> identify(const Text& path, std::string_view settings_key) const;
    std::optional<LeftOutReason> told_by_header(const Text& path) const;
    PictureResult made_within_budget(const Text& path, const Identity& identity,
                                     const PictureRequest& request, std::stop_token stop) const;
    const ThumbnailFolder& folder();
    Text img_file(const Text& name) const { return main_gallery_ + "/img/" + name; }

    const PictureList pictures_;
    const Text main_gallery_;
    const ThumbnailSettings settings_;
    const PictureMaker& maker_;
    MemoryBudget& budget_;
    const PictureFileReader read_;
    const PictureRequest picture_request_;
    const Text settings_key_;
    const bool with_cover_;
    std::once_flag folder_listed_;
    std::optional<ThumbnailFolder> folder_;  // listed by the first picture's work
    std::vector<Outcome> outcomes_;          // by picture, each written by its one worker
    Text cover_;
    bool cover_made_ = false;
};

// The whole job on the calling thread and its helpers, until done or
// stopped; done of total pictures through, from the working threads.
using ThumbnailProgress = std::function<void(int done, int total)>;
ThumbnailReport make_thumbnails(const PictureList& pictures, const Text& main_gallery,
                                const ThumbnailSettings& settings, const PictureMaker& maker,
                                MemoryBudget& budget, std::stop_token stop,
                                const ThumbnailProgress& progress, PictureFileReader reader = {});

// The folder of the main gallery that holds its thumbnails, made when
// missing; false when it cannot be made.
bool prepare_thumbnail_folder(const Text& main_gallery);

}  // namespace galmora
