#pragma once

#include "figures/model/objects/crectcom.h"

#include <memory>
#include <vector>

namespace figures {

// Where and how one member of a group is drawn for one call: its temporary frame,
// flags and angle, and the target rectangle of its draw request.
struct ChildPlacement {
    Rect frame;
    uint32_t flags = 0;
    int32_t angle = 0;
    Rect target;
};

// A group. It owns its members, whose frames are stored relative to the group's
// top-left corner in the extent (layoutWidth, layoutHeight) the group had when they
// were laid out; kNotSet means the stored frames are used unscaled.
class CCmbObj : public CRectCom {
public:
    static constexpr int32_t kTypeId = TID_COMBINED;
    static constexpr uint32_t kInitialFlags = 0x171;
    static constexpr int32_t kNotSet = 0x7FFFFFFF;

    CCmbObj() { flags = kInitialFlags; }

    int32_t TypeId() const override { return kTypeId; }
    std::string_view ClassName() const override { return "CCmbObj"; }
    std::string TypeName() const override { return "组合对象"; }
    void Serialize(CArchive& ar) override;
    // The members in drawing order, each where the group puts it (DrawChildren).
    void Draw(const DrawRequest& request) const override;

    // Forms a group of the given objects: the frame is the union of their rotated
    // frames, their frames become relative to it and the layout extent is its size.
    // The group rotates, flips or is locked only when every member does or is.
    static std::unique_ptr<CCmbObj> Group(std::vector<std::unique_ptr<CBaseCom>> members);

    // The members in drawing order: ascending layer, list order among equal layers.
    std::vector<CBaseCom*> ChildrenInDrawOrder() const;
    // Where child (a member of this group) is drawn when the group's frame is drawn at
    // target, the group lying as it is or as pose says (a group inside a group).
    ChildPlacement PlaceChild(const CBaseCom& child, const Rect& target) const;
    ChildPlacement PlaceChild(const ObjectPose& pose, const CBaseCom& child,
                              const Rect& target) const;
    // Draws the members in drawing order, each with the pose of its placement in its
    // draw request; the members themselves are not touched.
    void DrawChildren(const DrawRequest& request) const;

    std::vector<std::unique_ptr<CBaseCom>> children;
    int32_t layoutWidth = kNotSet;
    int32_t layoutHeight = kNotSet;
};

} // namespace figures
