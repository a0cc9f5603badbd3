#pragma once

#include <QImage>

#include <cstdint>
#include <span>

namespace figures {

// Device-independent bitmaps as metafile records carry them: an information block (a
// 12-byte core header or a 40-byte or longer info header, then bit masks and colour table)
// and the pixel bits, which enhanced metafiles keep apart and placeable metafiles pack
// right behind the colour table.
//
// Supported: 1, 4, 8, 16, 24 and 32 bits per pixel uncompressed or with bit fields, 4- and
// 8-bit run-length encoding (pixels the runs skip stay transparent), and embedded JPEG and
// PNG. Colour tables of palette indices (usage 1) are looked up in the 16 standard colours,
// since the player keeps no logical palettes.
//
// No bitmap larger than kMaxDibPixels is decoded; uncompressed bits must all be present.

constexpr uint64_t kMaxDibPixels = uint64_t(64) << 20;
// The most a run-length bitmap is shrunk while decoding (see DecodeDib).
constexpr int32_t kMaxDibShrink = 64;

constexpr uint32_t kDibRgbColours = 0;
constexpr uint32_t kDibPaletteColours = 1;
// No colour table at all: monochrome bitmaps are black on white, others index the 16
// standard colours.
constexpr uint32_t kDibPaletteIndices = 2;

struct Dib {
    QImage image; // top row first; null when the bitmap cannot be decoded
    // Stored bottom row first (a positive height): source rectangles of the
    // device-independent blits then count their y from the bottom.
    bool bottomUp = true;
    // Each pixel of the image stands for a block of shrink x shrink pixels of the bitmap
    // (see DecodeDib); source rectangles in the bitmap's pixels are divided by it.
    int32_t shrink = 1;
};

// info: header, masks and colour table; bits: the pixels. premultipliedAlpha keeps the
// fourth byte of 32-bit pixels as premultiplied alpha (alpha blending); otherwise it is
// ignored and the image is opaque. maxPixels lowers the limit for the caller's budget.
//
// shrink (a power of two) lets run-length bitmaps, whose few bytes may claim a huge size,
// be decoded that much smaller, for a bitmap shown that much smaller: each pixel is the
// average of the pixels the runs paint in its shrink x shrink block (transparent when they
// paint none), so a single painted row or column still shows. The limits then count the
// pixels of the smaller image. Other bitmaps, whose bytes hold all their pixels, are
// decoded whole.
Dib DecodeDib(std::span<const uint8_t> info, std::span<const uint8_t> bits, uint32_t usage,
              bool premultipliedAlpha = false, uint64_t maxPixels = kMaxDibPixels,
              int32_t shrink = 1);

// A packed bitmap: header, masks, colour table and bits back to back.
Dib DecodePackedDib(std::span<const uint8_t> packed, uint32_t usage,
                    uint64_t maxPixels = kMaxDibPixels, int32_t shrink = 1);

// A band of scans rows of a bitmap whose header describes the whole of it, as the
// set-bits-to-device records carry: the band is decoded with its own height (keeping the
// row order of the header) and fullHeight receives the height of the whole bitmap.
Dib DecodeDibBand(std::span<const uint8_t> info, std::span<const uint8_t> bits, uint32_t usage,
                  uint32_t scans, int64_t& fullHeight, uint64_t maxPixels = kMaxDibPixels);

// The size of the information block (header, masks, colour table) at the start of
// packed, or 0 when the header cannot be read.
size_t DibInfoSize(std::span<const uint8_t> packed, uint32_t usage);

} // namespace figures
