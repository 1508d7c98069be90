#include "shell/failure_notices.h"

#include "core/codepage.h"

namespace galmora {

using namespace galmora::literals;

namespace {

Text quoted(const Text& text) {
    return "“"_t + text + "”"_t;
}

Text config_not_written(const Text& config_path, std::optional<WriteProblem> problem) {
    return "配置文件"_t + quoted(config_path) + "无法写入（"_t + write_problem_cause(problem) +
           "）"_t;
}

Text what_became_of_the_folder(const CommitFailure& failure) {
    const Text folder = quoted(failure.sub_gallery_folder);
    if (!failure.folder_created) return "子图库目录"_t + folder + "原已存在，已保留。"_t;
    if (failure.outcome.folder_left)
        return "新生成的子图库目录"_t + folder + "无法删除，请手动删除。"_t;
    return "新生成的子图库目录"_t + folder + "已删除。"_t;
}

}  // namespace

Text write_problem_cause(std::optional<WriteProblem> problem) {
    switch (problem.value_or(WriteProblem::Other)) {
        case WriteProblem::IsFolder:
            return "同名的目录占用了它的位置"_t;
        case WriteProblem::ReadOnlyFile:
            return "文件是只读的"_t;
        case WriteProblem::FolderNotWritable:
            return "没有权限在它所在的目录中写入"_t;
        case WriteProblem::ReadOnlyDisk:
            return "磁盘是只读的"_t;
        case WriteProblem::DiskFull:
            return "磁盘空间不足"_t;
        case WriteProblem::Unreadable:
            return "文件无法读取"_t;
        case WriteProblem::Other:
            break;
    }
    return "写入失败"_t;
}

Text generation_config_refusal(const Text& config_path, WriteProblem problem) {
    return "未生成图库："_t + config_not_written(config_path, problem) +
           "。\r\n请排除问题后再点击“生成图片库”。"_t;
}

Text commit_failure_notice(const CommitFailure& failure) {
    switch (failure.outcome.state) {
        case GenerationCommit::RecordFailed:
            return "图库未能记录："_t +
                   config_not_written(failure.config_path, failure.config_problem) + "。\r\n"_t +
                   what_became_of_the_folder(failure);
        case GenerationCommit::MainPageFailed:
            return "图库未能完成：主图库页面"_t + quoted(failure.main_page_path) +
                   "无法写入。\r\n本次生成已撤销：配置文件已恢复原样；"_t +
                   what_became_of_the_folder(failure);
        case GenerationCommit::UndoFailed:
            return "图库未能完成：主图库页面"_t + quoted(failure.main_page_path) +
                   "无法写入，配置文件"_t + quoted(failure.config_path) +
                   "也无法恢复。\r\n子图库已记录，但主图库页面中还没有它的卡片；"
                   "排除问题后，下一次生成或删除子图库时主图库页面会重新写入。"_t;
        case GenerationCommit::Committed:
            break;
    }
    return Text();
}

Text setting_not_stored(const Text& setting, const Text& config_path,
                        std::optional<WriteProblem> problem) {
    return setting + "未能保存："_t + config_not_written(config_path, problem) + "。"_t;
}

Text config_not_created(const Text& config_path, std::optional<WriteProblem> problem) {
    return "配置文件"_t + quoted(config_path) + "无法创建（"_t + write_problem_cause(problem) +
           "），设置和子图库的记录都将无法保存。"_t;
}

Text main_page_not_rebuilt(const Text& path) {
    return "\r\n主图库页面"_t + quoted(path) +
           "无法写入，页面中仍有已删除子图库的卡片；"
           "排除问题后，下一次生成或删除子图库时会重新写入。"_t;
}

Text folder_not_created(const Text& folder) {
    return "目录"_t + quoted(folder) + "无法创建，请检查图库根目录是否可写、磁盘空间是否充足。"_t;
}

}  // namespace galmora
