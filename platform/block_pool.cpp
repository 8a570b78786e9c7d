#include "platform/block_pool.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#endif

namespace {

std::size_t pageSize() {
    static const std::size_t size = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    return size;
}

bool isPageAligned(const void* block) {
    return (reinterpret_cast<std::uintptr_t>(block) & (pageSize() - 1)) == 0;
}

// A kept block is poisoned under AddressSanitizer, so a use of a released
// block is reported as it would be for the sanitizer's own allocations.
void poison(void* block, std::size_t bytes) {
#if defined(__SANITIZE_ADDRESS__)
    ASAN_POISON_MEMORY_REGION(block, bytes);
#else
    (void)block, (void)bytes;
#endif
}

void unpoison(void* block, std::size_t bytes) {
#if defined(__SANITIZE_ADDRESS__)
    ASAN_UNPOISON_MEMORY_REGION(block, bytes);
#else
    (void)block, (void)bytes;
#endif
}

void* mapBlock(std::size_t bytes) {
    void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) return nullptr;
    unpoison(block, bytes);
    return block;
}

void unmapBlock(void* block, std::size_t bytes) {
    unpoison(block, bytes);
    munmap(block, bytes);
}

} // namespace

BlockPool::~BlockPool() {
    for (const KeptBlock& kept : kept_) unmapBlock(kept.block, kept.bytes);
}

void* BlockPool::acquire(std::size_t bytes) {
    const std::size_t page = pageSize();
    if (bytes == 0 || bytes > SIZE_MAX / 2 - page) return nullptr;
    const std::size_t rounded = (bytes + page - 1) & ~(page - 1);
    std::deque<KeptBlock> giving;
    {
        std::lock_guard<std::mutex> hold(lock_);
        auto best = kept_.end();
        for (auto kept = kept_.begin(); kept != kept_.end(); ++kept)
            if (kept->bytes >= rounded && kept->bytes <= 2 * rounded &&
                (best == kept_.end() || kept->bytes < best->bytes))
                best = kept;
        if (best != kept_.end()) {
            const KeptBlock taken = *best;
            kept_.erase(best);
            keptBytes_ -= taken.bytes;
            inUse_.emplace(taken.block, taken.bytes);
            unpoison(taken.block, taken.bytes);
            return taken.block;
        }
        // The blocks kept longest make room for the new one, as far as the
        // kept bytes pass a quarter of those in use.
        const std::size_t spare = (mappedBytes_ - keptBytes_) / 4;
        std::size_t given = 0;
        while (given < rounded && keptBytes_ - given > spare) {
            given += kept_.front().bytes;
            giving.push_back(kept_.front());
            kept_.pop_front();
        }
        keptBytes_ -= given;
        mappedBytes_ -= given;
    }
    // Unmapped and mapped without the lock: other threads need not wait.
    for (const KeptBlock& kept : giving) unmapBlock(kept.block, kept.bytes);
    void* block = mapBlock(rounded);
    if (!block) return nullptr;
    std::lock_guard<std::mutex> hold(lock_);
    inUse_.emplace(block, rounded);
    mappedBytes_ += rounded;
    return block;
}

bool BlockPool::release(void* block) {
    // Every block is a mapping of its own; an address inside a page is not one.
    if (!block || !isPageAligned(block)) return false;
    std::size_t size = 0;
    {
        std::lock_guard<std::mutex> hold(lock_);
        auto used = inUse_.find(block);
        if (used == inUse_.end()) return false;
        size = used->second;
        inUse_.erase(used);
        if (openRuns_ > 0) {
            poison(block, size);
            kept_.push_back({block, size});
            keptBytes_ += size;
            return true;
        }
        mappedBytes_ -= size;
    }
    unmapBlock(block, size);
    return true;
}

std::size_t BlockPool::capacity(const void* block) const {
    if (!block || !isPageAligned(block)) return 0;
    std::lock_guard<std::mutex> hold(lock_);
    auto used = inUse_.find(block);
    return used == inUse_.end() ? 0 : used->second;
}

void* BlockPool::resize(void* block, std::size_t bytes) {
    const std::size_t held = capacity(block);
    if (bytes <= held) return block;
    void* moved = acquire(bytes);
    if (!moved) return nullptr;
    std::memcpy(moved, block, held);
    release(block);
    return moved;
}

void BlockPool::openRun() {
    std::lock_guard<std::mutex> hold(lock_);
    ++openRuns_;
}

void BlockPool::closeRun() {
    std::deque<KeptBlock> unmapping;
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (openRuns_ == 0 || --openRuns_ > 0) return;
        unmapping.swap(kept_);
        mappedBytes_ -= keptBytes_;
        keptBytes_ = 0;
    }
    for (const KeptBlock& kept : unmapping) unmapBlock(kept.block, kept.bytes);
}

std::size_t BlockPool::keptBytes() const {
    std::lock_guard<std::mutex> hold(lock_);
    return keptBytes_;
}

std::size_t BlockPool::mappedBytes() const {
    std::lock_guard<std::mutex> hold(lock_);
    return mappedBytes_;
}
