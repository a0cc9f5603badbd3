#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace figures {

// A GIF whose compressed data cannot describe the screen its header claims is cut to the
// rows the data can reach: a code of the first image's data gives at most 4096 pixels and
// takes at least the starting code width, so a few bytes of data never describe more than
// a few rows, however large the screen. Decoders leave the pixels no data reaches at zero
// (opaque black without a transparent colour, transparent with one), so the cut file
// decodes to the same top rows, and the rest is drawn as that zero pixel.
struct ClippedGif {
    std::vector<uint8_t> bytes; // the file with the screen's and the first image's heights cut
    int32_t rows = 0;           // the screen rows the cut file holds, from the top
};

// The cut file, or nothing when the data may describe the whole screen or the file's
// blocks do not read up to the first image's data.
std::optional<ClippedGif> ClipGifToItsData(std::span<const uint8_t> bytes);

} // namespace figures
