#pragma once

#include "figures/model/crectcom.h"
#include "figures/render/lineendgeometry.h"

namespace figures {

// A single line segment with a decoration at each end. End 1 is the start point, end 2
// the end point. The points live in property tag 3 as a one-step line program on the
// frame's grid ([1, x1, y1, x2, y2], no terminating word); tag 2 holds their drag
// handles and the cap buttons that capButtons asks for.
class CRichLine : public CRectCom {
public:
    static constexpr int32_t kTypeId = TID_RICH_LINE;
    static constexpr uint32_t kInitialFlags = 0x157;
    // Lines are never narrower or lower than this, so that their handles stay apart.
    static constexpr int32_t kMinExtent = 15;

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

    // Lays the line out from two document points: the frame becomes their normalised
    // rectangle, at least kMinExtent wide and high, and tags 3 and 2 are rewritten.
    void SetEndPoints(Point p1, Point p2);
    // The two points on the frame's grid as stored in tag 3; false when tag 3 does not
    // hold a line step.
    bool GridEndPoints(Point& g1, Point& g2) const;
    // The two points in document units for the frame placed at origin, turned by the
    // angle about their midpoint. False when the line has no points.
    bool EndPoints(Point origin, Point& p1, Point& p2) const;
    // Rewrites the handle list for the current points and capButtons.
    void RebuildHandles();

    LineEnd End1() const { return {end1Type, end1Size, end1Length}; }
    LineEnd End2() const { return {end2Type, end2Size, end2Length}; }

    uint8_t end2Size = 1;
    uint8_t end1Size = 1;
    uint8_t end2Length = 1;
    uint8_t end1Length = 1;
    uint8_t end2Type = 0;
    uint8_t end1Type = 0;
    uint8_t capButtons = NoButtons;

private:
    void Draw(const DrawRequest& request);
};

} // namespace figures
