#pragma once

// Small picture files that claim far more than they hold, and documents made of them, as a
// hostile file's author would write them: the measurements of the picture benchmark and the
// tests of bounded decoding use the same bytes.

#include "figures/model/document.h"
#include "figures/model/objects/cpicturebox.h"
#include "figures/model/view.h"
#include "figures/render/pictures/picture.h"
#include "tests/figures/render/pictures/metafile/wmfbuilder.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace testsupport {

using Bytes = std::vector<uint8_t>;

// A GIF of about thirty bytes whose screen and image claim width x height pixels but whose
// data is a clear code and the end code: decoding it would allocate the whole claimed size.
// variant goes into the pixel aspect byte, which decoders ignore, so that pictures of
// several variants are different files that show the same. padding adds that many bytes
// of clear codes (three bytes hold eight) to the data: bytes that give no pixel.
inline Bytes ClaimingGif(int width, int height, uint8_t variant = 0, size_t padding = 0)
{
    Bytes out{'G', 'I', 'F', '8', '9', 'a'};
    figures::metafiletest::Put16(out, uint32_t(width));
    figures::metafiletest::Put16(out, uint32_t(height));
    out.insert(out.end(), {0x00, 0x00, variant}); // no global colour table
    out.push_back(0x2C);                          // image descriptor
    figures::metafiletest::Put16(out, 0);
    figures::metafiletest::Put16(out, 0);
    figures::metafiletest::Put16(out, uint32_t(width));
    figures::metafiletest::Put16(out, uint32_t(height));
    out.push_back(0);
    // Minimum code size 2: clear code 4 and end code 5, three bits each.
    out.push_back(2);
    constexpr uint8_t kEightClearCodes[] = {0x24, 0x49, 0x92};
    padding = (padding + 2) / 3 * 3;
    for (size_t done = 0; done < padding;) {
        const size_t n = std::min<size_t>(padding - done, 255);
        out.push_back(uint8_t(n));
        for (size_t i = 0; i < n; ++i, ++done) {
            out.push_back(kEightClearCodes[done % 3]);
        }
    }
    out.insert(out.end(), {2, 4 | 5 << 3, 0, 0, 0x3B});
    return out;
}

// A GIF of width x height pixels on a black and white table whose data gives its first
// `described` pixels (every pixel when negative) in white, compressed as tightly as LZW
// allows: each code one pixel longer than the one before until the table of 4096 entries is
// full, then the longest over and over. The codes widen from 3 to 12 bits on the way, as a
// decoder expects them; 20000 x 20000 pixels take about 150 KB. With clearAfter, a clear
// code follows every clearAfter codes and the table starts again from 3-bit codes.
inline Bytes SolidGif(int width, int height, int64_t described = -1, uint32_t clearAfter = 0)
{
    using figures::metafiletest::Put16;
    Bytes out{'G', 'I', 'F', '8', '9', 'a'};
    Put16(out, uint32_t(width));
    Put16(out, uint32_t(height));
    out.insert(out.end(), {0x80, 0, 0, 0, 0, 0, 255, 255, 255}); // black, white
    out.push_back(0x2C);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, uint32_t(width));
    Put16(out, uint32_t(height));
    out.push_back(0);
    out.push_back(2); // minimum code size: clear 4, end 5, the first entry 6
    constexpr uint32_t kClear = 4;
    constexpr uint32_t kEnd = 5;
    constexpr uint32_t kFirstEntry = 6;
    constexpr uint32_t kTableSize = 4096;
    Bytes data;
    uint64_t accumulator = 0;
    uint32_t bits = 0;
    uint32_t codeSize = 3;
    uint32_t next = kFirstEntry;
    auto put = [&](uint32_t code) {
        accumulator |= uint64_t(code) << bits;
        for (bits += codeSize; bits >= 8; bits -= 8) {
            data.push_back(uint8_t(accumulator));
            accumulator >>= 8;
        }
    };
    // Entry e holds e - 4 white pixels: each extends the one before by a pixel.
    auto codeOf = [](uint64_t pixels) { return pixels == 1 ? 1u : uint32_t(pixels) + 4; };
    put(kClear);
    uint64_t left = described < 0 ? uint64_t(width) * uint64_t(height) : uint64_t(described);
    uint64_t last = 0; // pixels of the code before
    for (uint32_t codes = 0; left > 0; ++codes) {
        if (clearAfter > 0 && codes == clearAfter) {
            put(kClear);
            codes = 0;
            codeSize = 3;
            next = kFirstEntry;
            last = 0;
        }
        const uint64_t longest = next < kTableSize ? last + 1 : kTableSize - 1 - 4;
        const uint64_t pixels = last == 0 ? 1 : std::min(left, longest);
        put(codeOf(pixels));
        if (last != 0 && next < kTableSize && ++next == 1u << codeSize && codeSize < 12) {
            ++codeSize;
        }
        left -= pixels;
        last = pixels;
    }
    put(kEnd);
    if (bits > 0) {
        data.push_back(uint8_t(accumulator));
    }
    for (size_t at = 0; at < data.size(); at += 255) {
        const size_t n = std::min<size_t>(255, data.size() - at);
        out.push_back(uint8_t(n));
        out.insert(out.end(), data.begin() + std::ptrdiff_t(at),
                   data.begin() + std::ptrdiff_t(at + n));
    }
    out.insert(out.end(), {0, 0x3B});
    return out;
}

// An 8-bit run-length bitmap (packed: header, two colours, runs) of side x side pixels
// whose runs paint one row of alternating red and blue stripes and end the bitmap.
inline Bytes RunLengthDib(int side)
{
    using figures::metafiletest::Put16;
    using figures::metafiletest::Put32;
    Bytes out;
    Put32(out, 40);
    Put32(out, uint32_t(side));
    Put32(out, uint32_t(side));
    Put16(out, 1);
    Put16(out, 8);
    Put32(out, 1); // 8-bit runs
    Put32(out, 0);
    Put32(out, 3780);
    Put32(out, 3780);
    Put32(out, 2);
    Put32(out, 0);
    Put32(out, 0x000000FF); // red as B, G, R, 0
    Put32(out, 0x00FF0000); // blue
    for (int x = 0; x < side; x += 255) {
        out.push_back(255);
        out.push_back(uint8_t((x / 255) % 2));
    }
    out.insert(out.end(), {0, 1}); // end of bitmap
    return out;
}

// A placeable metafile of a few kilobytes: `records` transfers of the same side x side
// run-length bitmap, each stretched over its own horizontal strip of the picture.
inline Bytes RunLengthMetafile(int records = 8, int side = 8192)
{
    constexpr int kExtent = 1440; // one inch square
    figures::metafiletest::WmfBuilder wmf(0, 0, kExtent, kExtent, 1440);
    wmf.SetWindowOrg(0, 0).SetWindowExt(kExtent, kExtent);
    const Bytes dib = RunLengthDib(side);
    const int strip = kExtent / records;
    for (int i = 0; i < records; ++i) {
        wmf.StretchDib(QRect(0, i * strip, kExtent, strip), QRect(0, 0, side, side), dib);
    }
    return wmf.Finish();
}

// One view of picture boxes, one per picture, in rows of `perRow`, each `side` document
// units square and stretching its picture.
inline void BuildPictureDocument(figures::Document& document, const std::vector<Bytes>& pictures,
                                 int perRow = 4, int32_t side = 500)
{
    document.ResetDocument();
    figures::View& view = *document.ViewAt(0);
    for (size_t i = 0; i < pictures.size(); ++i) {
        auto box = std::make_unique<figures::CPictureBox>();
        const int32_t x = 100 + int32_t(i % size_t(perRow)) * (side + 50);
        const int32_t y = 100 + int32_t(i / size_t(perRow)) * (side + 50);
        box->frame = {x, y, x + side, y + side};
        box->placement = figures::kPlacementStretch;
        box->picture.SetBytes(pictures[i]);
        view.Append(std::move(box));
    }
}

// A GIF of about forty bytes whose screen is width x height pixels but whose first image is
// a single pixel at (left, top): decoders fill the rest of the screen with the background
// colour (entry 2 of a four-colour table, a light blue) and the pixel is entry 1 (red).
inline Bytes SmallImageGif(int width, int height, int left, int top)
{
    using figures::metafiletest::Put16;
    Bytes out{'G', 'I', 'F', '8', '9', 'a'};
    Put16(out, uint32_t(width));
    Put16(out, uint32_t(height));
    out.insert(out.end(), {0x81, 2, 0}); // a four-colour global table, background entry 2
    out.insert(out.end(), {0, 0, 0, 255, 0, 0, 160, 200, 240, 255, 255, 255});
    out.push_back(0x2C);
    Put16(out, uint32_t(left));
    Put16(out, uint32_t(top));
    Put16(out, 1);
    Put16(out, 1);
    out.push_back(0);
    // Minimum code size 2: the clear code, colour 1 and the end code, three bits each.
    out.insert(out.end(), {2, 2, 4 | 1 << 3 | (5 & 3) << 6, 5 >> 2, 0, 0x3B});
    return out;
}

// Sixteen different thirty-byte GIFs, each claiming 7000 x 7000 pixels.
inline std::vector<Bytes> ClaimingGifs(int count = 16, int side = 7000)
{
    std::vector<Bytes> gifs;
    for (int i = 0; i < count; ++i) {
        gifs.push_back(ClaimingGif(side, side, uint8_t(i)));
    }
    return gifs;
}

} // namespace testsupport
