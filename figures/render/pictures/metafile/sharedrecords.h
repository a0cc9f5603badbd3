#pragma once

#include "figures/render/pictures/metafile/devicestate.h"
#include "figures/render/pictures/metafile/dibimage.h"

#include <QRectF>

#include <cstdint>
#include <span>

namespace figures {

class MetafileCanvas;
class RecordReader;

// What the records of both metafile formats share, read and played in one place so that
// the two players cannot drift apart.

// The integer width of a format's record fields: 16 bits in placeable metafiles, 32 in
// enhanced ones.
enum class FieldWidth { Short, Long };

// The logical font fields up to the face name, in the order both formats store them:
// height, width, escapement, orientation and weight (each of the format's field width),
// then one byte each of italic, underline, strike-out and character set, and four bytes
// of precision, quality, pitch and family. The orientation is not kept: the escapement
// turns the characters too.
void ReadFontFields(RecordReader& r, FieldWidth width, GdiFont& font);

// The logical pen fields in the order both formats store them: the style, the width
// (a point whose height is not used) and the colour, in the format's field width but for
// the colour.
void ReadPenFields(RecordReader& r, FieldWidth width, GdiPen& pen);

// A bitmap decoded within what is left of the canvas's pixel budget and charged to it, or
// the same bytes decoded earlier in the playing (charged once).
// shrink: see DecodeDib.
Dib DecodeDibWithin(MetafileCanvas& canvas, std::span<const uint8_t> info,
                    std::span<const uint8_t> bits, uint32_t usage, bool premultipliedAlpha = false,
                    int32_t shrink = 1);
// The same for a packed bitmap (header, masks, colour table and bits back to back).
Dib DecodePackedWithin(MetafileCanvas& canvas, std::span<const uint8_t> packed, uint32_t usage,
                       int32_t shrink = 1);

// The source rectangle of a device-independent transfer in the image's pixels: the
// record's y counts from the bottom row of a bottom-up bitmap, and a shrunk bitmap's
// pixels are fewer.
QRectF DibSourceRect(const Dib& dib, QRectF recorded);

// A set-bits-to-device transfer: scans rows of a bitmap (whose header describes the
// whole of it) starting at row startScan, of which the part at source, the size of dest,
// is copied unstretched to dest.
struct DibBand {
    std::span<const uint8_t> info;
    std::span<const uint8_t> bits;
    uint32_t usage = kDibRgbColours;
    int64_t startScan = 0;
    uint32_t scans = 0;
    QRectF dest;    // logical units
    QPointF source; // the bitmap's pixels, y counted as in DibSourceRect
};
void DrawDibBand(MetafileCanvas& canvas, const DibBand& band);

} // namespace figures
