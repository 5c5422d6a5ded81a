#include "items/heap_reuse.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

namespace quillex {

namespace {

// Blocks below this come from the heap, so freeing them keeps them for reuse; the
// music and the waveform peaks are larger and map their own memory.
constexpr int kHeapBlockLimit = 16 << 20;
// Freed memory at the heap's top is given back only beyond this much.
constexpr int kKeptFreeHeap = 64 << 20;

} // namespace

void keepFreedHeapForReuse() {
#if defined(M_TRIM_THRESHOLD) && defined(M_MMAP_THRESHOLD)
    static const bool done = [] {
        mallopt(M_MMAP_THRESHOLD, kHeapBlockLimit);
        mallopt(M_TRIM_THRESHOLD, kKeptFreeHeap);
        return true;
    }();
    (void)done;
#endif
}

} // namespace quillex
