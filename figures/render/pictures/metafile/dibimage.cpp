#include "figures/render/pictures/metafile/dibimage.h"

#include "figures/render/pictures/metafile/recordreader.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>
#include <array>
#include <bit>
#include <vector>

namespace figures {

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiJpeg = 4;
constexpr uint32_t kBiPng = 5;
constexpr uint32_t kBiAlphaBitfields = 6;

constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
// Longer headers carry the masks in their own bytes from this offset on.
constexpr uint32_t kMasksInHeader = 52;

// The 16 standard colours, for colour tables of palette indices.
constexpr std::array<QRgb, 16> kStandardColours = {
    0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080, 0xFF008080, 0xFFC0C0C0,
    0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00, 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};

struct DibHeader {
    uint32_t headerSize = 0;
    int64_t width = 0;
    int64_t height = 0; // negative: top row first
    uint32_t bitCount = 0;
    uint32_t compression = kBiRgb;
    uint32_t masks[4] = {0, 0, 0, 0}; // red, green, blue, alpha
    std::vector<QRgb> colours;
    size_t infoSize = 0; // header, masks and colour table
};

// The 12-byte core header: 16-bit sizes, no compression, and a table of three-byte
// entries for every index of a palette depth.
void ReadCoreHeader(RecordReader& r, DibHeader& h)
{
    h.width = r.U16();
    h.height = r.U16();
    r.U16(); // planes
    h.bitCount = r.U16();
    h.colours.resize(h.bitCount <= 8 ? size_t(1) << h.bitCount : 0);
}

// The bit masks of an info header: inside headers of 52 bytes and more (the alpha mask
// from 56 on), else after the header for the bit-field compressions.
void ReadMasks(std::span<const uint8_t> info, RecordReader& r, DibHeader& h)
{
    if (h.headerSize >= kMasksInHeader) {
        for (uint32_t& mask : h.masks) {
            mask = r.U32();
        }
        if (h.headerSize < kMasksInHeader + 4) {
            h.masks[3] = 0;
        }
    }
    r = RecordReader(info, h.headerSize);
    if (h.headerSize < kMasksInHeader &&
        (h.compression == kBiBitfields || h.compression == kBiAlphaBitfields)) {
        const int count = h.compression == kBiAlphaBitfields ? 4 : 3;
        for (int i = 0; i < count; ++i) {
            h.masks[i] = r.U32();
        }
    }
}

// The info headers, 40 bytes and longer, with their masks. Palette depths get a table of
// coloursUsed entries (all of them when 0 or too many); a table beside direct colours
// only optimises palettes and is skipped when the block holds it.
void ReadInfoHeader(std::span<const uint8_t> info, uint32_t usage, RecordReader& r, DibHeader& h)
{
    h.width = r.I32();
    h.height = r.I32();
    r.U16(); // planes
    h.bitCount = r.U16();
    h.compression = r.U32();
    r.Skip(12); // image size, resolution
    const uint32_t coloursUsed = r.U32();
    r.U32(); // important colours
    ReadMasks(info, r, h);
    if (h.bitCount <= 8) {
        const uint32_t full = 1u << h.bitCount;
        h.colours.resize(coloursUsed == 0 || coloursUsed > full ? full : coloursUsed);
        return;
    }
    const uint64_t entry = usage == kDibPaletteColours ? 2 : usage == kDibPaletteIndices ? 0 : 4;
    const uint64_t tableSize = uint64_t(coloursUsed) * entry;
    if (tableSize <= r.Remaining()) {
        r.Skip(size_t(tableSize));
    }
}

// The colour table's entries: standard colours for tables of palette indices (none are
// stored), else 16-bit indices of them, or blue, green, red and (except in core tables)
// a reserved byte.
void ReadColourTable(RecordReader& r, uint32_t usage, bool core, DibHeader& h)
{
    if (usage == kDibPaletteIndices) {
        for (size_t i = 0; i < h.colours.size(); ++i) {
            h.colours[i] = h.bitCount == 1 ? (i ? qRgb(255, 255, 255) : qRgb(0, 0, 0))
                                           : kStandardColours[i & 0x0F];
        }
        return;
    }
    for (QRgb& colour : h.colours) {
        if (usage == kDibPaletteColours) {
            colour = kStandardColours[r.U16() & 0x0F];
        } else {
            const uint8_t b = r.U8();
            const uint8_t g = r.U8();
            const uint8_t red = r.U8();
            if (!core) {
                r.U8();
            }
            colour = qRgb(red, g, b);
        }
    }
}

// Reads the header, masks and colour table; false when they are not all there or make no
// sense.
bool ReadHeader(std::span<const uint8_t> info, uint32_t usage, DibHeader& h)
{
    RecordReader r(info);
    h.headerSize = r.U32();
    const bool core = h.headerSize == kCoreHeaderSize;
    if (core) {
        ReadCoreHeader(r, h);
    } else if (h.headerSize >= kInfoHeaderSize && h.headerSize <= info.size()) {
        ReadInfoHeader(info, usage, r, h);
    } else {
        return false;
    }
    if (!r.Ok() || h.width <= 0 || h.height == 0) {
        return false;
    }
    ReadColourTable(r, usage, core, h);
    h.infoSize = r.Position();
    return r.Ok();
}

bool SizeAllowed(const DibHeader& h, uint64_t maxPixels)
{
    const uint64_t w = uint64_t(h.width);
    const uint64_t rows = uint64_t(h.height < 0 ? -h.height : h.height);
    return w <= maxPixels && rows <= maxPixels && w * rows <= maxPixels;
}

QRgb PaletteColour(const DibHeader& h, uint32_t index)
{
    return index < h.colours.size() ? h.colours[index] : qRgb(0, 0, 0);
}

// One channel of a bit-field pixel, widened to 8 bits.
uint32_t Channel(uint32_t pixel, uint32_t mask)
{
    if (mask == 0) {
        return 0;
    }
    const int shift = std::countr_zero(mask);
    const uint32_t field = mask >> shift;
    const int bits = std::min(32 - std::countl_zero(field), 31);
    const uint64_t maxValue = (uint64_t(1) << bits) - 1;
    const uint64_t value = (pixel >> shift) & maxValue;
    return uint32_t(value * 255 / maxValue);
}

void DefaultMasks(DibHeader& h)
{
    if (h.compression == kBiBitfields || h.compression == kBiAlphaBitfields) {
        return;
    }
    if (h.bitCount == 16) {
        h.masks[0] = 0x7C00;
        h.masks[1] = 0x03E0;
        h.masks[2] = 0x001F;
    } else {
        h.masks[0] = 0x00FF0000;
        h.masks[1] = 0x0000FF00;
        h.masks[2] = 0x000000FF;
    }
    h.masks[3] = 0;
}

// Pixel x of an uncompressed or bit-field row: palette depths look up the colour table,
// 24 bits hold blue, green, red, and 16 and 32 bits go through the masks. With alpha the
// result is premultiplied and no colour exceeds its alpha.
QRgb RowPixel(const DibHeader& h, const uint8_t* src, uint64_t x, bool alpha)
{
    switch (h.bitCount) {
    case 1: return PaletteColour(h, (src[x / 8] >> (7 - x % 8)) & 1);
    case 4: return PaletteColour(h, (src[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F);
    case 8: return PaletteColour(h, src[x]);
    case 24: return qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
    default: break;
    }
    const uint32_t pixel = h.bitCount == 16 ? uint32_t(src[2 * x] | src[2 * x + 1] << 8)
                                            : uint32_t(src[4 * x]) | uint32_t(src[4 * x + 1]) << 8 |
                                                  uint32_t(src[4 * x + 2]) << 16 |
                                                  uint32_t(src[4 * x + 3]) << 24;
    const uint32_t r = Channel(pixel, h.masks[0]);
    const uint32_t g = Channel(pixel, h.masks[1]);
    const uint32_t b = Channel(pixel, h.masks[2]);
    if (!alpha) {
        return qRgb(int(r), int(g), int(b));
    }
    const uint32_t a = h.masks[3] != 0 ? Channel(pixel, h.masks[3]) : (pixel >> 24) & 0xFF;
    return qRgba(int(std::min(r, a)), int(std::min(g, a)), int(std::min(b, a)), int(a));
}

// Uncompressed rows and bit-field rows.
QImage DecodeRows(DibHeader& h, std::span<const uint8_t> bits, bool premultipliedAlpha)
{
    const uint32_t bpp = h.bitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
        return {};
    }
    const bool bitfields = h.compression == kBiBitfields || h.compression == kBiAlphaBitfields;
    if (bitfields && bpp != 16 && bpp != 32) {
        return {};
    }
    const uint64_t width = uint64_t(h.width);
    const uint64_t rows = uint64_t(h.height < 0 ? -h.height : h.height);
    const uint64_t stride = (width * bpp + 31) / 32 * 4;
    if (stride > bits.size() / rows) {
        return {};
    }
    DefaultMasks(h);
    const bool alpha = premultipliedAlpha && bpp == 32;
    QImage image(int(width), int(rows),
                 alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (image.isNull()) {
        return {};
    }
    for (uint64_t row = 0; row < rows; ++row) {
        const uint8_t* src = bits.data() + row * stride;
        const uint64_t outRow = h.height > 0 ? rows - 1 - row : row;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(int(outRow)));
        for (uint64_t x = 0; x < width; ++x) {
            out[x] = RowPixel(h, src, x, alpha);
        }
    }
    return image;
}

// Averages the decoded pixels of a run-length bitmap over blocks of shrink x shrink
// pixels, one row of blocks at a time: runs move only rightwards and upwards (rows count
// from the bottom), so a row of blocks is complete once a run lands above it. Positions no
// run paints do not count; a block none of whose pixels is painted stays transparent.
class BlockAverager {
public:
    BlockAverager(QImage& image, int shrink)
        : image_(image), shrink_(shrink), sums_(size_t(image.width()) * 4),
          counts_(size_t(image.width()))
    {}

    // Adds n pixels from column x of the row top (counted from the top), alternating
    // between even and odd (the two nibbles of a 4-bit run; equal for 8-bit runs).
    void Add(int top, int x, int n, QRgb even, QRgb odd)
    {
        const int blockRow = top / shrink_;
        if (blockRow != blockRow_) {
            Flush();
            blockRow_ = blockRow;
        }
        for (int at = x; at < x + n;) {
            const int block = at / shrink_;
            const int end = std::min(x + n, (block + 1) * shrink_);
            // Pixels at even offsets from x in [at, end).
            const int evens = (end - x + 1) / 2 - (at - x + 1) / 2;
            Accumulate(size_t(block), even, uint32_t(evens));
            Accumulate(size_t(block), odd, uint32_t(end - at - evens));
            at = end;
        }
    }

    // Writes the averages of the row of blocks under way into the image.
    void Flush()
    {
        if (blockRow_ < 0) {
            return;
        }
        auto* out = reinterpret_cast<QRgb*>(image_.scanLine(blockRow_));
        for (size_t i = 0; i < counts_.size(); ++i) {
            const uint32_t n = counts_[i];
            if (n == 0) {
                continue;
            }
            auto mean = [&](size_t channel) { return int((sums_[4 * i + channel] + n / 2) / n); };
            out[i] = qRgba(mean(0), mean(1), mean(2), mean(3));
        }
        std::fill(sums_.begin(), sums_.end(), 0);
        std::fill(counts_.begin(), counts_.end(), 0);
        blockRow_ = -1;
    }

private:
    void Accumulate(size_t block, QRgb colour, uint32_t n)
    {
        sums_[4 * block] += uint32_t(qRed(colour)) * n;
        sums_[4 * block + 1] += uint32_t(qGreen(colour)) * n;
        sums_[4 * block + 2] += uint32_t(qBlue(colour)) * n;
        sums_[4 * block + 3] += uint32_t(qAlpha(colour)) * n;
        counts_[block] += n;
    }

    QImage& image_;
    const int shrink_;
    int blockRow_ = -1;
    // Per block of the row: red, green, blue and alpha sums (at most 64 x 64 x 255 each)
    // and the count of pixels painted.
    std::vector<uint32_t> sums_;
    std::vector<uint32_t> counts_;
};

// Run-length encoded 4- and 8-bit pixels; with a shrink above 1 each pixel of the image is
// the average of the painted pixels of its shrink x shrink block, blocks counted from the
// top left, so that every row and column of the bitmap counts however small it is decoded.
// Runs that leave the bitmap are cut; the positions a delta or an early end of line skips
// stay transparent.
QImage DecodeRunLength(const DibHeader& h, std::span<const uint8_t> bits, int shrink)
{
    const bool four = h.compression == kBiRle4;
    if (h.height < 0 || h.bitCount != (four ? 4u : 8u)) {
        return {};
    }
    const int width = int(h.width);
    const int rows = int(h.height);
    QImage image(int((int64_t(width) + shrink - 1) / shrink),
                 int((int64_t(rows) + shrink - 1) / shrink), QImage::Format_ARGB32);
    if (image.isNull()) {
        return {};
    }
    image.fill(Qt::transparent);
    BlockAverager blocks(image, shrink);
    int x = 0;
    int row = 0; // from the bottom
    // Paints n pixels at x alternating between the colours of two indices, cut at the
    // bitmap's right edge.
    auto paint = [&](int n, uint32_t even, uint32_t odd) {
        const int kept = std::min(n, width - x);
        if (kept > 0) {
            blocks.Add(rows - 1 - row, x, kept, PaletteColour(h, even), PaletteColour(h, odd));
            x += kept;
        }
    };
    RecordReader r(bits);
    while (r.Remaining() >= 2 && row < rows) {
        const uint8_t count = r.U8();
        const uint8_t value = r.U8();
        if (count > 0) {
            paint(count, four ? value >> 4 : value, four ? value & 0x0F : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++row;
        } else if (value == 1) { // end of bitmap
            break;
        } else if (value == 2) { // delta
            x = std::min(x + r.U8(), width);
            row += r.U8();
        } else { // absolute run of `value` pixels, padded to a 16-bit boundary
            const size_t bytes = four ? (size_t(value) + 1) / 2 : value;
            const std::span<const uint8_t> run = r.Bytes(bytes);
            if (run.size() != bytes) {
                break;
            }
            for (int i = 0; i < value; ++i) {
                const uint32_t index =
                    four ? (i % 2 ? run[size_t(i) / 2] & 0x0F : run[size_t(i) / 2] >> 4)
                         : run[size_t(i)];
                paint(1, index, index);
            }
            if (bytes % 2) {
                r.Skip(1);
            }
        }
    }
    blocks.Flush();
    return image;
}

QImage DecodeEmbedded(std::span<const uint8_t> bits, uint64_t maxPixels)
{
    QByteArray data =
        QByteArray::fromRawData(reinterpret_cast<const char*>(bits.data()), qsizetype(bits.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (!size.isValid() || uint64_t(size.width()) * uint64_t(size.height()) > maxPixels) {
        return {};
    }
    return reader.read().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

Dib DecodeDib(std::span<const uint8_t> info, std::span<const uint8_t> bits, uint32_t usage,
              bool premultipliedAlpha, uint64_t maxPixels, int32_t shrink)
{
    Dib out;
    DibHeader h;
    if (!ReadHeader(info, usage, h)) {
        return out;
    }
    const bool runLength = h.compression == kBiRle8 || h.compression == kBiRle4;
    out.shrink = runLength ? std::clamp(shrink, 1, kMaxDibShrink) : 1;
    DibHeader kept = h;
    kept.width = (h.width + out.shrink - 1) / out.shrink;
    kept.height = (h.height + out.shrink - 1) / out.shrink;
    if (!SizeAllowed(kept, std::min(maxPixels, kMaxDibPixels))) {
        return out;
    }
    out.bottomUp = h.height > 0;
    switch (h.compression) {
    case kBiRgb:
    case kBiBitfields:
    case kBiAlphaBitfields: out.image = DecodeRows(h, bits, premultipliedAlpha); break;
    case kBiRle8:
    case kBiRle4: out.image = DecodeRunLength(h, bits, out.shrink); break;
    case kBiJpeg:
    case kBiPng: out.image = DecodeEmbedded(bits, std::min(maxPixels, kMaxDibPixels)); break;
    default: break;
    }
    return out;
}

Dib DecodeDibBand(std::span<const uint8_t> info, std::span<const uint8_t> bits, uint32_t usage,
                  uint32_t scans, int64_t& fullHeight, uint64_t maxPixels)
{
    fullHeight = 0;
    if (info.size() < kCoreHeaderSize) {
        return {};
    }
    std::vector<uint8_t> patched(info.begin(), info.end());
    RecordReader r(info);
    const uint32_t headerSize = r.U32();
    if (headerSize == kCoreHeaderSize) {
        r.U16();
        fullHeight = r.U16();
        const uint16_t band = uint16_t(std::min<int64_t>(scans, fullHeight));
        patched[6] = uint8_t(band);
        patched[7] = uint8_t(band >> 8);
    } else if (headerSize >= kInfoHeaderSize && info.size() >= kInfoHeaderSize) {
        r.I32();
        fullHeight = r.I32();
        const int64_t rows = std::min<int64_t>(scans, fullHeight < 0 ? -fullHeight : fullHeight);
        const uint32_t band = uint32_t(int32_t(fullHeight < 0 ? -rows : rows));
        for (int i = 0; i < 4; ++i) {
            patched[size_t(8 + i)] = uint8_t(band >> (8 * i));
        }
    } else {
        return {};
    }
    return DecodeDib(patched, bits, usage, false, maxPixels);
}

size_t DibInfoSize(std::span<const uint8_t> packed, uint32_t usage)
{
    DibHeader h;
    return ReadHeader(packed, usage, h) ? h.infoSize : 0;
}

Dib DecodePackedDib(std::span<const uint8_t> packed, uint32_t usage, uint64_t maxPixels,
                    int32_t shrink)
{
    const size_t infoSize = DibInfoSize(packed, usage);
    if (infoSize == 0) {
        return {};
    }
    return DecodeDib(packed.first(infoSize), packed.subspan(infoSize), usage, false, maxPixels,
                     shrink);
}

} // namespace figures
