#pragma once

#include <cstdint>
#include <span>

namespace figures {

class MetafileCanvas;

// The bitmap and gradient records of enhanced metafiles. Each takes the whole record
// (type and size included), because the bitmaps lie at offsets counted from its start;
// every offset and size is checked against the record before the bitmap is decoded.

// Block transfers from a source device: the bitmap is what the source held, counted from
// its top; without a bitmap only the brush and the destination combine.
void PlayBitBlt(MetafileCanvas& canvas, std::span<const uint8_t> record, bool stretch);
// Device-independent transfers: source rows count from the bottom of bottom-up bitmaps.
void PlayStretchDiBits(MetafileCanvas& canvas, std::span<const uint8_t> record);
void PlaySetDiBitsToDevice(MetafileCanvas& canvas, std::span<const uint8_t> record);
// Blends with the bitmap's own premultiplied alpha and a constant opacity.
void PlayAlphaBlend(MetafileCanvas& canvas, std::span<const uint8_t> record);
// Copies all but the pixels of one colour.
void PlayTransparentBlt(MetafileCanvas& canvas, std::span<const uint8_t> record);
// Rectangles shaded left to right or top to bottom, and shaded triangles.
void PlayGradientFill(MetafileCanvas& canvas, std::span<const uint8_t> record);

} // namespace figures
