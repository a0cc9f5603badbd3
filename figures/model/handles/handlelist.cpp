#include "figures/model/handles/handlelist.h"
#include "figures/render/littleendian.h"

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
    AppendU16(bytes_, uint16_t(kind << kKindShift | (uint16_t(grid.x) & kCoordMask)));
    AppendU16(bytes_, uint16_t(subKind << kKindShift | (uint16_t(grid.y) & kCoordMask)));
}

Handle HandleList::At(size_t i) const
{
    const uint8_t* b = &bytes_[4 * i];
    const uint16_t x = LoadU16(b);
    const uint16_t y = LoadU16(b + 2);
    return {uint16_t(x >> kKindShift), uint16_t(y >> kKindShift), {x & kCoordMask, y & kCoordMask}};
}

} // namespace figures
