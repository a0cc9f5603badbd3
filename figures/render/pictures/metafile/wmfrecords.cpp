#include "figures/render/pictures/metafile/wmfrecords.h"

#include "figures/render/pictures/metafile/dibimage.h"
#include "figures/render/pictures/metafile/metafilecanvas.h"
#include "figures/render/pictures/metafile/wmfobjects.h"
#include "figures/render/pictures/metafile/recordreader.h"

namespace figures {

namespace {

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

constexpr size_t kRecordHeader = 6; // size in words (u32) and function (u16)

// Reads n points of two 16-bit coordinates each.
bool ReadPoints(RecordReader& r, size_t n, std::vector<QPointF>& points)
{
    if (!r.Has(n, 4)) {
        return false;
    }
    points.resize(n);
    for (QPointF& p : points) {
        const int16_t x = r.I16();
        const int16_t y = r.I16();
        p = QPointF(x, y);
    }
    return true;
}

// Four 16-bit values in the order the records store a rectangle: bottom, right, top, left.
QRectF ReadReversedRect(RecordReader& r)
{
    const int16_t bottom = r.I16();
    const int16_t right = r.I16();
    const int16_t top = r.I16();
    const int16_t left = r.I16();
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

// The advances of a text record: one 16-bit value a byte.
std::vector<QPointF> Advances(std::span<const uint8_t> bytes)
{
    std::vector<QPointF> out(bytes.size() / 2);
    for (size_t i = 0; i < out.size(); ++i) {
        out[i] = QPointF(int16_t(bytes[2 * i] | bytes[2 * i + 1] << 8), 0);
    }
    return out;
}

class WmfPlayer {
public:
    explicit WmfPlayer(MetafileCanvas& canvas)
        : canvas_(canvas), state_(canvas.State()), objects_(canvas)
    {}

    void Play(uint16_t function, std::span<const uint8_t> params);

private:
    QRegion DeviceRegion(const GdiRegion& region) const;

    void SetExtent(QPointF& extent, RecordReader& r);
    void ScaleExtent(QPointF& extent, RecordReader& r);
    void PolyPolygon(RecordReader& r);
    void Text(RecordReader& r);
    void ExtText(RecordReader& r);
    void Blit(uint16_t function, RecordReader& r, size_t recordWords);
    void StretchDib(RecordReader& r);
    void SetDibToDevice(RecordReader& r);

    MetafileCanvas& canvas_;
    DeviceState& state_;
    WmfObjects objects_;
};

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

namespace {

QRegion WmfPlayer::DeviceRegion(const GdiRegion& region) const
{
    const ClipArea shape = canvas_.DeviceShapeOf(region);
    return shape.usesPath ? QRegion() : shape.region;
}

void WmfPlayer::SetExtent(QPointF& extent, RecordReader& r)
{
    const int16_t y = r.I16();
    const int16_t x = r.I16();
    // A zero extent would collapse the mapping; the platform refuses it.
    if (r.Ok() && x != 0 && y != 0) {
        extent = QPointF(x, y);
    }
}

void WmfPlayer::ScaleExtent(QPointF& extent, RecordReader& r)
{
    const int16_t yDenom = r.I16();
    const int16_t yNum = r.I16();
    const int16_t xDenom = r.I16();
    const int16_t xNum = r.I16();
    if (r.Ok()) {
        ScaleExtentBy(extent, xNum, xDenom, yNum, yDenom);
    }
}

void WmfPlayer::PolyPolygon(RecordReader& r)
{
    const uint16_t count = r.U16();
    if (!r.Has(count, 2)) {
        return;
    }
    std::vector<uint16_t> sizes(count);
    uint64_t total = 0;
    for (uint16_t& n : sizes) {
        n = r.U16();
        total += n;
    }
    if (!r.Has(total, 4)) {
        return;
    }
    std::vector<std::vector<QPointF>> polygons(count);
    for (size_t i = 0; i < count; ++i) {
        ReadPoints(r, sizes[i], polygons[i]);
    }
    canvas_.PolyPolygon(polygons);
}

void WmfPlayer::Text(RecordReader& r)
{
    const int16_t length = r.I16();
    if (length < 0) {
        return;
    }
    const std::span<const uint8_t> bytes = r.Bytes(size_t(length));
    r.Skip(size_t(length) % 2);
    const int16_t y = r.I16();
    const int16_t x = r.I16();
    if (!r.Ok()) {
        return;
    }
    TextRequest request;
    request.reference = QPointF(x, y);
    request.cells = AnsiTextCells(bytes, state_.font.charSet, {});
    canvas_.DrawText(request);
}

void WmfPlayer::ExtText(RecordReader& r)
{
    TextRequest request;
    const int16_t y = r.I16();
    const int16_t x = r.I16();
    const int16_t length = r.I16();
    request.options = r.U16();
    request.reference = QPointF(x, y);
    if (request.options & (kEtoOpaque | kEtoClipped)) {
        const int16_t left = r.I16();
        const int16_t top = r.I16();
        const int16_t right = r.I16();
        const int16_t bottom = r.I16();
        request.rect = QRectF(QPointF(left, top), QPointF(right, bottom));
    }
    if (!r.Ok() || length < 0) {
        return;
    }
    const std::span<const uint8_t> bytes = r.Bytes(size_t(length));
    if (!r.Ok()) {
        return;
    }
    r.Skip(size_t(length) % 2);
    // The advances are optional; when present there is one for every byte.
    std::span<const uint8_t> advances;
    if (r.Ok() && r.Has(size_t(length), 2) && length > 0) {
        advances = r.Bytes(2 * size_t(length));
        request.hasAdvances = true;
    }
    request.cells = AnsiTextCells(bytes, state_.font.charSet, Advances(advances));
    canvas_.DrawText(request);
}

// The bit-block transfers. Each has a form without a bitmap (its size is its function's
// parameter count plus the header), which only combines the brush and the destination,
// and in that form a reserved word follows the source position.
void WmfPlayer::Blit(uint16_t function, RecordReader& r, size_t recordWords)
{
    const bool stretch = function == kMetaDibStretchBlt || function == kMetaStretchBlt;
    const bool withBitmap = recordWords != size_t(function >> 8) + 3;
    const uint32_t rop = r.U32();
    int16_t srcHeight = 0;
    int16_t srcWidth = 0;
    if (stretch) {
        srcHeight = r.I16();
        srcWidth = r.I16();
    }
    const int16_t ySrc = r.I16();
    const int16_t xSrc = r.I16();
    if (!withBitmap) {
        r.U16();
    }
    const int16_t destHeight = r.I16();
    const int16_t destWidth = r.I16();
    const int16_t yDest = r.I16();
    const int16_t xDest = r.I16();
    if (!r.Ok()) {
        return;
    }
    if (!stretch) {
        srcHeight = destHeight;
        srcWidth = destWidth;
    }
    const QRectF dest(xDest, yDest, destWidth, destHeight);
    if (!withBitmap) {
        canvas_.StretchBlt(dest, QImage(), QRectF(), rop);
        return;
    }
    QImage image;
    if (function == kMetaDibBitBlt || function == kMetaDibStretchBlt) {
        image = DecodePackedWithin(canvas_, r.Rest(), kDibRgbColours).image;
    } else {
        image = DecodeBitmap16(r, state_);
    }
    // The source is a bitmap selected into a device, so y counts from its top.
    canvas_.StretchBlt(dest, image, QRectF(xSrc, ySrc, srcWidth, srcHeight), rop);
}

void WmfPlayer::StretchDib(RecordReader& r)
{
    const uint32_t rop = r.U32();
    const uint16_t usage = r.U16();
    const int16_t srcHeight = r.I16();
    const int16_t srcWidth = r.I16();
    const int16_t ySrc = r.I16();
    const int16_t xSrc = r.I16();
    const int16_t destHeight = r.I16();
    const int16_t destWidth = r.I16();
    const int16_t yDest = r.I16();
    const int16_t xDest = r.I16();
    if (!r.Ok()) {
        return;
    }
    const Dib dib = DecodePackedWithin(canvas_, r.Rest(), usage);
    // Device-independent sources count y from the bottom row of a bottom-up bitmap.
    const double top = dib.bottomUp ? dib.image.height() - ySrc - srcHeight : ySrc;
    canvas_.StretchBlt(QRectF(xDest, yDest, destWidth, destHeight), dib.image,
                       QRectF(xSrc, top, srcWidth, srcHeight), rop);
}

void WmfPlayer::SetDibToDevice(RecordReader& r)
{
    const uint16_t usage = r.U16();
    const uint16_t scanCount = r.U16();
    const uint16_t startScan = r.U16();
    const int16_t yDib = r.I16();
    const int16_t xDib = r.I16();
    const int16_t height = r.I16();
    const int16_t width = r.I16();
    const int16_t yDest = r.I16();
    const int16_t xDest = r.I16();
    const size_t infoSize = DibInfoSize(r.Rest(), usage);
    if (!r.Ok() || infoSize == 0) {
        return;
    }
    int64_t fullHeight = 0;
    const Dib band = DecodeDibBand(r.Rest().first(infoSize), r.Rest().subspan(infoSize), usage,
                                   scanCount, fullHeight, canvas_.PixelBudget());
    if (band.image.isNull()) {
        return;
    }
    canvas_.SpendPixels(uint64_t(band.image.width()) * uint64_t(band.image.height()));
    // The band's top row within the whole bitmap, then the source's top within the band.
    const int64_t rows = fullHeight < 0 ? -fullHeight : fullHeight;
    const int64_t bandTop = band.bottomUp ? rows - startScan - band.image.height() : startScan;
    const int64_t sourceTop = band.bottomUp ? rows - yDib - height : yDib;
    canvas_.StretchBlt(QRectF(xDest, yDest, width, height), band.image,
                       QRectF(xDib, double(sourceTop - bandTop), width, height), 0x00CC0020);
}

void WmfPlayer::Play(uint16_t function, std::span<const uint8_t> params)
{
    RecordReader r(params);
    std::vector<QPointF> points;
    switch (function) {
    case kMetaSaveDc: canvas_.SaveState(); break;
    case kMetaRestoreDc: {
        const int16_t which = r.I16();
        if (r.Ok()) {
            canvas_.RestoreState(which);
        }
        break;
    }
    case kMetaSetBkMode: {
        const uint16_t mode = r.U16();
        if (r.Ok() && (mode == kBkTransparent || mode == kBkOpaque)) {
            state_.bkMode = mode;
        }
        break;
    }
    case kMetaSetMapMode: {
        const uint16_t mode = r.U16();
        if (r.Ok() && mode >= 1 && mode <= 8) {
            state_.SetMapMode(MapMode(mode));
        }
        break;
    }
    case kMetaSetRop2: {
        const uint16_t rop2 = r.U16();
        if (r.Ok() && rop2 >= 1 && rop2 <= 16) {
            state_.rop2 = rop2;
        }
        break;
    }
    case kMetaSetPolyFillMode: {
        const uint16_t mode = r.U16();
        if (r.Ok() && (mode == 1 || mode == 2)) {
            state_.windingFill = mode == 2;
        }
        break;
    }
    case kMetaSetStretchBltMode: {
        const uint16_t mode = r.U16();
        if (r.Ok()) {
            state_.stretchMode = mode;
        }
        break;
    }
    case kMetaSetTextCharExtra: {
        const int16_t extra = r.I16();
        if (r.Ok()) {
            state_.charExtra = extra;
        }
        break;
    }
    case kMetaSetTextAlign: {
        const uint16_t align = r.U16();
        if (r.Ok()) {
            state_.textAlign = align;
        }
        break;
    }
    case kMetaSetBkColor:
    case kMetaSetTextColor: {
        const uint32_t colour = r.U32();
        if (r.Ok()) {
            (function == kMetaSetBkColor ? state_.bkColour : state_.textColour) = ColourRef(colour);
        }
        break;
    }
    case kMetaSetWindowOrg:
    case kMetaSetViewportOrg:
    case kMetaOffsetWindowOrg:
    case kMetaOffsetViewportOrg: {
        const int16_t y = r.I16();
        const int16_t x = r.I16();
        if (!r.Ok()) {
            break;
        }
        const bool window = function == kMetaSetWindowOrg || function == kMetaOffsetWindowOrg;
        QPointF& origin = window ? state_.windowOrg : state_.viewportOrg;
        if (function == kMetaSetWindowOrg || function == kMetaSetViewportOrg) {
            origin = QPointF(x, y);
        } else {
            origin += QPointF(x, y);
        }
        break;
    }
    case kMetaSetWindowExt: SetExtent(state_.windowExt, r); break;
    case kMetaSetViewportExt: SetExtent(state_.viewportExt, r); break;
    case kMetaScaleWindowExt: ScaleExtent(state_.windowExt, r); break;
    case kMetaScaleViewportExt: ScaleExtent(state_.viewportExt, r); break;
    case kMetaMoveTo:
    case kMetaLineTo: {
        const int16_t y = r.I16();
        const int16_t x = r.I16();
        if (r.Ok()) {
            function == kMetaMoveTo ? canvas_.MoveTo(QPointF(x, y)) : canvas_.LineTo(QPointF(x, y));
        }
        break;
    }
    case kMetaPolyline:
    case kMetaPolygon: {
        const uint16_t n = r.U16();
        if (r.Ok() && ReadPoints(r, n, points)) {
            if (function == kMetaPolyline) {
                canvas_.Polyline(points);
            } else {
                canvas_.PolyPolygon({points});
            }
        }
        break;
    }
    case kMetaPolyPolygon: PolyPolygon(r); break;
    case kMetaRectangle:
    case kMetaEllipse: {
        const QRectF box = ReadReversedRect(r);
        if (r.Ok()) {
            function == kMetaRectangle ? canvas_.Rectangle(box) : canvas_.Ellipse(box);
        }
        break;
    }
    case kMetaRoundRect: {
        const int16_t height = r.I16();
        const int16_t width = r.I16();
        const QRectF box = ReadReversedRect(r);
        if (r.Ok()) {
            canvas_.RoundRect(box, QSizeF(width, height));
        }
        break;
    }
    case kMetaArc:
    case kMetaPie:
    case kMetaChord: {
        const int16_t yEnd = r.I16();
        const int16_t xEnd = r.I16();
        const int16_t yStart = r.I16();
        const int16_t xStart = r.I16();
        const QRectF box = ReadReversedRect(r);
        if (r.Ok()) {
            const ArcKind kind = function == kMetaArc   ? ArcKind::Arc
                                 : function == kMetaPie ? ArcKind::Pie
                                                        : ArcKind::Chord;
            canvas_.ArcShape(kind, box, QPointF(xStart, yStart), QPointF(xEnd, yEnd));
        }
        break;
    }
    case kMetaSetPixel: {
        const uint32_t colour = r.U32();
        const int16_t y = r.I16();
        const int16_t x = r.I16();
        if (r.Ok()) {
            canvas_.SetPixel(QPointF(x, y), ColourRef(colour));
        }
        break;
    }
    case kMetaTextOut: Text(r); break;
    case kMetaExtTextOut: ExtText(r); break;
    case kMetaCreatePenIndirect: objects_.CreatePen(r); break;
    case kMetaCreateBrushIndirect: objects_.CreateBrush(r); break;
    case kMetaCreateFontIndirect: objects_.CreateFont(r); break;
    case kMetaCreateRegion: objects_.CreateRegion(r); break;
    case kMetaCreatePatternBrush: objects_.CreatePatternBrush(r); break;
    case kMetaDibCreatePatternBrush: objects_.CreateDibPatternBrush(r); break;
    case kMetaCreatePalette: objects_.CreatePlaceholder(); break;
    case kMetaSelectObject: {
        const uint16_t index = r.U16();
        if (const GdiObject* object = r.Ok() ? canvas_.Objects().Find(index) : nullptr) {
            canvas_.SelectObject(*object);
        }
        break;
    }
    case kMetaDeleteObject: {
        const uint16_t index = r.U16();
        if (r.Ok()) {
            canvas_.Objects().Remove(index);
        }
        break;
    }
    case kMetaSelectClipRegion: {
        // A handle that is no region stands for the null region: clipping ends.
        const uint16_t index = r.U16();
        const GdiRegion* region = r.Ok() ? objects_.RegionAt(index) : nullptr;
        canvas_.CombineClipWith(region != nullptr ? canvas_.DeviceShapeOf(*region) : ClipArea{},
                                kRgnCopy);
        break;
    }
    case kMetaOffsetClipRgn: {
        const int16_t y = r.I16();
        const int16_t x = r.I16();
        if (r.Ok()) {
            canvas_.OffsetClip(QPointF(x, y));
        }
        break;
    }
    case kMetaIntersectClipRect:
    case kMetaExcludeClipRect: {
        const QRectF box = ReadReversedRect(r);
        if (r.Ok()) {
            function == kMetaIntersectClipRect ? canvas_.IntersectClipRect(box)
                                               : canvas_.ExcludeClipRect(box);
        }
        break;
    }
    case kMetaFillRegion:
    case kMetaFrameRegion: {
        const bool frame = function == kMetaFrameRegion;
        const uint16_t regionIndex = r.U16();
        const uint16_t brushIndex = r.U16();
        QSizeF stroke;
        if (frame) {
            const int16_t height = r.I16();
            const int16_t width = r.I16();
            stroke = QSizeF(width, height);
        }
        const GdiRegion* region = objects_.RegionAt(regionIndex);
        const GdiBrush* brush = objects_.BrushAt(brushIndex);
        if (!r.Ok() || region == nullptr || brush == nullptr) {
            break;
        }
        if (frame) {
            canvas_.FrameRegion(DeviceRegion(*region), *brush, stroke);
        } else {
            canvas_.FillRegion(DeviceRegion(*region), *brush);
        }
        break;
    }
    case kMetaPaintRegion:
    case kMetaInvertRegion: {
        const GdiRegion* region = objects_.RegionAt(r.U16());
        if (r.Ok() && region != nullptr) {
            function == kMetaPaintRegion ? canvas_.FillRegion(DeviceRegion(*region), state_.brush)
                                         : canvas_.InvertRegion(DeviceRegion(*region));
        }
        break;
    }
    case kMetaPatBlt: {
        const uint32_t rop = r.U32();
        const int16_t height = r.I16();
        const int16_t width = r.I16();
        const int16_t y = r.I16();
        const int16_t x = r.I16();
        if (r.Ok()) {
            canvas_.StretchBlt(QRectF(x, y, width, height), QImage(), QRectF(), rop);
        }
        break;
    }
    case kMetaBitBlt:
    case kMetaStretchBlt:
    case kMetaDibBitBlt:
    case kMetaDibStretchBlt: Blit(function, r, (params.size() + kRecordHeader) / 2); break;
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

} // namespace

} // namespace figures
