#pragma once

#include "figures/render/geometry.h"

#include <cstdint>
#include <span>
#include <vector>

namespace figures {

// Handle kinds, the top three bits of a handle's x word.
enum HandleKind : uint16_t { HK_DRAG = 0, HK_STRUCTURE = 1, HK_BUTTON = 2, HK_HIDDEN = 3 };

// One adjust handle: grid position (13 bits each), kind and the cursor sub-kind.
struct Handle {
    uint16_t kind = HK_DRAG;
    uint16_t subKind = 0;
    Point grid;
};

// The handle list of property tag 2: 4 bytes per handle, a u16 x word (kind << 13 |
// x13) then a u16 y word (sub-kind << 13 | y13). Decoding ignores a trailing partial
// entry.
class HandleList {
public:
    HandleList() = default;
    static HandleList Decode(std::span<const uint8_t> bytes);

    void Add(uint16_t kind, Point grid, uint16_t subKind = 0);
    size_t Count() const { return bytes_.size() / 4; }
    Handle At(size_t i) const;
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

} // namespace figures
