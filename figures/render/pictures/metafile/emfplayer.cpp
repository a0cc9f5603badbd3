#include "figures/render/pictures/metafile/emfplayer.h"

#include "figures/render/pictures/metafile/emfplusplayer.h"
#include "figures/render/pictures/metafile/recordreader.h"

namespace figures {

namespace {

constexpr size_t kRecordHeader = 8; // type and size, both u32
constexpr FieldWidth kLong = FieldWidth::Long;
constexpr FieldWidth kShort = FieldWidth::Short;

} // namespace

bool PlayEmfRecords(std::span<const uint8_t> file, MetafileCanvas& canvas)
{
    EmfPlayer player(canvas);
    EmfPlusPlayer plus(canvas);
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
        if (type == kEmrGdiComment) {
            plus.PlayComment(file.subspan(at, size));
        }
        player.Play(type, file.subspan(at, size));
        at += size;
    }
    return true;
}

EmfPlayer::EmfPlayer(MetafileCanvas& canvas) : canvas_(canvas), state_(canvas.State()) {}

void EmfPlayer::Play(uint32_t type, std::span<const uint8_t> record)
{
    RecordReader r(record, kRecordHeader);
    switch (type) {
    case kEmrSetWindowExtEx: SetExtent(state_.windowExt, r); break;
    case kEmrSetViewportExtEx: SetExtent(state_.viewportExt, r); break;
    case kEmrScaleWindowExtEx: ScaleExtent(state_.windowExt, r); break;
    case kEmrScaleViewportExtEx: ScaleExtent(state_.viewportExt, r); break;
    case kEmrSetWindowOrgEx: SetOrigin(state_.windowOrg, r); break;
    case kEmrSetViewportOrgEx: SetOrigin(state_.viewportOrg, r); break;
    case kEmrSetBrushOrgEx: SetOrigin(state_.brushOrg, r); break;
    case kEmrSetMapMode: SetMapMode(r); break;
    case kEmrSetBkMode: SetBkMode(r); break;
    case kEmrSetPolyFillMode: SetPolyFillMode(r); break;
    case kEmrSetRop2: SetRop2(r); break;
    case kEmrSetStretchBltMode: SetStretchBltMode(r); break;
    case kEmrSetTextAlign: SetTextAlign(r); break;
    case kEmrSetTextColor: SetColour(state_.textColour, r); break;
    case kEmrSetBkColor: SetColour(state_.bkColour, r); break;
    case kEmrSetArcDirection: SetArcDirection(r); break;
    case kEmrSetMiterLimit: SetMiterLimit(r); break;
    case kEmrSaveDc: canvas_.SaveState(); break;
    case kEmrRestoreDc: RestoreDc(r); break;
    case kEmrSetWorldTransform: SetWorldTransform(r); break;
    case kEmrModifyWorldTransform: ModifyWorldTransform(r); break;

    case kEmrPolyBezier: Poly(PolyKind::Bezier, kLong, r); break;
    case kEmrPolygon: Poly(PolyKind::Polygon, kLong, r); break;
    case kEmrPolyline: Poly(PolyKind::Polyline, kLong, r); break;
    case kEmrPolyBezierTo: Poly(PolyKind::BezierTo, kLong, r); break;
    case kEmrPolylineTo: Poly(PolyKind::PolylineTo, kLong, r); break;
    case kEmrPolyBezier16: Poly(PolyKind::Bezier, kShort, r); break;
    case kEmrPolygon16: Poly(PolyKind::Polygon, kShort, r); break;
    case kEmrPolyline16: Poly(PolyKind::Polyline, kShort, r); break;
    case kEmrPolyBezierTo16: Poly(PolyKind::BezierTo, kShort, r); break;
    case kEmrPolylineTo16: Poly(PolyKind::PolylineTo, kShort, r); break;
    case kEmrPolyPolyline: PolyPolyline(kLong, r); break;
    case kEmrPolyPolygon: PolyPolygon(kLong, r); break;
    case kEmrPolyPolyline16: PolyPolyline(kShort, r); break;
    case kEmrPolyPolygon16: PolyPolygon(kShort, r); break;
    case kEmrPolyDraw: PolyDraw(kLong, r); break;
    case kEmrPolyDraw16: PolyDraw(kShort, r); break;
    case kEmrMoveToEx: MoveTo(r); break;
    case kEmrLineTo: LineTo(r); break;
    case kEmrSetPixelV: SetPixel(r); break;
    case kEmrAngleArc: AngleArc(r); break;
    case kEmrRectangle: Rectangle(r); break;
    case kEmrEllipse: Ellipse(r); break;
    case kEmrRoundRect: RoundRect(r); break;
    case kEmrArc: ArcShape(ArcKind::Arc, r); break;
    case kEmrChord: ArcShape(ArcKind::Chord, r); break;
    case kEmrPie: ArcShape(ArcKind::Pie, r); break;
    case kEmrArcTo: ArcTo(r); break;
    case kEmrBeginPath: canvas_.BeginPath(); break;
    case kEmrEndPath: canvas_.EndPath(); break;
    case kEmrCloseFigure: canvas_.CloseFigure(); break;
    case kEmrFillPath: canvas_.FillPath(); break;
    case kEmrStrokeAndFillPath: canvas_.StrokeAndFillPath(); break;
    case kEmrStrokePath: canvas_.StrokePath(); break;
    case kEmrWidenPath: canvas_.WidenPath(); break;
    case kEmrAbortPath: canvas_.AbortPath(); break;
    case kEmrFillRgn: FillRegion(r); break;
    case kEmrFrameRgn: FrameRegion(r); break;
    case kEmrPaintRgn: PaintRegion(r); break;
    case kEmrInvertRgn: InvertRegion(r); break;
    case kEmrExtTextOutW: ExtTextOut(true, r); break;
    case kEmrExtTextOutA: ExtTextOut(false, r); break;
    case kEmrSmallTextOut: SmallTextOut(r); break;

    case kEmrSelectObject: SelectObject(r); break;
    case kEmrDeleteObject: DeleteObject(r); break;
    case kEmrDeleteColorSpace: DeleteObject(r); break;
    case kEmrCreatePen: CreatePen(r); break;
    case kEmrExtCreatePen: ExtCreatePen(r); break;
    case kEmrCreateBrushIndirect: CreateBrush(r); break;
    case kEmrCreateMonoBrush: CreatePatternBrush(r, true); break;
    case kEmrCreateDibPatternBrushPt: CreatePatternBrush(r, false); break;
    case kEmrExtCreateFontIndirectW: CreateFont(r); break;
    case kEmrCreatePalette: CreatePlaceholder(r); break;
    case kEmrCreateColorSpace: CreatePlaceholder(r); break;
    case kEmrCreateColorSpaceW: CreatePlaceholder(r); break;
    case kEmrOffsetClipRgn: OffsetClipRegion(r); break;
    case kEmrIntersectClipRect: IntersectClipRect(r); break;
    case kEmrExcludeClipRect: ExcludeClipRect(r); break;
    case kEmrSelectClipPath: SelectClipPath(r); break;
    case kEmrExtSelectClipRgn: SelectClipRegion(r); break;

    case kEmrBitBlt: BitBlt(false, r); break;
    case kEmrStretchBlt: BitBlt(true, r); break;
    case kEmrStretchDiBits: StretchDiBits(r); break;
    case kEmrSetDiBitsToDevice: SetDiBitsToDevice(r); break;
    case kEmrAlphaBlend: AlphaBlend(r); break;
    case kEmrTransparentBlt: TransparentBlt(r); break;
    case kEmrGradientFill: GradientFill(r); break;

    // Records with nothing to draw here: the header (read by the player), comments (the
    // newer model's records among them are played by EmfPlusPlayer), palettes
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

QRectF ReadEmfRect(RecordReader& r)
{
    const int32_t left = r.I32();
    const int32_t top = r.I32();
    const int32_t right = r.I32();
    const int32_t bottom = r.I32();
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

QPointF ReadEmfPoint(RecordReader& r)
{
    const int32_t x = r.I32();
    const int32_t y = r.I32();
    return QPointF(x, y);
}

} // namespace figures
