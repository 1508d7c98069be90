#include "generator/sub_gallery_target.h"

#include "core/codepage.h"
#include "generator/name_in_use.h"
#include "generator/sub_gallery_name.h"

namespace galmora {

using namespace galmora::literals;

namespace {

const Text& name_problem_message(SubGalleryNameProblem problem) {
    static const Text empty = "图库名称不能为空，请输入子图库名称后再生成！"_t;
    static const Text dots = "图库名称不能是“.”或“..”，请更换名称后再生成！"_t;
    static const Text bytes = "图库名称不能包含“/”或控制字符，请更换名称后再生成！"_t;
    static const Text site =
        "图库名称不能是“img”、“js”、“stylecss”或“index.html”，这些名称为网站自用，请更换名称后再生成！"_t;
    switch (problem) {
        case SubGalleryNameProblem::Empty:
            return empty;
        case SubGalleryNameProblem::DotName:
            return dots;
        case SubGalleryNameProblem::ForbiddenByte:
            return bytes;
        default:
            return site;
    }
}

Text name_taken_message(const Text& name, const Text& main_gallery) {
    static const Text head = "主图库“"_t;
    static const Text middle = "”中已有名为“"_t;
    static const Text tail = "”的子图库，请更换名称后再生成！"_t;
    return head + main_gallery + middle + name + tail;
}

}  // namespace

std::optional<Text> sub_gallery_target_refusal(const Text& library_root, const Text& name,
                                               const Text& main_gallery_name) {
    static const Text no_main_gallery = "请先选择或新建主图库后再生成！"_t;
    const SubGalleryNameProblem problem = sub_gallery_name_problem(name);
    if (problem != SubGalleryNameProblem::None) return name_problem_message(problem);
    // An empty selection would put the site into the library root itself.
    if (main_gallery_name.empty()) return no_main_gallery;
    if (const auto other = other_main_gallery_holding(library_root, main_gallery_name, name))
        return name_taken_message(name, *other);
    return std::nullopt;
}

}  // namespace galmora
