#pragma once

#include "figures/model/objects/cpcxpic.h"
#include "figures/model/objects/crectcom.h"

namespace figures {

// A monochrome bitmap drawn into the frame.
class CPCXPictureBox : public CRectCom {
public:
    static constexpr int32_t kTypeId = TID_PCX_PICTURE_BOX;
    static constexpr uint32_t kInitialFlags = 0x3E;

    CPCXPictureBox() { flags = kInitialFlags; }

    int32_t TypeId() const override { return kTypeId; }
    std::string_view ClassName() const override { return "CPCXPictureBox"; }
    std::string TypeName() const override { return "PCX图像框"; }
    void Serialize(CArchive& ar) override;
    // The bitmap's set bits in black ink, then (on the canvas) the frame edges.
    void Draw(const DrawRequest& request) const override;

    CPCXPic pcxPicture;

protected:
    // Both regions are the frame rectangle at the request's target.
    bool FillRegion(const DrawRequest& request, QPainterPath& region) const override;
    bool SilhouetteRegion(const DrawRequest& request, QPainterPath& region) const override;
};

} // namespace figures
