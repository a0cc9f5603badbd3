// The bitmap records of placeable metafiles: the block transfers, with and without a
// bitmap, and the old device-dependent bitmaps they and the pattern brushes carry.
#include "figures/render/pictures/metafile/wmfplayer.h"

#include "figures/render/pictures/metafile/recordreader.h"
#include "figures/render/pictures/metafile/sharedrecords.h"

namespace figures {

QImage WmfPlayer::DecodeBitmap16(RecordReader& r, size_t reserved) const
{
    r.I16(); // type
    const int16_t width = r.I16();
    const int16_t height = r.I16();
    const int16_t widthBytes = r.I16();
    const uint8_t planes = r.U8();
    const uint8_t bitsPixel = r.U8();
    r.Skip(reserved);
    if (!r.Ok() || planes != 1 || width <= 0 || height <= 0 ||
        (bitsPixel != 1 && bitsPixel != 24 && bitsPixel != 32) ||
        widthBytes < (int64_t(width) * bitsPixel + 7) / 8 ||
        !r.Has(uint64_t(widthBytes) * uint64_t(height), 1)) {
        return {};
    }
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        return {};
    }
    const QRgb zero = state_.textColour.rgb();
    const QRgb one = state_.bkColour.rgb();
    for (int y = 0; y < height; ++y) {
        const std::span<const uint8_t> row = r.Bytes(size_t(widthBytes));
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (bitsPixel == 1) {
                out[x] = (row[size_t(x / 8)] >> (7 - x % 8)) & 1 ? one : zero;
            } else {
                const size_t at = size_t(x) * (bitsPixel / 8);
                out[x] = qRgb(row[at + 2], row[at + 1], row[at]);
            }
        }
    }
    return image;
}

void WmfPlayer::PatBlt(RecordReader& r)
{
    const uint32_t rop = r.U32();
    const int16_t height = r.I16();
    const int16_t width = r.I16();
    const int16_t y = r.I16();
    const int16_t x = r.I16();
    if (r.Ok()) {
        canvas_.StretchBlt(QRectF(x, y, width, height), QImage(), QRectF(), rop);
    }
}

namespace {

// Where a transfer takes its pixels from and puts them, in logical units and bitmap
// pixels.
struct Transfer {
    QRectF source;
    QRectF dest;
};

// The places of a transfer as the records store them, last parameter first: the source
// size (stretching records only; the others copy at the destination's size), the source
// position, a reserved word in the blits without a bitmap, then the destination's size and
// position.
Transfer ReadTransfer(RecordReader& r, bool sourceSize, bool reservedWord)
{
    int16_t srcHeight = 0;
    int16_t srcWidth = 0;
    if (sourceSize) {
        srcHeight = r.I16();
        srcWidth = r.I16();
    }
    const int16_t ySrc = r.I16();
    const int16_t xSrc = r.I16();
    if (reservedWord) {
        r.U16();
    }
    const int16_t destHeight = r.I16();
    const int16_t destWidth = r.I16();
    const int16_t yDest = r.I16();
    const int16_t xDest = r.I16();
    if (!sourceSize) {
        srcHeight = destHeight;
        srcWidth = destWidth;
    }
    return {QRectF(xSrc, ySrc, srcWidth, srcHeight), QRectF(xDest, yDest, destWidth, destHeight)};
}

} // namespace

// The bit-block transfers. Each has a form without a bitmap, whose parameters are just
// those its function counts, which only combines the brush and the destination; in that
// form a reserved word follows the source position.
void WmfPlayer::Blit(BlitKind kind, bool stretch, RecordReader& r)
{
    const size_t wordsWithoutBitmap = stretch ? 11 : 9;
    const bool withBitmap = r.Record().size() / 2 != wordsWithoutBitmap;
    const uint32_t rop = r.U32();
    const Transfer transfer = ReadTransfer(r, stretch, !withBitmap);
    if (!r.Ok()) {
        return;
    }
    if (!withBitmap) {
        canvas_.StretchBlt(transfer.dest, QImage(), QRectF(), rop);
        return;
    }
    const QImage image = kind == BlitKind::Dib
                             ? DecodePackedWithin(canvas_, r.Rest(), kDibRgbColours).image
                             : DecodeBitmap16(r);
    // The source is a bitmap selected into a device, so y counts from its top.
    canvas_.StretchBlt(transfer.dest, image, transfer.source, rop);
}

void WmfPlayer::StretchDib(RecordReader& r)
{
    const uint32_t rop = r.U32();
    const uint16_t usage = r.U16();
    const Transfer transfer = ReadTransfer(r, true, false);
    if (!r.Ok()) {
        return;
    }
    const Dib dib = DecodePackedWithin(canvas_, r.Rest(), usage,
                                       canvas_.ShrinkFor(transfer.dest, transfer.source));
    canvas_.StretchBlt(transfer.dest, dib.image, DibSourceRect(dib, transfer.source), rop);
}

void WmfPlayer::SetDibToDevice(RecordReader& r)
{
    DibBand band;
    band.usage = r.U16();
    band.scans = r.U16();
    band.startScan = r.U16();
    const int16_t yDib = r.I16();
    const int16_t xDib = r.I16();
    const int16_t height = r.I16();
    const int16_t width = r.I16();
    const int16_t yDest = r.I16();
    const int16_t xDest = r.I16();
    const size_t infoSize = DibInfoSize(r.Rest(), band.usage);
    if (!r.Ok() || infoSize == 0) {
        return;
    }
    band.info = r.Rest().first(infoSize);
    band.bits = r.Rest().subspan(infoSize);
    band.dest = QRectF(xDest, yDest, width, height);
    band.source = QPointF(xDib, yDib);
    DrawDibBand(canvas_, band);
}

} // namespace figures
