#include "core/kept_memory.h"

#include <cstdlib>  // defines __GLIBC__ where glibc is the C library
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace galmora {

void keep_freed_blocks_for_reuse() {
#if defined(__GLIBC__)
    constexpr int kKept = 32 << 20;
    mallopt(M_MMAP_THRESHOLD, kKept);
    mallopt(M_TRIM_THRESHOLD, kKept);
#endif
}

void give_back_kept_memory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

}  // namespace galmora
