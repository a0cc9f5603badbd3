// The drawing records of placeable metafiles: lines, closed shapes, pixels, text and
// painted regions.
#include "figures/render/pictures/metafile/wmfplayer.h"

#include "figures/render/pictures/metafile/recordreader.h"

namespace figures {

namespace {

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

// The advances of a text record: one 16-bit value a byte.
std::vector<QPointF> Advances(std::span<const uint8_t> bytes)
{
    std::vector<QPointF> out(bytes.size() / 2);
    for (size_t i = 0; i < out.size(); ++i) {
        out[i] = QPointF(int16_t(bytes[2 * i] | bytes[2 * i + 1] << 8), 0);
    }
    return out;
}

} // namespace

QRectF WmfPlayer::ReadReversedRect(RecordReader& r)
{
    const int16_t bottom = r.I16();
    const int16_t right = r.I16();
    const int16_t top = r.I16();
    const int16_t left = r.I16();
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

void WmfPlayer::MoveTo(RecordReader& r)
{
    const int16_t y = r.I16();
    const int16_t x = r.I16();
    if (r.Ok()) {
        canvas_.MoveTo(QPointF(x, y));
    }
}

void WmfPlayer::LineTo(RecordReader& r)
{
    const int16_t y = r.I16();
    const int16_t x = r.I16();
    if (r.Ok()) {
        canvas_.LineTo(QPointF(x, y));
    }
}

void WmfPlayer::Polyline(RecordReader& r)
{
    std::vector<QPointF> points;
    const uint16_t n = r.U16();
    if (r.Ok() && ReadPoints(r, n, points)) {
        canvas_.Polyline(points);
    }
}

void WmfPlayer::Polygon(RecordReader& r)
{
    std::vector<QPointF> points;
    const uint16_t n = r.U16();
    if (r.Ok() && ReadPoints(r, n, points)) {
        canvas_.PolyPolygon({points});
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

void WmfPlayer::Rectangle(RecordReader& r)
{
    const QRectF box = ReadReversedRect(r);
    if (r.Ok()) {
        canvas_.Rectangle(box);
    }
}

void WmfPlayer::Ellipse(RecordReader& r)
{
    const QRectF box = ReadReversedRect(r);
    if (r.Ok()) {
        canvas_.Ellipse(box);
    }
}

void WmfPlayer::RoundRect(RecordReader& r)
{
    const int16_t height = r.I16();
    const int16_t width = r.I16();
    const QRectF box = ReadReversedRect(r);
    if (r.Ok()) {
        canvas_.RoundRect(box, QSizeF(width, height));
    }
}

void WmfPlayer::ArcShape(ArcKind kind, RecordReader& r)
{
    const int16_t yEnd = r.I16();
    const int16_t xEnd = r.I16();
    const int16_t yStart = r.I16();
    const int16_t xStart = r.I16();
    const QRectF box = ReadReversedRect(r);
    if (r.Ok()) {
        canvas_.ArcShape(kind, box, QPointF(xStart, yStart), QPointF(xEnd, yEnd));
    }
}

void WmfPlayer::SetPixel(RecordReader& r)
{
    const uint32_t colour = r.U32();
    const int16_t y = r.I16();
    const int16_t x = r.I16();
    if (r.Ok()) {
        canvas_.SetPixel(QPointF(x, y), ColourRef(colour));
    }
}

void WmfPlayer::TextOut(RecordReader& r)
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

void WmfPlayer::ExtTextOut(RecordReader& r)
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

QRegion WmfPlayer::DeviceRegion(const GdiRegion& region) const
{
    const ClipArea shape = canvas_.DeviceShapeOf(region);
    return shape.usesPath ? QRegion() : shape.region;
}

void WmfPlayer::FillRegion(RecordReader& r)
{
    const uint16_t regionIndex = r.U16();
    const uint16_t brushIndex = r.U16();
    const GdiRegion* region = RegionAt(regionIndex);
    const GdiBrush* brush = BrushAt(brushIndex);
    if (r.Ok() && region != nullptr && brush != nullptr) {
        canvas_.FillRegion(DeviceRegion(*region), *brush);
    }
}

void WmfPlayer::FrameRegion(RecordReader& r)
{
    const uint16_t regionIndex = r.U16();
    const uint16_t brushIndex = r.U16();
    const int16_t height = r.I16();
    const int16_t width = r.I16();
    const GdiRegion* region = RegionAt(regionIndex);
    const GdiBrush* brush = BrushAt(brushIndex);
    if (r.Ok() && region != nullptr && brush != nullptr) {
        canvas_.FrameRegion(DeviceRegion(*region), *brush, QSizeF(width, height));
    }
}

void WmfPlayer::PaintRegion(RecordReader& r)
{
    const GdiRegion* region = RegionAt(r.U16());
    if (r.Ok() && region != nullptr) {
        canvas_.FillRegion(DeviceRegion(*region), state_.brush);
    }
}

void WmfPlayer::InvertRegion(RecordReader& r)
{
    const GdiRegion* region = RegionAt(r.U16());
    if (r.Ok() && region != nullptr) {
        canvas_.InvertRegion(DeviceRegion(*region));
    }
}

} // namespace figures
