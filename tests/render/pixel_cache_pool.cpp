#include "pixel_cache_pool.h"

#include <cstdint>
#include <cstdlib>
#include <map>
#include <mutex>
#include <unordered_map>

#include <wand/MagickWand.h>

namespace harness {

namespace {

// Smaller blocks come from the sanitizer's own size classes, which reuse.
constexpr std::size_t kPooledFrom = 128 * 1024;
constexpr std::size_t kKeptAtMost = 256u * 1024 * 1024;
// Blocks in use are keyed by a disguised address, which the leak checker
// does not read as a pointer.
constexpr std::uintptr_t kDisguise = 0x5a5a5a5a5a5a5a5aULL;

std::mutex poolLock;
std::multimap<std::size_t, void*> keptBlocks;                 // size -> free block
std::unordered_map<std::uintptr_t, std::size_t> blocksInUse;  // disguised -> size
std::size_t keptBytes = 0;

std::uintptr_t disguised(void* block) { return reinterpret_cast<std::uintptr_t>(block) ^ kDisguise; }

void* acquireAligned(std::size_t size, std::size_t alignment) {
    if (size == 0) return nullptr;
    if (size >= kPooledFrom) {
        std::lock_guard<std::mutex> lock(poolLock);
        // Any kept block up to twice the size will do.
        auto kept = keptBlocks.lower_bound(size);
        if (kept != keptBlocks.end() && kept->first / 2 <= size) {
            void* block = kept->second;
            keptBytes -= kept->first;
            blocksInUse[disguised(block)] = kept->first;
            keptBlocks.erase(kept);
            return block;
        }
    }
    void* block = nullptr;
    if (posix_memalign(&block, alignment, size) != 0) return nullptr;
    if (size >= kPooledFrom) {
        std::lock_guard<std::mutex> lock(poolLock);
        blocksInUse[disguised(block)] = size;
    }
    return block;
}

void relinquishAligned(void* block) {
    if (!block) return;
    {
        std::lock_guard<std::mutex> lock(poolLock);
        auto used = blocksInUse.find(disguised(block));
        if (used != blocksInUse.end()) {
            std::size_t size = used->second;
            blocksInUse.erase(used);
            if (keptBytes + size <= kKeptAtMost) {
                keptBlocks.emplace(size, block);
                keptBytes += size;
                return;
            }
        }
    }
    std::free(block);
}

} // namespace

void installPixelCachePool() { SetMagickAlignedMemoryMethods(acquireAligned, relinquishAligned); }

void drainPixelCachePool() {
    std::lock_guard<std::mutex> lock(poolLock);
    for (auto& [size, block] : keptBlocks) std::free(block);
    keptBlocks.clear();
    keptBytes = 0;
}

} // namespace harness
