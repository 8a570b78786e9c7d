#include "platform/large_allocations.h"

#include <malloc.h>

namespace {

constexpr int kMappedFrom = 1 << 20;

} // namespace

void mapLargeAllocationsApart() {
    // A fixed threshold also stops the allocator from raising it (and the
    // trim threshold with it) each time such a block is freed.
    mallopt(M_MMAP_THRESHOLD, kMappedFrom);
}
