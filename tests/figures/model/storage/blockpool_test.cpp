#include "figures/model/storage/blockpool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

namespace figures {
namespace {

bool AllZero(const uint8_t* block, size_t n)
{
    return std::all_of(block, block + n, [](uint8_t b) { return b == 0; });
}

// Sizes around the granule and the pooled limit, each given back dirty and asked for
// again: the reused block comes back zeroed, and blocks alive together never overlap.
TEST(BlockPool, HandsOutZeroedBlocksThatNeverOverlapAndReusesWhatWasGivenBack)
{
    BlockPool pool;
    const size_t sizes[] = {0, 1, 15, 16, 17, 200, BlockPool::kMaxPooled,
                            BlockPool::kMaxPooled + 1, 5000};
    std::set<std::pair<uintptr_t, uintptr_t>> spans; // of the blocks alive
    std::vector<std::pair<uint8_t*, size_t>> alive;
    for (size_t n : sizes) {
        uint8_t* block = pool.Allocate(n);
        ASSERT_NE(block, nullptr) << n;
        EXPECT_TRUE(AllZero(block, n)) << n;
        std::memset(block, 0xAB, n);
        pool.Free(block, n);

        uint8_t* again = pool.Allocate(n);
        ASSERT_NE(again, nullptr) << n;
        if (n <= BlockPool::kMaxPooled) {
            EXPECT_EQ(again, block) << n;
        }
        EXPECT_TRUE(AllZero(again, n)) << n;
        std::memset(again, 0xCD, n);
        const uintptr_t begin = reinterpret_cast<uintptr_t>(again);
        const uintptr_t end = begin + std::max<size_t>(n, 1);
        for (const auto& [b, e] : spans) {
            EXPECT_TRUE(end <= b || e <= begin) << n;
        }
        spans.insert({begin, end});
        alive.emplace_back(again, n);
    }
    EXPECT_GE(pool.BytesHeld(), BlockPool::kChunkSize + 5000 + BlockPool::kMaxPooled + 1);
    for (const auto& [block, n] : alive) {
        pool.Free(block, n);
    }
    EXPECT_EQ(pool.BytesHeld(), BlockPool::kChunkSize);
}

TEST(BlockPool, ManySmallBlocksShareChunks)
{
    BlockPool pool;
    constexpr size_t kBlocks = 10000;
    for (size_t i = 0; i < kBlocks; ++i) {
        ASSERT_NE(pool.Allocate(40), nullptr);
    }
    // 48 bytes each after rounding: two chunks of 256 KB.
    EXPECT_EQ(pool.BytesHeld(), 2 * BlockPool::kChunkSize);
    pool.Release();
    EXPECT_EQ(pool.BytesHeld(), 0u);
}

} // namespace
} // namespace figures
