#include "figures/dialogs/dialogobjectui.h"

#include "figures/dialogs/lineenddialog.h"
#include "figures/dialogs/textinputdialog.h"
#include "figures/render/gbk.h"
#include "figures/view/cviewwnd.h"

namespace figures {

DialogObjectUi::DialogObjectUi(CViewWnd& view) : QObject(&view), view_(view) {}

QPoint DialogObjectUi::ScreenOfDevice(Point devicePoint) const
{
    const QPoint client = QPoint(devicePoint.x, devicePoint.y) - view_.ScrollOffset();
    return view_.viewport()->mapToGlobal(client);
}

QPoint DialogObjectUi::ScreenOfBox(const Rect& box) const
{
    const Rect client = view_.DocumentToClient(box);
    return view_.viewport()->mapToGlobal(QPoint(client.left, client.top));
}

bool DialogObjectUi::ChooseLineEnd(Point devicePoint, const LineEnd& current, LineEnd& chosen)
{
    LineEndDialog dialog(current, ScreenOfDevice(devicePoint), &view_);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    chosen = dialog.Choice();
    return true;
}

void DialogObjectUi::EditShapeText(const Rect& box, const std::string& text,
                                   const TextChanged& changed)
{
    TextInputDialog* window = nullptr;
    const auto typed = [this, &changed, &window](const QString& newText, bool) {
        const Rect now = changed(ToGbk(newText));
        view_.SetModified();
        view_.ObjectsChanged(); // the shape may have grown: repaint and rescale
        if (window != nullptr) {
            window->FollowTo(ScreenOfBox(now));
        }
    };
    TextInputDialog dialog(ScreenOfBox(box), FromGbk(text), typed, kTextByteLimit, &view_);
    window = &dialog;
    dialog.exec();
}

} // namespace figures
