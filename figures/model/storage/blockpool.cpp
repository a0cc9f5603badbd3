#include "figures/model/storage/blockpool.h"

#include <cstring>
#include <new>

namespace figures {

BlockPool::~BlockPool()
{
    Release();
}

uint8_t* BlockPool::Allocate(size_t n)
{
    if (n > kMaxPooled) {
        uint8_t* block = new (std::nothrow) uint8_t[n]();
        heapBytes_ += block ? n : 0;
        return block;
    }
    const size_t granules = Granules(n);
    const size_t bytes = granules * kGranule;
    uint8_t* block = free_[granules];
    if (block) {
        std::memcpy(&free_[granules], block, sizeof(uint8_t*));
    } else {
        block = Carve(bytes);
        if (!block) {
            return nullptr;
        }
    }
    std::memset(block, 0, bytes);
    return block;
}

// The rest of a chunk too small for a request is left unused: at most one block's size
// per chunk of 256 KB.
uint8_t* BlockPool::Carve(size_t bytes)
{
    if (left_ < bytes) {
        std::unique_ptr<uint8_t[]> chunk(new (std::nothrow) uint8_t[kChunkSize]);
        if (!chunk) {
            return nullptr;
        }
        next_ = chunk.get();
        left_ = kChunkSize;
        chunks_.push_back(std::move(chunk));
    }
    uint8_t* block = next_;
    next_ += bytes;
    left_ -= bytes;
    return block;
}

void BlockPool::Free(uint8_t* block, size_t n)
{
    if (!block) {
        return;
    }
    if (n > kMaxPooled) {
        delete[] block;
        heapBytes_ -= n;
        return;
    }
    const size_t granules = Granules(n);
    std::memcpy(block, &free_[granules], sizeof(uint8_t*));
    free_[granules] = block;
}

void BlockPool::Release()
{
    chunks_.clear();
    chunks_.shrink_to_fit();
    next_ = nullptr;
    left_ = 0;
    free_.fill(nullptr);
}

} // namespace figures
