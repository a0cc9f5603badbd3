#pragma once

#include "figures/model/objects/cbasecom.h"
#include "figures/render/pathsink.h"

namespace figures {

// A simple outlined frame shape without fill: rectangle, rounded rectangle, diamond
// through the edge midpoints, or ellipse.
class CGraphCom : public CBaseCom {
public:
    static constexpr int32_t kTypeId = TID_GRAPH;
    enum FrameShape : int32_t { Rectangle = 1, RoundedRectangle = 2, Diamond = 3, Ellipse = 4 };

    int32_t TypeId() const override { return kTypeId; }
    std::string_view ClassName() const override { return "CGraphCom"; }
    std::string TypeName() const override { return "简单图形框"; }
    void Serialize(CArchive& ar) override;
    int32_t OnMessage(ObjectMessage code, const MessageArgs& args) override;
    // Frame shapes have no line attributes of their own: a thin black outline.
    void Draw(const DrawRequest& request) const override;

    int32_t frameShape = Rectangle;

private:
    // The outline of the frame shape with the frame of pose placed at target, flipped and
    // turned.
    void AddOutline(PathSink& sink, const ObjectPose& pose, const Rect& target) const;
};

} // namespace figures
