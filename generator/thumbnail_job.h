#pragma once
// Making the thumbnails of one generation on every core: for each picture of
// the list, the thumbnail a generation made before is reused when the picture
// is unchanged (same path, size and modification time), otherwise the maker
// makes one and it is written into the main gallery's thumbnail folder under
// a temporary name, then renamed, so that no page ever names a half-written
// file. Optionally the first picture also gives the main page card's cover.
// Nothing here touches the window: progress is reported through a callback
// and the outcome returned as a value.

#include <functional>
#include <stop_token>
#include <vector>

#include "core/text.h"
#include "generator/picture_list.h"
#include "generator/thumbnail_maker.h"
#include "generator/thumbnail_names.h"

namespace galmora {

struct ThumbnailSettings {
    int box = 504;  // thumbnails fit within box x box pixels
    // The main page card's cover box, made from the first picture when
    // asked: main gallery/img/fm<key>.<extension>, the key standing for the
    // picture as with thumbnails, so that the sub-galleries of one folder
    // share one cover.
    bool cover = false;
    int cover_width = 894;
    int cover_height = 504;
    int threads = 0;  // 0: one a core
};

// Why a picture keeps its original only.
enum class LeftOutReason {
    AlreadySmall,
    Animated,
    Unreadable,
    TooLarge,
    NotWritten,  // made, but the thumbnail folder did not take it
    Stopped,     // the user stopped the making before its turn
};

struct ThumbnailReport {
    std::vector<PictureThumbnail> thumbnails;  // by picture index; empty name: none
    int made = 0;
    int reused = 0;
    int left_out = 0;  // the stopped ones included
    struct LeftOut {
        std::size_t picture;
        LeftOutReason reason;
    };
    std::vector<LeftOut> first_left_out;  // the first few, by picture order, stops aside
    bool stopped = false;
    Text cover;               // the cover's file name in img, empty when there is none
    bool cover_made = false;  // made now, not found from before
};

// done of total pictures are through; called from the working threads, at
// most once for each picture.
using ThumbnailProgress = std::function<void(int done, int total)>;

ThumbnailReport make_thumbnails(const PictureList& pictures, const Text& main_gallery,
                                const ThumbnailSettings& settings, const ThumbnailMaker& maker,
                                std::stop_token stop, const ThumbnailProgress& progress);

// The folder of the main gallery that holds its thumbnails, made when
// missing; false when it cannot be made.
bool prepare_thumbnail_folder(const Text& main_gallery);

}  // namespace galmora
