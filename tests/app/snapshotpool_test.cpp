#include "app/snapshotpool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes RandomBytes(size_t size, uint32_t seed)
{
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (uint8_t& byte : bytes) {
        byte = uint8_t(random());
    }
    return bytes;
}

// Many similar records, as a drawing of many alike objects gives.
Bytes RepeatedRecords(size_t records)
{
    Bytes bytes;
    for (size_t i = 0; i < records; ++i) {
        const std::string record = "object " + std::to_string(i) + " frame 10 10 110 110 fill";
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    return bytes;
}

TEST(SnapshotPool, GivesBackEveryVersionByteForByte)
{
    const struct {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"empty", {}},
        {"one byte", {0x2A}},
        {"shorter than a chunk", RandomBytes(app::SnapshotPool::kMinChunk - 1, 1)},
        {"exactly the shortest chunk", RandomBytes(app::SnapshotPool::kMinChunk, 2)},
        {"many chunks", RandomBytes(300000, 3)},
        {"zeros cut at the longest chunk", Bytes(3 * app::SnapshotPool::kMaxChunk + 5, 0)},
        {"similar records", RepeatedRecords(20000)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        app::SnapshotPool pool;
        const app::SnapshotPool::Handle version = pool.Store(c.bytes);
        EXPECT_EQ(version->Size(), c.bytes.size());
        EXPECT_EQ(version->Bytes(), c.bytes);
        EXPECT_TRUE(version->Equals(c.bytes));
        EXPECT_LE(pool.ChunkBytes(), c.bytes.size());

        Bytes shorter = c.bytes;
        Bytes changed = c.bytes;
        Bytes longer = c.bytes;
        longer.push_back(0);
        EXPECT_FALSE(version->Equals(longer));
        if (!c.bytes.empty()) {
            shorter.pop_back();
            changed[changed.size() / 2] ^= 1;
            EXPECT_FALSE(version->Equals(shorter));
            EXPECT_FALSE(version->Equals(changed));
        }
    }
}

TEST(SnapshotPool, CutsChunksWithinTheirLimitsWhereTheContentSays)
{
    const Bytes bytes = RandomBytes(400000, 4);
    std::vector<size_t> boundaries;
    for (size_t offset = 0; offset < bytes.size();) {
        const size_t length = app::NextChunkLength(std::span(bytes).subspan(offset));
        offset += length;
        if (offset < bytes.size()) {
            EXPECT_GE(length, app::SnapshotPool::kMinChunk);
            EXPECT_LE(length, app::SnapshotPool::kMaxChunk);
        }
        boundaries.push_back(offset);
    }
    EXPECT_GT(boundaries.size(), 20u);
    EXPECT_LT(boundaries.size(), 200u);

    // With 333 bytes put in front, the same places are found again after the first few
    // chunks: the cut depends on the bytes around it, not on its offset.
    Bytes shifted = RandomBytes(333, 5);
    shifted.insert(shifted.end(), bytes.begin(), bytes.end());
    size_t found = 0;
    for (size_t offset = 0; offset < shifted.size();) {
        offset += app::NextChunkLength(std::span(shifted).subspan(offset));
        found += std::count(boundaries.begin(), boundaries.end(), offset - 333);
    }
    EXPECT_GE(found, boundaries.size() - 3);
}

TEST(SnapshotPool, SharesTheBytesAnEditLeavesAlone)
{
    const struct {
        const char* name;
        Bytes base;
    } cases[] = {
        {"random", RandomBytes(3000000, 6)},
        {"similar records", RepeatedRecords(75000)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        app::SnapshotPool pool;
        std::vector<app::SnapshotPool::Handle> versions{pool.Store(c.base)};
        const size_t one = pool.ChunkBytes();
        EXPECT_LE(one, c.base.size());

        // Thirty versions, each with one byte changed somewhere else, and one with bytes
        // inserted: each costs a chunk or two of some 6 KiB, not a copy.
        Bytes edited = c.base;
        for (int i = 1; i <= 30; ++i) {
            edited[edited.size() * size_t(i) / 31] ^= 0x55;
            versions.push_back(pool.Store(edited));
        }
        edited.insert(edited.begin() + long(edited.size() / 3), 17, 'x');
        versions.push_back(pool.Store(edited));
        EXPECT_LE(pool.ChunkBytes(), one + 31 * 2 * 8192);
        EXPECT_LT(pool.MemoryUse(), c.base.size() * 5 / 4);
        EXPECT_EQ(versions.back()->Bytes(), edited);
        EXPECT_TRUE(versions.front()->Equals(c.base));

        // Versions that go give their chunks back; the last one takes the rest with it.
        versions.erase(versions.begin() + 1, versions.end());
        EXPECT_EQ(pool.ChunkBytes(), one);
        versions.clear();
        EXPECT_EQ(pool.ChunkCount(), 0u);
        EXPECT_EQ(pool.ChunkBytes(), 0u);
    }
}

TEST(SnapshotPool, KeepsAVersionReadableAfterThePoolIsGone)
{
    const Bytes bytes = RandomBytes(100000, 7);
    app::SnapshotPool::Handle version;
    {
        app::SnapshotPool pool;
        version = pool.Store(bytes);
    }
    EXPECT_EQ(version->Bytes(), bytes);
}

} // namespace
