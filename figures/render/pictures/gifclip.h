#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace figures {

// A GIF whose compressed data cannot describe the screen its header claims is cut to the
// rows the data can reach. The first image's codes are walked as a decoder walks them,
// counting the pixels each gives without producing any (a clear code gives none, any code
// at most the 4097 of the longest string), so a few bytes of data, or many bytes of codes
// that give nothing, never make more than a few rows, however large the screen; the walk
// takes time in proportion to the data and 8 KiB of memory. Decoders leave the pixels no
// data reaches at zero (opaque black without a transparent colour, transparent with one),
// so the cut file decodes to the same top rows, and the rest is drawn as that zero pixel.
struct ClippedGif {
    std::vector<uint8_t> bytes; // the file with the screen's and the first image's heights cut
    int32_t rows = 0;           // the screen rows the cut file holds, from the top
};

// The cut file, or nothing when the data may describe the whole screen, the first image
// does not cover the screen exactly, or the file's blocks do not read up to the first
// image's data.
std::optional<ClippedGif> ClipGifToItsData(std::span<const uint8_t> bytes);

} // namespace figures
