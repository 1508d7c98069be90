#include "shell/library_captions.h"

#include "core/codepage.h"

namespace galmora::library_captions {

using namespace galmora::literals;

const Text& sub_gallery_prompt() {
    static const Text text = "选择要删除的子图库后点击 →"_t;
    return text;
}

const Text& default_cover() {
    static const Text text = "默认封面"_t;
    return text;
}

const Text& chosen_cover() {
    static const Text text = "已选封面"_t;
    return text;
}

const Text& default_logo() {
    static const Text text = "默认Logo"_t;
    return text;
}

const Text& chosen_logo() {
    static const Text text = "已选Logo"_t;
    return text;
}

const Text& gallery_name_prefix() {
    static const Text text = "图库"_t;
    return text;
}

}  // namespace galmora::library_captions
