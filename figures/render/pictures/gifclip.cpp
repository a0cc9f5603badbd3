#include "figures/render/pictures/gifclip.h"

#include <algorithm>

namespace figures {

namespace {

constexpr size_t kScreenHeightAt = 8;
constexpr size_t kImageHeightAt = 7; // from the image separator
constexpr uint64_t kMaxPixelsPerCode = 4096;
// An interlaced image sends every eighth row first.
constexpr uint64_t kInterlaceStride = 8;

uint16_t U16(std::span<const uint8_t> b, size_t at)
{
    return uint16_t(b[at] | b[at + 1] << 8);
}

void SetU16(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}

// Skips a run of data sub-blocks at `at`; returns the bytes of data they hold, or nothing
// when the run leaves the file.
std::optional<uint64_t> SkipSubBlocks(std::span<const uint8_t> b, size_t& at)
{
    uint64_t data = 0;
    while (at < b.size()) {
        const size_t n = b[at++];
        if (n == 0) {
            return data;
        }
        if (n > b.size() - at) {
            return std::nullopt;
        }
        data += n;
        at += n;
    }
    return std::nullopt;
}

size_t ColourTableBytes(uint8_t flags)
{
    return (flags & 0x80) != 0 ? 3 * (size_t(2) << (flags & 7)) : 0;
}

} // namespace

std::optional<ClippedGif> ClipGifToItsData(std::span<const uint8_t> b)
{
    if (b.size() < 13) {
        return std::nullopt;
    }
    const uint32_t screenHeight = U16(b, kScreenHeightAt);
    size_t at = 13 + ColourTableBytes(b[10]);
    while (at < b.size() && b[at] == 0x21) { // extensions before the first image
        at += 2;
        if (at > b.size() || !SkipSubBlocks(b, at)) {
            return std::nullopt;
        }
    }
    if (at + 11 > b.size() || b[at] != 0x2C) {
        return std::nullopt;
    }
    const size_t image = at;
    const uint32_t top = U16(b, image + 3);
    const uint64_t width = U16(b, image + 5);
    const uint32_t height = U16(b, image + 7);
    const uint8_t flags = b[image + 9];
    at = image + 10 + ColourTableBytes(flags);
    if (at >= b.size() || width == 0) {
        return std::nullopt;
    }
    const uint32_t codeBits = std::max(uint32_t(b[at]), 2u) + 1;
    ++at;
    const std::optional<uint64_t> data = SkipSubBlocks(b, at);
    if (!data) {
        return std::nullopt;
    }
    const uint64_t pixels = *data * 8 / codeBits * kMaxPixelsPerCode;
    uint64_t rows = (pixels + width - 1) / width + 1;
    if ((flags & 0x40) != 0) {
        rows = rows * kInterlaceStride + kInterlaceStride;
    }
    const uint32_t imageRows = uint32_t(std::min<uint64_t>(rows, height));
    const uint32_t cutScreen = std::min(screenHeight, top + imageRows);
    if (imageRows >= height || cutScreen >= screenHeight || cutScreen == 0) {
        return std::nullopt;
    }
    ClippedGif cut;
    cut.bytes.assign(b.begin(), b.end());
    SetU16(cut.bytes, kScreenHeightAt, cutScreen);
    SetU16(cut.bytes, image + kImageHeightAt, imageRows);
    cut.rows = int32_t(cutScreen);
    return cut;
}

} // namespace figures
