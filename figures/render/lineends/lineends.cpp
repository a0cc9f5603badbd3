#include "figures/render/lineends/lineends.h"

#include "figures/render/drawcontext.h"
#include "figures/render/styles/linetype.h"

#include <QPainterPath>
#include <QPen>

#include <algorithm>

namespace figures {

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;
// The decorations white inside and outlined; the open arrowhead is outlined only.
bool IsHollow(uint8_t type)
{
    return type != kEndOpenArrowhead && IsOutlinedDecoration(type);
}

void SetPolygon(QPainterPath& path, const Point* p, int count)
{
    path.clear();
    path.moveTo(p[0].x, p[0].y);
    for (int i = 1; i < count; ++i) {
        path.lineTo(p[i].x, p[i].y);
    }
    path.closeSubpath();
}

// Narrows the clip to the area under the arrowhead at tip; false when the end has none.
bool ClipUnderArrowhead(const DrawContext& dc, QPainterPath& clip, Point from, Point tip,
                        const LineEnd& end, int32_t w)
{
    const ArrowheadClip polygon = ArrowheadClipPolygon(from, tip, end, w);
    if (polygon.count == 0) {
        return false;
    }
    SetPolygon(clip, polygon.p, polygon.count);
    // Clip polygons fill by the winding rule, so a head longer than its line, whose
    // polygon folds over, still keeps the whole segment.
    clip.setFillRule(Qt::WindingFill);
    dc.PushClip(clip);
    return true;
}

void DrawDecoration(const DrawContext& dc, Point from, Point tip, const LineEnd& end, int32_t w,
                    uint32_t colour)
{
    const DecorationShape shape = DecorationPoints(from, tip, end, w);
    if (shape.count == 0) {
        return;
    }
    const DrawContext::ScratchPath scratch(dc);
    QPainterPath& figure = *scratch;
    const QPen& pen = dc.RoundPen(w, colour);
    const Point* p = shape.p;
    if (end.type == kEndOpenArrowhead) {
        figure.moveTo(p[0].x, p[0].y);
        figure.lineTo(p[1].x, p[1].y);
        figure.lineTo(p[2].x, p[2].y);
        dc.StrokePath(figure, pen);
        return;
    }
    if (end.type == kEndEllipse || end.type == kEndHollowEllipse) {
        figure.addEllipse(QRectF(QPointF(p[0].x, p[0].y), QPointF(p[1].x, p[1].y)));
    } else {
        SetPolygon(figure, p, shape.count);
    }
    if (!IsHollow(end.type)) {
        dc.FillPath(figure, colour);
        return;
    }
    // White inside would vanish on a white line; such a line gets a black inside.
    dc.FillPath(figure, (colour & kWhite) == kWhite ? kBlack : kWhite);
    dc.StrokePath(figure, pen);
}

} // namespace

void DrawLineWithEnds(const DrawContext& dc, Point p1, Point p2, int32_t lineType,
                      int32_t widthUnits, const LineEnd& endAtP2, const LineEnd& endAtP1,
                      uint32_t colour)
{
    if (lineType == kLineNone) {
        return;
    }
    const int32_t w = DecorationLineWidth(lineType, widthUnits);
    {
        const DrawContext::ScratchPath clipAtP2(dc);
        const DrawContext::ScratchPath clipAtP1(dc);
        const DrawContext::ScratchPath segment(dc);
        const bool clippedAtP2 = ClipUnderArrowhead(dc, *clipAtP2, p1, p2, endAtP2, w);
        const bool clippedAtP1 = ClipUnderArrowhead(dc, *clipAtP1, p2, p1, endAtP1, w);
        segment->moveTo(p1.x, p1.y);
        segment->lineTo(p2.x, p2.y);
        dc.StrokeLine(*segment, lineType, widthUnits, colour);
        if (clippedAtP1) {
            dc.PopClip();
        }
        if (clippedAtP2) {
            dc.PopClip();
        }
    }
    DrawDecoration(dc, p1, p2, endAtP2, w, colour);
    DrawDecoration(dc, p2, p1, endAtP1, w, colour);
}

namespace {

// An arrow-line step's arrows word: bit 2 an arrowhead at p2, bit 1 one at p1.
constexpr LineEnd kArrowhead{kEndArrowhead, 1, 1};
constexpr LineEnd kPlain{};

LineEnd EndAtP2(uint16_t arrows)
{
    return (arrows & 2) ? kArrowhead : kPlain;
}

LineEnd EndAtP1(uint16_t arrows)
{
    return (arrows & 1) ? kArrowhead : kPlain;
}

} // namespace

void ArrowStepDrawer::ArrowLine(Point p1, Point p2, uint16_t arrows)
{
    DrawLineWithEnds(dc_, p1, p2, lineType_, widthUnits_, EndAtP2(arrows), EndAtP1(arrows),
                     colour_);
}

void ArrowStepBounds::ArrowLine(Point p1, Point p2, uint16_t arrows)
{
    const Rect r =
        LineWithEndsBounds(p1, p2, lineType_, widthUnits_, EndAtP2(arrows), EndAtP1(arrows));
    bounds = any ? bounds.United(r) : r;
    any = true;
}

} // namespace figures
