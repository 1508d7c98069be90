#pragma once
// The captions the library's controls show, in the local code page,
// converted once.

#include "core/text.h"

namespace galmora::library_captions {

const Text& sub_gallery_prompt();   // "选择要删除的子图库后点击 →"
const Text& default_cover();        // "默认封面"
const Text& chosen_cover();         // "已选封面"
const Text& default_logo();         // "默认Logo"
const Text& chosen_logo();          // "已选Logo"
const Text& gallery_name_prefix();  // "图库"

}  // namespace galmora::library_captions
