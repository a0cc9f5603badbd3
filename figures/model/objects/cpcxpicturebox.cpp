#include "figures/model/objects/cpcxpicturebox.h"

#include "figures/model/storage/carchive.h"

namespace figures {

void CPCXPictureBox::Serialize(CArchive& ar)
{
    CRectCom::Serialize(ar);
    pcxPicture.Serialize(ar);
}

bool CPCXPictureBox::FillRegion(const DrawRequest& request, QPainterPath& region) const
{
    const Rect& r = request.target;
    region.addRect(r.left, r.top, r.Width(), r.Height());
    return true;
}

bool CPCXPictureBox::SilhouetteRegion(const DrawRequest& request, QPainterPath& region) const
{
    return FillRegion(request, region);
}

void CPCXPictureBox::Draw(const DrawRequest& request) const
{
    // Set bits are black ink over whatever lies beneath.
    pcxPicture.Draw(*request.dc, {request.target.left, request.target.top}, request.scaleX,
                    request.scaleY);
    // The frame sides are an editing aid: previews, prints and exports omit them.
    if (request.fromView) {
        DrawEdges(request);
    }
}

} // namespace figures
