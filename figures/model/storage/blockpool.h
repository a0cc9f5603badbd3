#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace figures {

// Zero-filled byte blocks for the records of the data manager, cut from large chunks: a
// document of a hundred thousand shapes holds as many small records, and one heap block
// each would cost an allocation per record on reading and a heap header per record in
// memory.
//
// Sizes are rounded up to whole granules of kGranule bytes (an empty block takes one).
// A block given back goes onto the free list of its rounded size and is the next one
// handed out for that size; chunks are returned only by Release or the destructor.
// Blocks above kMaxPooled bytes are ordinary heap blocks. Not thread-safe: the data
// manager that owns the pool is edited from one thread.
class BlockPool {
public:
    static constexpr size_t kGranule = 16;
    static constexpr size_t kMaxPooled = 1024;
    static constexpr size_t kChunkSize = 256 * 1024;

    BlockPool() = default;
    ~BlockPool();
    BlockPool(const BlockPool&) = delete;
    BlockPool& operator=(const BlockPool&) = delete;

    // A block of n zero bytes, or null when memory runs out.
    uint8_t* Allocate(size_t n);
    // Gives back a block that Allocate(n) returned, with the same n.
    void Free(uint8_t* block, size_t n);
    // Frees every chunk at once; pooled blocks handed out before are invalid afterwards.
    // Heap blocks (above kMaxPooled) are not touched: each is given back by Free.
    void Release();

    // Bytes held in chunks and in heap blocks, free lists included.
    size_t BytesHeld() const { return chunks_.size() * kChunkSize + heapBytes_; }

private:
    static size_t Granules(size_t n) { return n == 0 ? 1 : (n + kGranule - 1) / kGranule; }
    uint8_t* Carve(size_t bytes);

    std::vector<std::unique_ptr<uint8_t[]>> chunks_;
    uint8_t* next_ = nullptr; // unused rest of the newest chunk
    size_t left_ = 0;
    // free_[g]: blocks of g granules, each holding the address of the next in its first
    // bytes.
    std::array<uint8_t*, kMaxPooled / kGranule + 1> free_{};
    size_t heapBytes_ = 0;
};

} // namespace figures
