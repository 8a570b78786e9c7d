// The memory of render runs: the process's one BlockPool (block_pool.h)
// for large blocks, the C library's heap for the others.
//
// A render run (a generation or a preview) holds a RunMemoryScope while it
// renders; the images and frames it frees meanwhile are kept for its next
// ones, and go back to the system when the last run ends. Blocks of
// kRunBlockFrom bytes or more come from the pool, smaller ones from
// malloc. Until enableRunMemory, and in the sanitizer builds, which keep
// the sanitizer's allocator in charge of every block, all of them come
// from malloc and the scope does nothing.
#pragma once

#include <cstddef>
#include <new>

// The smallest block the pool serves: the size from which the C library
// starts out mapping blocks of their own.
constexpr std::size_t kRunBlockFrom = std::size_t{128} << 10;

// Serves large blocks from the pool from now on. Call once, on the main
// thread at start, before any other thread allocates run memory. False
// (and nothing changed) in the sanitizer builds.
bool enableRunMemory();

// A block of at least bytes (aligned for any type, large ones to a page),
// null when memory is refused; released with releaseRunMemory.
void* acquireRunMemory(std::size_t bytes);
// Releases a block of acquireRunMemory or of malloc (null: nothing).
void releaseRunMemory(void* block);
// realloc for run memory: block (of acquireRunMemory or malloc) resized
// to bytes, its contents kept; null when refused, block then unchanged.
void* resizeRunMemory(void* block, std::size_t bytes);

// While one lives, freed large blocks are kept for reuse.
class RunMemoryScope {
public:
    RunMemoryScope();
    ~RunMemoryScope();
    RunMemoryScope(const RunMemoryScope&) = delete;
    RunMemoryScope& operator=(const RunMemoryScope&) = delete;
};

// A standard allocator over run memory, for the buffers a run fills with
// frames.
template <class T>
struct RunAllocator {
    using value_type = T;
    RunAllocator() = default;
    template <class U>
    RunAllocator(const RunAllocator<U>&) {}
    T* allocate(std::size_t count) {
        if (count > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
        void* block = acquireRunMemory(count * sizeof(T));
        if (!block) throw std::bad_alloc();
        return static_cast<T*>(block);
    }
    void deallocate(T* block, std::size_t) { releaseRunMemory(block); }
    template <class U>
    bool operator==(const RunAllocator<U>&) const {
        return true;
    }
};
