#include "figures/dialogs/installviewdialogs.h"

#include "figures/dialogs/dialogobjectui.h"
#include "figures/dialogs/openproperties.h"
#include "figures/dialogs/viewmanagerdialog.h"
#include "figures/view/cviewwnd.h"
#include "figures/view/viewcommands.h"

namespace figures {

void InstallViewDialogs(CViewWnd& view, std::function<void()> documentEdited)
{
    if (view.findChild<DialogObjectUi*>(QString(), Qt::FindDirectChildrenOnly) == nullptr) {
        view.SetObjectUi(new DialogObjectUi(view)); // a child of the view, dies with it
    }
    ViewDialogs dialogs;
    dialogs.properties = [](CViewWnd& v) { OpenProperties(v); };
    dialogs.viewManager = [edited = std::move(documentEdited)](CViewWnd& v) {
        ViewManagerDialog manager(v, &v);
        manager.exec();
        if (manager.EditedDocument() && edited) {
            edited();
        }
    };
    view.Commands().SetDialogs(std::move(dialogs));
}

} // namespace figures
