// The drawing records of enhanced metafiles: lines and curves, closed shapes, pixels,
// painted regions and text.
#include "figures/render/pictures/metafile/emfplayer.h"

#include "figures/render/pictures/metafile/recordreader.h"

#include <optional>

namespace figures {

namespace {

// Options of the enhanced text records: the rectangle is left out, and the string is
// one byte a character.
constexpr uint32_t kEtoNoRect = 0x0100;
constexpr uint32_t kEtoSmallChars = 0x0200;

// Reads n points, 32-bit (long) or 16-bit coordinates.
bool ReadPoints(RecordReader& r, uint64_t n, FieldWidth width, std::vector<QPointF>& points)
{
    const bool wide = width == FieldWidth::Long;
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

// The figures of a poly-poly record: a count of figures, the total of points, the count
// of each figure, then all points. Nothing when the counts do not fit the record.
std::optional<std::vector<std::vector<QPointF>>> ReadFigures(RecordReader& r, FieldWidth width)
{
    r.Skip(kEmfBoundsSize);
    const uint32_t figures = r.U32();
    const uint32_t total = r.U32();
    if (!r.Ok() || !r.Has(figures, 4)) {
        return std::nullopt;
    }
    std::vector<uint32_t> counts(figures);
    uint64_t sum = 0;
    for (uint32_t& n : counts) {
        n = r.U32();
        sum += n;
    }
    if (sum > total || !r.Has(sum, width == FieldWidth::Long ? 8 : 4)) {
        return std::nullopt;
    }
    std::vector<std::vector<QPointF>> lists(figures);
    for (size_t i = 0; i < figures; ++i) {
        ReadPoints(r, counts[i], width, lists[i]);
    }
    return lists;
}

// The advances of ExtTextOut: one a character, or an x and a y one with the
// per-direction option; none when the record has no offset for them.
std::vector<QPointF> ReadAdvances(std::span<const uint8_t> record, uint32_t offDx, uint32_t count,
                                  bool pdy)
{
    const std::span<const uint8_t> dx =
        offDx == 0 ? std::span<const uint8_t>()
                   : SliceOf(record, offDx, uint64_t(count) * (pdy ? 8 : 4));
    std::vector<QPointF> advances;
    if (dx.empty()) {
        return advances;
    }
    RecordReader a(dx);
    advances.resize(count);
    for (QPointF& step : advances) {
        const int32_t ax = a.I32();
        const int32_t ay = pdy ? a.I32() : 0;
        // The platform's y advances go up the page.
        step = QPointF(ax, -double(ay));
    }
    return advances;
}

} // namespace

void EmfPlayer::Poly(PolyKind kind, FieldWidth width, RecordReader& r)
{
    r.Skip(kEmfBoundsSize);
    const uint32_t count = r.U32();
    std::vector<QPointF> points;
    if (!r.Ok() || !ReadPoints(r, count, width, points)) {
        return;
    }
    switch (kind) {
    case PolyKind::Bezier: canvas_.PolyBezier(points); break;
    case PolyKind::Polygon: canvas_.PolyPolygon({points}); break;
    case PolyKind::Polyline: canvas_.Polyline(points); break;
    case PolyKind::BezierTo: canvas_.PolyBezierTo(points); break;
    case PolyKind::PolylineTo: canvas_.PolylineTo(points); break;
    }
}

void EmfPlayer::PolyPolyline(FieldWidth width, RecordReader& r)
{
    if (const auto lines = ReadFigures(r, width)) {
        canvas_.PolyPolyline(*lines);
    }
}

void EmfPlayer::PolyPolygon(FieldWidth width, RecordReader& r)
{
    if (const auto polygons = ReadFigures(r, width)) {
        canvas_.PolyPolygon(*polygons);
    }
}

void EmfPlayer::PolyDraw(FieldWidth width, RecordReader& r)
{
    r.Skip(kEmfBoundsSize);
    const uint32_t count = r.U32();
    std::vector<QPointF> points;
    if (!r.Ok() || !ReadPoints(r, count, width, points)) {
        return;
    }
    const std::span<const uint8_t> types = r.Bytes(count);
    if (r.Ok()) {
        canvas_.PolyDraw(points, types);
    }
}

void EmfPlayer::MoveTo(RecordReader& r)
{
    const QPointF p = ReadEmfPoint(r);
    if (r.Ok()) {
        canvas_.MoveTo(p);
    }
}

void EmfPlayer::LineTo(RecordReader& r)
{
    const QPointF p = ReadEmfPoint(r);
    if (r.Ok()) {
        canvas_.LineTo(p);
    }
}

void EmfPlayer::SetPixel(RecordReader& r)
{
    const QPointF p = ReadEmfPoint(r);
    const uint32_t colour = r.U32();
    if (r.Ok()) {
        canvas_.SetPixel(p, ColourRef(colour));
    }
}

void EmfPlayer::AngleArc(RecordReader& r)
{
    const QPointF centre = ReadEmfPoint(r);
    const uint32_t radius = r.U32();
    const float start = r.F32();
    const float sweep = r.F32();
    if (r.Ok()) {
        canvas_.AngleArc(centre, radius, start, sweep);
    }
}

void EmfPlayer::Rectangle(RecordReader& r)
{
    const QRectF box = ReadEmfRect(r);
    if (r.Ok()) {
        canvas_.Rectangle(box);
    }
}

void EmfPlayer::Ellipse(RecordReader& r)
{
    const QRectF box = ReadEmfRect(r);
    if (r.Ok()) {
        canvas_.Ellipse(box);
    }
}

void EmfPlayer::RoundRect(RecordReader& r)
{
    const QRectF box = ReadEmfRect(r);
    const QPointF corner = ReadEmfPoint(r);
    if (r.Ok()) {
        canvas_.RoundRect(box, QSizeF(corner.x(), corner.y()));
    }
}

void EmfPlayer::ArcShape(ArcKind kind, RecordReader& r)
{
    const QRectF box = ReadEmfRect(r);
    const QPointF start = ReadEmfPoint(r);
    const QPointF end = ReadEmfPoint(r);
    if (r.Ok()) {
        canvas_.ArcShape(kind, box, start, end);
    }
}

void EmfPlayer::ArcTo(RecordReader& r)
{
    const QRectF box = ReadEmfRect(r);
    const QPointF start = ReadEmfPoint(r);
    const QPointF end = ReadEmfPoint(r);
    if (r.Ok()) {
        canvas_.ArcTo(box, start, end);
    }
}

void EmfPlayer::FillRegion(RecordReader& r)
{
    r.Skip(kEmfBoundsSize);
    const uint32_t dataSize = r.U32();
    const uint32_t brushIndex = r.U32();
    const std::span<const uint8_t> data = r.Bytes(dataSize);
    QRegion region;
    if (!r.Ok() || !ReadRegionData(data, region)) {
        return;
    }
    if (const std::optional<GdiBrush> brush = BrushAt(brushIndex)) {
        canvas_.FillRegion(region, *brush);
    }
}

void EmfPlayer::FrameRegion(RecordReader& r)
{
    r.Skip(kEmfBoundsSize);
    const uint32_t dataSize = r.U32();
    const uint32_t brushIndex = r.U32();
    const int32_t width = r.I32();
    const int32_t height = r.I32();
    const std::span<const uint8_t> data = r.Bytes(dataSize);
    QRegion region;
    if (!r.Ok() || !ReadRegionData(data, region)) {
        return;
    }
    if (const std::optional<GdiBrush> brush = BrushAt(brushIndex)) {
        canvas_.FrameRegion(region, *brush, QSizeF(width, height));
    }
}

void EmfPlayer::PaintRegion(RecordReader& r)
{
    r.Skip(kEmfBoundsSize);
    const uint32_t dataSize = r.U32();
    const std::span<const uint8_t> data = r.Bytes(dataSize);
    QRegion region;
    if (r.Ok() && ReadRegionData(data, region)) {
        canvas_.FillRegion(region, state_.brush);
    }
}

void EmfPlayer::InvertRegion(RecordReader& r)
{
    r.Skip(kEmfBoundsSize);
    const uint32_t dataSize = r.U32();
    const std::span<const uint8_t> data = r.Bytes(dataSize);
    QRegion region;
    if (r.Ok() && ReadRegionData(data, region)) {
        canvas_.InvertRegion(region);
    }
}

void EmfPlayer::ExtTextOut(bool wide, RecordReader& r)
{
    r.Skip(kEmfBoundsSize);
    r.U32(); // graphics mode
    r.F32(); // x and y scales of the compatible graphics mode, which draws unscaled here
    r.F32();
    TextRequest request;
    request.reference = ReadEmfPoint(r);
    const uint32_t count = r.U32();
    const uint32_t offString = r.U32();
    request.options = r.U32();
    if (!(request.options & kEtoNoRect)) {
        request.rect = ReadEmfRect(r);
    }
    const uint32_t offDx = r.U32();
    if (!r.Ok()) {
        return;
    }
    const uint64_t stringBytes = uint64_t(count) * (wide ? 2 : 1);
    const std::span<const uint8_t> string = SliceOf(r.Record(), offString, stringBytes);
    if (string.size() != stringBytes) {
        return;
    }
    const std::vector<QPointF> advances =
        ReadAdvances(r.Record(), offDx, count, (request.options & kEtoPdy) != 0);
    request.hasAdvances = !advances.empty();
    request.cells = wide ? WideTextCells(string, advances)
                         : AnsiTextCells(string, state_.font.charSet, advances);
    canvas_.DrawText(request);
}

void EmfPlayer::SmallTextOut(RecordReader& r)
{
    TextRequest request;
    request.reference = ReadEmfPoint(r);
    const uint32_t count = r.U32();
    request.options = r.U32();
    r.U32(); // graphics mode
    r.F32(); // scales
    r.F32();
    if (!(request.options & kEtoNoRect)) {
        request.rect = ReadEmfRect(r);
    }
    if (!r.Ok()) {
        return;
    }
    const bool small = (request.options & kEtoSmallChars) != 0;
    const std::span<const uint8_t> string = r.Bytes(size_t(count) * (small ? 1 : 2));
    if (!r.Ok()) {
        return;
    }
    if (small) {
        // The bytes are the low halves of UTF-16 characters.
        for (uint8_t b : string) {
            request.cells.push_back({b != 0 ? QString(QChar(char16_t(b))) : QString(), 0, 0});
        }
    } else {
        request.cells = WideTextCells(string, {});
    }
    canvas_.DrawText(request);
}

} // namespace figures
