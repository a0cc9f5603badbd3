#include "figures/view/viewcommands.h"

#include "figures/view/cviewwnd.h"
#include "figures/view/popupmenu.h"
#include "figures/view/viewcommandids.h"
#include "figures/view/viewkeyboard.h"

#include <QMenu>

namespace figures {

namespace {

enum class Rule : uint8_t { Always, OneSelected, TwoSelected, Paste, PasteExternal, Jump, Unknown };

Rule RuleOf(int32_t id)
{
    switch (id) {
    case ID_SELECT_ALL:
    case ID_VIEW_MANAGER: return Rule::Always;
    case ID_ALIGN_TOP:
    case ID_ALIGN_LEFT:
    case ID_ALIGN_BOTTOM:
    case ID_ALIGN_RIGHT:
    case ID_SAME_WIDTH:
    case ID_SAME_HEIGHT: return Rule::TwoSelected;
    case ID_EDIT_PASTE: return Rule::Paste;
    case ID_PASTE_EXTERNAL: return Rule::PasteExternal;
    case ID_JUMP: return Rule::Jump;
    case ID_PROPERTIES:
    case ID_EDIT_CUT:
    case ID_EDIT_COPY:
    case ID_EDIT_DELETE:
    case ID_BRING_TO_TOP:
    case ID_SEND_TO_BOTTOM:
    case ID_GROUP:
    case ID_UNGROUP:
    case ID_LOCK:
    case ID_UNLOCK: return Rule::OneSelected;
    default: break;
    }
    if (id >= ID_MOVE_UP && id <= ID_FLIP_VERTICAL) {
        return Rule::OneSelected;
    }
    return ViewCommands::ZoomOf(id) != 0 ? Rule::Always : Rule::Unknown;
}

} // namespace

ViewCommands::ViewCommands(CViewWnd& view)
    : view_(view), arrange_(view), clipboard_(view),
      keyboard_(std::make_unique<ViewKeyboard>(view, *this))
{
    connect(&view_, &CViewWnd::popupRequested, this, [this](QPoint client) { ShowPopup(client); });
}

ViewCommands::~ViewCommands() = default;

int32_t ViewCommands::ZoomOf(int32_t id)
{
    switch (id) {
    case ID_ZOOM_10: return 100;
    case ID_ZOOM_25: return 250;
    case ID_ZOOM_50: return 500;
    case ID_ZOOM_100: return 1000;
    case ID_ZOOM_150: return 1500;
    case ID_ZOOM_200: return 2000;
    case ID_ZOOM_300: return 3000;
    default: return 0;
    }
}

bool ViewCommands::IsEnabled(int32_t id) const
{
    if (view_.IsDragging()) {
        return false;
    }
    const size_t selected = view_.Selection().size();
    switch (RuleOf(id)) {
    case Rule::Always: return true;
    case Rule::OneSelected: return selected >= 1;
    case Rule::TwoSelected: return selected >= 2;
    case Rule::Paste: return clipboard_.HasData();
    case Rule::PasteExternal: return clipboard_.HasExternalData();
    case Rule::Jump: {
        if (selected != 1) {
            return false;
        }
        const std::string& target = view_.Selection().front()->jumpTarget;
        return !target.empty() && view_.GetDocument().FindView(target) >= 0;
    }
    case Rule::Unknown: return false;
    }
    return false;
}

bool ViewCommands::IsChecked(int32_t id) const
{
    const View* view = view_.CurrentView();
    return view != nullptr && ZoomOf(id) != 0 && view->zoomX == ZoomOf(id);
}

bool ViewCommands::Execute(int32_t id)
{
    if (!IsEnabled(id)) {
        return false;
    }
    return arrange_.Run(id) || RunOther(id);
}

bool ViewCommands::RunOther(int32_t id)
{
    switch (id) {
    case ID_EDIT_COPY: clipboard_.Copy(); return true;
    case ID_EDIT_CUT: clipboard_.Cut(); return true;
    case ID_EDIT_PASTE: clipboard_.Paste(); return true;
    case ID_PASTE_EXTERNAL: clipboard_.PasteExternal(); return true;
    case ID_SELECT_ALL: view_.SelectAll(); return true;
    case ID_JUMP: Jump(); return true;
    case ID_PROPERTIES:
        if (dialogs_.properties) {
            dialogs_.properties(view_);
        }
        return true;
    case ID_VIEW_MANAGER:
        if (dialogs_.viewManager) {
            dialogs_.viewManager(view_);
        }
        return true;
    default: break;
    }
    if (const int32_t zoom = ZoomOf(id)) {
        view_.SetZoom(zoom / 10);
        return true;
    }
    return false;
}

void ViewCommands::Jump()
{
    if (view_.Selection().empty()) {
        return;
    }
    // Names compare byte for byte; an empty target names no view.
    const std::string& target = view_.Selection().front()->jumpTarget;
    view_.SelectView(target.empty() ? -1 : view_.GetDocument().FindView(target));
}

QMenu* ViewCommands::BuildPopupMenu(QWidget* parent)
{
    return BuildViewPopupMenu(
        parent, [this](int32_t id) { return IsEnabled(id); },
        [this](int32_t id) { return IsChecked(id); }, [this](int32_t id) { Execute(id); });
}

void ViewCommands::ShowPopup(QPoint client)
{
    QMenu* menu = BuildPopupMenu(&view_);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    openPopup_ = menu;
    connect(menu, &QMenu::aboutToHide, this, [this, menu] {
        if (openPopup_ == menu) {
            openPopup_ = nullptr;
        }
    });
    menu->popup(view_.viewport()->mapToGlobal(client));
}

} // namespace figures
