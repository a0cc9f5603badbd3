#include "figures/model/objects/clinegraph.h"

#include "figures/model/storage/carchive.h"
#include "figures/render/drawcontext.h"
#include "figures/render/numeric.h"
#include "figures/render/littleendian.h"

namespace figures {

void CLineGraph::Serialize(CArchive& ar)
{
    CRectCom::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteI32(closed);
        ar.WriteI32(layoutWidth);
        ar.WriteI32(layoutHeight);
        return;
    }
    closed = ar.ReadI32();
    layoutWidth = ar.ReadI32();
    layoutHeight = ar.ReadI32();
}

void CLineGraph::SetPoints(const std::vector<Point>& points)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(points.size() * 8);
    for (const Point& p : points) {
        AppendI32(bytes, p.x);
        AppendI32(bytes, p.y);
    }
    SetProperty(PT_POLYLINE, bytes);
}

std::vector<Point> CLineGraph::Points() const
{
    const std::span<const uint8_t> bytes = GetProperty(PT_POLYLINE);
    std::vector<Point> points;
    points.reserve(bytes.size() / 8);
    for (size_t at = 0; at + 8 <= bytes.size(); at += 8) {
        points.push_back({LoadI32(&bytes[at]), LoadI32(&bytes[at + 4])});
    }
    return points;
}

std::vector<Point> CLineGraph::PolylinePoints(const Rect& target) const
{
    return PolylinePoints(Pose(), target);
}

std::vector<Point> CLineGraph::PolylinePoints(const ObjectPose& pose, const Rect& target) const
{
    const std::vector<Point> stored = Points();
    if (stored.size() < 2) {
        return {};
    }
    const int32_t w = target.Width();
    const int32_t h = target.Height();
    // A zero layout extent cannot scale; such points are used as stored.
    const bool scaled = layoutWidth != kNotSet && layoutWidth != 0 && layoutHeight != 0;
    const Point centre{target.left + w / 2, target.top + h / 2};
    std::vector<Point> out;
    out.reserve(stored.size() + 1);
    for (const Point& p : stored) {
        int32_t x = scaled ? MulDiv(p.x, w, layoutWidth) : p.x;
        int32_t y = scaled ? MulDiv(p.y, h, layoutHeight) : p.y;
        if (pose.flags & OF_FLIPPED_H) {
            x = w - x;
        }
        if (pose.flags & OF_FLIPPED_V) {
            y = h - y;
        }
        out.push_back(RotatePoint(centre, {target.left + x, target.top + y}, pose.angle));
    }
    if (closed == 1 && stored.back() != stored.front()) {
        out.push_back(out.front());
    }
    return out;
}

bool CLineGraph::AddPolyline(QPainterPath& path, const ObjectPose& pose, const Rect& target) const
{
    const Rect placed{target.left, target.top, target.left + pose.frame.Width(),
                      target.top + pose.frame.Height()};
    const std::vector<Point> points = PolylinePoints(pose, placed);
    if (points.empty()) {
        return false;
    }
    path.moveTo(points[0].x, points[0].y);
    for (size_t i = 1; i < points.size(); ++i) {
        path.lineTo(points[i].x, points[i].y);
    }
    return true;
}

bool CLineGraph::FillRegion(const DrawRequest& request, QPainterPath& region) const
{
    if (!AddPolyline(region, PoseFor(request), request.target)) {
        return false;
    }
    region.setFillRule(Qt::OddEvenFill);
    return true;
}

bool CLineGraph::SilhouetteRegion(const DrawRequest& request, QPainterPath& region) const
{
    return FillRegion(request, region);
}

void CLineGraph::Draw(const DrawRequest& request) const
{
    DrawShadow(request);
    FillShape(request);
    const DrawContext::ScratchPath line(*request.dc);
    if (AddPolyline(*line, PoseFor(request), request.target)) {
        request.dc->StrokeLine(*line, lineStyle, LineWidthUnits(lineWidth),
                               PaintFor(request).lineColour);
    }
}

int32_t CLineGraph::OnMessage(ObjectMessage code, const MessageArgs& args)
{
    if (code == OM_MAKE_OUTLINE) {
        if (OutlineRequest* outline = MessageRecord<OutlineRequest>(args)) {
            outline->found = AddPolyline(outline->outline, Pose(), {0, 0, Width(), Height()});
            return 0;
        }
    }
    return CRectCom::OnMessage(code, args);
}

} // namespace figures
