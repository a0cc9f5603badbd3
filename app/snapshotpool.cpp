#include "app/snapshotpool.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <unordered_map>

namespace app {

namespace {

// The rolling hash shifts one bit per byte, so its top bits depend on the last 64 bytes
// only: a boundary found at one place of a document is found there again whatever comes
// before it.
constexpr size_t kWindow = 64;
// A boundary where the top twelve bits are zero: one place in 4096 on varied bytes.
constexpr int kBoundaryShift = 64 - 12;

constexpr uint64_t SplitMix(uint64_t x)
{
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// One fixed random number for each byte value.
constexpr std::array<uint64_t, 256> MakeGearTable()
{
    std::array<uint64_t, 256> table{};
    uint64_t seed = 0x5EED0F00D5EED0F0ull;
    for (uint64_t& entry : table) {
        seed += 0x9E3779B97F4A7C15ull;
        entry = SplitMix(seed);
    }
    return table;
}

constexpr std::array<uint64_t, 256> kGear = MakeGearTable();

// A 64-bit address of a chunk's bytes, eight bytes at a time. Not cryptographic: equal
// addresses are confirmed by comparing the bytes.
uint64_t HashBytes(std::span<const uint8_t> bytes)
{
    uint64_t hash = 0x243F6A8885A308D3ull ^ uint64_t(bytes.size());
    size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        uint64_t word = 0;
        std::memcpy(&word, bytes.data() + i, 8);
        hash = std::rotl(hash ^ (word * 0x87C37B91114253D5ull), 31) * 0x4CF5AD432745937Full;
    }
    uint64_t tail = 0;
    if (i < bytes.size()) {
        std::memcpy(&tail, bytes.data() + i, bytes.size() - i);
    }
    return SplitMix(hash ^ tail);
}

bool SameBytes(std::span<const uint8_t> a, std::span<const uint8_t> b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size()) == 0);
}

// What the pool's hash map costs for one chunk beyond its bytes: the node with its key
// and pointer, the bucket slot and the allocator's headers, rounded up.
constexpr size_t kChunkBookkeeping = 96;

} // namespace

struct SnapshotPool::Chunk {
    uint64_t hash = 0;
    size_t users = 0;
    std::vector<uint8_t> bytes;
};

struct SnapshotPool::State {
    std::unordered_multimap<uint64_t, std::unique_ptr<Chunk>> chunks;
    size_t chunkBytes = 0;
    size_t listBytes = 0;

    // The pool's chunk holding exactly these bytes, made when there is none, with one more
    // user.
    const Chunk* Acquire(std::span<const uint8_t> bytes)
    {
        const uint64_t hash = HashBytes(bytes);
        const auto [first, last] = chunks.equal_range(hash);
        for (auto it = first; it != last; ++it) {
            if (SameBytes(it->second->bytes, bytes)) {
                ++it->second->users;
                return it->second.get();
            }
        }
        auto chunk = std::make_unique<Chunk>();
        chunk->hash = hash;
        chunk->users = 1;
        chunk->bytes.assign(bytes.begin(), bytes.end());
        chunkBytes += bytes.size();
        return chunks.emplace(hash, std::move(chunk))->second.get();
    }

    // One user fewer; the chunk leaves the pool with its last user.
    void Release(const Chunk* chunk)
    {
        const auto [first, last] = chunks.equal_range(chunk->hash);
        for (auto it = first; it != last; ++it) {
            if (it->second.get() == chunk) {
                if (--it->second->users == 0) {
                    chunkBytes -= it->second->bytes.size();
                    chunks.erase(it);
                }
                return;
            }
        }
    }
};

size_t NextChunkLength(std::span<const uint8_t> bytes)
{
    if (bytes.size() <= SnapshotPool::kMinChunk) {
        return bytes.size();
    }
    const size_t end = std::min(bytes.size(), SnapshotPool::kMaxChunk);
    uint64_t hash = 0;
    // Start one window before the shortest chunk so that the first possible boundary is
    // judged on a full window, like every later one.
    for (size_t i = SnapshotPool::kMinChunk - kWindow; i < end; ++i) {
        hash = (hash << 1) + kGear[bytes[i]];
        if (i + 1 >= SnapshotPool::kMinChunk && (hash >> kBoundaryShift) == 0) {
            return i + 1;
        }
    }
    return end;
}

SnapshotPool::SnapshotPool() : state_(std::make_shared<State>()) {}

SnapshotPool::~SnapshotPool() = default;

SnapshotPool::Handle SnapshotPool::Store(std::span<const uint8_t> bytes)
{
    std::vector<const Chunk*> chunks;
    try {
        for (size_t offset = 0; offset < bytes.size();) {
            const size_t length = NextChunkLength(bytes.subspan(offset));
            chunks.push_back(state_->Acquire(bytes.subspan(offset, length)));
            offset += length;
        }
        chunks.shrink_to_fit();
        return std::make_shared<const Snapshot>(state_, std::move(chunks), bytes.size());
    } catch (...) {
        // Out of memory part way: the chunks taken so far are given back.
        for (const Chunk* chunk : chunks) {
            state_->Release(chunk);
        }
        throw;
    }
}

size_t SnapshotPool::ChunkCount() const
{
    return state_->chunks.size();
}

size_t SnapshotPool::ChunkBytes() const
{
    return state_->chunkBytes;
}

size_t SnapshotPool::MemoryUse() const
{
    return state_->chunkBytes + state_->chunks.size() * (sizeof(Chunk) + kChunkBookkeeping) +
           state_->chunks.bucket_count() * sizeof(void*) + state_->listBytes;
}

SnapshotPool::Snapshot::Snapshot(std::shared_ptr<State> state, std::vector<const Chunk*> chunks,
                                 size_t size)
    : state_(std::move(state)), chunks_(std::move(chunks)), size_(size)
{
    state_->listBytes += sizeof(Snapshot) + chunks_.capacity() * sizeof(const Chunk*);
}

SnapshotPool::Snapshot::~Snapshot()
{
    state_->listBytes -= sizeof(Snapshot) + chunks_.capacity() * sizeof(const Chunk*);
    for (const Chunk* chunk : chunks_) {
        state_->Release(chunk);
    }
}

void SnapshotPool::Snapshot::CopyTo(std::span<uint8_t> out) const
{
    size_t offset = 0;
    for (const Chunk* chunk : chunks_) {
        const size_t length = std::min(chunk->bytes.size(), out.size() - offset);
        std::memcpy(out.data() + offset, chunk->bytes.data(), length);
        offset += length;
    }
}

std::vector<uint8_t> SnapshotPool::Snapshot::Bytes() const
{
    std::vector<uint8_t> bytes(size_);
    CopyTo(bytes);
    return bytes;
}

bool SnapshotPool::Snapshot::Equals(std::span<const uint8_t> bytes) const
{
    if (bytes.size() != size_) {
        return false;
    }
    size_t offset = 0;
    for (const Chunk* chunk : chunks_) {
        if (!SameBytes(chunk->bytes, bytes.subspan(offset, chunk->bytes.size()))) {
            return false;
        }
        offset += chunk->bytes.size();
    }
    return true;
}

} // namespace app
