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
// takes time in proportion to the data and 8 KiB of memory.
//
// Outside the rows the cut file holds, the whole file decodes to one colour, which the cut
// file decodes to as well in its last row, so the picture is those rows and that colour:
// - a first image that covers the screen leaves the pixels no data reaches at zero (opaque
//   black without a transparent colour, transparent with one); the cut keeps the screen's
//   top rows down to one row below the last the data reaches;
// - a first image that leaves part of the screen bare (placed lower or to the right,
//   narrower or shorter) is decoded onto a screen the decoder first fills with its
//   background colour, and the pixels of the image no data reaches keep that colour; the cut
//   moves the image to the top of a screen that ends one row below the image's reached rows,
//   so the decoder fills that screen too, with the same colour. Data that may give more
//   pixels than the image holds is not cut, since decoders write the surplus on below the
//   image down to the foot of the screen.
struct ClippedGif {
    std::vector<uint8_t> bytes; // the cut file
    int32_t firstRow = 0;       // the screen row that the cut file's top row shows
    int32_t rows = 0;           // the rows the cut file decodes to
};

// The cut file, or nothing when the data may describe the whole screen (or all but a row of
// it), or the file's blocks do not read up to the first image's data.
std::optional<ClippedGif> ClipGifToItsData(std::span<const uint8_t> bytes);

} // namespace figures
