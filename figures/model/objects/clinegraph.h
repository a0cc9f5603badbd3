#pragma once

#include "figures/model/objects/crectcom.h"

#include <vector>

namespace figures {

// A polyline. Its points live in property tag 5 as pairs of i32 in document units
// relative to the frame's top-left corner, recorded in the extent (layoutWidth,
// layoutHeight); kNotSet means they are used unscaled.
class CLineGraph : public CRectCom {
public:
    static constexpr int32_t kTypeId = TID_LINE_GRAPH;
    static constexpr uint32_t kInitialFlags = 0x17F;
    static constexpr int32_t kNotSet = 0x7FFFFFFF;

    CLineGraph() { flags = kInitialFlags; }

    int32_t TypeId() const override { return kTypeId; }
    std::string_view ClassName() const override { return "CLineGraph"; }
    std::string TypeName() const override { return "连续线条"; }
    void Serialize(CArchive& ar) override;
    int32_t OnMessage(ObjectMessage code, const MessageArgs& args) override;
    // Shadow, fill, then the polyline with the object's pen.
    void Draw(const DrawRequest& request) const override;

    void SetPoints(const std::vector<Point>& points);
    // The stored points; a trailing partial pair is ignored.
    std::vector<Point> Points() const;
    // The polyline as drawn into target: scaled from the layout extent, flipped, moved
    // to the target's corner and turned by the angle about the target's centre, with the
    // closing point appended when closed and the ends differ. Fewer than two stored
    // points give none. The flips and angle are the object's own, or those of pose.
    std::vector<Point> PolylinePoints(const Rect& target) const;
    std::vector<Point> PolylinePoints(const ObjectPose& pose, const Rect& target) const;

    int32_t closed = 0; // 1: join the last point to the first
    int32_t layoutWidth = kNotSet;
    int32_t layoutHeight = kNotSet;

protected:
    // Both regions are the polyline itself, closed by the region.
    bool FillRegion(const DrawRequest& request, QPainterPath& region) const override;
    bool SilhouetteRegion(const DrawRequest& request, QPainterPath& region) const override;

private:
    // The polyline for the frame of pose placed at target's corner; false below two
    // points.
    bool AddPolyline(QPainterPath& path, const ObjectPose& pose, const Rect& target) const;
};

} // namespace figures
