// Large memory blocks mapped from the system, kept for reuse while a run
// is open and unmapped when the last open run closes.
//
// Why: a render run allocates and frees images and frames of megabytes
// hundreds of times a second on several threads. The C library serves
// such blocks from the arena of the thread that asks and, once it has
// seen a block that large freed, keeps the freed space of every arena for
// the rest of the process: an idle program held the memory of all its
// past runs. A fresh mapping for every block gives it back but page-faults
// every frame in anew, which costs the run a quarter of its time.
//
// How: each block is a mapping of its own, so its memory can go back to
// the system whatever else lies near it. While a run is open a freed block
// is kept, and a request it can serve (of its size down to half of it)
// takes it again, its pages already in. A request no kept block serves is
// mapped afresh, and the blocks kept longest are unmapped to make room for
// it while the kept bytes pass a quarter of those in use: the pool holds
// little more than its runs have in use, as a heap that splits and joins
// its free space would, and keeps the blocks reused most. When the last open
// run closes every kept block is unmapped. A block in use at that moment
// stays its owner's, and is unmapped when it is released. Runs may overlap
// (a preview starting while a generation's threads end): blocks are kept
// from the first opening to the last closing. Every call may come from any
// thread.
#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <unordered_map>

class BlockPool {
public:
    BlockPool() = default;
    // Unmaps the kept blocks. Blocks still in use are left mapped.
    ~BlockPool();
    BlockPool(const BlockPool&) = delete;
    BlockPool& operator=(const BlockPool&) = delete;

    // A page-aligned block of at least bytes: the smallest kept block of
    // bytes up to twice as many, else a fresh mapping. Null for 0 bytes, or
    // when the system refuses the mapping.
    void* acquire(std::size_t bytes);
    // Releases a block acquire returned: kept while a run is open, else
    // unmapped. False, and nothing done, for any other address (null, a
    // block of another allocator).
    bool release(void* block);
    // The bytes a block acquire returned can hold (its request rounded up
    // to pages, or the kept block's size); 0 for any other address.
    std::size_t capacity(const void* block) const;
    // realloc for a block of the pool (capacity above 0): the block itself
    // when it holds bytes, else a new block with its contents, the old one
    // released. Null when refused; the block is then unchanged.
    void* resize(void* block, std::size_t bytes);

    // A run begins and ends. Closing a run that was never opened does nothing.
    void openRun();
    void closeRun();

    // Bytes of the blocks kept for reuse, and of every block mapped (in use or kept).
    std::size_t keptBytes() const;
    std::size_t mappedBytes() const;

private:
    struct KeptBlock {
        void* block;
        std::size_t bytes;
    };

    mutable std::mutex lock_;
    std::unordered_map<const void*, std::size_t> inUse_;  // block -> bytes
    std::deque<KeptBlock> kept_;                          // the longest kept first
    std::size_t keptBytes_ = 0;
    std::size_t mappedBytes_ = 0;
    int openRuns_ = 0;
};
