#include "platform/block_pool.h"

#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

const std::size_t kPage = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
constexpr std::size_t kMegabyte = std::size_t{1} << 20;

// True when the page at address is mapped in this process.
bool isMapped(const void* address) {
    unsigned char resident = 0;
    void* page = reinterpret_cast<void*>(reinterpret_cast<std::uintptr_t>(address) & ~(kPage - 1));
    return mincore(page, kPage, &resident) == 0 || errno != ENOMEM;
}

// A freed block serves a later request of its size down to half of it,
// only while a run is open; without one it goes back at once.
TEST(BlockPool, AFreedBlockServesRequestsOfItsSizeWhileARunIsOpen) {
    const struct {
        const char* name;
        std::size_t request;
        bool reused;
    } table[] = {
        {"the same size", kMegabyte, true},
        {"a few bytes less", kMegabyte - 100, true},
        {"half", kMegabyte / 2, true},
        {"a page under half", kMegabyte / 2 - kPage, false},
        {"a byte more", kMegabyte + 1, false},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        BlockPool pool;
        pool.openRun();
        auto* first = static_cast<unsigned char*>(pool.acquire(kMegabyte));
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(first) % kPage, 0u);
        EXPECT_EQ(pool.capacity(first), kMegabyte);
        std::memset(first, 7, kMegabyte);
        ASSERT_TRUE(pool.release(first));
        EXPECT_EQ(pool.keptBytes(), kMegabyte);
        auto* second = static_cast<unsigned char*>(pool.acquire(row.request));
        ASSERT_NE(second, nullptr);
        // A fresh mapping reads as zeros (it may lie where the kept block was).
        EXPECT_EQ(second[0] == 7, row.reused);
        EXPECT_EQ(pool.keptBytes(), 0u);
        EXPECT_EQ(pool.mappedBytes(), pool.capacity(second));
        std::memset(second, 9, row.request);
        EXPECT_TRUE(pool.release(second));
        pool.closeRun();
        EXPECT_EQ(pool.mappedBytes(), 0u);
    }
    BlockPool pool;
    void* outsideARun = pool.acquire(kMegabyte);
    ASSERT_NE(outsideARun, nullptr);
    EXPECT_TRUE(pool.release(outsideARun));
    EXPECT_EQ(pool.keptBytes(), 0u);
    EXPECT_EQ(pool.mappedBytes(), 0u);
    EXPECT_FALSE(isMapped(outsideARun));
}

// Overlapping runs keep blocks until the last closes; then every kept
// block is unmapped, and a block still in use stays its owner's until it
// is released.
TEST(BlockPool, KeptBlocksGoBackWhenTheLastRunClosesAndBlocksInUseStay) {
    BlockPool pool;
    pool.openRun();
    pool.openRun();
    auto* held = static_cast<unsigned char*>(pool.acquire(2 * kMegabyte));
    void* freed = pool.acquire(3 * kMegabyte);
    ASSERT_NE(held, nullptr);
    ASSERT_NE(freed, nullptr);
    std::memset(held, 0x5a, 2 * kMegabyte);
    ASSERT_TRUE(pool.release(freed));
    pool.closeRun();
    EXPECT_EQ(pool.keptBytes(), 3 * kMegabyte) << "another run is still open";
    EXPECT_TRUE(isMapped(freed));
    pool.closeRun();
    EXPECT_EQ(pool.keptBytes(), 0u);
    EXPECT_EQ(pool.mappedBytes(), 2 * kMegabyte);
    EXPECT_FALSE(isMapped(freed));
    pool.closeRun();  // one close too many changes nothing
    EXPECT_EQ(held[0], 0x5a);
    EXPECT_EQ(held[2 * kMegabyte - 1], 0x5a);
    held[kMegabyte] = 1;
    EXPECT_TRUE(pool.release(held));
    EXPECT_EQ(pool.mappedBytes(), 0u);
    EXPECT_FALSE(isMapped(held));
}

// A request no kept block serves is mapped afresh, and the blocks kept
// longest make room for it while the kept bytes pass a quarter of those in
// use: the pool grows little while it keeps blocks.
TEST(BlockPool, AFreshBlockTakesTheRoomOfTheBlocksKeptLongest) {
    const struct {
        std::size_t inUse;  // held by others
        bool oldestUnmapped, olderUnmapped;
    } table[] = {
        {0, true, true},                // 2 MB make room for 1.5
        {23 * kMegabyte, true, false},  // 5 MB kept then are within a quarter
        {24 * kMegabyte, false, false},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.inUse);
        BlockPool pool;
        pool.openRun();
        void* held = row.inUse ? pool.acquire(row.inUse) : nullptr;
        void* oldest = pool.acquire(kMegabyte);
        void* older = pool.acquire(kMegabyte);
        void* newest = pool.acquire(4 * kMegabyte);
        for (void* block : {oldest, older, newest}) ASSERT_TRUE(pool.release(block));
        void* fresh = pool.acquire(3 * kMegabyte / 2);
        ASSERT_NE(fresh, nullptr);
        EXPECT_EQ(isMapped(oldest), !row.oldestUnmapped);
        EXPECT_EQ(isMapped(older), !row.olderUnmapped);
        EXPECT_TRUE(isMapped(newest));
        const std::size_t kept = 6 * kMegabyte - (row.oldestUnmapped + row.olderUnmapped) * kMegabyte;
        EXPECT_EQ(pool.keptBytes(), kept);
        EXPECT_EQ(pool.mappedBytes(), row.inUse + kept + 3 * kMegabyte / 2);
        EXPECT_EQ(pool.acquire(3 * kMegabyte), newest) << "a kept block up to twice the request";
        for (void* block : {held, fresh, newest}) pool.release(block);
        pool.closeRun();
        EXPECT_EQ(pool.mappedBytes(), 0u);
    }
}

// Addresses the pool did not hand out are left to their owners: the run
// memory frees them with free().
TEST(BlockPool, LeavesOtherAddressesAlone) {
    BlockPool pool;
    pool.openRun();
    auto* block = static_cast<unsigned char*>(pool.acquire(kMegabyte));
    void* fromMalloc = std::malloc(kMegabyte);
    void* pageAligned = nullptr;
    ASSERT_EQ(posix_memalign(&pageAligned, kPage, kPage), 0);
    for (void* other : {static_cast<void*>(nullptr), fromMalloc, pageAligned,
                        static_cast<void*>(block + kPage), static_cast<void*>(block + 1)}) {
        EXPECT_EQ(pool.capacity(other), 0u) << other;
        EXPECT_FALSE(pool.release(other)) << other;
    }
    EXPECT_TRUE(pool.release(block));
    EXPECT_FALSE(pool.release(block)) << "released twice";
    EXPECT_EQ(pool.acquire(0), nullptr);
    std::free(fromMalloc);
    std::free(pageAligned);
    pool.closeRun();
}

// A block grows into a new one with its contents; one that holds the new
// size is kept as it is.
TEST(BlockPool, ResizeKeepsTheContents) {
    BlockPool pool;
    auto* block = static_cast<unsigned char*>(pool.acquire(kMegabyte - 10));
    ASSERT_NE(block, nullptr);
    for (std::size_t i = 0; i < kMegabyte; ++i) block[i] = static_cast<unsigned char>(i % 251);
    EXPECT_EQ(pool.resize(block, kMegabyte), block);
    EXPECT_EQ(pool.resize(block, 100), block);
    auto* grown = static_cast<unsigned char*>(pool.resize(block, 3 * kMegabyte));
    ASSERT_NE(grown, nullptr);
    EXPECT_NE(grown, block);
    EXPECT_EQ(pool.capacity(grown), 3 * kMegabyte);
    EXPECT_EQ(pool.capacity(block), 0u);
    bool same = true;
    for (std::size_t i = 0; i < kMegabyte; ++i) same = same && grown[i] == i % 251;
    EXPECT_TRUE(same);
    EXPECT_TRUE(pool.release(grown));
    EXPECT_EQ(pool.mappedBytes(), 0u);
}

#if defined(__SANITIZE_ADDRESS__)
// A kept block is poisoned: a use of a freed block is reported as the
// sanitizer reports its own.
TEST(BlockPoolDeathTest, AKeptBlockIsPoisonedUnderAddressSanitizer) {
    BlockPool pool;
    pool.openRun();
    auto* block = static_cast<volatile unsigned char*>(pool.acquire(kMegabyte));
    pool.release(const_cast<unsigned char*>(block));
    EXPECT_DEATH(block[kMegabyte / 2] = 1, "use-after-poison");
    pool.closeRun();
}
#endif

// Render workers allocate and free at once while runs open and close: no
// block is ever handed to two owners, and everything goes back at the end.
TEST(BlockPoolThreads, ThreadsShareThePoolWhileRunsOpenAndClose) {
    BlockPool pool;
    std::atomic<int> wrong{0};
    std::atomic<bool> working{true};
    std::thread runs([&] {
        while (working) {
            pool.openRun();
            std::this_thread::yield();
            pool.closeRun();
        }
    });
    std::vector<std::thread> workers;
    for (int t = 0; t < 6; ++t)
        workers.emplace_back([&, t] {
            const std::size_t sizes[] = {kMegabyte, kMegabyte + kPage, 3 * kMegabyte / 2, 256 << 10};
            for (int i = 0; i < 300; ++i) {
                const std::size_t bytes = sizes[(t + i) % 4];
                auto* block = static_cast<unsigned char*>(pool.acquire(bytes));
                if (!block) {
                    ++wrong;
                    continue;
                }
                const auto mark = static_cast<unsigned char>(t * 37 + i);
                block[0] = block[bytes / 2] = block[bytes - 1] = mark;
                std::this_thread::yield();
                if (block[0] != mark || block[bytes / 2] != mark || block[bytes - 1] != mark) ++wrong;
                if (!pool.release(block)) ++wrong;
            }
        });
    for (std::thread& worker : workers) worker.join();
    working = false;
    runs.join();
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(pool.keptBytes(), 0u);
    EXPECT_EQ(pool.mappedBytes(), 0u);
}

} // namespace
