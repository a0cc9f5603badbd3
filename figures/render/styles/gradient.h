#pragma once

#include "figures/render/geometry.h"

#include <QImage>
#include <QPainterPath>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace figures {

class DrawContext;

// Gradients run along one of eight directions; mode, with x and y the pixel's column and
// row in an area of W x H device pixels, gives the position t and the length len:
//    1  y, top to bottom, len H             -1  H - 1 - y, bottom to top, len H
//    2  x, left to right, len W             -2  W - 1 - x, right to left, len W
//    3  x + y from the top-left corner      -3  from the bottom-right corner
//    4  (W - 1 - x) + y from the top right  -4  x + (H - 1 - y) from the bottom left
// the corner modes with len 2 * min(W, H). Mode 0 and values outside +-1..+-4 are no
// gradient.
bool IsGradientMode(int32_t mode);

// The colour (0x00BBGGRR) at position t of a gradient of length len through k >= 2
// stops: segment s = len / (k - 1), index i = t / s (0 when s is 0); past the last
// segment the last stop; otherwise each channel is stop[i] plus the truncated fraction
// (t mod s) / s of the step to stop[i + 1]. Black for fewer than two stops.
uint32_t GradientColourAt(int32_t t, int32_t len, std::span<const uint32_t> stops);

// The tile (a part of the area, device pixels relative to the area's top-left) of a
// gradient over an area of width x height: an opaque image of the tile's size. Null when
// the mode is not a gradient, fewer than two stops are given or the tile is empty.
QImage GradientTile(int32_t mode, int32_t width, int32_t height, std::span<const uint32_t> stops,
                    const Rect& tile);

// Tiles that cover an area are at most this many device pixels on a side.
constexpr int32_t kGradientTileSide = 50;

// Fills region (document units) with the gradient spread over the region's bounding box
// in device pixels, clipped to the region. The box is covered in tiles of at most
// kGradientTileSide pixels from its top-left; tiles outside a non-empty clip box
// (document units) are skipped. rop is a raster operation code (0 copies). False when
// nothing is drawn: no gradient mode, fewer than two stops, an empty region.
bool DrawGradient(const DrawContext& dc, const QPainterPath& region, const Rect& clip, int32_t mode,
                  std::span<const uint32_t> stops, uint32_t rop = 0);

// The stored form of a gradient: u16 magic "TC" (0x4354), i32 mode; for a non-zero mode
// i32 width, i32 height, i32 k, the tile rectangle (4 x i32) and k colours (i32 each).
struct GradientRecord {
    static constexpr uint16_t kMagic = 0x4354;
    static constexpr int32_t kMaxStops = 256;

    int32_t mode = 0;
    int32_t width = 0;
    int32_t height = 0;
    Rect tile;
    std::vector<uint32_t> stops;

    std::vector<uint8_t> Write() const;
    // Reads a record from the start of bytes; nullopt on a wrong magic, truncated data or
    // a stop count that is negative, above kMaxStops or larger than the bytes left.
    static std::optional<GradientRecord> Read(std::span<const uint8_t> bytes);
};

} // namespace figures
