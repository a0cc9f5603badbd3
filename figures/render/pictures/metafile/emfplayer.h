#pragma once

#include "figures/render/pictures/metafile/devicestate.h"
#include "figures/render/pictures/metafile/metafilecanvas.h"
#include "figures/render/pictures/metafile/sharedrecords.h"

#include <cstdint>
#include <optional>
#include <span>

namespace figures {

class RecordReader;

// Plays the records of an enhanced metafile (the whole file, header record first) onto a
// canvas whose mapping the caller has set up. Each record's size is checked against the
// bytes left, and every offset and count inside a record against the record's own size,
// before anything is read; comments (EMF+ among them) and unknown records are skipped.
//
// True when playing reached the end record or the end of the bytes; false when a record
// claims more bytes than are left or fewer than its own header.
bool PlayEmfRecords(std::span<const uint8_t> file, MetafileCanvas& canvas);

enum EmfType : uint32_t {
    kEmrHeader = 1,
    kEmrPolyBezier = 2,
    kEmrPolygon = 3,
    kEmrPolyline = 4,
    kEmrPolyBezierTo = 5,
    kEmrPolylineTo = 6,
    kEmrPolyPolyline = 7,
    kEmrPolyPolygon = 8,
    kEmrSetWindowExtEx = 9,
    kEmrSetWindowOrgEx = 10,
    kEmrSetViewportExtEx = 11,
    kEmrSetViewportOrgEx = 12,
    kEmrSetBrushOrgEx = 13,
    kEmrEof = 14,
    kEmrSetPixelV = 15,
    kEmrSetMapperFlags = 16,
    kEmrSetMapMode = 17,
    kEmrSetBkMode = 18,
    kEmrSetPolyFillMode = 19,
    kEmrSetRop2 = 20,
    kEmrSetStretchBltMode = 21,
    kEmrSetTextAlign = 22,
    kEmrSetColorAdjustment = 23,
    kEmrSetTextColor = 24,
    kEmrSetBkColor = 25,
    kEmrOffsetClipRgn = 26,
    kEmrMoveToEx = 27,
    kEmrSetMetaRgn = 28,
    kEmrExcludeClipRect = 29,
    kEmrIntersectClipRect = 30,
    kEmrScaleViewportExtEx = 31,
    kEmrScaleWindowExtEx = 32,
    kEmrSaveDc = 33,
    kEmrRestoreDc = 34,
    kEmrSetWorldTransform = 35,
    kEmrModifyWorldTransform = 36,
    kEmrSelectObject = 37,
    kEmrCreatePen = 38,
    kEmrCreateBrushIndirect = 39,
    kEmrDeleteObject = 40,
    kEmrAngleArc = 41,
    kEmrEllipse = 42,
    kEmrRectangle = 43,
    kEmrRoundRect = 44,
    kEmrArc = 45,
    kEmrChord = 46,
    kEmrPie = 47,
    kEmrSelectPalette = 48,
    kEmrCreatePalette = 49,
    kEmrSetPaletteEntries = 50,
    kEmrResizePalette = 51,
    kEmrRealizePalette = 52,
    kEmrExtFloodFill = 53,
    kEmrLineTo = 54,
    kEmrArcTo = 55,
    kEmrPolyDraw = 56,
    kEmrSetArcDirection = 57,
    kEmrSetMiterLimit = 58,
    kEmrBeginPath = 59,
    kEmrEndPath = 60,
    kEmrCloseFigure = 61,
    kEmrFillPath = 62,
    kEmrStrokeAndFillPath = 63,
    kEmrStrokePath = 64,
    kEmrFlattenPath = 65,
    kEmrWidenPath = 66,
    kEmrSelectClipPath = 67,
    kEmrAbortPath = 68,
    kEmrGdiComment = 70,
    kEmrFillRgn = 71,
    kEmrFrameRgn = 72,
    kEmrInvertRgn = 73,
    kEmrPaintRgn = 74,
    kEmrExtSelectClipRgn = 75,
    kEmrBitBlt = 76,
    kEmrStretchBlt = 77,
    kEmrMaskBlt = 78,
    kEmrPlgBlt = 79,
    kEmrSetDiBitsToDevice = 80,
    kEmrStretchDiBits = 81,
    kEmrExtCreateFontIndirectW = 82,
    kEmrExtTextOutA = 83,
    kEmrExtTextOutW = 84,
    kEmrPolyBezier16 = 85,
    kEmrPolygon16 = 86,
    kEmrPolyline16 = 87,
    kEmrPolyBezierTo16 = 88,
    kEmrPolylineTo16 = 89,
    kEmrPolyPolyline16 = 90,
    kEmrPolyPolygon16 = 91,
    kEmrPolyDraw16 = 92,
    kEmrCreateMonoBrush = 93,
    kEmrCreateDibPatternBrushPt = 94,
    kEmrExtCreatePen = 95,
    kEmrSetIcmMode = 98,
    kEmrCreateColorSpace = 99,
    kEmrSetColorSpace = 100,
    kEmrDeleteColorSpace = 101,
    kEmrSmallTextOut = 108,
    kEmrAlphaBlend = 114,
    kEmrSetLayout = 115,
    kEmrTransparentBlt = 116,
    kEmrGradientFill = 118,
    kEmrSetTextJustification = 120,
    kEmrCreateColorSpaceW = 122,
};

// One enhanced metafile being played. Play routes each record to its handler; a handler
// reads all its fields, checks the reader once and then acts on the canvas. Readers start
// after the record's type and size, and Record() is the whole record, since bitmaps,
// strings and advances lie at offsets counted from its start. The handlers live by
// concern: emfplayer_state.cpp (mapping, world transform, modes, colours, saved states),
// emfplayer_drawing.cpp (lines, curves, shapes, paths, painted regions, text),
// emfplayer_objects.cpp (object creation, stock objects, selection, clipping) and
// emfplayer_bitmaps.cpp (block transfers, blends and gradients).
class EmfPlayer {
public:
    explicit EmfPlayer(MetafileCanvas& canvas);

    // record: the whole record, type and size included.
    void Play(uint32_t type, std::span<const uint8_t> record);

private:
    // What a run of points becomes.
    enum class PolyKind { Bezier, Polygon, Polyline, BezierTo, PolylineTo };

    // State.
    void SetExtent(QPointF& extent, RecordReader& r);
    void ScaleExtent(QPointF& extent, RecordReader& r);
    void SetOrigin(QPointF& origin, RecordReader& r);
    void SetMapMode(RecordReader& r);
    void SetBkMode(RecordReader& r);
    void SetPolyFillMode(RecordReader& r);
    void SetRop2(RecordReader& r);
    void SetStretchBltMode(RecordReader& r);
    void SetTextAlign(RecordReader& r);
    void SetColour(QColor& colour, RecordReader& r);
    void SetArcDirection(RecordReader& r);
    void SetMiterLimit(RecordReader& r);
    void RestoreDc(RecordReader& r);
    void SetWorldTransform(RecordReader& r);
    void ModifyWorldTransform(RecordReader& r);

    // Drawing. FieldWidth::Short marks the records with 16-bit points.
    void Poly(PolyKind kind, FieldWidth width, RecordReader& r);
    void PolyPolyline(FieldWidth width, RecordReader& r);
    void PolyPolygon(FieldWidth width, RecordReader& r);
    void PolyDraw(FieldWidth width, RecordReader& r);
    void MoveTo(RecordReader& r);
    void LineTo(RecordReader& r);
    void SetPixel(RecordReader& r);
    void AngleArc(RecordReader& r);
    void Rectangle(RecordReader& r);
    void Ellipse(RecordReader& r);
    void RoundRect(RecordReader& r);
    void ArcShape(ArcKind kind, RecordReader& r);
    void ArcTo(RecordReader& r);
    // Regions painted with a brush of the table (fill, frame) or the selected one (paint).
    void FillRegion(RecordReader& r);
    void FrameRegion(RecordReader& r);
    void PaintRegion(RecordReader& r);
    void InvertRegion(RecordReader& r);
    // UTF-16 strings (wide) or one-byte strings in the font's character set.
    void ExtTextOut(bool wide, RecordReader& r);
    // The compact form: no advances, the string in UTF-16 or, with the small-characters
    // option, one byte a character.
    void SmallTextOut(RecordReader& r);

    // Objects, created into the slot each record names, and clipping.
    void SelectObject(RecordReader& r);
    void DeleteObject(RecordReader& r);
    void CreatePen(RecordReader& r);
    void ExtCreatePen(RecordReader& r);
    void CreateBrush(RecordReader& r);
    // Monochrome and device-independent pattern brushes: a bitmap at offsets in the record.
    void CreatePatternBrush(RecordReader& r, bool monochrome);
    void CreateFont(RecordReader& r);
    // Palettes and colour spaces: they take their slot and draw nothing.
    void CreatePlaceholder(RecordReader& r);
    void OffsetClipRegion(RecordReader& r);
    void IntersectClipRect(RecordReader& r);
    void ExcludeClipRect(RecordReader& r);
    void SelectClipPath(RecordReader& r);
    void SelectClipRegion(RecordReader& r);
    void Put(uint32_t index, GdiObject object);
    // The brush in a slot or a stock brush; nothing for anything else.
    std::optional<GdiBrush> BrushAt(uint32_t index) const;

    // Bitmaps.
    void BitBlt(bool stretch, RecordReader& r);
    void StretchDiBits(RecordReader& r);
    void SetDiBitsToDevice(RecordReader& r);
    // Blends with the bitmap's own premultiplied alpha and a constant opacity.
    void AlphaBlend(RecordReader& r);
    // Copies all but the pixels of one colour.
    void TransparentBlt(RecordReader& r);
    // Rectangles shaded left to right or top to bottom, and shaded triangles.
    void GradientFill(RecordReader& r);

    MetafileCanvas& canvas_;
    DeviceState& state_;
};

// Region data: a 32-byte header (its size, type, rectangle count, data size, bounds)
// then the rectangles, in reference-device units.
constexpr size_t kRegionHeaderSize = 32;

// Reads region data into out; false when the header or the rectangles it counts are not
// all there, or when more rectangles than a region can reasonably hold come unsorted.
bool ReadRegionData(std::span<const uint8_t> data, QRegion& out);

// Fields of the enhanced records that several handlers read the same way.
QRectF ReadEmfRect(RecordReader& r); // left, top, right, bottom
QPointF ReadEmfPoint(RecordReader& r);
constexpr size_t kEmfBoundsSize = 16; // the bounds rectangle many records start with

// Where a bitmap lies in its record: its information block (header, masks, colour table)
// and its bits, each by offset from the record's start and size.
struct BitmapPlace {
    uint32_t offBmi = 0;
    uint32_t cbBmi = 0;
    uint32_t offBits = 0;
    uint32_t cbBits = 0;
};
// The four fields in the order every record stores them.
BitmapPlace ReadBitmapPlace(RecordReader& r);
// The bitmap at place, decoded within the canvas's pixel budget; null when the offsets and
// sizes do not lie inside the record or the bitmap does not decode.
Dib DecodeDibAt(MetafileCanvas& canvas, std::span<const uint8_t> record, const BitmapPlace& place,
                uint32_t usage, bool premultipliedAlpha = false, int32_t shrink = 1);

} // namespace figures
