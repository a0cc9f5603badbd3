#pragma once

#include "figures/model/objects/cpic.h"
#include "figures/model/objects/crectcom.h"

namespace figures {

// A picture drawn into the frame with a placement, then the frame edges.
class CPictureBox : public CRectCom {
public:
    static constexpr int32_t kTypeId = TID_PICTURE_BOX;
    static constexpr uint32_t kInitialFlags = 0x35;

    CPictureBox() { flags = kInitialFlags; }

    int32_t TypeId() const override { return kTypeId; }
    std::string_view ClassName() const override { return "CPictureBox"; }
    std::string TypeName() const override { return "图像框"; }
    void Serialize(CArchive& ar) override;
    // Shadow, the picture with its placement, then (on the canvas) the frame edges.
    void Draw(const DrawRequest& request) const override;

    int32_t placement = kPlacementStretch;
    CPic picture;

protected:
    // Both regions are the frame rectangle at the request's target.
    bool FillRegion(const DrawRequest& request, QPainterPath& region) const override;
    bool SilhouetteRegion(const DrawRequest& request, QPainterPath& region) const override;
};

} // namespace figures
