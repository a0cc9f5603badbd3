#include "figures/render/pictures/metafile/wmfplayer.h"

#include "figures/render/pictures/metafile/metafilecanvas.h"
#include "figures/render/pictures/metafile/recordreader.h"

namespace figures {

namespace {

constexpr size_t kRecordHeader = 6; // size in words (u32) and function (u16)

} // namespace

bool PlayWmfRecords(std::span<const uint8_t> records, MetafileCanvas& canvas)
{
    WmfPlayer player(canvas);
    size_t at = 0;
    while (records.size() - at >= kRecordHeader) {
        RecordReader header(records, at);
        const uint64_t words = header.U32();
        const uint16_t function = header.U16();
        const uint64_t bytes = words * 2;
        if (bytes < kRecordHeader || bytes > records.size() - at) {
            return false;
        }
        if (function == kMetaEof) {
            return true;
        }
        player.Play(function, records.subspan(at + kRecordHeader, size_t(bytes) - kRecordHeader));
        at += size_t(bytes);
    }
    return true;
}

WmfPlayer::WmfPlayer(MetafileCanvas& canvas) : canvas_(canvas), state_(canvas.State()) {}

void WmfPlayer::Play(uint16_t function, std::span<const uint8_t> params)
{
    RecordReader r(params);
    switch (function) {
    case kMetaSaveDc: canvas_.SaveState(); break;
    case kMetaRestoreDc: RestoreDc(r); break;
    case kMetaSetBkMode: SetBkMode(r); break;
    case kMetaSetMapMode: SetMapMode(r); break;
    case kMetaSetRop2: SetRop2(r); break;
    case kMetaSetPolyFillMode: SetPolyFillMode(r); break;
    case kMetaSetStretchBltMode: SetStretchBltMode(r); break;
    case kMetaSetTextCharExtra: SetTextCharExtra(r); break;
    case kMetaSetTextAlign: SetTextAlign(r); break;
    case kMetaSetBkColor: SetColour(state_.bkColour, r); break;
    case kMetaSetTextColor: SetColour(state_.textColour, r); break;
    case kMetaSetWindowOrg: SetOrigin(state_.windowOrg, r); break;
    case kMetaSetViewportOrg: SetOrigin(state_.viewportOrg, r); break;
    case kMetaOffsetWindowOrg: OffsetOrigin(state_.windowOrg, r); break;
    case kMetaOffsetViewportOrg: OffsetOrigin(state_.viewportOrg, r); break;
    case kMetaSetWindowExt: SetExtent(state_.windowExt, r); break;
    case kMetaSetViewportExt: SetExtent(state_.viewportExt, r); break;
    case kMetaScaleWindowExt: ScaleExtent(state_.windowExt, r); break;
    case kMetaScaleViewportExt: ScaleExtent(state_.viewportExt, r); break;

    case kMetaMoveTo: MoveTo(r); break;
    case kMetaLineTo: LineTo(r); break;
    case kMetaPolyline: Polyline(r); break;
    case kMetaPolygon: Polygon(r); break;
    case kMetaPolyPolygon: PolyPolygon(r); break;
    case kMetaRectangle: Rectangle(r); break;
    case kMetaEllipse: Ellipse(r); break;
    case kMetaRoundRect: RoundRect(r); break;
    case kMetaArc: ArcShape(ArcKind::Arc, r); break;
    case kMetaPie: ArcShape(ArcKind::Pie, r); break;
    case kMetaChord: ArcShape(ArcKind::Chord, r); break;
    case kMetaSetPixel: SetPixel(r); break;
    case kMetaTextOut: TextOut(r); break;
    case kMetaExtTextOut: ExtTextOut(r); break;
    case kMetaFillRegion: FillRegion(r); break;
    case kMetaFrameRegion: FrameRegion(r); break;
    case kMetaPaintRegion: PaintRegion(r); break;
    case kMetaInvertRegion: InvertRegion(r); break;

    case kMetaCreatePenIndirect: CreatePen(r); break;
    case kMetaCreateBrushIndirect: CreateBrush(r); break;
    case kMetaCreateFontIndirect: CreateFont(r); break;
    case kMetaCreateRegion: CreateRegion(r); break;
    case kMetaCreatePatternBrush: CreatePatternBrush(r); break;
    case kMetaDibCreatePatternBrush: CreateDibPatternBrush(r); break;
    case kMetaCreatePalette: CreatePlaceholder(); break;
    case kMetaSelectObject: SelectObject(r); break;
    case kMetaDeleteObject: DeleteObject(r); break;
    case kMetaSelectClipRegion: SelectClipRegion(r); break;
    case kMetaOffsetClipRgn: OffsetClipRegion(r); break;
    case kMetaIntersectClipRect: IntersectClipRect(r); break;
    case kMetaExcludeClipRect: ExcludeClipRect(r); break;

    case kMetaPatBlt: PatBlt(r); break;
    case kMetaBitBlt: Blit(BlitKind::Bitmap16, false, r); break;
    case kMetaStretchBlt: Blit(BlitKind::Bitmap16, true, r); break;
    case kMetaDibBitBlt: Blit(BlitKind::Dib, false, r); break;
    case kMetaDibStretchBlt: Blit(BlitKind::Dib, true, r); break;
    case kMetaStretchDib: StretchDib(r); break;
    case kMetaSetDibToDev: SetDibToDevice(r); break;

    // Records with nothing to draw here: palettes (colours are true colours), font
    // mapping hints, layout and justification of the platform's own text engine,
    // printer escapes, and flood fills, which would read back the output.
    case kMetaRealizePalette:
    case kMetaSetPalEntries:
    case kMetaResizePalette:
    case kMetaAnimatePalette:
    case kMetaSelectPalette:
    case kMetaSetMapperFlags:
    case kMetaSetRelAbs:
    case kMetaSetLayout:
    case kMetaSetTextJustification:
    case kMetaEscape:
    case kMetaFloodFill:
    case kMetaExtFloodFill:
    default: break;
    }
}

} // namespace figures
