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

size_t DataBytes(int32_t capacity)
{
    return size_t(capacity - CStorageAllocer::kHeaderSize);
}

} // namespace

CStorageAllocer::~CStorageAllocer()
{
    ReleaseAll();
}

CStorageAllocer::Slot* CStorageAllocer::Find(int32_t id) const
{
    if (id <= 0) {
        return nullptr;
    }
    const size_t page = size_t(id) / kPageSlots;
    if (page >= pages_.size() || !pages_[page]) {
        return nullptr;
    }
    return &(*pages_[page])[size_t(id) % kPageSlots];
}

CStorageAllocer::Slot* CStorageAllocer::Make(int32_t id)
{
    if (id <= 0) {
        return nullptr;
    }
    const size_t page = size_t(id) / kPageSlots;
    try {
        if (page >= pages_.size()) {
            pages_.resize(page + 1);
        }
        if (!pages_[page]) {
            pages_[page] = std::make_unique<Page>();
        }
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return &(*pages_[page])[size_t(id) % kPageSlots];
}

void CStorageAllocer::Account(const Slot& slot, bool wasInUse)
{
    const bool inUse = slot.bytes != nullptr || slot.word != 0;
    inUse_ += int(inUse) - int(wasInUse);
    if (inUse_ == 0 && wasInUse) {
        ReleaseAll();
    }
}

// Heap blocks (the large ones) are the only ones the pool does not free with its chunks.
void CStorageAllocer::ReleaseAll()
{
    for (const auto& page : pages_) {
        if (!page) {
            continue;
        }
        for (Slot& slot : *page) {
            if (slot.bytes && DataBytes(slot.capacity) > BlockPool::kMaxPooled) {
                pool_.Free(slot.bytes, DataBytes(slot.capacity));
            }
        }
    }
    decltype(pages_)().swap(pages_);
    pool_.Release();
    inUse_ = 0;
}

size_t CStorageAllocer::BytesHeld() const
{
    const size_t pages = size_t(std::count_if(pages_.begin(), pages_.end(),
                                              [](const auto& page) { return page != nullptr; }));
    return pages_.capacity() * sizeof(pages_[0]) + pages * sizeof(Page) + pool_.BytesHeld();
}

uint32_t CStorageAllocer::Word(int32_t id) const
{
    const Slot* slot = Find(id);
    return slot ? slot->word : 0;
}

bool CStorageAllocer::SetWord(int32_t id, uint32_t word)
{
    Slot* slot = word == 0 ? Find(id) : Make(id);
    if (!slot) {
        return word == 0 && id > 0;
    }
    const bool wasInUse = slot->bytes != nullptr || slot->word != 0;
    slot->word = word;
    Account(*slot, wasInUse);
    return true;
}

// Ids 0 and below name no record, so they never get a block. Entering a block under an
// id above the highest one raises the highest id, so that a later NewRecord (highest + 1)
// can never hand out an id that already owns a block.
uint8_t* CStorageAllocer::Allocate(int32_t id, int32_t n)
{
    if (id <= 0 || n < 0 || n > kMaxDataLength) {
        return nullptr;
    }
    Slot* slot = Make(id);
    if (!slot) {
        return nullptr;
    }
    const bool wasInUse = slot->bytes != nullptr || slot->word != 0;
    uint8_t* bytes = pool_.Allocate(size_t(n));
    if (!bytes) {
        return nullptr;
    }
    if (slot->bytes) {
        pool_.Free(slot->bytes, DataBytes(slot->capacity));
    }
    slot->bytes = bytes;
    slot->capacity = n + kHeaderSize;
    slot->length = n;
    highestId_ = std::max(highestId_, id);
    Account(*slot, wasInUse);
    return bytes;
}

uint8_t* CStorageAllocer::Lookup(int32_t id, int32_t* length) const
{
    const Slot* slot = Find(id);
    const bool found = slot && slot->bytes;
    if (length) {
        *length = found ? slot->length : 0;
    }
    return found ? slot->bytes : nullptr;
}

int32_t CStorageAllocer::Capacity(int32_t id) const
{
    const Slot* slot = Find(id);
    return slot && slot->bytes ? slot->capacity : 0;
}

int32_t CStorageAllocer::GetLength(int32_t id) const
{
    const Slot* slot = Find(id);
    return slot && slot->bytes ? slot->length : 0;
}

bool CStorageAllocer::SetLength(int32_t id, int32_t n, bool grow)
{
    if (grow) {
        return Resize(id, n) != nullptr;
    }
    Slot* slot = Find(id);
    if (!slot || !slot->bytes || n < 0 || n > slot->capacity - kHeaderSize) {
        return false;
    }
    slot->length = n;
    return true;
}

// The block keeps between 0 and kSlack spare bytes behind its data. Inside that band
// only the used length changes; outside it the block is reallocated to exactly
// n + kSlack data bytes plus the header, so a growing list moves at most once every
// kSlack bytes and a shrunken one gives its memory back. Bytes that become part of the
// data are zero, even when they were used before and cut off by a shorter length.
uint8_t* CStorageAllocer::Resize(int32_t id, int32_t n)
{
    Slot* slot = Find(id);
    if (!slot || !slot->bytes || n < 0 || n > kMaxDataLength) {
        return nullptr;
    }
    const int64_t spare = int64_t(slot->capacity) - n - kHeaderSize;
    if (spare < 0 || spare > kSlack) {
        const int32_t capacity = n + kSlack + kHeaderSize;
        uint8_t* bytes = pool_.Allocate(DataBytes(capacity));
        if (!bytes) {
            return nullptr;
        }
        std::memcpy(bytes, slot->bytes, size_t(std::min(slot->length, n)));
        pool_.Free(slot->bytes, DataBytes(slot->capacity));
        slot->bytes = bytes;
        slot->capacity = capacity;
    } else if (n > slot->length) {
        std::memset(slot->bytes + slot->length, 0, size_t(n - slot->length));
    }
    slot->length = n;
    return slot->bytes;
}

// The highest id drops by one even when the id had no block: a record may live without
// one, and releasing it must still free its id for the next record.
void CStorageAllocer::Free(int32_t id)
{
    if (Slot* slot = Find(id); slot && slot->bytes) {
        pool_.Free(slot->bytes, DataBytes(slot->capacity));
        slot->bytes = nullptr;
        slot->capacity = 0;
        slot->length = 0;
        Account(*slot, true);
    }
    if (id > 0 && id == highestId_) {
        highestId_ = id - 1;
    }
}

} // namespace figures
