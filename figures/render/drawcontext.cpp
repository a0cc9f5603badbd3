#include "figures/render/drawcontext.h"

#include "figures/render/colour.h"
#include "figures/render/styles/fillstyle.h"
#include "figures/render/styles/linestyle.h"
#include "figures/render/styles/svgpatternfills.h"

#include <QPaintEngine>

#include <algorithm>
#include <cmath>

namespace figures {

DrawContext::DrawContext(QPainter& painter, double dpiX, double dpiY, int32_t zoomX, int32_t zoomY,
                         Point origin)
    : DeviceMapping(dpiX, dpiY, zoomX, zoomY, origin), painter_(painter)
{
    painter_.setWorldTransform(WorldTransform());
}

void DrawContext::FillDevicePath(const QPainterPath& device, const QBrush& brush) const
{
    painter_.setWorldTransform(QTransform());
    painter_.fillPath(device, brush);
    painter_.setWorldTransform(WorldTransform());
}

bool DrawContext::ThinnerThanAPixel(const QPen& pen) const
{
    return !pen.isCosmetic() && pen.widthF() * std::max(ScaleX(), ScaleY()) < 1.0;
}

bool DrawContext::PaintsRaster() const
{
    return painter_.paintEngine() != nullptr &&
           painter_.paintEngine()->type() == QPaintEngine::Raster;
}

void DrawContext::StrokePath(const QPainterPath& doc, const QPen& pen) const
{
    if (pen.style() == Qt::NoPen) {
        return;
    }
    if (ThinnerThanAPixel(pen)) {
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
    const QPen* pen = pens_.Find({lineType, widthUnits, colour}, [&] {
        QPen made = LinePen(lineType, widthUnits, colour);
        // Made one pixel wide here once, so that stroking does not copy it every time.
        if (ThinnerThanAPixel(made)) {
            made.setCosmetic(true);
            made.setWidth(0);
        }
        return std::optional<QPen>(made);
    });
    StrokePath(doc, *pen);
}

const QPen& DrawContext::RoundPen(int32_t widthUnits, uint32_t colour) const
{
    const RoundPenKey key{widthUnits, colour, widthUnits * std::max(ScaleX(), ScaleY()) < 1.0};
    if (!(key == roundPenKey_)) {
        roundPen_ = QPen(QBrush(ToQColor(colour)), key.thin ? 0 : widthUnits, Qt::SolidLine,
                         Qt::RoundCap, Qt::RoundJoin);
        roundPen_.setCosmetic(key.thin);
        roundPenKey_ = key;
    }
    return roundPen_;
}

void DrawContext::FillPath(const QPainterPath& doc, uint32_t colour) const
{
    const QBrush* brush = solidBrushes_.Find(
        colour, [&] { return std::optional<QBrush>(QBrush(ToQColor(colour))); });
    painter_.fillPath(doc, *brush);
}

bool DrawContext::FillPattern(const QPainterPath& doc, int32_t pattern, uint32_t foreground,
                              uint32_t background) const
{
    if (svgPatterns_ != nullptr) {
        if (pattern < 0 || pattern >= FillPatternCount()) {
            return false;
        }
        // The tile is placed as DevicePixelBrush places the raster one.
        bool invertible = false;
        const QTransform toTile = WorldTransform().inverted(&invertible);
        const QColor marker = svgPatterns_->Marker(pattern, foreground, background,
                                                   invertible ? toTile : QTransform());
        painter_.fillPath(doc, QBrush(marker));
        return true;
    }
    const QBrush* brush = patternBrushes_.Find(
        {pattern, foreground, background}, [&]() -> std::optional<QBrush> {
            const std::optional<QBrush> made = MakeFillBrush(pattern, foreground, background);
            if (!made) {
                return std::nullopt;
            }
            // Patterns keep their 8 x 8 device pixels at every zoom.
            return DevicePixelBrush(*made, WorldTransform());
        });
    if (brush == nullptr) {
        return false;
    }
    painter_.fillPath(doc, *brush);
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

namespace {

// What QPainterPath::clear leaves: the one move to the origin a path starts with.
bool IsCleared(const QPainterPath& path)
{
    if (path.elementCount() != 1) {
        return false;
    }
    const QPainterPath::Element& only = path.elementAt(0);
    return only.isMoveTo() && only.x == 0 && only.y == 0;
}

} // namespace

DrawContext::ScratchPath::ScratchPath(const DrawContext& dc)
    : dc_(dc), path_([&dc]() -> QPainterPath& {
          if (dc.scratchInUse_ == dc.scratch_.size()) {
              dc.scratch_.push_back(std::make_unique<QPainterPath>());
          }
          QPainterPath& path = *dc.scratch_[dc.scratchInUse_++];
          // Most loans go back untouched (an object drawing from its cached geometry), and
          // clearing costs as much as the rest of the loan. Clearing keeps the element
          // storage but not the fill rule, which an earlier loan may have changed.
          if (!IsCleared(path)) {
              path.clear();
          }
          if (path.fillRule() != Qt::OddEvenFill) {
              path.setFillRule(Qt::OddEvenFill);
          }
          return path;
      }())
{}

DrawContext::ScratchPath::~ScratchPath()
{
    --dc_.scratchInUse_;
}

} // namespace figures
