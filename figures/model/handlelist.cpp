#include "figures/model/handlelist.h"

namespace figures {

namespace {
constexpr uint16_t kCoordMask = 0x1FFF;
constexpr int kKindShift = 13;
} // namespace

HandleList HandleList::Decode(std::span<const uint8_t> bytes)
{
    HandleList list;
    list.bytes_.assign(bytes.begin(), bytes.begin() + ptrdiff_t(bytes.size() / 4 * 4));
    return list;
}

void HandleList::Add(uint16_t kind, Point grid, uint16_t subKind)
{
    const uint16_t x = uint16_t(kind << kKindShift | (uint16_t(grid.x) & kCoordMask));
    const uint16_t y = uint16_t(subKind << kKindShift | (uint16_t(grid.y) & kCoordMask));
    bytes_.insert(bytes_.end(), {uint8_t(x), uint8_t(x >> 8), uint8_t(y), uint8_t(y >> 8)});
}

Handle HandleList::At(size_t i) const
{
    const uint8_t* b = &bytes_[4 * i];
    const uint16_t x = uint16_t(b[0] | b[1] << 8);
    const uint16_t y = uint16_t(b[2] | b[3] << 8);
    return {uint16_t(x >> kKindShift), uint16_t(y >> kKindShift), {x & kCoordMask, y & kCoordMask}};
}

} // namespace figures
