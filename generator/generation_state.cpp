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

}  // namespace galmora
