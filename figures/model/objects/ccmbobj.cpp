#include "figures/model/objects/ccmbobj.h"

#include "figures/model/storage/carchive.h"
#include "figures/model/objects/objectregistry.h"
#include "figures/render/numeric.h"

#include <algorithm>

namespace figures {

namespace {

// The smallest possible object record: the root part with an empty jump target and no
// property record, preceded by the child's type id. Used to refuse child counts that
// the remaining bytes cannot hold before allocating anything.
constexpr size_t kMinChildBytes = 4 + 11 * 4 + 6;

// v scaled from the layout extent to the current one; an unusable layout extent (0)
// leaves v as stored rather than dividing by zero.
int32_t ScaleToExtent(int32_t v, int32_t extent, int32_t layoutExtent)
{
    return layoutExtent == 0 ? v : MulDiv(v, extent, layoutExtent);
}

} // namespace

void CCmbObj::Serialize(CArchive& ar)
{
    CRectCom::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteI32(layoutWidth);
        ar.WriteI32(layoutHeight);
        ar.WriteI32(int32_t(children.size()) - 1);
        for (const auto& child : children) {
            ar.WriteI32(child->TypeId());
            child->Serialize(ar);
        }
        return;
    }
    children.clear();
    layoutWidth = kNotSet;
    layoutHeight = kNotSet;
    layoutWidth = ar.ReadI32();
    layoutHeight = ar.ReadI32();
    const int32_t last = ar.ReadI32();
    if (last < -1) {
        throw ArchiveError("negative member count in a group");
    }
    const size_t count = size_t(int64_t(last) + 1);
    if (count > ar.Remaining() / kMinChildBytes) {
        throw TruncatedDataError("group member count exceeds the data");
    }
    const CArchive::NestingGuard guard(ar);
    children.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const int32_t typeId = ar.ReadI32();
        std::unique_ptr<CBaseCom> child = ClassFromTypeId(typeId);
        if (!child) {
            throw UnregisteredClassError("a group member has an unknown type id");
        }
        child->Serialize(ar);
        children.push_back(std::move(child));
    }
}

std::unique_ptr<CCmbObj> CCmbObj::Group(std::vector<std::unique_ptr<CBaseCom>> members)
{
    auto group = std::make_unique<CCmbObj>();
    if (members.empty()) {
        return group;
    }
    Rect bounds;
    bool first = true;
    bool rotatable = true;
    bool flippable = true;
    bool locked = true;
    for (const auto& member : members) {
        const Corners corners = RotatedCorners(member->frame, member->angle);
        const Rect box = BoundsOfAnyPoints(corners.p);
        bounds = first ? box : bounds.Spanning(box);
        first = false;
        rotatable = rotatable && member->HasFlag(OF_ROTATE);
        flippable = flippable && member->HasFlag(OF_FLIP);
        locked = locked && member->HasFlag(OF_LOCKED);
    }
    group->frame = bounds;
    group->layoutWidth = bounds.Width();
    group->layoutHeight = bounds.Height();
    if (!rotatable) {
        group->flags &= ~OF_ROTATE;
    }
    if (!flippable) {
        group->flags &= ~OF_FLIP;
    }
    if (locked) {
        group->flags |= OF_LOCKED;
    }
    for (auto& member : members) {
        member->frame = member->frame.Offset(-bounds.left, -bounds.top);
    }
    group->children = std::move(members);
    return group;
}

std::vector<CBaseCom*> CCmbObj::ChildrenInDrawOrder() const
{
    std::vector<CBaseCom*> order;
    order.reserve(children.size());
    for (const auto& child : children) {
        order.push_back(child.get());
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const CBaseCom* a, const CBaseCom* b) { return a->layer < b->layer; });
    return order;
}

ChildPlacement CCmbObj::PlaceChild(const CBaseCom& child, const Rect& target) const
{
    return PlaceChild(Pose(), child, target);
}

ChildPlacement CCmbObj::PlaceChild(const ObjectPose& pose, const CBaseCom& child,
                                   const Rect& target) const
{
    const Rect& groupFrame = pose.frame;
    const int32_t groupWidth = groupFrame.Width();
    const int32_t groupHeight = groupFrame.Height();
    const Rect& stored = child.frame;
    int32_t cx = (stored.left + stored.right) / 2;
    int32_t cy = (stored.top + stored.bottom) / 2;
    int32_t w = stored.Width();
    int32_t h = stored.Height();
    if (layoutWidth != kNotSet) {
        cx = ScaleToExtent(cx, groupWidth, layoutWidth);
        cy = ScaleToExtent(cy, groupHeight, layoutHeight);
        w = ScaleToExtent(w, groupWidth, layoutWidth);
        h = ScaleToExtent(h, groupHeight, layoutHeight);
    }
    if (pose.flags & OF_FLIPPED_H) {
        cx = groupWidth - cx;
    }
    if (pose.flags & OF_FLIPPED_V) {
        cy = groupHeight - cy;
    }
    const Point centre =
        RotatePoint(groupFrame.Centre(), {cx + groupFrame.left, cy + groupFrame.top}, pose.angle);

    ChildPlacement placement;
    placement.frame.left = centre.x - w / 2;
    placement.frame.top = centre.y - h / 2;
    placement.frame.right = placement.frame.left + w;
    placement.frame.bottom = placement.frame.top + h;
    placement.flags = child.flags ^ (pose.flags & (OF_FLIPPED_H | OF_FLIPPED_V));
    placement.angle = child.HasFlag(OF_ROTATE) ? child.angle + pose.angle : child.angle;
    placement.target.left = target.left + placement.frame.left - groupFrame.left;
    placement.target.top = target.top + placement.frame.top - groupFrame.top;
    placement.target.right = placement.target.left + w;
    placement.target.bottom = placement.target.top + h;
    return placement;
}

void CCmbObj::DrawChildren(const DrawRequest& request) const
{
    const ObjectPose pose = PoseFor(request);
    for (const CBaseCom* child : ChildrenInDrawOrder()) {
        const ChildPlacement placement = PlaceChild(pose, *child, request.target);
        DrawRequest childRequest = request;
        childRequest.target = placement.target;
        childRequest.pose = ObjectPose{placement.frame, placement.flags, placement.angle};
        child->Draw(childRequest);
    }
}

void CCmbObj::Draw(const DrawRequest& request) const
{
    DrawChildren(request);
}

} // namespace figures
