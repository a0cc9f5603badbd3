#include "figures/view/popupmenu.h"

#include "figures/view/viewcommandids.h"

#include <QMenu>

#include <memory>
#include <vector>

namespace figures {

namespace {

using E = PopupEntry;

constexpr PopupEntry Cmd(int32_t id, const char* text)
{
    return {E::Command, id, text, false};
}
constexpr PopupEntry Zoom(int32_t id, const char* text)
{
    return {E::Command, id, text, true};
}
constexpr PopupEntry Sub(int32_t rule, const char* text)
{
    return {E::SubmenuStart, rule, text, false};
}
constexpr PopupEntry kSeparator{E::Separator, 0, "", false};
constexpr PopupEntry kEnd{E::SubmenuEnd, 0, "", false};

constexpr PopupEntry kTable[] = {
    Cmd(ID_PROPERTIES, "属性(&E)..."),
    kSeparator,
    Cmd(ID_EDIT_CUT, "剪切(&T)"),
    Cmd(ID_EDIT_COPY, "复制(&C)"),
    Cmd(ID_EDIT_PASTE, "粘贴(&P)"),
    Cmd(ID_PASTE_EXTERNAL, "粘贴外部内容\tCtrl-Shift-V"),
    Cmd(ID_EDIT_DELETE, "删除(&D)"),
    Cmd(ID_SELECT_ALL, "全选(&S)"),
    kSeparator,
    Sub(ID_BRING_TO_TOP, "层次(&L)"),
    Cmd(ID_BRING_TO_TOP, "到顶层(&T)"),
    Cmd(ID_SEND_TO_BOTTOM, "到底层(&B)"),
    kEnd,
    Sub(ID_ALIGN_TOP, "对齐(&A)"),
    Cmd(ID_ALIGN_TOP, "顶边对齐(&T)\tCtrl-T"),
    Cmd(ID_ALIGN_LEFT, "左边对齐(&L)\tCtrl-L"),
    Cmd(ID_ALIGN_BOTTOM, "底边对齐(&B)\tCtrl-B"),
    Cmd(ID_ALIGN_RIGHT, "右边对齐(&R)\tCtrl-R"),
    Cmd(ID_SAME_WIDTH, "宽度等同(&W)\tCtrl-W"),
    Cmd(ID_SAME_HEIGHT, "高度等同(&H)\tCtrl-H"),
    kEnd,
    Sub(ID_MOVE_UP, "位置(&M)"),
    Cmd(ID_MOVE_UP, "上移(&U)\tUp"),
    Cmd(ID_MOVE_DOWN, "下移(&D)\tDown"),
    Cmd(ID_MOVE_LEFT, "左移(&L)\tLeft"),
    Cmd(ID_MOVE_RIGHT, "右移(&R)\tRight"),
    kSeparator,
    Cmd(ID_BOTTOM_EDGE_UP, "底边上移(&T)\tShift-Up"),
    Cmd(ID_BOTTOM_EDGE_DOWN, "底边下移(&B)\tShift-Down"),
    Cmd(ID_RIGHT_EDGE_LEFT, "右边左移(&E)\tShift-Left"),
    Cmd(ID_RIGHT_EDGE_RIGHT, "右边右移(&I)\tShift-Right"),
    kEnd,
    Sub(ID_ROTATE_LEFT, "旋转(&R)"),
    Cmd(ID_ROTATE_LEFT, "逆时针旋转90度(&L)"),
    Cmd(ID_ROTATE_RIGHT, "顺时针旋转90度(&R)"),
    kSeparator,
    Cmd(ID_FLIP_HORIZONTAL, "水平翻转(&H)"),
    Cmd(ID_FLIP_VERTICAL, "垂直翻转(&V)"),
    kEnd,
    Cmd(ID_GROUP, "组合(&O)"),
    Cmd(ID_UNGROUP, "分解(&U)"),
    Cmd(ID_LOCK, "锁定(&K)"),
    Cmd(ID_UNLOCK, "解除锁定(&N)"),
    kSeparator,
    Sub(ID_ZOOM_10, "视图比例(&B)"),
    Zoom(ID_ZOOM_10, "10%"),
    Zoom(ID_ZOOM_25, "25%"),
    Zoom(ID_ZOOM_50, "50%"),
    Zoom(ID_ZOOM_100, "100%"),
    Zoom(ID_ZOOM_150, "150%"),
    Zoom(ID_ZOOM_200, "200%"),
    Zoom(ID_ZOOM_300, "300%"),
    kEnd,
    Cmd(ID_VIEW_MANAGER, "视图(&V)"),
    Cmd(ID_JUMP, "跳转(&J)"),
};

constexpr const char* kCommandProperty = "viewCommand";

// Enables and checks the entries of one (sub)menu as the rules stand now.
void Refresh(QMenu* menu, const std::function<bool(int32_t)>& enabled,
             const std::function<bool(int32_t)>& checked)
{
    for (QAction* action : menu->actions()) {
        const int32_t id = PopupCommandOf(action);
        if (id != 0) {
            action->setEnabled(enabled(id));
            if (action->isCheckable()) {
                action->setChecked(checked(id));
            }
        } else if (QMenu* sub = action->menu()) {
            action->setEnabled(enabled(sub->property(kCommandProperty).toInt()));
        }
    }
}

} // namespace

std::span<const PopupEntry> ViewPopupTable()
{
    return kTable;
}

int32_t PopupCommandOf(const QAction* action)
{
    return action->menu() == nullptr ? action->property(kCommandProperty).toInt() : 0;
}

QMenu* BuildViewPopupMenu(QWidget* parent, std::function<bool(int32_t)> enabled,
                          std::function<bool(int32_t)> checked, std::function<void(int32_t)> run)
{
    auto* root = new QMenu(parent);
    root->setTitle(QString::fromUtf8("右键菜单(CViewWnd)"));
    std::vector<QMenu*> open{root};
    for (const PopupEntry& entry : kTable) {
        QMenu* menu = open.back();
        switch (entry.kind) {
        case E::Separator: menu->addSeparator(); break;
        case E::SubmenuEnd: open.pop_back(); break;
        case E::SubmenuStart: {
            QMenu* sub = menu->addMenu(QString::fromUtf8(entry.text));
            sub->setProperty(kCommandProperty, entry.id);
            open.push_back(sub);
            break;
        }
        case E::Command: {
            QAction* action = menu->addAction(QString::fromUtf8(entry.text));
            action->setProperty(kCommandProperty, entry.id);
            action->setCheckable(entry.checkable);
            QObject::connect(action, &QAction::triggered, root, [run, id = entry.id] { run(id); });
            break;
        }
        }
    }
    // Each menu evaluates its rules when it opens, as the selection stands then.
    QList<QMenu*> menus = root->findChildren<QMenu*>(Qt::FindChildrenRecursively);
    menus.append(root);
    for (QMenu* menu : menus) {
        QObject::connect(menu, &QMenu::aboutToShow, menu,
                         [menu, enabled, checked] { Refresh(menu, enabled, checked); });
        Refresh(menu, enabled, checked);
    }
    return root;
}

} // namespace figures
