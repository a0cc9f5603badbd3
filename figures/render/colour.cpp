#include "figures/render/colour.h"

#include "figures/render/numeric.h"

#include <algorithm>

namespace figures {

namespace {

uint32_t Channel(uint32_t colour, int shift)
{
    return (colour >> shift) & 0xFFu;
}

} // namespace

QColor ToQColor(uint32_t colour)
{
    return QColor(static_cast<int>(Channel(colour, 0)), static_cast<int>(Channel(colour, 8)),
                  static_cast<int>(Channel(colour, 16)));
}

uint32_t LightenColour(uint32_t colour, int32_t percent)
{
    // 66049 / 2^24 is 257² / 2^24, just above 1/255: the blend (255 - c) * (255 - n) / 255
    // done with a shift. The product must wrap in 32 bits as it always has; for
    // percentages in 0..100 it cannot reach 2^32 (255 * 255 * 66049 < 2^32).
    const uint32_t keep = static_cast<uint32_t>(255 - MulDiv(percent, 255, 100));
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t darkness = (255u - Channel(colour, shift)) * keep * 66049u;
        result |= (255u - (darkness >> 24)) << shift;
    }
    return result;
}

uint32_t ScaleColour(uint32_t colour, int32_t num, int32_t den)
{
    if (num == 0 || den == 0) {
        return 0;
    }
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int32_t c = MulDiv(static_cast<int32_t>(Channel(colour, shift)), num, den);
        result |= static_cast<uint32_t>(std::clamp(c, 0, 255)) << shift;
    }
    return result;
}

} // namespace figures
