#include "figures/model/objects/cbasecom.h"

#include "figures/model/storage/carchive.h"
#include "figures/model/storage/cdatamanger.h"
#include "figures/model/handles/handlelist.h"
#include "figures/render/drawcontext.h"
#include "figures/render/numeric.h"

#include <atomic>
#include <cmath>
#include <numbers>

namespace figures {

namespace {

constexpr int32_t kObjectVersion = 1;

// The push button of a button handle: a small raised square.
void DrawButtonMark(QPainter& painter, Point at)
{
    const QRect r(at.x - kHandleHalfSize - 1, at.y - kHandleHalfSize - 1, 2 * kHandleHalfSize + 2,
                  2 * kHandleHalfSize + 2);
    painter.fillRect(r, QColor(0xD4, 0xD0, 0xC8));
    painter.setPen(QPen(Qt::white, 0));
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 0));
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
    painter.setPen(QPen(Qt::black, 0));
}

// Serials are never reused in a process, so cached geometry never outlives its object.
std::atomic<uint64_t> nextSerial{1};

} // namespace

CBaseCom::CBaseCom() : serial_(nextSerial.fetch_add(1, std::memory_order_relaxed)) {}

CBaseCom::~CBaseCom()
{
    ReleaseRecord();
}

std::string CBaseCom::TypeName() const
{
    return "基础对象";
}

void CBaseCom::ReleaseRecord()
{
    DataManager().ReleaseRecord(recordId_);
    recordId_ = 0;
    ++revision_;
}

bool CBaseCom::BuildGeometry(ObjectGeometry&) const
{
    return false;
}

bool CBaseCom::PaintedAreaFrom(PaintedAreaInputs&) const
{
    return false;
}

const ObjectGeometry* CBaseCom::GeometryFor(const DrawRequest& request) const
{
    const ObjectGeometry* geometry = request.geometry;
    if (geometry == nullptr || geometry->object != this || !geometry->built || request.pose ||
        request.target != frame || geometry->key != CurrentGeometryKey()) {
        return nullptr;
    }
    return geometry;
}

void CBaseCom::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteI32(kObjectVersion);
        ar.WriteI32(TypeId());
        ar.WriteU32(flags);
        ar.WriteI32(frame.left);
        ar.WriteI32(frame.top);
        ar.WriteI32(frame.right);
        ar.WriteI32(frame.bottom);
        ar.WriteI32(layer);
        ar.WriteI32(reserved);
        ar.WriteI32(angle);
        ar.WriteString(jumpTarget);
        DataManager().SerializeRecord(recordId_, ar);
        return;
    }
    ReleaseRecord();
    flags = 0;
    reserved = 0;
    frame = {};
    layer = 0;
    angle = 0;
    jumpTarget.clear();
    // Version and type id were checked by whoever chose this class to read the record.
    ar.Skip(8);
    flags = ar.ReadU32();
    frame.left = ar.ReadI32();
    frame.top = ar.ReadI32();
    frame.right = ar.ReadI32();
    frame.bottom = ar.ReadI32();
    layer = ar.ReadI32();
    reserved = ar.ReadI32();
    angle = ar.ReadI32();
    jumpTarget = ar.ReadString();
    DataManager().SerializeRecord(recordId_, ar);
    ++revision_;
}

int32_t CBaseCom::OnMessage(ObjectMessage code, const MessageArgs& args)
{
    switch (code) {
    case OM_GET_BOUNDS:
        if (BoundsRequest* request = MessageRecord<BoundsRequest>(args)) {
            request->bounds = Bounds(request->selectionMargin);
            return 0;
        }
        break;
    case OM_SET_CURSOR:
        if (HitRecord* hit = MessageRecord<HitRecord>(args); hit && hit->map) {
            hit->hitCode = HitTest(*hit->map, hit->devicePoint, *hit);
            if (hit->hitCode == HIT_MISS) {
                return -1;
            }
            if (hit->mode >= 1) {
                hit->cursor = CursorFor(*hit);
            }
            if (hit->mode >= 2) {
                hit->tooltip = TooltipFor(*hit);
            }
            return 0;
        }
        break;
    case OM_MOUSE_DOWN:
        if (HitRecord* hit = MessageRecord<HitRecord>(args); hit && hit->map) {
            hit->hitCode = HitTest(*hit->map, hit->devicePoint, *hit);
            if (hit->hitCode <= HIT_TOP_LEFT && hit->hitCode >= HIT_ROTATE) {
                return OM_HANDLE_DRAG;
            }
            return hit->hitCode == HIT_BODY ? OM_MOVE : -1;
        }
        break;
    case OM_DRAW_MARKS:
        if (const DrawRequest* request = MessageRecord<DrawRequest>(args)) {
            DrawMarks(*request);
            return 0;
        }
        break;
    case OM_BEGIN_HANDLE_DRAG:
        if (HandleDragRecord* drag = MessageRecord<HandleDragRecord>(args)) {
            drag->start = Pose();
            return 0;
        }
        break;
    case OM_TRACK_HANDLE_DRAG:
        if (HandleDragRecord* drag = MessageRecord<HandleDragRecord>(args)) {
            if (HasFlag(OF_LOCKED) || !TrackStandardHandle(*drag)) {
                return 0;
            }
            OutlineRequest outline;
            OnMessage(OM_MAKE_OUTLINE, &outline);
            drag->outline = std::move(outline.outline);
            drag->hasOutline = outline.found;
            return 0;
        }
        break;
    case OM_END_HANDLE_DRAG:
        if (MessageRecord<HandleDragRecord>(args) != nullptr) {
            return 0;
        }
        break;
    default: break;
    }
    return OM_UNHANDLED;
}

void CBaseCom::Draw(const DrawRequest&) const {}

Rect CBaseCom::Bounds(int32_t selectionMargin) const
{
    return RootBounds(selectionMargin);
}

Point CBaseCom::AdjustHandlePoint(const Handle& handle, int32_t halfSize) const
{
    const uint16_t x13 = uint16_t(handle.grid.x);
    const uint16_t y13 = uint16_t(handle.grid.y);
    Point p = GridToFrame(x13, y13, {frame.left, frame.top}, Width(), Height(),
                          HasFlag(OF_FLIPPED_H), HasFlag(OF_FLIPPED_V));
    p = RotatePoint(frame.Centre(), p, angle);
    // Structure handles and buttons on the frame's edge would cover the resize handles:
    // move them outside. Plain marks (a line's end points) stay on their points.
    if (handle.kind != HK_STRUCTURE && handle.kind != HK_BUTTON) {
        return p;
    }
    const int32_t push = 3 * halfSize;
    if (x13 == 0) {
        p.x -= push;
    } else if (x13 == kGridExtent) {
        p.x += push;
    }
    if (y13 == 0) {
        p.y -= push;
    } else if (y13 == kGridExtent) {
        p.y += push;
    }
    return p;
}

bool CBaseCom::AdjustHandleExists(uint16_t kind, const Rect& deviceFrame) const
{
    switch (kind) {
    // A locked object's drag handles are still drawn (grey), so that a selected locked
    // line shows its ends; the hit test never reaches handles of a locked object.
    case HK_DRAG: return true;
    case HK_STRUCTURE:
    case HK_BUTTON: return IsLargeFrame(deviceFrame) && !HasFlag(OF_LOCKED);
    default: return false;
    }
}

bool CBaseCom::StandardHandleExists(int position, const Rect& deviceFrame) const
{
    if (position == 8) {
        return IsLargeFrame(deviceFrame) && HasFlag(OF_ROTATE) && !HasFlag(OF_LOCKED);
    }
    return !IsEdgePosition(position) || IsLargeFrame(deviceFrame);
}

int32_t CBaseCom::HitTest(const DeviceMapping& map, Point devicePoint, HitRecord& hit) const
{
    const Rect deviceFrame = map.ToDevice(frame);
    if (!HasFlag(OF_LOCKED)) {
        const HandleList handles = HandleList::Decode(GetProperty(PT_HANDLES));
        const int32_t halfDoc = map.DocumentLengthX(kHandleHalfSize);
        const Point docPoint = map.ToDocument(devicePoint);
        for (size_t i = 0; i < handles.Count(); ++i) {
            const Handle h = handles.At(i);
            if (!AdjustHandleExists(h.kind, deviceFrame)) {
                continue;
            }
            const Point at = AdjustHandlePoint(h, halfDoc);
            if (std::abs(docPoint.x - at.x) <= halfDoc && std::abs(docPoint.y - at.y) <= halfDoc) {
                hit.kind = h.kind;
                hit.subKind = h.subKind;
                return int32_t(i);
            }
        }
        for (int position = 0; position < kStandardHandleCount; ++position) {
            const Point at = StandardHandlePoint(deviceFrame, position, angle, kHandleHalfSize);
            if (std::abs(devicePoint.x - at.x) <= kHandleHalfSize &&
                std::abs(devicePoint.y - at.y) <= kHandleHalfSize) {
                if (StandardHandleExists(position, deviceFrame)) {
                    return kStandardHitCodes[position];
                }
                break; // a handle that is not shown hides nothing: test the body
            }
        }
    }
    const Point unturned = RotatePoint(deviceFrame.Centre(), devicePoint, -angle);
    return deviceFrame.Contains(unturned) ? HIT_BODY : HIT_MISS;
}

CursorShape CBaseCom::CursorFor(const HitRecord& hit) const
{
    if (HasFlag(OF_LOCKED)) {
        return CursorShape::Arrow;
    }
    if (hit.hitCode >= 0) {
        switch (hit.subKind) {
        case 0:
            return hit.kind == HK_DRAG     ? CursorShape::MoveResizer
                   : hit.kind == HK_BUTTON ? CursorShape::Hand
                                           : CursorShape::MoveHandler;
        case 1: return CursorShape::SizeWE;
        case 2: return CursorShape::SizeNS;
        case 3: return CursorShape::MoveHandler;
        default: return CursorShape::None;
        }
    }
    if (hit.hitCode == HIT_ROTATE) {
        return CursorShape::Rotate;
    }
    if (IsResizeHit(hit.hitCode)) {
        return ResizeCursor(hit.hitCode, angle);
    }
    // A press on the body starts a move.
    return CursorShape::SizeAll;
}

const char* CBaseCom::TooltipFor(const HitRecord& hit) const
{
    return HandleTooltip(hit.hitCode, hit.kind);
}

void CBaseCom::DrawMarks(const DrawRequest& request) const
{
    const DrawContext& dc = *request.dc;
    QPainter& painter = dc.Painter();
    const Rect deviceFrame = dc.ToDevice(request.target);
    const bool locked = HasFlag(OF_LOCKED);
    painter.save();
    painter.setWorldTransform(QTransform());
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(locked ? QColor(0xC0, 0xC0, 0xC0) : QColor(Qt::black), 0));
    const auto square = [&](Point at, const QColor& fill) {
        painter.setBrush(fill);
        painter.drawRect(at.x - kHandleHalfSize, at.y - kHandleHalfSize, 2 * kHandleHalfSize,
                         2 * kHandleHalfSize);
    };
    if (StandardHandleExists(8, deviceFrame)) {
        const Point at = StandardHandlePoint(deviceFrame, 8, angle, kHandleHalfSize);
        painter.setBrush(QColor(0, 0xFF, 0xFF));
        painter.drawEllipse(QPoint(at.x, at.y), kHandleHalfSize, kHandleHalfSize);
    }
    for (int position = 0; position < 8; ++position) {
        if (StandardHandleExists(position, deviceFrame)) {
            square(StandardHandlePoint(deviceFrame, position, angle, kHandleHalfSize), Qt::white);
        }
    }
    // Adjust handles sit where the object is drawn, which may be away from its frame.
    const HandleList handles = HandleList::Decode(GetProperty(PT_HANDLES));
    const int32_t halfDoc = dc.DocumentLengthX(kHandleHalfSize);
    const int32_t dx = request.target.left - frame.left;
    const int32_t dy = request.target.top - frame.top;
    for (size_t i = 0; i < handles.Count(); ++i) {
        const Handle h = handles.At(i);
        if (!AdjustHandleExists(h.kind, deviceFrame)) {
            continue;
        }
        const Point doc = AdjustHandlePoint(h, halfDoc);
        const Point at = dc.ToDevice(Point{doc.x + dx, doc.y + dy});
        if (h.kind == HK_BUTTON) {
            DrawButtonMark(painter, at);
        } else {
            square(at, h.kind == HK_STRUCTURE ? QColor(0xFF, 0xFF, 0) : QColor(Qt::white));
        }
    }
    painter.restore();
}

bool CBaseCom::TrackStandardHandle(const HandleDragRecord& drag)
{
    const ObjectPose& start = drag.start;
    if (drag.handle == HIT_ROTATE) {
        const Point c = start.frame.Centre();
        const Point q{start.frame.left, start.frame.bottom};
        const Point p0 = RotatePoint(c, q, start.angle);
        const Point p{p0.x + drag.dx, p0.y + drag.dy};
        const double turn = std::atan2(double(p.y) - c.y, double(p.x) - c.x) -
                            std::atan2(double(q.y) - c.y, double(q.x) - c.x);
        int32_t a = RoundCoord(turn * 1800.0 / std::numbers::pi);
        if (a < 0) {
            a += 3600;
        }
        angle = a;
        return true;
    }
    if (!IsResizeHit(drag.handle)) {
        return false;
    }
    // The offset in the object's own axes.
    const Point uv = RotatePoint({0, 0}, {drag.dx, drag.dy}, -start.angle);
    const Rect& f = start.frame;
    Rect moved = f;
    const int32_t h = drag.handle;
    if (h == HIT_LEFT || h == HIT_BOTTOM_LEFT || h == HIT_TOP_LEFT) {
        moved.left = std::min(f.left + uv.x, f.right - kMinFrameExtent);
    }
    if (h == HIT_RIGHT || h == HIT_BOTTOM_RIGHT || h == HIT_TOP_RIGHT) {
        moved.right = std::max(f.right + uv.x, f.left + kMinFrameExtent);
    }
    if (h == HIT_TOP || h == HIT_TOP_RIGHT || h == HIT_TOP_LEFT) {
        moved.top = std::min(f.top + uv.y, f.bottom - kMinFrameExtent);
    }
    if (h == HIT_BOTTOM || h == HIT_BOTTOM_RIGHT || h == HIT_BOTTOM_LEFT) {
        moved.bottom = std::max(f.bottom + uv.y, f.top + kMinFrameExtent);
    }
    // The frame turns about its centre, so the centre moves by half the edges' travel
    // along the turned axes: the opposite edge then stays where it is on screen.
    const Point travel = RotatePoint({0, 0},
                                     {(moved.left - f.left) + (moved.right - f.right),
                                      (moved.top - f.top) + (moved.bottom - f.bottom)},
                                     start.angle);
    const int32_t w = moved.Width();
    const int32_t hgt = moved.Height();
    const int32_t centreX2 = f.left + f.right + travel.x;
    const int32_t centreY2 = f.top + f.bottom + travel.y;
    frame.left = (centreX2 - w) / 2;
    frame.top = (centreY2 - hgt) / 2;
    frame.right = frame.left + w;
    frame.bottom = frame.top + hgt;
    angle = start.angle;
    return true;
}

Rect CBaseCom::RootBounds(int32_t selectionMargin) const
{
    const Corners corners = RotatedCorners(frame, angle);
    return BoundsOfAnyPoints(corners.p).Inflated(selectionMargin);
}

bool CBaseCom::SetProperty(uint16_t tag, const uint8_t* data, int32_t length)
{
    CDataManger& dm = DataManager();
    if (recordId_ == 0) {
        if (data == nullptr && length == 0) {
            return true; // nothing to remove
        }
        recordId_ = dm.NewRecord(kItemListRecord);
    }
    ++revision_;
    return dm.SetItem(recordId_, tag, data, length, true);
}

std::span<const uint8_t> CBaseCom::GetProperty(uint16_t tag) const
{
    if (recordId_ == 0) {
        return {};
    }
    const uint8_t* data = nullptr;
    const uint16_t length = DataManager().FindItem(recordId_, tag, &data);
    if (data == nullptr || length == 0) {
        return {};
    }
    return {data, length};
}

} // namespace figures
