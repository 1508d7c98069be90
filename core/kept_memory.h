#pragma once
// How the allocator treats the large buffers that picture work frees. glibc
// gives a freed block of some megabytes back to the system at once, so that
// the next picture faults the same pages in afresh: with two workers that
// took a third of a photo's time, in the kernel. Kept for the job instead,
// and given back when the job ends, so that an idle window holds little.

namespace galmora {

// Once, at start-up, before any worker runs: freed blocks under 32 MiB (a
// 2048-pixel copy takes 12) stay for the next picture, as does free room
// up to 32 MiB at the top of a worker's heap; larger ones still go back
// at once.
void keep_freed_blocks_for_reuse();

// When a job has ended: the free room every heap keeps goes back to the
// system.
void give_back_kept_memory();

}  // namespace galmora
