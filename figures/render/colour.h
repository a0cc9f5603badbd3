#pragma once

#include <QColor>

#include <cstdint>

namespace figures {

// Colours travel as 0x00BBGGRR: red in the low byte, blue in the third, the top byte
// free for the two markers below.

// In a fill colour: the object has no colour of its own (no face shading, no fill).
constexpr uint32_t kNoColour = 0x7FFFFFFF;
// In any colour property: use the property's default (for the control's background,
// the system button-face colour).
constexpr uint32_t kDefaultColour = 0xFF000000;

// The opaque colour of the low 24 bits. The top byte is ignored, so the two markers
// above must be resolved by the caller before a colour reaches the painter.
QColor ToQColor(uint32_t colour);

// Mixes colour toward white by percent (0 leaves it unchanged, 100 gives white), the
// lighter faces of 3-D shapes. Each channel c becomes
// 255 - floor((255 - c) * (255 - n) * 66049 / 2^24) with n = MulDiv(percent, 255, 100)
// and the product taken modulo 2^32, so percentages outside 0..100 still give a
// channel in 0..255. The result's top byte is 0.
uint32_t LightenColour(uint32_t colour, int32_t percent);

// Each channel times num / den (MulDiv rounding), clamped to 0..255: the darker faces
// of 3-D shapes. num or den 0 gives black. The result's top byte is 0.
uint32_t ScaleColour(uint32_t colour, int32_t num, int32_t den);

} // namespace figures
