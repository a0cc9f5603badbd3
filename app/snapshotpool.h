#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace app {

// Keeps many versions of one document's bytes at little more than the cost of one.
//
// Each stored version is cut into chunks whose boundaries depend on the content alone: a
// rolling hash over the last 64 bytes ends a chunk where its top twelve bits are zero,
// but never before kMinChunk bytes and always at kMaxChunk bytes. Chunks are addressed by
// a hash of their bytes and held once in the pool with a count of the snapshots using
// them. An edit in the middle of a document therefore changes only the one or two chunks
// around it; the bytes before and after it cut into the same chunks as before and are
// shared with every earlier version. Equal hashes are always confirmed byte for byte, so
// a hash collision costs a second chunk, never a wrong document.
//
// Chunks are cut by content rather than by the document's own record boundaries because
// the application sees a document only as bytes: the records are the drawing component's
// business.
class SnapshotPool {
public:
    static constexpr size_t kMinChunk = 2048;
    static constexpr size_t kMaxChunk = 65536;

    class Snapshot;
    // A stored version. Copies share it; its chunks stay in the pool while any copy lives,
    // even after the pool object itself is gone.
    using Handle = std::shared_ptr<const Snapshot>;

    SnapshotPool();
    ~SnapshotPool();
    SnapshotPool(const SnapshotPool&) = delete;
    SnapshotPool& operator=(const SnapshotPool&) = delete;

    // Stores the bytes (which may be empty), sharing every chunk the pool holds already.
    Handle Store(std::span<const uint8_t> bytes);

    // Distinct chunks held, and their bytes.
    size_t ChunkCount() const;
    size_t ChunkBytes() const;
    // Everything the stored versions cost: the chunks' bytes, the pool's bookkeeping for
    // each chunk and each live snapshot's list of chunks.
    size_t MemoryUse() const;

private:
    struct Chunk;
    struct State;

    std::shared_ptr<State> state_;
};

// One version of the document as a list of pooled chunks.
class SnapshotPool::Snapshot {
public:
    Snapshot(std::shared_ptr<State> state, std::vector<const Chunk*> chunks, size_t size);
    ~Snapshot();
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;

    size_t Size() const { return size_; }
    size_t ChunkCount() const { return chunks_.size(); }
    // Writes the document's bytes to out, which must hold at least Size() bytes.
    void CopyTo(std::span<uint8_t> out) const;
    std::vector<uint8_t> Bytes() const;
    // True when the bytes are exactly this version (equal length, equal bytes).
    bool Equals(std::span<const uint8_t> bytes) const;
    // True when both hold the same chunks, which is the same as equal bytes for versions
    // of one pool.
    bool SameAs(const Snapshot& other) const { return chunks_ == other.chunks_; }

private:
    std::shared_ptr<State> state_;
    std::vector<const Chunk*> chunks_;
    size_t size_ = 0;
};

// Where the next chunk of bytes ends: the length of the chunk that starts at bytes[0].
// Exposed for tests; the pool cuts every version with it.
size_t NextChunkLength(std::span<const uint8_t> bytes);

} // namespace app
