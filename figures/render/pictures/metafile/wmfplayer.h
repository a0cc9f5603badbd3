#pragma once

#include "figures/render/pictures/metafile/devicestate.h"
#include "figures/render/pictures/metafile/metafilecanvas.h"

#include <QImage>

#include <cstdint>
#include <span>

namespace figures {

class RecordReader;

// Plays the records of a placeable metafile (the bytes after its two headers) onto a
// canvas whose mapping the caller has set up. Each record's size is checked against the
// bytes left before it is read; records the player does not know are skipped.
//
// True when playing reached the end record or the end of the bytes; false when a record
// claims more bytes than are left or fewer than its own header (what was drawn before it
// stays drawn).
bool PlayWmfRecords(std::span<const uint8_t> records, MetafileCanvas& canvas);

// Record functions. The high byte is the count of parameter words the record normally
// has, so a record is known by the whole value.
enum WmfFunction : uint16_t {
    kMetaEof = 0x0000,
    kMetaSaveDc = 0x001E,
    kMetaRealizePalette = 0x0035,
    kMetaSetPalEntries = 0x0037,
    kMetaCreatePalette = 0x00F7,
    kMetaSetBkMode = 0x0102,
    kMetaSetMapMode = 0x0103,
    kMetaSetRop2 = 0x0104,
    kMetaSetRelAbs = 0x0105,
    kMetaSetPolyFillMode = 0x0106,
    kMetaSetStretchBltMode = 0x0107,
    kMetaSetTextCharExtra = 0x0108,
    kMetaRestoreDc = 0x0127,
    kMetaInvertRegion = 0x012A,
    kMetaPaintRegion = 0x012B,
    kMetaSelectClipRegion = 0x012C,
    kMetaSelectObject = 0x012D,
    kMetaSetTextAlign = 0x012E,
    kMetaResizePalette = 0x0139,
    kMetaDibCreatePatternBrush = 0x0142,
    kMetaSetLayout = 0x0149,
    kMetaDeleteObject = 0x01F0,
    kMetaCreatePatternBrush = 0x01F9,
    kMetaSetBkColor = 0x0201,
    kMetaSetTextColor = 0x0209,
    kMetaSetTextJustification = 0x020A,
    kMetaSetWindowOrg = 0x020B,
    kMetaSetWindowExt = 0x020C,
    kMetaSetViewportOrg = 0x020D,
    kMetaSetViewportExt = 0x020E,
    kMetaOffsetWindowOrg = 0x020F,
    kMetaOffsetViewportOrg = 0x0211,
    kMetaLineTo = 0x0213,
    kMetaMoveTo = 0x0214,
    kMetaOffsetClipRgn = 0x0220,
    kMetaFillRegion = 0x0228,
    kMetaSetMapperFlags = 0x0231,
    kMetaSelectPalette = 0x0234,
    kMetaCreatePenIndirect = 0x02FA,
    kMetaCreateFontIndirect = 0x02FB,
    kMetaCreateBrushIndirect = 0x02FC,
    kMetaPolygon = 0x0324,
    kMetaPolyline = 0x0325,
    kMetaScaleWindowExt = 0x0410,
    kMetaScaleViewportExt = 0x0412,
    kMetaExcludeClipRect = 0x0415,
    kMetaIntersectClipRect = 0x0416,
    kMetaEllipse = 0x0418,
    kMetaFloodFill = 0x0419,
    kMetaRectangle = 0x041B,
    kMetaSetPixel = 0x041F,
    kMetaFrameRegion = 0x0429,
    kMetaAnimatePalette = 0x0436,
    kMetaTextOut = 0x0521,
    kMetaPolyPolygon = 0x0538,
    kMetaExtFloodFill = 0x0548,
    kMetaRoundRect = 0x061C,
    kMetaPatBlt = 0x061D,
    kMetaEscape = 0x0626,
    kMetaCreateRegion = 0x06FF,
    kMetaArc = 0x0817,
    kMetaPie = 0x081A,
    kMetaChord = 0x0830,
    kMetaBitBlt = 0x0922,
    kMetaDibBitBlt = 0x0940,
    kMetaExtTextOut = 0x0A32,
    kMetaStretchBlt = 0x0B23,
    kMetaDibStretchBlt = 0x0B41,
    kMetaSetDibToDev = 0x0D33,
    kMetaStretchDib = 0x0F43,
};

// One placeable metafile being played. Play routes each record to its handler; a handler
// reads all its parameters, checks the reader once and then acts on the canvas, so a
// short record changes nothing. The handlers live by concern: wmfplayer_state.cpp
// (mapping, modes, colours, saved states), wmfplayer_drawing.cpp (lines, shapes, text,
// painted regions), wmfplayer_objects.cpp (object creation and selection, clipping) and
// wmfplayer_bitmaps.cpp (block transfers and the bitmaps they carry).
class WmfPlayer {
public:
    explicit WmfPlayer(MetafileCanvas& canvas);

    // params: the record without its size and function.
    void Play(uint16_t function, std::span<const uint8_t> params);

private:
    enum class BlitKind { Bitmap16, Dib };

    // State.
    void RestoreDc(RecordReader& r);
    void SetBkMode(RecordReader& r);
    void SetMapMode(RecordReader& r);
    void SetRop2(RecordReader& r);
    void SetPolyFillMode(RecordReader& r);
    void SetStretchBltMode(RecordReader& r);
    void SetTextCharExtra(RecordReader& r);
    void SetTextAlign(RecordReader& r);
    void SetColour(QColor& colour, RecordReader& r);
    void SetOrigin(QPointF& origin, RecordReader& r);
    void OffsetOrigin(QPointF& origin, RecordReader& r);
    void SetExtent(QPointF& extent, RecordReader& r);
    void ScaleExtent(QPointF& extent, RecordReader& r);

    // Drawing.
    void MoveTo(RecordReader& r);
    void LineTo(RecordReader& r);
    void Polyline(RecordReader& r);
    void Polygon(RecordReader& r);
    void PolyPolygon(RecordReader& r);
    void Rectangle(RecordReader& r);
    void Ellipse(RecordReader& r);
    void RoundRect(RecordReader& r);
    void ArcShape(ArcKind kind, RecordReader& r);
    void SetPixel(RecordReader& r);
    void TextOut(RecordReader& r);
    void ExtTextOut(RecordReader& r);
    void FillRegion(RecordReader& r);
    void FrameRegion(RecordReader& r);
    void PaintRegion(RecordReader& r);
    void InvertRegion(RecordReader& r);

    // Objects and clipping. A creation record that does not read still takes its slot
    // (with a placeholder), so that the objects after it keep the numbers the file gives
    // them.
    void CreatePen(RecordReader& r);
    void CreateBrush(RecordReader& r);
    void CreateFont(RecordReader& r);
    void CreateRegion(RecordReader& r);
    // The old monochrome pattern and the device-independent one.
    void CreatePatternBrush(RecordReader& r);
    void CreateDibPatternBrush(RecordReader& r);
    void CreatePlaceholder();
    void SelectObject(RecordReader& r);
    void DeleteObject(RecordReader& r);
    void SelectClipRegion(RecordReader& r);
    void OffsetClipRegion(RecordReader& r);
    void IntersectClipRect(RecordReader& r);
    void ExcludeClipRect(RecordReader& r);
    void Add(GdiObject object);
    // Null when the slot is empty or holds something else.
    const GdiRegion* RegionAt(uint32_t index) const;
    const GdiBrush* BrushAt(uint32_t index) const;
    // A region object's rectangles on the device; empty when they need a path.
    QRegion DeviceRegion(const GdiRegion& region) const;
    // Four 16-bit values in the order the records store a rectangle: bottom, right, top,
    // left.
    static QRectF ReadReversedRect(RecordReader& r);

    // Bitmaps.
    void PatBlt(RecordReader& r);
    void Blit(BlitKind kind, bool stretch, RecordReader& r);
    void StretchDib(RecordReader& r);
    void SetDibToDevice(RecordReader& r);
    // Old device-dependent bitmaps (patterns and the older blits): a header of type,
    // width, height, bytes per row, planes and bits per pixel, then reserved bytes, then
    // the rows, top first. Monochrome ones take the text colour for 0 bits and the
    // background colour for 1 bits; 24- and 32-bit ones hold blue, green, red. Other
    // depths depended on the recording display and give a null image.
    QImage DecodeBitmap16(RecordReader& r, size_t reserved = 0) const;

    MetafileCanvas& canvas_;
    DeviceState& state_;
};

} // namespace figures
