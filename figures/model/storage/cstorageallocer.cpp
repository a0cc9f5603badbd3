#include "figures/model/storage/cstorageallocer.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace figures {

namespace {

// The largest data length a block may hold: its capacity, header and slack included,
// must still be an i32, because lengths travel as i32 in documents.
constexpr int64_t kMaxDataLength = int64_t(std::numeric_limits<int32_t>::max()) -
                                   CStorageAllocer::kHeaderSize - CStorageAllocer::kSlack;

// Zero-filled data bytes for a block of the given capacity, or null when memory runs out.
std::unique_ptr<uint8_t[]> NewBlockBytes(int64_t capacity)
{
    return std::unique_ptr<uint8_t[]>(
        new (std::nothrow) uint8_t[size_t(capacity - CStorageAllocer::kHeaderSize)]());
}

} // namespace

// Ids 0 and below name no record, so they never get a block. Entering a block under an
// id above the highest one raises the highest id, so that a later NewRecord (highest + 1)
// can never hand out an id that already owns a block.
uint8_t* CStorageAllocer::Allocate(int32_t id, int32_t n)
{
    if (id <= 0 || n < 0 || n > kMaxDataLength) {
        return nullptr;
    }
    const int64_t capacity = int64_t(n) + kHeaderSize;
    std::unique_ptr<uint8_t[]> bytes = NewBlockBytes(capacity);
    if (!bytes) {
        return nullptr;
    }
    Block& block = blocks_[id];
    block.bytes = std::move(bytes);
    block.capacity = int32_t(capacity);
    block.length = n;
    highestId_ = std::max(highestId_, id);
    return block.bytes.get();
}

uint8_t* CStorageAllocer::Lookup(int32_t id, int32_t* length) const
{
    const auto it = blocks_.find(id);
    if (it == blocks_.end()) {
        if (length) {
            *length = 0;
        }
        return nullptr;
    }
    if (length) {
        *length = it->second.length;
    }
    return it->second.bytes.get();
}

int32_t CStorageAllocer::Capacity(int32_t id) const
{
    const auto it = blocks_.find(id);
    return it == blocks_.end() ? 0 : it->second.capacity;
}

int32_t CStorageAllocer::GetLength(int32_t id) const
{
    const auto it = blocks_.find(id);
    return it == blocks_.end() ? 0 : it->second.length;
}

bool CStorageAllocer::SetLength(int32_t id, int32_t n, bool grow)
{
    if (grow) {
        return Resize(id, n) != nullptr;
    }
    const auto it = blocks_.find(id);
    if (it == blocks_.end() || n < 0 || n > it->second.capacity - kHeaderSize) {
        return false;
    }
    it->second.length = n;
    return true;
}

// The block keeps between 0 and kSlack spare bytes behind its data. Inside that band
// only the used length changes; outside it the block is reallocated to exactly
// n + kSlack data bytes plus the header, so a growing list moves at most once every
// kSlack bytes and a shrunken one gives its memory back. Bytes that become part of the
// data are zero, even when they were used before and cut off by a shorter length.
uint8_t* CStorageAllocer::Resize(int32_t id, int32_t n)
{
    const auto it = blocks_.find(id);
    if (it == blocks_.end() || n < 0 || n > kMaxDataLength) {
        return nullptr;
    }
    Block& block = it->second;
    const int64_t spare = int64_t(block.capacity) - n - kHeaderSize;
    if (spare < 0 || spare > kSlack) {
        const int64_t capacity = int64_t(n) + kSlack + kHeaderSize;
        std::unique_ptr<uint8_t[]> bytes = NewBlockBytes(capacity);
        if (!bytes) {
            return nullptr;
        }
        std::memcpy(bytes.get(), block.bytes.get(), size_t(std::min(block.length, n)));
        block.bytes = std::move(bytes);
        block.capacity = int32_t(capacity);
    } else if (n > block.length) {
        std::memset(block.bytes.get() + block.length, 0, size_t(n - block.length));
    }
    block.length = n;
    return block.bytes.get();
}

// The highest id drops by one even when the id had no block: a record may live without
// one, and releasing it must still free its id for the next record.
void CStorageAllocer::Free(int32_t id)
{
    blocks_.erase(id);
    if (blocks_.empty()) {
        // Give the bucket array back; the map builds a fresh one on the next insertion.
        decltype(blocks_)().swap(blocks_);
    }
    if (id > 0 && id == highestId_) {
        highestId_ = id - 1;
    }
}

} // namespace figures
