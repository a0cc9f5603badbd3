#include "figures/model/cpcxpicturebox.h"

#include "figures/model/carchive.h"

namespace figures {

void CPCXPictureBox::Serialize(CArchive& ar)
{
    CRectCom::Serialize(ar);
    pcxPicture.Serialize(ar);
}

} // namespace figures
