#include "figures/render/lineends/lineendgeometry.h"

#include "figures/render/numeric.h"
#include "figures/render/styles/linetype.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace figures {

namespace {

// The point `length` away from p in the direction `radians` (y down).
Point Along(Point p, double radians, int32_t length)
{
    return {p.x + RoundCoord(length * std::cos(radians)),
            p.y + RoundCoord(length * std::sin(radians))};
}

} // namespace

DecorationSize DecorationSizeFor(int32_t w, const LineEnd& end)
{
    int32_t m = w / 3;
    const int32_t big = std::max(m, 10);
    m = std::max(m, 3);
    return {w + 2 * (big + m * (end.size1 - 1)), w / 2 + big + m * (end.size2 - 1)};
}

bool IsOutlinedDecoration(uint8_t type)
{
    switch (type) {
    case kEndHollowArrowhead:
    case kEndOpenArrowhead:
    case kEndHollowNotchedArrowhead:
    case kEndHollowDiamond:
    case kEndHollowSquare:
    case kEndHollowEllipse: return true;
    default: return false;
    }
}

DecorationShape DecorationPoints(Point from, Point tip, const LineEnd& end, int32_t w)
{
    DecorationShape shape;
    if (end.type == kEndNone || end.type > kEndHollowEllipse) {
        return shape;
    }
    const DecorationSize size = DecorationSizeFor(w, end);
    const int32_t h = size.halfWidth;
    const double forward = std::atan2(double(tip.y) - from.y, double(tip.x) - from.x);
    const double back = forward + std::numbers::pi;
    const double left = forward - std::numbers::pi / 2;
    const double right = forward + std::numbers::pi / 2;

    if (end.type <= kEndHollowNotchedArrowhead) {
        const Point base = Along(tip, back, size.length);
        shape.p[0] = Along(base, left, h);
        shape.p[1] = tip;
        shape.p[2] = Along(base, right, h);
        shape.count = 3;
        if (end.type >= kEndNotchedArrowhead) {
            shape.p[3] = Along(base, forward, size.length / 4);
            shape.count = 4;
        }
        return shape;
    }
    const int32_t half = size.length / 2;
    if (end.type <= kEndHollowDiamond) {
        shape.p[0] = Along(tip, left, h);
        shape.p[1] = Along(tip, forward, half);
        shape.p[2] = Along(tip, right, h);
        shape.p[3] = Along(tip, back, half);
        shape.count = 4;
    } else if (end.type <= kEndHollowSquare) {
        const Point behind = Along(tip, back, half);
        const Point ahead = Along(tip, forward, half);
        shape.p[0] = Along(behind, right, h);
        shape.p[1] = Along(ahead, right, h);
        shape.p[2] = Along(ahead, left, h);
        shape.p[3] = Along(behind, left, h);
        shape.count = 4;
    } else {
        shape.p[0] = {tip.x - half, tip.y - h};
        shape.p[1] = {tip.x + half, tip.y + h};
        shape.count = 2;
    }
    return shape;
}

ArrowheadClip ArrowheadClipPolygon(Point from, Point tip, const LineEnd& end, int32_t w)
{
    ArrowheadClip clip;
    if (end.type < kEndArrowhead || end.type > kEndHollowNotchedArrowhead) {
        return clip;
    }
    const DecorationShape head = DecorationPoints(from, tip, end, w);
    const int32_t h = DecorationSizeFor(w, end).halfWidth;
    const double forward = std::atan2(double(tip.y) - from.y, double(tip.x) - from.x);
    const Point beyond = Along(from, forward + std::numbers::pi, w);
    clip.p[0] = head.p[0];
    clip.p[1] = head.p[1];
    clip.p[2] = head.p[2];
    // The base corners lie left then right of the line, so the far side runs back right
    // then left to close the figure without crossing it.
    clip.p[3] = Along(beyond, forward + std::numbers::pi / 2, h);
    clip.p[4] = Along(beyond, forward - std::numbers::pi / 2, h);
    clip.count = 5;
    return clip;
}

int32_t DecorationLineWidth(int32_t lineType, int32_t widthUnits)
{
    return LineTypeUsesWidth(lineType) ? widthUnits : 1;
}

Rect LineWithEndsBounds(Point p1, Point p2, int32_t lineType, int32_t widthUnits,
                        const LineEnd& endAtP2, const LineEnd& endAtP1)
{
    const int32_t w = DecorationLineWidth(lineType, widthUnits);
    Rect bounds = Rect{p1.x, p1.y, p2.x, p2.y}.Normalised();
    if (lineType == kLineNone) {
        return bounds;
    }
    const int32_t grow = w / 2 + 1;
    bounds = bounds.Inflated(grow);

    Point points[8];
    int count = 0;
    for (const DecorationShape& d :
         {DecorationPoints(p1, p2, endAtP2, w), DecorationPoints(p2, p1, endAtP1, w)}) {
        std::copy_n(d.p, d.count, points + count);
        count += d.count;
    }
    if (count == 0) {
        return bounds;
    }
    Rect decorations = BoundsOfAnyPoints({points, size_t(count)});
    if (IsOutlinedDecoration(endAtP2.type) || IsOutlinedDecoration(endAtP1.type)) {
        decorations = decorations.Inflated(grow);
    }
    return bounds.United(decorations);
}

} // namespace figures
