#include "platform/run_memory.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>

#include "platform/block_pool.h"

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitizerBuild = true;
#else
constexpr bool kSanitizerBuild = false;
#endif

// Blocks the C library still serves (the preview window's images, shape
// masks) come from its arenas below this size.
constexpr int kLibraryMapsFrom = 32 << 20;

std::atomic<bool> enabled{false};

// Never destroyed: ImageMagick frees its last blocks while the program ends.
BlockPool& pool() {
    static BlockPool& thePool = *new BlockPool;
    return thePool;
}

} // namespace

bool enableRunMemory() {
    if (kSanitizerBuild) return false;
    pool();
    // The C library raises its own thresholds to these once it has freed a
    // block of 32 MB, and never lowers them. The run's large blocks no longer
    // reach it, so it would stop at the largest it saw, a few megabytes, and
    // map, trim and fault in again the preview window's images every frame.
    mallopt(M_MMAP_THRESHOLD, kLibraryMapsFrom);
    mallopt(M_TRIM_THRESHOLD, 2 * kLibraryMapsFrom);
    enabled = true;
    return true;
}

void* acquireRunMemory(std::size_t bytes) {
    if (bytes >= kRunBlockFrom && enabled.load(std::memory_order_relaxed))
        if (void* block = pool().acquire(bytes)) return block;
    return std::malloc(bytes);
}

void releaseRunMemory(void* block) {
    if (!block) return;
    if (enabled.load(std::memory_order_relaxed) && pool().release(block)) return;
    std::free(block);
}

void* resizeRunMemory(void* block, std::size_t bytes) {
    if (!block) return acquireRunMemory(bytes);
    if (enabled.load(std::memory_order_relaxed) && pool().capacity(block) > 0)
        return pool().resize(block, bytes);
    return std::realloc(block, bytes);
}

RunMemoryScope::RunMemoryScope() {
    if (enabled.load(std::memory_order_relaxed)) pool().openRun();
}

RunMemoryScope::~RunMemoryScope() {
    if (enabled.load(std::memory_order_relaxed)) pool().closeRun();
}
