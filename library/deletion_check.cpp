#include "library/deletion_check.h"

#include "core/codepage.h"
#include "core/files.h"

namespace galmora {

using namespace galmora::literals;

namespace {

Text quoted(const Text& path) {
    static const Text open = "“"_t, close = "”"_t;
    return open + path + close;
}

Text obstacle_line(const RemovalObstacle& obstacle) {
    static const Text head = "未删除任何数据："_t;
    static const Text not_permitted = "没有权限删除"_t;
    static const Text mounted = "上挂载着其他目录，不能删除"_t;
    static const Text dot_entry = "以“.”开头，不会被删除"_t;
    static const Text unreadable = "无法读取目录"_t;
    static const Text end = "。"_t;
    const Text path = quoted(obstacle.path);
    switch (obstacle.reason) {
        case RemovalObstacle::Reason::NotPermitted:
            return head + not_permitted + path + end;
        case RemovalObstacle::Reason::MountPoint:
            return head + path + mounted + end;
        case RemovalObstacle::Reason::DotEntry:
            return head + path + dot_entry + end;
        case RemovalObstacle::Reason::Unreadable:
            return head + unreadable + path + end;
    }
    return head + path + end;
}

}  // namespace

std::optional<Text> deletion_refusal(const Text& folder, const Text& cover,
                                     const std::vector<Text>& thumbnails,
                                     const GalleryConfig& config) {
    static const Text config_line = "未删除任何数据：无法写入配置文件"_t;
    if (const auto obstacle = removal_obstacle(folder)) return obstacle_line(*obstacle);
    if (!cover.empty()) {
        if (const auto obstacle = removal_obstacle(cover)) return obstacle_line(*obstacle);
    }
    // One thumbnail tells for all: they share a folder.
    if (!thumbnails.empty()) {
        if (const auto obstacle = removal_obstacle(thumbnails.front()))
            return obstacle_line(*obstacle);
    }
    if (config.rewrite_problem()) return config_line + quoted(config.path()) + "。"_t;
    return std::nullopt;
}

}  // namespace galmora
