#pragma once

#include "figures/model/objects/crectcom.h"
#include "figures/render/lineends/lineendgeometry.h"

namespace figures {

// A single line segment with a decoration at each end. End 1 is the start point, end 2
// the end point. The points live in property tag 3 as a one-step line program on the
// frame's grid ([1, x1, y1, x2, y2], no terminating word); tag 2 holds their drag
// handles and the cap buttons that capButtons asks for.
//
// Messages beyond the rectangle's: OM_DRAW paints the shadow (the line again in the
// shadow colour) and then the line with its decorations; OM_GET_BOUNDS adds the line's
// and its decorations' area and its shadow copy; OM_MAKE_OUTLINE gives the bare
// segment. OM_BEGIN_CREATE remembers the pressed point, OM_TRACK_CREATE lays the line
// out from it to the pressed point plus the offset, each offset component of at most
// kCreateDeadZone counting as 0 (0 after the button-up event, OM_CONTINUE for moves and
// timer ticks, OM_NOT_TRACKED for other events), and OM_END_CREATE ends the creation
// (0). While both components are 0 the line stays as it was and OM_MAKE_OUTLINE finds
// no outline, so the view shows none until the mouse leaves the dead zone.
class CRichLine : public CRectCom {
public:
    static constexpr int32_t kTypeId = TID_RICH_LINE;
    static constexpr uint32_t kInitialFlags = 0x157;
    // Lines are never narrower or lower than this, so that their handles stay apart.
    static constexpr int32_t kMinExtent = 15;
    // While a line is being drawn out, an offset component of at most this many units
    // (1 mm) counts as 0, so a line drawn nearly level or upright comes out exactly so.
    static constexpr int32_t kCreateDeadZone = 10;
    // After an end-point drag the second point takes the first point's x or y when it
    // lies within this many units of it (inclusive).
    static constexpr int32_t kSnapDistance = 10;

    enum CapButtons : uint8_t {
        NoButtons = 0,
        ButtonAtEnd2 = 1,
        ButtonAtEnd1 = 2,
        BothButtons = 3
    };

    CRichLine() { flags = kInitialFlags; }

    int32_t TypeId() const override { return kTypeId; }
    std::string_view ClassName() const override { return "CRichLine"; }
    std::string TypeName() const override { return "线条对象"; }
    void Serialize(CArchive& ar) override;
    int32_t OnMessage(ObjectMessage code, const MessageArgs& args) override;
    // Shadow first (the line again in the shadow colour), then the turned points with
    // their decorations.
    void Draw(const DrawRequest& request) const override;
    // The rectangle's area united with the line's and its decorations' and their shadow.
    Rect Bounds(int32_t selectionMargin) const override;
    bool PaintedAreaFrom(PaintedAreaInputs& inputs) const override;
    // A body hit counts only near the segment: inside the hexagon around it at a
    // half-width of the larger of the handle half-size and half a solid line's width.
    int32_t HitTest(const DeviceMapping& map, Point devicePoint, HitRecord& hit) const override;

    // Lays the line out from two document points: the frame becomes their normalised
    // rectangle, at least kMinExtent wide and high, and tags 3 and 2 are rewritten.
    void SetEndPoints(Point p1, Point p2);
    // The two points on the frame's grid as stored in tag 3; false when tag 3 does not
    // hold a line step.
    bool GridEndPoints(Point& g1, Point& g2) const;
    // The two points in document units for the frame placed at origin, turned by the
    // angle about their midpoint. False when the line has no points. The size, flips and
    // angle are the line's own, or those of pose.
    bool EndPoints(Point origin, Point& p1, Point& p2) const;
    bool EndPoints(const ObjectPose& pose, Point origin, Point& p1, Point& p2) const;
    // Rewrites the handle list for the current points and capButtons.
    void RebuildHandles();

    // Lays the line out anew after an end-point handle drag. handle 0 is the first point,
    // 1 the second; start1 and start2 are both points when the drag began, in document
    // units as EndPoints gives them at the frame's own corner, and (dx, dy) is the total
    // mouse offset since then. The dragged point becomes its start plus the offset, the
    // other keeps its start. Then each coordinate of the second point that lies within
    // kSnapDistance (inclusive) of the first point's takes the first point's value, so a
    // nearly upright or level line comes out exactly so; dragging the first point may
    // therefore move the second by up to kSnapDistance. When the points then coincide,
    // or handle is neither 0 nor 1, the drag is refused: false, the line unchanged.
    // Otherwise the flips are cleared, the angle becomes 0 and the frame, program and
    // handles are rebuilt from the two points (SetEndPoints): true.
    bool DragEndPoint(int32_t handle, Point start1, Point start2, int32_t dx, int32_t dy);

    // Stores the decoration the line-end dialog chose for end 1 (the first point) or end
    // 2 (the second): its type 0..11 and its sizes 1..3 along (size1) and across (size2)
    // the line. Type 0 stores sizes 1 and 1 whatever the choice carried. Anything else
    // (another end number, a type above 11, a size outside 1..3 with a type above 0) is
    // refused: false, nothing stored. The handle list does not change.
    bool SetLineEnd(int32_t end, const LineEnd& chosen);
    // The end (1 or 2) whose decoration the cap-button handle at handleIndex edits. The
    // buttons follow the two drag handles in tag 2 order: the second point's button is
    // handle 3 when both ends have one, and the only button when capButtons is
    // ButtonAtEnd2; every other button edits end 1. 0 when handleIndex is no cap button.
    int32_t CapButtonEnd(int32_t handleIndex) const;

    LineEnd End1() const { return {end1Type, end1Size, end1Length}; }
    LineEnd End2() const { return {end2Type, end2Size, end2Length}; }

    uint8_t end2Size = 1;
    uint8_t end1Size = 1;
    uint8_t end2Length = 1;
    uint8_t end1Length = 1;
    uint8_t end2Type = 0;
    uint8_t end1Type = 0;
    uint8_t capButtons = NoButtons;

protected:
    // Lines have no resize or rotation handles: only their end points and cap buttons.
    bool StandardHandleExists(int position, const Rect& deviceFrame) const override;
    const char* TooltipFor(const HitRecord& hit) const override;

private:
    // A press on a cap button lets the user choose that end's decoration.
    int32_t PressCapButton(const HitRecord& hit);
    int32_t TrackCreate(TrackCreateArgs& track);
    void MakeOutline(OutlineRequest& outline) const;

    // Creation state: the pressed point, and whether the last tracked offset lay in the
    // dead zone. Never stored with the object.
    Point createStart_;
    bool outlineWithheld_ = false;
};

} // namespace figures
