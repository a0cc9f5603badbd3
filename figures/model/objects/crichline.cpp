#include "figures/model/objects/crichline.h"

#include "figures/model/storage/carchive.h"
#include "figures/model/handles/handlelist.h"
#include "figures/model/objects/objectui.h"
#include "figures/model/handles/handlelist.h"
#include "figures/render/drawcontext.h"
#include "figures/render/lineends/lineends.h"
#include "figures/render/littleendian.h"
#include "figures/render/numeric.h"
#include "figures/render/shapes/shapeprogram.h"

#include <array>
#include <cstdlib>

namespace figures {

namespace {

constexpr size_t kLineProgramBytes = 10;
constexpr uint8_t kLargestEndSize = 3;

// v, or 0 when its magnitude is within the dead zone.
int32_t OutsideDeadZone(int32_t v, int32_t deadZone)
{
    return std::abs(int64_t(v)) <= deadZone ? 0 : v;
}

// Moves `value` onto `target` when it lies within `distance` of it.
int32_t Snapped(int32_t value, int32_t target, int32_t distance)
{
    return std::abs(int64_t(value) - target) <= distance ? target : value;
}

} // namespace

void CRichLine::Serialize(CArchive& ar)
{
    CRectCom::Serialize(ar);
    uint8_t* fields[] = {&end2Size, &end1Size, &end2Length, &end1Length,
                         &end2Type, &end1Type, &capButtons};
    for (uint8_t* field : fields) {
        if (ar.IsStoring()) {
            ar.WriteU8(*field);
        } else {
            *field = ar.ReadU8();
        }
    }
}

void CRichLine::SetEndPoints(Point p1, Point p2)
{
    Rect f = Rect{p1.x, p1.y, p2.x, p2.y}.Normalised();
    if (f.Width() < kMinExtent) {
        f.right = f.left + kMinExtent;
    }
    if (f.Height() < kMinExtent) {
        f.bottom = f.top + kMinExtent;
    }
    frame = f;
    const auto toGrid = [&](Point p) {
        return Point{MulDiv(p.x - f.left, kGridExtent, f.Width()),
                     MulDiv(p.y - f.top, kGridExtent, f.Height())};
    };
    const Point g1 = toGrid(p1);
    const Point g2 = toGrid(p2);
    std::array<uint8_t, kLineProgramBytes> program{};
    const uint16_t words[5] = {kLine, uint16_t(g1.x), uint16_t(g1.y), uint16_t(g2.x),
                               uint16_t(g2.y)};
    for (size_t i = 0; i < 5; ++i) {
        StoreU16(&program[2 * i], words[i]);
    }
    SetProperty(PT_PROGRAM, program);
    RebuildHandles();
}

bool CRichLine::GridEndPoints(Point& g1, Point& g2) const
{
    const std::span<const uint8_t> program = GetProperty(PT_PROGRAM);
    if (program.size() < kLineProgramBytes || LoadU16(&program[0]) != kLine) {
        return false;
    }
    g1 = {LoadU16(&program[2]), LoadU16(&program[4])};
    g2 = {LoadU16(&program[6]), LoadU16(&program[8])};
    return true;
}

bool CRichLine::EndPoints(Point origin, Point& p1, Point& p2) const
{
    return EndPoints(Pose(), origin, p1, p2);
}

bool CRichLine::EndPoints(const ObjectPose& pose, Point origin, Point& p1, Point& p2) const
{
    Point g1, g2;
    if (!GridEndPoints(g1, g2)) {
        return false;
    }
    const bool flipH = (pose.flags & OF_FLIPPED_H) != 0;
    const bool flipV = (pose.flags & OF_FLIPPED_V) != 0;
    const int32_t w = pose.frame.Width();
    const int32_t h = pose.frame.Height();
    p1 = GridToFrame(g1.x, g1.y, origin, w, h, flipH, flipV);
    p2 = GridToFrame(g2.x, g2.y, origin, w, h, flipH, flipV);
    const Point middle{(p1.x + p2.x) / 2, (p1.y + p2.y) / 2};
    p1 = RotatePoint(middle, p1, pose.angle);
    p2 = RotatePoint(middle, p2, pose.angle);
    return true;
}

void CRichLine::RebuildHandles()
{
    Point g1, g2;
    if (!GridEndPoints(g1, g2)) {
        return;
    }
    HandleList handles;
    handles.Add(HK_DRAG, g1);
    handles.Add(HK_DRAG, g2);
    if (capButtons == BothButtons || capButtons == ButtonAtEnd1) {
        handles.Add(HK_BUTTON, g1);
    }
    if (capButtons == BothButtons || capButtons == ButtonAtEnd2) {
        handles.Add(HK_BUTTON, g2);
    }
    SetProperty(PT_HANDLES, handles.Bytes());
}

bool CRichLine::DragEndPoint(int32_t handle, Point start1, Point start2, int32_t dx, int32_t dy)
{
    if (handle != 0 && handle != 1) {
        return false;
    }
    Point p1 = start1;
    Point p2 = start2;
    Point& moved = handle == 0 ? p1 : p2;
    moved = {moved.x + dx, moved.y + dy};
    // The second point always follows the first, whichever was dragged.
    p2 = {Snapped(p2.x, p1.x, kSnapDistance), Snapped(p2.y, p1.y, kSnapDistance)};
    if (p1 == p2) {
        return false;
    }
    flags &= ~(OF_FLIPPED_H | OF_FLIPPED_V);
    angle = 0;
    SetEndPoints(p1, p2);
    return true;
}

bool CRichLine::SetLineEnd(int32_t end, const LineEnd& chosen)
{
    if ((end != 1 && end != 2) || chosen.type > kEndHollowEllipse) {
        return false;
    }
    LineEnd stored = chosen;
    if (stored.type == kEndNone) {
        stored.size1 = stored.size2 = 1;
    } else if (stored.size1 < 1 || stored.size1 > kLargestEndSize || stored.size2 < 1 ||
               stored.size2 > kLargestEndSize) {
        return false;
    }
    uint8_t& type = end == 1 ? end1Type : end2Type;
    uint8_t& size = end == 1 ? end1Size : end2Size;
    uint8_t& length = end == 1 ? end1Length : end2Length;
    type = stored.type;
    size = stored.size1;
    length = stored.size2;
    return true;
}

int32_t CRichLine::CapButtonEnd(int32_t handleIndex) const
{
    // Tag 2 holds the two drag handles, then the buttons.
    constexpr int32_t kFirstButton = 2;
    switch (capButtons) {
    case ButtonAtEnd2: return handleIndex == kFirstButton ? 2 : 0;
    case ButtonAtEnd1: return handleIndex == kFirstButton ? 1 : 0;
    case BothButtons:
        if (handleIndex == kFirstButton) {
            return 1;
        }
        return handleIndex == kFirstButton + 1 ? 2 : 0;
    default: return 0;
    }
}

void CRichLine::Draw(const DrawRequest& request) const
{
    // A line has no silhouette, so its shadow is the line drawn again in the shadow colour.
    DrawShadow(request);
    Point p1, p2;
    if (!EndPoints(PoseFor(request), {request.target.left, request.target.top}, p1, p2)) {
        return;
    }
    DrawLineWithEnds(*request.dc, p1, p2, lineStyle, LineWidthUnits(lineWidth), End2(), End1(),
                     PaintFor(request).lineColour);
}

Rect CRichLine::Bounds(int32_t selectionMargin) const
{
    const Rect bounds = RectBounds(selectionMargin);
    Point p1, p2;
    if (!EndPoints({frame.left, frame.top}, p1, p2)) {
        return bounds;
    }
    const Rect line =
        LineWithEndsBounds(p1, p2, lineStyle, LineWidthUnits(lineWidth), End2(), End1());
    return bounds.United(WithShadow(line));
}

// Beyond the end points, which the geometry key holds, the area grows with the pen, the
// end decorations and the shadow.
bool CRichLine::PaintedAreaFrom(PaintedAreaInputs& inputs) const
{
    const auto packed = [](const LineEnd& end) {
        return int32_t(end.type) << 16 | int32_t(end.size1) << 8 | int32_t(end.size2);
    };
    inputs = {lineStyle, lineWidth, shadowDirection, shadowOffset, packed(End1()), packed(End2())};
    return true;
}

int32_t CRichLine::TrackCreate(TrackCreateArgs& track)
{
    if (track.event == TrackEvent::Other) {
        return OM_NOT_TRACKED;
    }
    const int32_t dx = OutsideDeadZone(track.dx, kCreateDeadZone);
    const int32_t dy = OutsideDeadZone(track.dy, kCreateDeadZone);
    outlineWithheld_ = dx == 0 && dy == 0;
    if (!outlineWithheld_) {
        SetEndPoints(createStart_, {createStart_.x + dx, createStart_.y + dy});
    }
    OutlineRequest outline;
    MakeOutline(outline);
    track.outline = std::move(outline.outline);
    track.hasOutline = outline.found;
    return track.event == TrackEvent::LeftButtonUp ? 0 : OM_CONTINUE;
}

void CRichLine::MakeOutline(OutlineRequest& outline) const
{
    Point p1, p2;
    outline.found = !outlineWithheld_ && EndPoints({0, 0}, p1, p2);
    if (outline.found) {
        outline.outline.moveTo(p1.x, p1.y);
        outline.outline.lineTo(p2.x, p2.y);
    }
}

int32_t CRichLine::OnMessage(ObjectMessage code, const MessageArgs& args)
{
    switch (code) {
    case OM_BEGIN_CREATE:
        if (const BeginCreateArgs* begin = MessageRecord<BeginCreateArgs>(args)) {
            createStart_ = begin->start;
            // Nothing has been dragged yet: the offset is inside the dead zone.
            outlineWithheld_ = true;
            return 0;
        }
        break;
    case OM_TRACK_CREATE:
        if (TrackCreateArgs* track = MessageRecord<TrackCreateArgs>(args)) {
            return TrackCreate(*track);
        }
        break;
    case OM_END_CREATE:
        if (MessageRecord<EndCreateArgs>(args) != nullptr) {
            outlineWithheld_ = false;
            return 0;
        }
        break;
    case OM_MAKE_OUTLINE:
        if (OutlineRequest* outline = MessageRecord<OutlineRequest>(args)) {
            MakeOutline(*outline);
            return 0;
        }
        break;
    case OM_MOUSE_DOWN:
        if (HitRecord* hit = MessageRecord<HitRecord>(args); hit && hit->map) {
            hit->hitCode = HitTest(*hit->map, hit->devicePoint, *hit);
            if (hit->hitCode >= 0 && hit->kind == HK_BUTTON) {
                return PressCapButton(*hit);
            }
            if (hit->hitCode == 0 || hit->hitCode == 1) {
                return HasFlag(OF_LOCKED) ? -1 : OM_HANDLE_DRAG;
            }
            return hit->hitCode == HIT_BODY ? OM_MOVE : -1;
        }
        break;
    case OM_BEGIN_HANDLE_DRAG:
        if (HandleDragRecord* drag = MessageRecord<HandleDragRecord>(args)) {
            Point p1, p2;
            if (EndPoints({frame.left, frame.top}, p1, p2)) {
                drag->ends = {p1, p2};
            }
            return CRectCom::OnMessage(code, args);
        }
        break;
    case OM_TRACK_HANDLE_DRAG:
        if (HandleDragRecord* drag = MessageRecord<HandleDragRecord>(args)) {
            drag->hasOutline = false;
            if (HasFlag(OF_LOCKED) ||
                !DragEndPoint(drag->handle, drag->ends[0], drag->ends[1], drag->dx, drag->dy)) {
                return 0;
            }
            OutlineRequest outline;
            MakeOutline(outline);
            drag->outline = std::move(outline.outline);
            drag->hasOutline = outline.found;
            return 0;
        }
        break;
    default: break;
    }
    return CRectCom::OnMessage(code, args);
}

bool CRichLine::StandardHandleExists(int, const Rect&) const
{
    return false;
}

const char* CRichLine::TooltipFor(const HitRecord& hit) const
{
    return hit.hitCode >= 0 ? LineHandleTooltip(hit.kind) : "";
}

int32_t CRichLine::HitTest(const DeviceMapping& map, Point devicePoint, HitRecord& hit) const
{
    const int32_t code = CRectCom::HitTest(map, devicePoint, hit);
    if (code != HIT_BODY) {
        return IsResizeHit(code) || code == HIT_ROTATE ? HIT_MISS : code;
    }
    Point p1, p2;
    if (!EndPoints({frame.left, frame.top}, p1, p2)) {
        return HIT_MISS;
    }
    int32_t half = map.DocumentLengthX(kHandleHalfSize);
    if (LineTypeUsesWidth(lineStyle)) {
        half = std::max(half, LineWidthUnits(lineWidth) / 2);
    }
    // The hexagon: the segment's two sides at the half-width, capped by a point beyond
    // each end.
    const double length = std::hypot(double(p2.x) - p1.x, double(p2.y) - p1.y);
    const double ux = length > 0 ? (p2.x - p1.x) / length : 1.0;
    const double uy = length > 0 ? (p2.y - p1.y) / length : 0.0;
    const double nx = -uy * half;
    const double ny = ux * half;
    const QPolygonF hexagon({QPointF(p1.x - ux * half, p1.y - uy * half),
                             QPointF(p1.x + nx, p1.y + ny), QPointF(p2.x + nx, p2.y + ny),
                             QPointF(p2.x + ux * half, p2.y + uy * half),
                             QPointF(p2.x - nx, p2.y - ny), QPointF(p1.x - nx, p1.y - ny)});
    const Point doc = map.ToDocument(devicePoint);
    return hexagon.containsPoint(QPointF(doc.x, doc.y), Qt::OddEvenFill) ? HIT_BODY : HIT_MISS;
}

int32_t CRichLine::PressCapButton(const HitRecord& hit)
{
    const int32_t end = CapButtonEnd(hit.hitCode);
    if (end == 0 || hit.ui == nullptr) {
        return -1;
    }
    LineEnd chosen;
    if (hit.ui->ChooseLineEnd(hit.devicePoint, end == 1 ? End1() : End2(), chosen)) {
        SetLineEnd(end, chosen);
    }
    // Handled either way: the view repaints the line.
    return 0;
}

} // namespace figures
