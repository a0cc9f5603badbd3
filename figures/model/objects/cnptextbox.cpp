#include "figures/model/objects/cnptextbox.h"

#include "figures/model/storage/carchive.h"

namespace figures {

void CNPTextBox::Serialize(CArchive& ar)
{
    CRectCom::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteI32(margins.left);
        ar.WriteI32(margins.top);
        ar.WriteI32(margins.right);
        ar.WriteI32(margins.bottom);
        ar.WriteStringList(lines);
        return;
    }
    margins.left = ar.ReadI32();
    margins.top = ar.ReadI32();
    margins.right = ar.ReadI32();
    margins.bottom = ar.ReadI32();
    lines = ar.ReadStringList();
}

} // namespace figures
