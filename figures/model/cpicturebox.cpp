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

} // namespace figures
