#include "figures/dialogs/openproperties.h"

#include "figures/dialogs/objectpropertiesdialog.h"
#include "figures/model/objects/crectcom.h"
#include "figures/view/cviewwnd.h"

#include <vector>

namespace figures {

namespace {

constexpr uint32_t kFrameBits =
    ObjectPropertiesDialog::kXChanged | ObjectPropertiesDialog::kYChanged |
    ObjectPropertiesDialog::kWidthChanged | ObjectPropertiesDialog::kHeightChanged;

std::vector<CRectCom*> EligibleObjects(const CViewWnd& view)
{
    std::vector<CRectCom*> eligible;
    for (CBaseCom* object : view.Selection()) {
        auto* rect = dynamic_cast<CRectCom*>(object);
        if (rect != nullptr && rect->HasFlag(OF_DIALOG)) {
            eligible.push_back(rect);
        }
    }
    return eligible;
}

void EditOne(CViewWnd& view, CRectCom& object)
{
    const Rect oldFrame = object.frame;
    ObjectPropertiesDialog dialog(object, false, &view.GetDocument(), &view);
    if (dialog.exec() != QDialog::Accepted || dialog.ChangedFlags() == 0) {
        return;
    }
    view.SetModified();
    if ((dialog.ChangedFlags() & kFrameBits) != 0) {
        // The view moves the object itself, so that its frame rules and repaints apply.
        const Rect newFrame = object.frame;
        object.frame = oldFrame;
        view.SetObjectRect(&object, newFrame);
    }
    view.ObjectChanged(&object);
    view.UpdateScrollBars();
}

// A template's right and bottom hold the sizes the user typed, not edges.
Rect SharedFrame(const CRectCom& templ, Rect frame, uint32_t changed)
{
    if ((changed & ObjectPropertiesDialog::kXChanged) != 0) {
        frame.right += templ.frame.left - frame.left;
        frame.left = templ.frame.left;
    }
    if ((changed & ObjectPropertiesDialog::kYChanged) != 0) {
        frame.bottom += templ.frame.top - frame.top;
        frame.top = templ.frame.top;
    }
    if ((changed & ObjectPropertiesDialog::kWidthChanged) != 0) {
        frame.right = frame.left + templ.frame.right;
    }
    if ((changed & ObjectPropertiesDialog::kHeightChanged) != 0) {
        frame.bottom = frame.top + templ.frame.bottom;
    }
    return frame;
}

void EditShared(CViewWnd& view, const std::vector<CRectCom*>& objects)
{
    CRectCom templ;
    ObjectPropertiesDialog dialog(templ, true, &view.GetDocument(), &view);
    const uint32_t changed = dialog.exec() == QDialog::Accepted ? dialog.ChangedFlags() : 0;
    if (changed == 0) {
        return;
    }
    view.SetModified();
    for (CRectCom* object : objects) {
        bool touched = false;
        if ((changed & ObjectPropertiesDialog::kAngleChanged) != 0 && object->HasFlag(OF_ROTATE)) {
            touched = touched || object->angle != templ.angle;
            object->angle = templ.angle;
        }
        if ((changed & ObjectPropertiesDialog::kFontChanged) != 0 && object->HasFlag(OF_TEXT)) {
            touched = true;
            object->textColour = templ.textColour;
            object->font = templ.font;
        }
        const Rect frame = SharedFrame(templ, object->frame, changed);
        if (frame != object->frame) {
            view.SetObjectRect(object, frame);
            touched = true;
        }
        if (touched) {
            view.ObjectChanged(object);
        }
    }
    view.UpdateScrollBars();
}

} // namespace

void OpenProperties(CViewWnd& view)
{
    if (view.CurrentView() == nullptr) {
        return;
    }
    const std::vector<CRectCom*> eligible = EligibleObjects(view);
    if (eligible.size() == 1) {
        EditOne(view, *eligible.front());
    } else if (eligible.size() > 1) {
        EditShared(view, eligible);
    }
}

} // namespace figures
