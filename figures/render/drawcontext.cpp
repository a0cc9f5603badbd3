#include "figures/render/drawcontext.h"

#include "figures/render/colour.h"
#include "figures/render/fillstyle.h"
#include "figures/render/linestyle.h"

#include <algorithm>
#include <cmath>

namespace figures {

namespace {

int32_t Round(double v)
{
    return int32_t(std::lround(v));
}

} // namespace

DrawContext::DrawContext(QPainter& painter, double dpiX, double dpiY, int32_t zoomX, int32_t zoomY,
                         Point origin)
    : painter_(painter), dpiX_(dpiX), dpiY_(dpiY),
      scaleX_(dpiX / kUnitsPerInch * zoomX / kZoomScale),
      scaleY_(dpiY / kUnitsPerInch * zoomY / kZoomScale), origin_(origin)
{
    world_ = QTransform(scaleX_, 0, 0, scaleY_, -origin.x * scaleX_, -origin.y * scaleY_);
    painter_.setWorldTransform(world_);
}

Point DrawContext::ToDevice(Point doc) const
{
    return {Round((double(doc.x) - origin_.x) * scaleX_),
            Round((double(doc.y) - origin_.y) * scaleY_)};
}

Point DrawContext::ToDocument(Point device) const
{
    return {Round(device.x / scaleX_) + origin_.x, Round(device.y / scaleY_) + origin_.y};
}

int32_t DrawContext::DeviceLengthX(int32_t units) const
{
    return Round(units * scaleX_);
}

int32_t DrawContext::DocumentLengthX(int32_t pixels) const
{
    return Round(pixels / scaleX_);
}

Rect DrawContext::ToDocument(const Rect& device) const
{
    const Point a = ToDocument(Point{device.left, device.top});
    const Point b = ToDocument(Point{device.right, device.bottom});
    return Rect{a.x, a.y, b.x, b.y}.Normalised();
}

Rect DrawContext::ToDevice(const Rect& doc) const
{
    const Point a = ToDevice(Point{doc.left, doc.top});
    const Point b = ToDevice(Point{doc.right, doc.bottom});
    return Rect{a.x, a.y, b.x, b.y}.Normalised();
}

void DrawContext::FillDevicePath(const QPainterPath& device, const QBrush& brush) const
{
    painter_.setWorldTransform(QTransform());
    painter_.fillPath(device, brush);
    painter_.setWorldTransform(world_);
}

void DrawContext::StrokePath(const QPainterPath& doc, const QPen& pen) const
{
    if (pen.style() == Qt::NoPen) {
        return;
    }
    if (!pen.isCosmetic() && pen.widthF() * std::max(scaleX_, scaleY_) < 1.0) {
        QPen thin = pen;
        thin.setCosmetic(true);
        thin.setWidth(0);
        painter_.strokePath(doc, thin);
        return;
    }
    painter_.strokePath(doc, pen);
}

void DrawContext::StrokeLine(const QPainterPath& doc, int32_t lineType, int32_t widthUnits,
                             uint32_t colour) const
{
    const PenKey key{lineType, widthUnits, colour};
    if (!(key == penKey_)) {
        pen_ = LinePen(lineType, widthUnits, colour);
        penKey_ = key;
    }
    StrokePath(doc, pen_);
}

void DrawContext::FillPath(const QPainterPath& doc, uint32_t colour) const
{
    if (colour != solidColour_) {
        solidBrush_.setColor(ToQColor(colour));
        solidColour_ = colour;
    }
    painter_.fillPath(doc, solidBrush_);
}

bool DrawContext::FillPattern(const QPainterPath& doc, int32_t pattern, uint32_t foreground,
                              uint32_t background) const
{
    const PatternKey key{pattern, foreground, background};
    if (!(key == patternKey_)) {
        const std::optional<QBrush> brush = MakeFillBrush(pattern, foreground, background);
        if (!brush) {
            return false;
        }
        // Patterns keep their 8 x 8 device pixels at every zoom.
        patternBrush_ = DevicePixelBrush(*brush, world_);
        patternKey_ = key;
    }
    painter_.fillPath(doc, patternBrush_);
    return true;
}

void DrawContext::PushClip(const QPainterPath& doc) const
{
    painter_.save();
    painter_.setClipPath(doc, painter_.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void DrawContext::PopClip() const
{
    painter_.restore();
}

} // namespace figures
