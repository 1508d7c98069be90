#include "generator/generation_state.h"

namespace galmora {

Text random_suffix() {
    Text suffix;
    suffix.reserve(9);
    for (int i = 0; i < 9; ++i) suffix.push_back(static_cast<char>('0' + random_int(0, 9)));
    return suffix;
}

}  // namespace galmora
