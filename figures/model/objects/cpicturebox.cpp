#include "figures/model/objects/cpicturebox.h"

#include "figures/model/storage/carchive.h"
#include "figures/render/drawcontext.h"

namespace figures {

void CPictureBox::Serialize(CArchive& ar)
{
    CRectCom::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteI32(placement);
    } else {
        placement = ar.ReadI32();
    }
    picture.Serialize(ar);
}

bool CPictureBox::FillRegion(const DrawRequest& request, QPainterPath& region) const
{
    const Rect& r = request.target;
    region.addRect(r.left, r.top, r.Width(), r.Height());
    return true;
}

bool CPictureBox::SilhouetteRegion(const DrawRequest& request, QPainterPath& region) const
{
    return FillRegion(request, region);
}

void CPictureBox::Draw(const DrawRequest& request) const
{
    DrawShadow(request);
    PictureDrawRequest draw;
    draw.dc = request.dc;
    draw.background = request.background;
    draw.destination = request.target;
    draw.clip = request.clip;
    draw.scaleX = request.scaleX;
    draw.scaleY = request.scaleY;
    draw.placement = placement;
    picture.Draw(draw);
    // The frame sides are an editing aid: previews, prints and exports omit them.
    if (request.fromView) {
        DrawEdges(request);
    }
}

} // namespace figures
