#include "figures/model/cpicturebox.h"

#include "figures/model/carchive.h"

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

int32_t CPictureBox::OnMessage(ObjectMessage code, const MessageArgs& args)
{
    if (code == OM_DRAW) {
        if (const DrawRequest* request = MessageRecord<DrawRequest>(args)) {
            DrawShadow(*request);
            // The picture itself is painted by the picture layer; the edges come last.
            DrawEdges(*request);
            return 0;
        }
    }
    return CRectCom::OnMessage(code, args);
}

} // namespace figures
