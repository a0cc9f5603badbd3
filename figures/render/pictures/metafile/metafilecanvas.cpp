// The canvas's state, geometry, clipping and path bracket. Pens, brushes and raster
// operations live in metafilecanvas_pens.cpp, text in metafilecanvas_text.cpp, bitmaps,
// gradients and regions in metafilecanvas_raster.cpp.
#include "figures/render/pictures/metafile/metafilecanvas.h"

#include "figures/render/pictures/metafile/dibimage.h"

#include <QPainterPathStroker>
#include <QPaintEngine>

#include <cmath>
#include <numbers>

namespace figures {

namespace {

// Coordinates beyond this many output pixels are garbage, not drawing: no picture is that
// large, and the rasteriser's fixed-point arithmetic would lose them anyway.
constexpr double kMaxOutputCoordinate = 1e9;

// Whole cubic curves in a run of points, three points each; surplus points at the end
// are ignored.
size_t WholeCurves(size_t points)
{
    return points / 3;
}

QPainterPath PolygonPath(std::span<const QPointF> points)
{
    QPainterPath path;
    if (points.empty()) {
        return path;
    }
    path.moveTo(points[0]);
    for (size_t i = 1; i < points.size(); ++i) {
        path.lineTo(points[i]);
    }
    return path;
}

} // namespace

MetafileCanvas::MetafileCanvas(QPainter& painter, const QTransform& deviceToTarget, double dpiX,
                               double dpiY, uint64_t pixelBudget)
    : painter_(painter), dpiX_(dpiX), dpiY_(dpiY), pixelBudget_(pixelBudget)
{
    painter_.save();
    deviceTransform_ = deviceToTarget * painter_.worldTransform();
    outputScale_ = std::sqrt(std::abs(deviceTransform_.determinant()));
    rasterOps_ = painter_.paintEngine() != nullptr &&
                 painter_.paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
    painter_.save(); // the level the clip is set on; see ApplyClip
}

MetafileCanvas::~MetafileCanvas()
{
    painter_.restore();
    painter_.restore();
}

int32_t MetafileCanvas::ShrinkFor(const QRectF& dest, const QRectF& source) const
{
    const QSizeF shown = (LogicalToDevice() * deviceTransform_).mapRect(dest.normalized()).size();
    if (!(shown.width() > 0) || !(shown.height() > 0)) {
        return 1;
    }
    const double perPixel = std::min(std::abs(source.width()) / shown.width(),
                                     std::abs(source.height()) / shown.height());
    int32_t shrink = 1;
    while (shrink < kMaxDibShrink && shrink * 2 <= perPixel) {
        shrink *= 2;
    }
    return shrink;
}

void MetafileCanvas::SpendPixels(uint64_t pixels)
{
    pixelBudget_ = pixels < pixelBudget_ ? pixelBudget_ - pixels : 0;
}

// ---- state ----

void MetafileCanvas::SaveState()
{
    saved_.Push(state_);
}

void MetafileCanvas::RestoreState(int32_t which)
{
    if (saved_.Restore(which, state_)) {
        ApplyClip();
    }
}

void MetafileCanvas::SelectObject(const GdiObject& object)
{
    if (const auto* pen = std::get_if<GdiPen>(&object)) {
        state_.pen = *pen;
    } else if (const auto* brush = std::get_if<GdiBrush>(&object)) {
        state_.brush = *brush;
    } else if (const auto* font = std::get_if<GdiFont>(&object)) {
        state_.font = *font;
    } else if (const auto* region = std::get_if<GdiRegion>(&object)) {
        CombineClipWith(DeviceShapeOf(*region), kRgnCopy);
    }
}

// ---- drawing ----

bool MetafileCanvas::Drawable(const QPainterPath& device) const
{
    if (device.isEmpty()) {
        return false;
    }
    const QRectF bounds = deviceTransform_.mapRect(device.controlPointRect());
    return std::isfinite(bounds.left()) && std::isfinite(bounds.top()) &&
           std::isfinite(bounds.right()) && std::isfinite(bounds.bottom()) &&
           std::abs(bounds.left()) < kMaxOutputCoordinate &&
           std::abs(bounds.right()) < kMaxOutputCoordinate &&
           std::abs(bounds.top()) < kMaxOutputCoordinate &&
           std::abs(bounds.bottom()) < kMaxOutputCoordinate;
}

void MetafileCanvas::DrawDevice(const QPainterPath& device, bool fill, bool stroke)
{
    if (!Drawable(device)) {
        return;
    }
    const QPen pen = MakePen();
    const QBrush brush = MakeBrush(state_.brush);
    fill = fill && brush.style() != Qt::NoBrush;
    stroke = stroke && pen.style() != Qt::NoPen;
    if (!fill && !stroke) {
        return;
    }
    painter_.save();
    if (BeginRasterOp(state_.rop2)) {
        painter_.setWorldTransform(deviceTransform_);
        painter_.setBackgroundMode(state_.bkMode == kBkOpaque ? Qt::OpaqueMode
                                                              : Qt::TransparentMode);
        painter_.setBackground(state_.bkColour);
        if (state_.rop2 != kR2CopyPen && rasterOps_) {
            // Combining pixels by logic needs whole pixels.
            painter_.setRenderHint(QPainter::Antialiasing, false);
        }
        QPainterPath shape = device;
        shape.setFillRule(state_.windingFill ? Qt::WindingFill : Qt::OddEvenFill);
        if (fill) {
            painter_.fillPath(shape, brush);
        }
        if (stroke) {
            painter_.strokePath(shape, pen);
        }
    }
    painter_.restore();
}

void MetafileCanvas::DrawClosed(const QPainterPath& logical)
{
    const QPainterPath device = LogicalToDevice().map(logical);
    if (inBracket_) {
        path_.addPath(device);
        figureOpen_ = false;
        return;
    }
    DrawDevice(device, true, true);
}

void MetafileCanvas::DrawOpen(const QPainterPath& logical)
{
    const QPainterPath device = LogicalToDevice().map(logical);
    if (inBracket_) {
        path_.addPath(device);
        figureOpen_ = false;
        return;
    }
    DrawDevice(device, false, true);
}

void MetafileCanvas::Connect(const QPainterPath& logical, QPointF newPosition)
{
    const QPainterPath device = LogicalToDevice().map(logical);
    if (inBracket_) {
        if (figureOpen_ && !path_.isEmpty() && device.elementCount() > 0 &&
            path_.currentPosition() == QPointF(device.elementAt(0))) {
            path_.connectPath(device);
        } else {
            path_.addPath(device);
        }
        figureOpen_ = true;
    } else {
        DrawDevice(device, false, true);
    }
    state_.currentPos = newPosition;
}

void MetafileCanvas::MoveTo(QPointF p)
{
    state_.currentPos = p;
    figureOpen_ = false;
}

void MetafileCanvas::LineTo(QPointF p)
{
    QPainterPath path(state_.currentPos);
    path.lineTo(p);
    Connect(path, p);
}

void MetafileCanvas::PolylineTo(std::span<const QPointF> points)
{
    if (points.empty()) {
        return;
    }
    QPainterPath path(state_.currentPos);
    for (const QPointF& p : points) {
        path.lineTo(p);
    }
    Connect(path, points.back());
}

void MetafileCanvas::PolyBezierTo(std::span<const QPointF> points)
{
    const size_t curves = WholeCurves(points.size());
    if (curves == 0) {
        return;
    }
    QPainterPath path(state_.currentPos);
    for (size_t i = 0; i < curves; ++i) {
        path.cubicTo(points[3 * i], points[3 * i + 1], points[3 * i + 2]);
    }
    Connect(path, points[3 * curves - 1]);
}

void MetafileCanvas::Polyline(std::span<const QPointF> points)
{
    if (points.size() >= 2) {
        DrawOpen(PolygonPath(points));
    }
}

void MetafileCanvas::PolyBezier(std::span<const QPointF> points)
{
    if (points.empty()) {
        return;
    }
    const size_t curves = WholeCurves(points.size() - 1);
    if (curves == 0) {
        return;
    }
    QPainterPath path(points[0]);
    for (size_t i = 0; i < curves; ++i) {
        path.cubicTo(points[1 + 3 * i], points[2 + 3 * i], points[3 + 3 * i]);
    }
    DrawOpen(path);
}

void MetafileCanvas::PolyPolyline(const std::vector<std::vector<QPointF>>& lines)
{
    QPainterPath path;
    for (const auto& line : lines) {
        if (line.size() >= 2) {
            path.addPath(PolygonPath(line));
        }
    }
    if (!path.isEmpty()) {
        DrawOpen(path);
    }
}

void MetafileCanvas::PolyPolygon(const std::vector<std::vector<QPointF>>& polygons)
{
    QPainterPath path;
    for (const auto& polygon : polygons) {
        if (polygon.size() >= 2) {
            QPainterPath figure = PolygonPath(polygon);
            figure.closeSubpath();
            path.addPath(figure);
        }
    }
    if (!path.isEmpty()) {
        DrawClosed(path);
    }
}

// An inside-frame pen keeps its whole width within the box of the figure.
QRectF MetafileCanvas::InsideFrame(const QRectF& box) const
{
    const QRectF normal = box.normalized();
    if ((state_.pen.style & kPsStyleMask) != kPsInsideFrame || state_.pen.width <= 1) {
        return normal;
    }
    const double half = std::min({state_.pen.width / 2, normal.width() / 2, normal.height() / 2});
    return normal.adjusted(half, half, -half, -half);
}

void MetafileCanvas::Rectangle(const QRectF& box)
{
    QPainterPath path;
    path.addRect(InsideFrame(box));
    DrawClosed(path);
}

void MetafileCanvas::RoundRect(const QRectF& box, QSizeF corner)
{
    QPainterPath path;
    path.addRoundedRect(InsideFrame(box), std::abs(corner.width()) / 2,
                        std::abs(corner.height()) / 2);
    DrawClosed(path);
}

void MetafileCanvas::Ellipse(const QRectF& box)
{
    QPainterPath path;
    path.addEllipse(InsideFrame(box));
    DrawClosed(path);
}

namespace {

// The angle (degrees, counter-clockwise on a y-down plane as Qt counts them) at which the
// radial from the centre of box through p meets its ellipse.
double RadialAngle(const QRectF& box, QPointF p)
{
    const QPointF c = box.center();
    return std::atan2(-(p.y() - c.y()) / (box.height() / 2), (p.x() - c.x()) / (box.width() / 2)) *
           180.0 / std::numbers::pi;
}

// Sweep from a0 to a1, positive or negative, in (0, 360]: equal angles go all the way round.
double Sweep(double a0, double a1, bool positive)
{
    double sweep = std::fmod(positive ? a1 - a0 : a0 - a1, 360.0);
    if (sweep <= 0) {
        sweep += 360.0;
    }
    return positive ? sweep : -sweep;
}

} // namespace

void MetafileCanvas::ArcShape(ArcKind kind, const QRectF& rawBox, QPointF start, QPointF end)
{
    const QRectF box = InsideFrame(rawBox);
    if (box.width() <= 0 || box.height() <= 0) {
        return;
    }
    // Qt's positive sweep runs counter-clockwise on a y-down plane; when the mapping turns
    // an axis over, that is clockwise on the device.
    const bool flipped = LogicalToDevice().determinant() < 0;
    const bool positive = state_.clockwise == flipped;
    const double a0 = RadialAngle(box, start);
    const double sweep = Sweep(a0, RadialAngle(box, end), positive);
    QPainterPath path;
    if (kind == ArcKind::Pie) {
        path.moveTo(box.center());
    } else {
        path.arcMoveTo(box, a0);
    }
    path.arcTo(box, a0, sweep);
    if (kind == ArcKind::Arc) {
        DrawOpen(path);
        return;
    }
    path.closeSubpath();
    DrawClosed(path);
}

void MetafileCanvas::ArcTo(const QRectF& rawBox, QPointF start, QPointF end)
{
    const QRectF box = rawBox.normalized();
    if (box.width() <= 0 || box.height() <= 0) {
        return;
    }
    const bool flipped = LogicalToDevice().determinant() < 0;
    const bool positive = state_.clockwise == flipped;
    const double a0 = RadialAngle(box, start);
    const double sweep = Sweep(a0, RadialAngle(box, end), positive);
    QPainterPath arc;
    arc.arcMoveTo(box, a0);
    QPainterPath path(state_.currentPos);
    path.lineTo(arc.currentPosition());
    path.arcTo(box, a0, sweep);
    Connect(path, path.currentPosition());
}

void MetafileCanvas::AngleArc(QPointF centre, double radius, double startAngle, double sweepAngle)
{
    if (!std::isfinite(startAngle) || !std::isfinite(sweepAngle) || !std::isfinite(radius)) {
        return;
    }
    // More than a few turns draws nothing new.
    sweepAngle = std::clamp(sweepAngle, -720.0, 720.0);
    startAngle = std::fmod(startAngle, 360.0);
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    QPainterPath arc;
    arc.arcMoveTo(box, startAngle);
    QPainterPath path(state_.currentPos);
    path.lineTo(arc.currentPosition());
    path.arcTo(box, startAngle, sweepAngle);
    Connect(path, path.currentPosition());
}

void MetafileCanvas::PolyDraw(std::span<const QPointF> points, std::span<const uint8_t> types)
{
    constexpr uint8_t kCloseFigure = 0x01;
    constexpr uint8_t kLineTo = 0x02;
    constexpr uint8_t kBezierTo = 0x04;
    constexpr uint8_t kMoveTo = 0x06;
    QPainterPath path(state_.currentPos);
    QPointF position = state_.currentPos;
    const size_t n = std::min(points.size(), types.size());
    for (size_t i = 0; i < n; ++i) {
        const uint8_t kind = uint8_t(types[i] & ~kCloseFigure);
        if (kind == kMoveTo) {
            path.moveTo(points[i]);
        } else if (kind == kLineTo) {
            path.lineTo(points[i]);
        } else if (kind == kBezierTo && i + 2 < n && (types[i + 1] & ~kCloseFigure) == kBezierTo &&
                   (types[i + 2] & ~kCloseFigure) == kBezierTo) {
            path.cubicTo(points[i], points[i + 1], points[i + 2]);
            i += 2;
        } else {
            break; // a malformed run ends the figure list, as the platform refuses it
        }
        position = points[i];
        if (types[i] & kCloseFigure) {
            path.closeSubpath();
        }
    }
    Connect(path, position);
}

void MetafileCanvas::SetPixel(QPointF p, const QColor& colour)
{
    const QPointF d = LogicalToDevice().map(p);
    QPainterPath pixel;
    pixel.addRect(QRectF(std::floor(d.x()), std::floor(d.y()), 1, 1));
    if (!Drawable(pixel)) {
        return;
    }
    painter_.save();
    painter_.setWorldTransform(deviceTransform_);
    painter_.fillPath(pixel, colour);
    painter_.restore();
}

// ---- clipping ----

void MetafileCanvas::ApplyClip()
{
    // Back to the caller's clip, then narrowed to the picture's own.
    painter_.restore();
    painter_.save();
    if (!state_.clip.active) {
        return;
    }
    painter_.setWorldTransform(deviceTransform_);
    if (state_.clip.usesPath) {
        painter_.setClipPath(state_.clip.path, Qt::IntersectClip);
    } else {
        painter_.setClipRegion(state_.clip.region, Qt::IntersectClip);
    }
}

// An axis-aligned rectangle in whole device units, as the platform rounds it; false when
// the mapping turns or shears, or the rectangle lies beyond what a region can hold.
bool MetafileCanvas::DeviceRect(const QRectF& logical, QRect& out) const
{
    const QTransform m = LogicalToDevice();
    if (m.m12() != 0 || m.m21() != 0) {
        return false;
    }
    const QRectF r = m.mapRect(logical.normalized());
    constexpr double kLimit = 1 << 28;
    if (!(std::abs(r.left()) < kLimit && std::abs(r.right()) < kLimit &&
          std::abs(r.top()) < kLimit && std::abs(r.bottom()) < kLimit)) {
        out = QRect();
        return true;
    }
    const int left = int(std::lround(r.left()));
    const int top = int(std::lround(r.top()));
    out = QRect(left, top, int(std::lround(r.right())) - left, int(std::lround(r.bottom())) - top);
    return true;
}

ClipArea MetafileCanvas::DeviceShapeOfRect(const QRectF& logical) const
{
    ClipArea shape;
    shape.active = true;
    QRect device;
    if (DeviceRect(logical, device)) {
        shape.region = QRegion(device);
        return shape;
    }
    shape.usesPath = true;
    shape.path.addPolygon(LogicalToDevice().map(QPolygonF(logical.normalized())));
    shape.path.closeSubpath();
    return shape;
}

ClipArea MetafileCanvas::DeviceShapeOf(const GdiRegion& logicalRegion) const
{
    ClipArea shape;
    shape.active = true;
    std::vector<QRect> rects;
    rects.reserve(logicalRegion.rects.size());
    bool aligned = true;
    for (const QRect& rect : logicalRegion.rects) {
        QRect device;
        aligned = aligned && DeviceRect(QRectF(rect), device);
        if (!aligned) {
            break;
        }
        if (!device.isEmpty()) {
            rects.push_back(device);
        }
    }
    if (aligned) {
        if (!RegionFromRects(rects, shape.region)) {
            shape.region = QRegion(); // more pieces than are worth uniting: nothing
        }
        return shape;
    }
    // Turned rectangles, all turned alike: under the winding rule their outlines fill
    // their union without any path arithmetic.
    const QTransform m = LogicalToDevice();
    shape.usesPath = true;
    shape.path.setFillRule(Qt::WindingFill);
    for (const QRect& rect : logicalRegion.rects) {
        shape.path.addPolygon(m.map(QPolygonF(QRectF(rect))));
        shape.path.closeSubpath();
    }
    return shape;
}

void MetafileCanvas::CombineClipWith(const ClipArea& deviceShape, int32_t mode)
{
    CombineClip(state_.clip, deviceShape, mode);
    ApplyClip();
}

void MetafileCanvas::IntersectClipRect(const QRectF& box)
{
    CombineClipWith(DeviceShapeOfRect(box), kRgnAnd);
}

void MetafileCanvas::ExcludeClipRect(const QRectF& box)
{
    CombineClipWith(DeviceShapeOfRect(box), kRgnDiff);
}

void MetafileCanvas::OffsetClip(QPointF logicalOffset)
{
    if (!state_.clip.active) {
        return;
    }
    const QTransform m = LogicalToDevice();
    const QPointF delta = m.map(logicalOffset) - m.map(QPointF(0, 0));
    if (!(std::abs(delta.x()) < (1 << 24) && std::abs(delta.y()) < (1 << 24))) {
        return;
    }
    if (state_.clip.usesPath) {
        state_.clip.path.translate(delta);
    } else {
        // Region coordinates are integers; a clip moved out that far is gone anyway.
        const QRect moved = state_.clip.region.boundingRect().translated(
            int(std::lround(delta.x())), int(std::lround(delta.y())));
        if (std::abs(moved.left()) > (1 << 28) || std::abs(moved.right()) > (1 << 28) ||
            std::abs(moved.top()) > (1 << 28) || std::abs(moved.bottom()) > (1 << 28)) {
            state_.clip.region = QRegion();
        } else {
            state_.clip.region.translate(int(std::lround(delta.x())), int(std::lround(delta.y())));
        }
    }
    ApplyClip();
}

// ---- the path bracket ----

void MetafileCanvas::BeginPath()
{
    path_ = QPainterPath();
    inBracket_ = true;
    figureOpen_ = false;
}

void MetafileCanvas::EndPath()
{
    inBracket_ = false;
    figureOpen_ = false;
}

void MetafileCanvas::AbortPath()
{
    path_ = QPainterPath();
    inBracket_ = false;
    figureOpen_ = false;
}

void MetafileCanvas::CloseFigure()
{
    if (inBracket_ && !path_.isEmpty()) {
        path_.closeSubpath();
        figureOpen_ = false;
    }
}

namespace {

// Filling closes every figure: the last point joins the first. Curves stay curves.
QPainterPath ClosedFigures(const QPainterPath& path)
{
    QPainterPath closed;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            if (i > 0) {
                closed.closeSubpath();
            }
            closed.moveTo(e);
            break;
        case QPainterPath::LineToElement: closed.lineTo(e); break;
        case QPainterPath::CurveToElement:
            if (i + 2 < path.elementCount()) {
                closed.cubicTo(e, path.elementAt(i + 1), path.elementAt(i + 2));
            }
            i += 2;
            break;
        case QPainterPath::CurveToDataElement: break;
        }
    }
    if (!closed.isEmpty()) {
        closed.closeSubpath();
    }
    return closed;
}

} // namespace

void MetafileCanvas::FillPath()
{
    if (inBracket_) {
        return; // the path is still being made
    }
    DrawDevice(ClosedFigures(path_), true, false);
    path_ = QPainterPath();
}

void MetafileCanvas::StrokePath()
{
    if (inBracket_) {
        return;
    }
    DrawDevice(path_, false, true);
    path_ = QPainterPath();
}

void MetafileCanvas::StrokeAndFillPath()
{
    if (inBracket_) {
        return;
    }
    const QPainterPath closed = ClosedFigures(path_);
    DrawDevice(closed, true, true);
    path_ = QPainterPath();
}

void MetafileCanvas::WidenPath()
{
    if (inBracket_ || path_.isEmpty()) {
        return;
    }
    const QPen pen = MakePen();
    if (pen.style() == Qt::NoPen) {
        return;
    }
    QPainterPathStroker stroker(pen);
    stroker.setWidth(std::max(pen.widthF(), 1.0));
    path_ = stroker.createStroke(path_);
}

void MetafileCanvas::SelectClipPath(int32_t mode)
{
    if (inBracket_ || path_.isEmpty()) {
        return;
    }
    ClipArea shape;
    shape.active = true;
    shape.usesPath = true;
    shape.path = ClosedFigures(path_);
    shape.path.setFillRule(state_.windingFill ? Qt::WindingFill : Qt::OddEvenFill);
    path_ = QPainterPath();
    CombineClipWith(shape, mode);
}

} // namespace figures
