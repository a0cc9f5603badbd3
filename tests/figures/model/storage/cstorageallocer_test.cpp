#include "figures/model/storage/cstorageallocer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

namespace figures {
namespace {

TEST(StorageAllocer, AllocateGivesZeroFilledBlockWhoseCapacityCountsTheHeader)
{
    CStorageAllocer store;
    uint8_t* data = store.Allocate(1, 5);
    ASSERT_NE(data, nullptr);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(data[i], 0) << i;
    }
    int32_t length = -1;
    EXPECT_EQ(store.Lookup(1, &length), data);
    EXPECT_EQ(length, 5);
    EXPECT_EQ(store.GetLength(1), 5);
    EXPECT_EQ(store.Capacity(1), 13);

    ASSERT_NE(store.Allocate(2, 0), nullptr);
    EXPECT_EQ(store.Capacity(2), 8);
    EXPECT_EQ(store.GetLength(2), 0);

    // Allocating again under an id replaces its block.
    data[0] = 7;
    uint8_t* again = store.Allocate(1, 3);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again[0], 0);
    EXPECT_EQ(store.Capacity(1), 11);
}

TEST(StorageAllocer, AllocateRefusesIdsWithoutRecordsAndImpossibleLengths)
{
    CStorageAllocer store;
    const int32_t kMax = std::numeric_limits<int32_t>::max();
    struct Row {
        const char* name;
        int32_t id;
        int32_t n;
    };
    const Row rows[] = {
        {"id zero", 0, 4},
        {"negative id", -3, 4},
        {"negative length", 4, -1},
        {"capacity would overflow", 4, kMax - 4},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(store.Allocate(row.id, row.n), nullptr) << row.name;
        EXPECT_EQ(store.Capacity(row.id), 0) << row.name;
    }
    EXPECT_EQ(store.HighestId(), 0);

    int32_t length = 99;
    EXPECT_EQ(store.Lookup(42, &length), nullptr);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(store.GetLength(42), 0);
}

// Each step resizes the same block; `moves` says whether the slack rule must reallocate.
TEST(StorageAllocer, ResizeKeepsAtMostTenSpareBytesAndReallocatesOutsideThatBand)
{
    CStorageAllocer store;
    ASSERT_NE(store.Allocate(1, 0), nullptr);
    struct Step {
        int32_t n;
        int32_t capacity;
        bool moves;
    };
    const Step steps[] = {
        {5, 23, true},   // no room: n + 10 + 8
        {15, 23, false}, // exactly fills the slack
        {16, 34, true},  // one byte past the slack
        {26, 34, false}, // grows into the slack
        {20, 34, false}, // shrinking inside the band keeps the block
        {16, 34, false}, // a spare of exactly 10 is still kept
        {15, 33, true},  // 11 spare bytes: shrunk to length + 10 + 8
        {0, 18, true},
    };
    for (const Step& step : steps) {
        uint8_t* before = store.Lookup(1);
        uint8_t* after = store.Resize(1, step.n);
        ASSERT_NE(after, nullptr) << step.n;
        EXPECT_EQ(store.Capacity(1), step.capacity) << step.n;
        EXPECT_EQ(store.GetLength(1), step.n) << step.n;
        EXPECT_EQ(after != before, step.moves) << step.n;
        EXPECT_EQ(store.Lookup(1), after) << step.n;
    }
}

TEST(StorageAllocer, ResizeKeepsTheDataAndZeroesEveryByteItAdds)
{
    CStorageAllocer store;
    uint8_t* data = store.Allocate(1, 4);
    ASSERT_NE(data, nullptr);
    std::memcpy(data, "WXYZ", 4);

    data = store.Resize(1, 9); // reallocates
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::memcmp(data, "WXYZ\0\0\0\0\0", 9), 0);

    // Bytes cut off by a shorter length come back as zeros, not as what they held.
    std::memcpy(data, "ABCDEFGHI", 9);
    ASSERT_TRUE(store.SetLength(1, 3, false));
    uint8_t* same = store.Resize(1, 9);
    ASSERT_EQ(same, data);
    EXPECT_EQ(std::memcmp(same, "ABC\0\0\0\0\0\0", 9), 0);

    data = store.Resize(1, 2); // 17 spare bytes: shrinks
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::memcmp(data, "AB", 2), 0);
}

TEST(StorageAllocer, ResizeFailsWithoutTouchingTheBlock)
{
    CStorageAllocer store;
    uint8_t* data = store.Allocate(1, 3);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(store.Resize(2, 4), nullptr);
    EXPECT_EQ(store.Capacity(2), 0);
    EXPECT_EQ(store.Resize(1, -1), nullptr);
    EXPECT_EQ(store.Resize(1, std::numeric_limits<int32_t>::max() - 12), nullptr);
    EXPECT_EQ(store.Lookup(1), data);
    EXPECT_EQ(store.GetLength(1), 3);
    EXPECT_EQ(store.Capacity(1), 11);
}

TEST(StorageAllocer, SetLengthWithoutGrowOnlyRewritesTheLengthInsideTheCapacity)
{
    CStorageAllocer store;
    uint8_t* data = store.Allocate(1, 6);
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(store.SetLength(1, 2, false));
    EXPECT_EQ(store.GetLength(1), 2);
    EXPECT_EQ(store.Capacity(1), 14);
    EXPECT_TRUE(store.SetLength(1, 6, false));
    EXPECT_FALSE(store.SetLength(1, 7, false));
    EXPECT_FALSE(store.SetLength(1, -1, false));
    EXPECT_FALSE(store.SetLength(2, 0, false));
    EXPECT_FALSE(store.SetLength(2, 4, true));
    EXPECT_EQ(store.GetLength(1), 6);
    EXPECT_EQ(store.Lookup(1), data);

    EXPECT_TRUE(store.SetLength(1, 30, true));
    EXPECT_EQ(store.GetLength(1), 30);
    EXPECT_EQ(store.Capacity(1), 48);
}

TEST(StorageAllocer, FreeLowersTheHighestIdOnlyWhenItFreesTheHighest)
{
    CStorageAllocer store;
    for (int32_t id = 1; id <= 3; ++id) {
        ASSERT_NE(store.Allocate(id, 2), nullptr);
    }
    EXPECT_EQ(store.HighestId(), 3);
    store.Free(2);
    EXPECT_EQ(store.Lookup(2), nullptr);
    EXPECT_EQ(store.HighestId(), 3);
    store.Free(3);
    EXPECT_EQ(store.Capacity(3), 0);
    EXPECT_EQ(store.HighestId(), 2);
    store.Free(9);
    EXPECT_EQ(store.HighestId(), 2);
    EXPECT_NE(store.Lookup(1), nullptr);

    // The map is usable again after it has been emptied.
    store.Free(1);
    store.Free(2);
    EXPECT_EQ(store.HighestId(), 1);
    ASSERT_NE(store.Allocate(5, 1), nullptr);
    EXPECT_EQ(store.HighestId(), 5);
    EXPECT_EQ(store.Capacity(5), 9);
}

} // namespace
} // namespace figures
