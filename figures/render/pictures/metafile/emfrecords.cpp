#include "figures/render/pictures/metafile/emfrecords.h"

#include "figures/render/pictures/metafile/emfbitmaps.h"
#include "figures/render/pictures/metafile/emfobjects.h"
#include "figures/render/pictures/metafile/emftext.h"
#include "figures/render/pictures/metafile/metafilecanvas.h"
#include "figures/render/pictures/metafile/recordreader.h"

#include <cmath>

namespace figures {

namespace {

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

constexpr size_t kRecordHeader = 8; // type and size, both u32
constexpr size_t kBoundsSize = 16;  // the bounds rectangle many records start with

// Reads n points, 32-bit (wide) or 16-bit coordinates.
bool ReadPoints(RecordReader& r, uint64_t n, bool wide, std::vector<QPointF>& points)
{
    if (!r.Has(n, wide ? 8 : 4)) {
        return false;
    }
    points.resize(size_t(n));
    for (QPointF& p : points) {
        if (wide) {
            const int32_t x = r.I32();
            const int32_t y = r.I32();
            p = QPointF(x, y);
        } else {
            const int16_t x = r.I16();
            const int16_t y = r.I16();
            p = QPointF(x, y);
        }
    }
    return true;
}

QRectF ReadRect(RecordReader& r)
{
    const int32_t left = r.I32();
    const int32_t top = r.I32();
    const int32_t right = r.I32();
    const int32_t bottom = r.I32();
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

QPointF ReadPoint(RecordReader& r)
{
    const int32_t x = r.I32();
    const int32_t y = r.I32();
    return QPointF(x, y);
}

// A transform of six floats; false when any is not a finite number.
bool ReadTransform(RecordReader& r, QTransform& out)
{
    float m[6];
    for (float& v : m) {
        v = r.F32();
        if (!std::isfinite(v) || std::abs(v) > 1e12f) {
            return false;
        }
    }
    out = QTransform(m[0], m[1], m[2], m[3], m[4], m[5]);
    return r.Ok();
}

class EmfPlayer {
public:
    explicit EmfPlayer(MetafileCanvas& canvas)
        : canvas_(canvas), state_(canvas.State()), objects_(canvas)
    {}

    void Play(uint32_t type, std::span<const uint8_t> record);

private:
    void Poly(uint32_t type, RecordReader& r);
    void PolyPoly(uint32_t type, RecordReader& r);
    void PolyDraw(bool wide, RecordReader& r);
    void SetExtent(QPointF& extent, RecordReader& r);
    void ScaleExtent(QPointF& extent, RecordReader& r);
    void ModifyWorldTransform(RecordReader& r);
    void Shape(uint32_t type, RecordReader& r);
    void ClipRegion(RecordReader& r);
    void RegionPaint(uint32_t type, RecordReader& r);

    MetafileCanvas& canvas_;
    DeviceState& state_;
    EmfObjects objects_;
};

} // namespace

bool PlayEmfRecords(std::span<const uint8_t> file, MetafileCanvas& canvas)
{
    EmfPlayer player(canvas);
    size_t at = 0;
    while (file.size() - at >= kRecordHeader) {
        RecordReader header(file, at);
        const uint32_t type = header.U32();
        const uint32_t size = header.U32();
        if (size < kRecordHeader || size > file.size() - at) {
            return false;
        }
        if (type == kEmrEof) {
            return true;
        }
        player.Play(type, file.subspan(at, size));
        at += size;
    }
    return true;
}

namespace {

void EmfPlayer::Poly(uint32_t type, RecordReader& r)
{
    const bool wide = type < kEmrPolyBezier16;
    r.Skip(kBoundsSize);
    const uint32_t count = r.U32();
    std::vector<QPointF> points;
    if (!r.Ok() || !ReadPoints(r, count, wide, points)) {
        return;
    }
    switch (type) {
    case kEmrPolyBezier:
    case kEmrPolyBezier16: canvas_.PolyBezier(points); break;
    case kEmrPolygon:
    case kEmrPolygon16: canvas_.PolyPolygon({points}); break;
    case kEmrPolyline:
    case kEmrPolyline16: canvas_.Polyline(points); break;
    case kEmrPolyBezierTo:
    case kEmrPolyBezierTo16: canvas_.PolyBezierTo(points); break;
    case kEmrPolylineTo:
    case kEmrPolylineTo16: canvas_.PolylineTo(points); break;
    default: break;
    }
}

void EmfPlayer::PolyPoly(uint32_t type, RecordReader& r)
{
    const bool wide = type == kEmrPolyPolyline || type == kEmrPolyPolygon;
    r.Skip(kBoundsSize);
    const uint32_t figures = r.U32();
    const uint32_t total = r.U32();
    if (!r.Ok() || !r.Has(figures, 4)) {
        return;
    }
    std::vector<uint32_t> counts(figures);
    uint64_t sum = 0;
    for (uint32_t& n : counts) {
        n = r.U32();
        sum += n;
    }
    if (sum > total || !r.Has(sum, wide ? 8 : 4)) {
        return;
    }
    std::vector<std::vector<QPointF>> lists(figures);
    for (size_t i = 0; i < figures; ++i) {
        ReadPoints(r, counts[i], wide, lists[i]);
    }
    if (type == kEmrPolyPolyline || type == kEmrPolyPolyline16) {
        canvas_.PolyPolyline(lists);
    } else {
        canvas_.PolyPolygon(lists);
    }
}

void EmfPlayer::PolyDraw(bool wide, RecordReader& r)
{
    r.Skip(kBoundsSize);
    const uint32_t count = r.U32();
    std::vector<QPointF> points;
    if (!r.Ok() || !ReadPoints(r, count, wide, points)) {
        return;
    }
    const std::span<const uint8_t> types = r.Bytes(count);
    if (r.Ok()) {
        canvas_.PolyDraw(points, types);
    }
}

void EmfPlayer::SetExtent(QPointF& extent, RecordReader& r)
{
    const int32_t x = r.I32();
    const int32_t y = r.I32();
    // A zero extent would collapse the mapping; the platform refuses it.
    if (r.Ok() && x != 0 && y != 0) {
        extent = QPointF(x, y);
    }
}

void EmfPlayer::ScaleExtent(QPointF& extent, RecordReader& r)
{
    const int32_t xNum = r.I32();
    const int32_t xDenom = r.I32();
    const int32_t yNum = r.I32();
    const int32_t yDenom = r.I32();
    if (r.Ok()) {
        ScaleExtentBy(extent, xNum, xDenom, yNum, yDenom);
    }
}

void EmfPlayer::ModifyWorldTransform(RecordReader& r)
{
    constexpr uint32_t kIdentity = 1;
    constexpr uint32_t kLeftMultiply = 2;
    constexpr uint32_t kRightMultiply = 3;
    constexpr uint32_t kSet = 4;
    QTransform x;
    const bool valid = ReadTransform(r, x);
    const uint32_t mode = r.U32();
    if (!r.Ok()) {
        return;
    }
    QTransform world = state_.world;
    switch (mode) {
    case kIdentity: world = QTransform(); break;
    case kLeftMultiply: world = valid ? x * world : world; break; // x applies first
    case kRightMultiply: world = valid ? world * x : world; break;
    case kSet: world = valid ? x : world; break;
    default: break;
    }
    // Products of many transforms can still run away; those are refused as a whole.
    if (std::isfinite(world.m11()) && std::isfinite(world.m12()) && std::isfinite(world.m21()) &&
        std::isfinite(world.m22()) && std::isfinite(world.dx()) && std::isfinite(world.dy()) &&
        std::abs(world.determinant()) < 1e24) {
        state_.world = world;
    }
}

void EmfPlayer::Shape(uint32_t type, RecordReader& r)
{
    const QRectF box = ReadRect(r);
    if (type == kEmrRectangle || type == kEmrEllipse) {
        if (r.Ok()) {
            type == kEmrRectangle ? canvas_.Rectangle(box) : canvas_.Ellipse(box);
        }
        return;
    }
    if (type == kEmrRoundRect) {
        const QPointF corner = ReadPoint(r);
        if (r.Ok()) {
            canvas_.RoundRect(box, QSizeF(corner.x(), corner.y()));
        }
        return;
    }
    const QPointF start = ReadPoint(r);
    const QPointF end = ReadPoint(r);
    if (!r.Ok()) {
        return;
    }
    switch (type) {
    case kEmrArc: canvas_.ArcShape(ArcKind::Arc, box, start, end); break;
    case kEmrChord: canvas_.ArcShape(ArcKind::Chord, box, start, end); break;
    case kEmrPie: canvas_.ArcShape(ArcKind::Pie, box, start, end); break;
    case kEmrArcTo: canvas_.ArcTo(box, start, end); break;
    default: break;
    }
}

void EmfPlayer::ClipRegion(RecordReader& r)
{
    const uint32_t dataSize = r.U32();
    const uint32_t mode = r.U32();
    if (!r.Ok()) {
        return;
    }
    const std::span<const uint8_t> data = r.Bytes(std::min<size_t>(dataSize, r.Remaining()));
    if (mode == uint32_t(kRgnCopy) && data.size() < kRegionHeaderSize) {
        canvas_.CombineClipWith(ClipArea{}, kRgnCopy); // back to no clipping
        return;
    }
    QRegion region;
    if (ReadRegionData(data, region)) {
        ClipArea shape;
        shape.active = true;
        shape.region = region;
        canvas_.CombineClipWith(shape, int32_t(mode));
    }
}

void EmfPlayer::RegionPaint(uint32_t type, RecordReader& r)
{
    r.Skip(kBoundsSize);
    const uint32_t dataSize = r.U32();
    uint32_t brushIndex = 0;
    QSizeF stroke;
    if (type == kEmrFillRgn || type == kEmrFrameRgn) {
        brushIndex = r.U32();
    }
    if (type == kEmrFrameRgn) {
        const int32_t w = r.I32();
        const int32_t h = r.I32();
        stroke = QSizeF(w, h);
    }
    const std::span<const uint8_t> data = r.Bytes(dataSize);
    QRegion region;
    if (!r.Ok() || !ReadRegionData(data, region)) {
        return;
    }
    GdiBrush brush = state_.brush;
    if (type == kEmrFillRgn || type == kEmrFrameRgn) {
        const std::optional<GdiBrush> chosen = objects_.BrushAt(brushIndex);
        if (!chosen) {
            return;
        }
        brush = *chosen;
    }
    switch (type) {
    case kEmrFillRgn:
    case kEmrPaintRgn: canvas_.FillRegion(region, brush); break;
    case kEmrFrameRgn: canvas_.FrameRegion(region, brush, stroke); break;
    case kEmrInvertRgn: canvas_.InvertRegion(region); break;
    default: break;
    }
}

void EmfPlayer::Play(uint32_t type, std::span<const uint8_t> record)
{
    RecordReader r(record, kRecordHeader);
    switch (type) {
    case kEmrPolyBezier:
    case kEmrPolygon:
    case kEmrPolyline:
    case kEmrPolyBezierTo:
    case kEmrPolylineTo:
    case kEmrPolyBezier16:
    case kEmrPolygon16:
    case kEmrPolyline16:
    case kEmrPolyBezierTo16:
    case kEmrPolylineTo16: Poly(type, r); break;
    case kEmrPolyPolyline:
    case kEmrPolyPolygon:
    case kEmrPolyPolyline16:
    case kEmrPolyPolygon16: PolyPoly(type, r); break;
    case kEmrPolyDraw: PolyDraw(true, r); break;
    case kEmrPolyDraw16: PolyDraw(false, r); break;
    case kEmrSetWindowExtEx: SetExtent(state_.windowExt, r); break;
    case kEmrSetViewportExtEx: SetExtent(state_.viewportExt, r); break;
    case kEmrScaleWindowExtEx: ScaleExtent(state_.windowExt, r); break;
    case kEmrScaleViewportExtEx: ScaleExtent(state_.viewportExt, r); break;
    case kEmrSetWindowOrgEx:
    case kEmrSetViewportOrgEx:
    case kEmrSetBrushOrgEx: {
        const QPointF p = ReadPoint(r);
        if (r.Ok()) {
            (type == kEmrSetWindowOrgEx     ? state_.windowOrg
             : type == kEmrSetViewportOrgEx ? state_.viewportOrg
                                            : state_.brushOrg) = p;
        }
        break;
    }
    case kEmrSetPixelV: {
        const QPointF p = ReadPoint(r);
        const uint32_t colour = r.U32();
        if (r.Ok()) {
            canvas_.SetPixel(p, ColourRef(colour));
        }
        break;
    }
    case kEmrSetMapMode:
    case kEmrSetBkMode:
    case kEmrSetPolyFillMode:
    case kEmrSetRop2:
    case kEmrSetStretchBltMode:
    case kEmrSetTextAlign:
    case kEmrSetTextColor:
    case kEmrSetBkColor:
    case kEmrSetArcDirection: {
        const uint32_t v = r.U32();
        if (!r.Ok()) {
            break;
        }
        switch (type) {
        case kEmrSetMapMode:
            if (v >= 1 && v <= 8) {
                state_.SetMapMode(MapMode(v));
            }
            break;
        case kEmrSetBkMode:
            if (v == uint32_t(kBkTransparent) || v == uint32_t(kBkOpaque)) {
                state_.bkMode = int32_t(v);
            }
            break;
        case kEmrSetPolyFillMode:
            if (v == 1 || v == 2) {
                state_.windingFill = v == 2;
            }
            break;
        case kEmrSetRop2:
            if (v >= 1 && v <= 16) {
                state_.rop2 = int32_t(v);
            }
            break;
        case kEmrSetStretchBltMode: state_.stretchMode = int32_t(v & 0xFF); break;
        case kEmrSetTextAlign: state_.textAlign = v; break;
        case kEmrSetTextColor: state_.textColour = ColourRef(v); break;
        case kEmrSetBkColor: state_.bkColour = ColourRef(v); break;
        case kEmrSetArcDirection:
            if (v == 1 || v == 2) {
                state_.clockwise = v == 2;
            }
            break;
        default: break;
        }
        break;
    }
    case kEmrSetMiterLimit: {
        // Written as a float by most recorders and as an integer by some.
        RecordReader asInteger = r;
        const float limit = r.F32();
        const uint32_t integer = asInteger.U32();
        if (r.Ok() && std::isfinite(limit) && limit >= 1 && limit <= 1000) {
            state_.miterLimit = limit;
        } else if (r.Ok() && integer >= 1 && integer <= 1000) {
            state_.miterLimit = integer;
        }
        break;
    }
    case kEmrOffsetClipRgn: {
        const QPointF offset = ReadPoint(r);
        if (r.Ok()) {
            canvas_.OffsetClip(offset);
        }
        break;
    }
    case kEmrMoveToEx:
    case kEmrLineTo: {
        const QPointF p = ReadPoint(r);
        if (r.Ok()) {
            type == kEmrMoveToEx ? canvas_.MoveTo(p) : canvas_.LineTo(p);
        }
        break;
    }
    case kEmrExcludeClipRect:
    case kEmrIntersectClipRect: {
        const QRectF box = ReadRect(r);
        if (r.Ok()) {
            type == kEmrIntersectClipRect ? canvas_.IntersectClipRect(box)
                                          : canvas_.ExcludeClipRect(box);
        }
        break;
    }
    case kEmrSaveDc: canvas_.SaveState(); break;
    case kEmrRestoreDc: {
        const int32_t which = r.I32();
        // Enhanced metafiles restore relative to the current level only.
        if (r.Ok() && which < 0) {
            canvas_.RestoreState(which);
        }
        break;
    }
    case kEmrSetWorldTransform: {
        QTransform world;
        if (ReadTransform(r, world)) {
            state_.world = world;
        }
        break;
    }
    case kEmrModifyWorldTransform: ModifyWorldTransform(r); break;
    case kEmrSelectObject: objects_.Select(r); break;
    case kEmrDeleteObject:
    case kEmrDeleteColorSpace: objects_.Delete(r); break;
    case kEmrCreatePen: objects_.CreatePen(r); break;
    case kEmrExtCreatePen: objects_.ExtCreatePen(r); break;
    case kEmrCreateBrushIndirect: objects_.CreateBrush(r); break;
    case kEmrCreateMonoBrush:
    case kEmrCreateDibPatternBrushPt: objects_.CreatePatternBrush(r); break;
    case kEmrExtCreateFontIndirectW: objects_.CreateFont(r); break;
    case kEmrCreatePalette:
    case kEmrCreateColorSpace:
    case kEmrCreateColorSpaceW: objects_.CreatePlaceholder(r); break;
    case kEmrAngleArc: {
        const QPointF centre = ReadPoint(r);
        const uint32_t radius = r.U32();
        const float start = r.F32();
        const float sweep = r.F32();
        if (r.Ok()) {
            canvas_.AngleArc(centre, radius, start, sweep);
        }
        break;
    }
    case kEmrEllipse:
    case kEmrRectangle:
    case kEmrRoundRect:
    case kEmrArc:
    case kEmrChord:
    case kEmrPie:
    case kEmrArcTo: Shape(type, r); break;
    case kEmrBeginPath: canvas_.BeginPath(); break;
    case kEmrEndPath: canvas_.EndPath(); break;
    case kEmrCloseFigure: canvas_.CloseFigure(); break;
    case kEmrFillPath: canvas_.FillPath(); break;
    case kEmrStrokeAndFillPath: canvas_.StrokeAndFillPath(); break;
    case kEmrStrokePath: canvas_.StrokePath(); break;
    case kEmrWidenPath: canvas_.WidenPath(); break;
    case kEmrAbortPath: canvas_.AbortPath(); break;
    case kEmrSelectClipPath: {
        const uint32_t mode = r.U32();
        if (r.Ok()) {
            canvas_.SelectClipPath(int32_t(mode));
        }
        break;
    }
    case kEmrExtSelectClipRgn: ClipRegion(r); break;
    case kEmrFillRgn:
    case kEmrFrameRgn:
    case kEmrInvertRgn:
    case kEmrPaintRgn: RegionPaint(type, r); break;
    case kEmrBitBlt: PlayBitBlt(canvas_, record, false); break;
    case kEmrStretchBlt: PlayBitBlt(canvas_, record, true); break;
    case kEmrStretchDiBits: PlayStretchDiBits(canvas_, record); break;
    case kEmrSetDiBitsToDevice: PlaySetDiBitsToDevice(canvas_, record); break;
    case kEmrAlphaBlend: PlayAlphaBlend(canvas_, record); break;
    case kEmrTransparentBlt: PlayTransparentBlt(canvas_, record); break;
    case kEmrGradientFill: PlayGradientFill(canvas_, record); break;
    case kEmrExtTextOutW: PlayExtTextOut(canvas_, record, true); break;
    case kEmrExtTextOutA: PlayExtTextOut(canvas_, record, false); break;
    case kEmrSmallTextOut: PlaySmallTextOut(canvas_, record); break;

    // Records with nothing to draw here: the header (read by the player), comments (EMF+
    // records among them, skipped as the platform's picture object does), palettes
    // (colours are true colours), colour management, layout and font-mapping hints, the
    // meta region (the clip keeps restricting drawing until it is next replaced), path
    // flattening (curves already draw smooth), flood fills, which would read back the
    // output, and the masked and parallelogram blits.
    case kEmrHeader:
    case kEmrGdiComment:
    case kEmrSelectPalette:
    case kEmrSetPaletteEntries:
    case kEmrResizePalette:
    case kEmrRealizePalette:
    case kEmrSetColorAdjustment:
    case kEmrSetIcmMode:
    case kEmrSetColorSpace:
    case kEmrSetMapperFlags:
    case kEmrSetLayout:
    case kEmrSetTextJustification:
    case kEmrSetMetaRgn:
    case kEmrFlattenPath:
    case kEmrExtFloodFill:
    case kEmrMaskBlt:
    case kEmrPlgBlt:
    default: break;
    }
}

} // namespace

} // namespace figures
