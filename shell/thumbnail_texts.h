#pragma once
// What the window says about thumbnails: progress, the result line, the
// stop button's caption and the notice that refuses another operation
// meanwhile.

#include "core/text.h"
#include "generator/picture_list.h"
#include "generator/thumbnail_job.h"

namespace galmora {

// "正在生成缩略图：n / N"
Text thumbnail_progress(int done, int total);
// How many were made, reused and left out, and why for the first few left
// out, by file name.
Text thumbnail_summary(const ThumbnailReport& report, const PictureList& pictures);
const Text& stop_thumbnails_caption();  // "停止缩略图"
const Text& thumbnails_busy_notice();

}  // namespace galmora
