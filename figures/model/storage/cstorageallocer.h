#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>

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
class CStorageAllocer {
public:
    static constexpr uint16_t kSlack = 10;
    static constexpr int32_t kHeaderSize = 8;

    CStorageAllocer() = default;
    virtual ~CStorageAllocer() = default;
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

protected:
    int32_t highestId_ = 0;

private:
    struct Block {
        std::unique_ptr<uint8_t[]> bytes; // capacity - kHeaderSize data bytes
        int32_t capacity = 0;             // including the header
        int32_t length = 0;
    };
    std::unordered_map<int32_t, Block> blocks_;
};

} // namespace figures
