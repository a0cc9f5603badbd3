#include "figures/model/cgraphcom.h"

#include "figures/model/carchive.h"

namespace figures {

void CGraphCom::Serialize(CArchive& ar)
{
    CBaseCom::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteI32(frameShape);
    } else {
        frameShape = ar.ReadI32();
    }
}

} // namespace figures
