#include "figures/model/cpcxpicturebox.h"

#include "figures/model/carchive.h"

namespace figures {

void CPCXPictureBox::Serialize(CArchive& ar)
{
    CRectCom::Serialize(ar);
    pcxPicture.Serialize(ar);
}

int32_t CPCXPictureBox::OnMessage(ObjectMessage code, const MessageArgs& args)
{
    if (code == OM_DRAW) {
        if (const DrawRequest* request = MessageRecord<DrawRequest>(args)) {
            // The picture itself is painted by the picture layer; the edges come last.
            DrawEdges(*request);
            return 0;
        }
    }
    return CRectCom::OnMessage(code, args);
}

} // namespace figures
