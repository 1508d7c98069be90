#include "generator/generation_state.h"

namespace galmora {

void GenerationState::reset_for_generation(const Text& name) {
    picture_count = 0;
    page_count = 0;
    in_page_counter = 1;
    current_page_markup.clear();
    pages_markup.clear();
    sub_gallery_name = name;
}

Text random_suffix() {
    Text suffix;
    suffix.reserve(9);
    for (int i = 0; i < 9; ++i) suffix.push_back(static_cast<char>('0' + random_int(0, 9)));
    return suffix;
}

}  // namespace galmora
