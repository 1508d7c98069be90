#include "shell/thumbnail_texts.h"

#include "core/codepage.h"

namespace galmora {

using namespace galmora::literals;

namespace {

Text reason_text(LeftOutReason reason) {
    switch (reason) {
        case LeftOutReason::AlreadySmall:
            return "本身已经够小"_t;
        case LeftOutReason::Animated:
            return "动画图片"_t;
        case LeftOutReason::Unreadable:
            return "无法读取"_t;
        case LeftOutReason::TooLarge:
            return "像素过多"_t;
        case LeftOutReason::OverBudget:
            return "所需内存超出上限"_t;
        case LeftOutReason::OutOfMemory:
            return "内存不足"_t;
        case LeftOutReason::NotEncoded:
            return "无法编码"_t;
        case LeftOutReason::NotWritten:
            return "缩略图无法写入"_t;
        case LeftOutReason::Stopped:
            break;
    }
    return "已停止"_t;
}

// "3.2 MB", whatever the number locale.
Text megabytes(std::int64_t bytes) {
    const std::int64_t tenths = (bytes * 10 + (std::int64_t(1) << 19)) >> 20;
    return to_text(static_cast<int>(tenths / 10)) + "." + to_text(static_cast<int>(tenths % 10)) +
           " MB";
}

// How many display copies were made and reused, and the room the page's
// thumbnails and copies take.
Text copies_summary(const ThumbnailReport& report) {
    if (report.copies_made + report.copies_reused == 0) return Text();
    return " 显示副本：新做 "_t + to_text(report.copies_made) + " 张，沿用 "_t +
           to_text(report.copies_reused) + " 张；缩略图和显示副本共占 "_t +
           megabytes(report.bytes) + "。"_t;
}

}  // namespace

Text thumbnail_progress(int done, int total) {
    return "正在生成缩略图："_t + to_text(done) + " / " + to_text(total);
}

Text thumbnail_summary(const ThumbnailReport& report, const PictureList& pictures) {
    Text summary = " 缩略图：新做 "_t + to_text(report.made) + " 张，沿用 "_t +
                   to_text(report.reused) + " 张"_t;
    // Pictures small already need none: they are no failure, and never push
    // one out of the names below.
    if (report.already_small > 0)
        summary += "，本身已经够小 "_t + to_text(report.already_small) + " 张"_t;
    summary += "，未做 "_t + to_text(report.left_out) + " 张"_t;
    if (report.stopped) summary += "（已停止，其余图片只用原图）"_t;
    if (!report.first_left_out.empty()) {
        summary += "。未做的有："_t;
        for (std::size_t i = 0; i < report.first_left_out.size(); ++i) {
            const auto& left_out = report.first_left_out[i];
            if (i > 0) summary += "、"_t;
            summary +=
                pictures.name(left_out.picture) + "（"_t + reason_text(left_out.reason) + "）"_t;
        }
        if (static_cast<int>(report.first_left_out.size()) < report.left_out && !report.stopped)
            summary += "等"_t;
    }
    return summary + "。"_t + copies_summary(report);
}

const Text& stop_thumbnails_caption() {
    static const Text caption = "停止缩略图"_t;
    return caption;
}

const Text& thumbnails_busy_notice() {
    static const Text notice = "正在生成缩略图，请等它完成，或点击“停止缩略图”后再试。"_t;
    return notice;
}

}  // namespace galmora
