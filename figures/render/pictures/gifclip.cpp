#include "figures/render/pictures/gifclip.h"

#include <algorithm>
#include <array>

namespace figures {

namespace {

constexpr size_t kScreenWidthAt = 6;
constexpr size_t kScreenHeightAt = 8;
constexpr size_t kImageTopAt = 3; // from the image separator
constexpr size_t kImageHeightAt = 7;
// The table of LZW codes: at most 4096 entries, codes at most 12 bits wide. A decoder walks
// no string longer than the table (plus the pixel a code past the table adds).
constexpr uint32_t kMaxCodes = 4096;
constexpr uint32_t kMaxCodeBits = 12;
constexpr uint32_t kLongestString = kMaxCodes + 1;
// Minimum code sizes whose codes are counted one by one; for others each code that fits the
// data is taken at the longest string.
constexpr uint32_t kFewestColourBits = 2;
constexpr uint32_t kMostColourBits = 11;
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

// The pixels the LZW codes of an image's data sub-blocks (from `at`, the first block's size)
// produce, counted the way the decoder walks them without decoding any, up to `enough`.
// A code gives the string of a table entry: one pixel for a colour index, one more than
// the entry it extends for the others. Entries the codes did not make since the last clear
// code are counted at the longest a decoder could walk, so the count never falls short.
uint64_t CountCodedPixels(std::span<const uint8_t> b, size_t at, uint32_t minCodeSize,
                          uint64_t enough)
{
    const uint32_t clear = 1u << minCodeSize;
    const uint32_t end = clear + 1;
    std::array<uint16_t, kMaxCodes> length{};
    auto lengthOf = [&](uint32_t code, uint32_t next) -> uint32_t {
        if (code < clear) {
            return 1;
        }
        return code >= clear + 2 && code < next ? length[code] : kLongestString;
    };
    uint32_t codeSize = minCodeSize + 1;
    uint32_t next = clear + 2;
    int64_t previous = -1; // none: the next code starts a string afresh
    uint64_t pixels = 0;
    uint32_t accumulator = 0;
    uint32_t bits = 0;
    while (at < b.size()) {
        const size_t size = b[at++];
        const size_t n = std::min(size, b.size() - at);
        if (n == 0) {
            break;
        }
        for (const uint8_t byte : b.subspan(at, n)) {
            accumulator |= uint32_t(byte) << bits;
            bits += 8;
            while (bits >= codeSize) {
                const uint32_t code = accumulator & ((1u << codeSize) - 1);
                accumulator >>= codeSize;
                bits -= codeSize;
                if (code == end) {
                    return pixels;
                }
                if (code == clear) {
                    codeSize = minCodeSize + 1;
                    next = clear + 2;
                    previous = -1;
                    continue;
                }
                if (previous < 0) {
                    pixels += 1;
                } else {
                    // A code past the table repeats the previous string plus its first pixel.
                    const uint32_t extended =
                        std::min(lengthOf(uint32_t(previous), next) + 1, kLongestString);
                    pixels += code < next ? lengthOf(code, next) : extended;
                    if (next < kMaxCodes) {
                        length[next++] = uint16_t(extended);
                        if (next == 1u << codeSize && codeSize < kMaxCodeBits) {
                            ++codeSize;
                        }
                    }
                }
                previous = code;
                if (pixels >= enough) {
                    return pixels;
                }
            }
        }
        at += n;
    }
    return pixels;
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
    const uint32_t left = U16(b, image + 1);
    const uint32_t top = U16(b, image + 3);
    const uint64_t width = U16(b, image + 5);
    const uint32_t height = U16(b, image + 7);
    const uint8_t flags = b[image + 9];
    at = image + 10 + ColourTableBytes(flags);
    // Decoders place the pixels of an image without rows or columns in their own way (the
    // data's pixels land on the screen all the same); such files are decoded whole.
    if (at >= b.size() || width == 0 || height == 0) {
        return std::nullopt;
    }
    const uint32_t minCodeSize = b[at];
    const size_t data = ++at;
    const std::optional<uint64_t> dataBytes = SkipSubBlocks(b, at);
    if (!dataBytes) {
        return std::nullopt;
    }
    const uint64_t pixels =
        minCodeSize >= kFewestColourBits && minCodeSize <= kMostColourBits
            ? CountCodedPixels(b, data, minCodeSize, width * height + 1)
            : *dataBytes * 8 / (std::max(minCodeSize, kFewestColourBits) + 1) * kLongestString;
    uint64_t rows = (pixels + width - 1) / width + 1;
    if ((flags & 0x40) != 0) {
        rows = rows * kInterlaceStride + kInterlaceStride;
    }
    const uint32_t imageRows = uint32_t(std::min<uint64_t>(rows, height));
    // Decoders fill the screen with the background colour first unless the first image
    // covers all of it.
    const bool covers =
        left == 0 && top == 0 && width >= U16(b, kScreenWidthAt) && height >= screenHeight;
    // Decoders go on writing the pixels an image's data gives beyond its last row, down to
    // the foot of the screen; only on a screen the image covers does that change nothing.
    if (!covers && pixels > width * height) {
        return std::nullopt;
    }
    ClippedGif cut;
    if (covers) {
        cut.rows = int32_t(std::min(screenHeight, imageRows));
    } else {
        // The row below the image is the background the decoder fills in.
        cut.firstRow = int32_t(top);
        cut.rows = int32_t(imageRows) + 1;
    }
    if (uint32_t(cut.rows) >= screenHeight || cut.rows == 0) {
        return std::nullopt;
    }
    cut.bytes.assign(b.begin(), b.end());
    SetU16(cut.bytes, kScreenHeightAt, uint32_t(cut.rows));
    SetU16(cut.bytes, image + kImageTopAt, 0);
    SetU16(cut.bytes, image + kImageHeightAt, imageRows);
    return cut;
}

} // namespace figures
