#pragma once

#include "figures/model/storage/blockpool.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace figures {

// The class name keeps its historical spelling on purpose (not "Allocator"): it is the
// name the data manager's design is known by.
//
// A keyed block store: record id -> one zero-initialised byte block with a used
// length and a capacity. A block's capacity is its full size including an 8-byte
// header (used length, slack), so a new block of n bytes has capacity n + 8.
// Resizing keeps up to kSlack spare bytes before it reallocates, so small growths of a
// record do not move it every time; a block that would keep more than kSlack spare
// bytes is shrunk to exactly n + kSlack + 8.
//
// Ids are small and dense (records are numbered from 1 up), so the blocks are kept in a
// table indexed by id, in pages of kPageSlots ids, and their bytes come from a
// BlockPool: storing a record allocates nothing of its own beyond a page every
// kPageSlots ids and a pool chunk every few thousand small records. Once the store is
// empty again, pages and chunks are given back.
class CStorageAllocer {
public:
    static constexpr uint16_t kSlack = 10;
    static constexpr int32_t kHeaderSize = 8;
    static constexpr int32_t kPageSlots = 1024;

    CStorageAllocer() = default;
    virtual ~CStorageAllocer();
    CStorageAllocer(const CStorageAllocer&) = delete;
    CStorageAllocer& operator=(const CStorageAllocer&) = delete;

    // Enters a zero-filled block of n data bytes under id (replacing any block the id
    // had). Returns the data, or null for a negative n or when memory runs out.
    uint8_t* Allocate(int32_t id, int32_t n);
    // The block's data, or null when the id has none; length receives the used length
    // (0 when there is no block).
    uint8_t* Lookup(int32_t id, int32_t* length = nullptr) const;
    // Size of the block including its header, or 0.
    int32_t Capacity(int32_t id) const;
    int32_t GetLength(int32_t id) const;
    // With grow: Resize. Without: only rewrites the used length, which must then
    // fit the block's capacity.
    bool SetLength(int32_t id, int32_t n, bool grow);
    // Makes room for n data bytes following the slack rule above; the new bytes are
    // zero. Returns the (possibly moved) data, or null on failure (block unchanged).
    uint8_t* Resize(int32_t id, int32_t n);
    // Frees the block; when id is the highest id handed out, that drops by one.
    void Free(int32_t id);

    int32_t HighestId() const { return highestId_; }

    // What the store holds in memory: its table pages and the pool behind the blocks.
    size_t BytesHeld() const;

protected:
    // A word the derived store keeps per id beside the block (its record state); 0 means
    // none. An id keeps its table entry while it has a block or a nonzero word.
    uint32_t Word(int32_t id) const;
    // False for an id of 0 or below, or when memory runs out.
    bool SetWord(int32_t id, uint32_t word);

    int32_t highestId_ = 0;

private:
    struct Slot {
        uint8_t* bytes = nullptr; // capacity - kHeaderSize data bytes from pool_
        int32_t capacity = 0;     // including the header; 0 without a block
        int32_t length = 0;
        uint32_t word = 0;
    };
    using Page = std::array<Slot, kPageSlots>;

    // The id's entry, or null when its page does not exist (ids of 0 and below have none).
    Slot* Find(int32_t id) const;
    // The id's entry, its page made when missing; null for ids of 0 and below or when
    // memory runs out.
    Slot* Make(int32_t id);
    // Counts the entry in or out of use after a change; the last one out empties the store.
    void Account(const Slot& slot, bool wasInUse);
    void ReleaseAll();

    std::vector<std::unique_ptr<Page>> pages_;
    BlockPool pool_;
    int64_t inUse_ = 0; // entries with a block or a word
};

} // namespace figures
