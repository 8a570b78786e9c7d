#include "render/magick_memory.h"

#include <cstdlib>

#include <wand/MagickWand.h>

#include "platform/run_memory.h"

namespace {

// ImageMagick asks its aligned blocks (pixel caches, pixel views) to be
// aligned to a cache line; a large block is aligned to a page.
void* acquireAligned(const size_t bytes, const size_t alignment) {
    if (bytes >= kRunBlockFrom) return acquireRunMemory(bytes);
    void* block = nullptr;
    return posix_memalign(&block, alignment, bytes) == 0 ? block : nullptr;
}

void releaseAligned(void* block) { releaseRunMemory(block); }

void* acquire(size_t bytes) { return acquireRunMemory(bytes); }
void* resize(void* block, size_t bytes) { return resizeRunMemory(block, bytes); }
void release(void* block) { releaseRunMemory(block); }

} // namespace

bool useRunMemoryForImageMagick() {
    if (!enableRunMemory()) return false;
    SetMagickMemoryMethods(acquire, resize, release);
    SetMagickAlignedMemoryMethods(acquireAligned, releaseAligned);
    return true;
}
