#include "figures/view/viewkeyboard.h"

#include "figures/view/cviewwnd.h"
#include "figures/view/viewcommandids.h"
#include "figures/view/viewcommands.h"
#include "figures/view/viewnotify.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>

namespace figures {

namespace {

constexpr Qt::KeyboardModifier kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifier kShift = Qt::ShiftModifier;

} // namespace

ViewKeyboard::ViewKeyboard(CViewWnd& view, ViewCommands& commands)
    : view_(view), commands_(commands)
{
    AddAction(ID_SELECT_ALL, {kCtrl | Qt::Key_A});
    AddAction(ID_ALIGN_BOTTOM, {kCtrl | Qt::Key_B});
    AddAction(ID_EDIT_COPY, {kCtrl | Qt::Key_C, kCtrl | Qt::Key_Insert});
    AddAction(ID_SAME_HEIGHT, {kCtrl | Qt::Key_H});
    AddAction(ID_JUMP, {kCtrl | Qt::Key_J});
    AddAction(ID_ALIGN_LEFT, {kCtrl | Qt::Key_L});
    AddAction(ID_ALIGN_RIGHT, {kCtrl | Qt::Key_R});
    AddAction(ID_ALIGN_TOP, {kCtrl | Qt::Key_T});
    AddAction(ID_EDIT_PASTE, {kCtrl | Qt::Key_V, kShift | Qt::Key_Insert});
    AddAction(ID_PASTE_EXTERNAL, {kCtrl | kShift | Qt::Key_V});
    AddAction(ID_EDIT_DELETE, {QKeyCombination(Qt::Key_Delete)});
    AddAction(ID_MOVE_UP, {QKeyCombination(Qt::Key_Up)});
    AddAction(ID_MOVE_DOWN, {QKeyCombination(Qt::Key_Down)});
    AddAction(ID_MOVE_LEFT, {QKeyCombination(Qt::Key_Left)});
    AddAction(ID_MOVE_RIGHT, {QKeyCombination(Qt::Key_Right)});
    AddAction(ID_BOTTOM_EDGE_UP, {kShift | Qt::Key_Up});
    AddAction(ID_BOTTOM_EDGE_DOWN, {kShift | Qt::Key_Down});
    AddAction(ID_RIGHT_EDGE_LEFT, {kShift | Qt::Key_Left});
    AddAction(ID_RIGHT_EDGE_RIGHT, {kShift | Qt::Key_Right});
    AddAction(ID_VIEW_MANAGER, {QKeyCombination(Qt::Key_F9)});
    // Enter on the main keyboard and on the keypad.
    AddAction(ID_PROPERTIES, {QKeyCombination(Qt::Key_Return), QKeyCombination(Qt::Key_Enter)});
    AddAction(ID_SAME_WIDTH, {kCtrl | Qt::Key_W});
    AddAction(ID_EDIT_CUT, {kCtrl | Qt::Key_X});
    // The focus rests on the view or on its canvas.
    view_.installEventFilter(this);
    view_.viewport()->installEventFilter(this);
}

void ViewKeyboard::AddAction(int32_t id, std::initializer_list<QKeyCombination> keys)
{
    auto* action = new QAction(this);
    QList<QKeySequence> shortcuts;
    for (const QKeyCombination key : keys) {
        shortcuts.append(QKeySequence(key));
    }
    action->setShortcuts(shortcuts);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { commands_.Execute(id); });
    view_.addAction(action);
    actions_.push_back(action);
}

QAction* ViewKeyboard::ActionFor(int32_t id) const
{
    for (QAction* action : actions_) {
        if (action->data().toInt() == id) {
            return action;
        }
    }
    return nullptr;
}

bool ViewKeyboard::Binds(QKeyCombination key) const
{
    const QKeySequence pressed(key);
    for (const QAction* action : actions_) {
        if (action->shortcuts().contains(pressed)) {
            return enabled_;
        }
    }
    return false;
}

void ViewKeyboard::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    Refresh();
}

void ViewKeyboard::Refresh()
{
    for (QAction* action : actions_) {
        action->setEnabled(enabled_ && commands_.IsEnabled(action->data().toInt()));
    }
}

QAction* ViewKeyboard::BoundAction(const QKeyEvent& key) const
{
    const QKeySequence pressed(
        QKeyCombination(key.modifiers() & ~Qt::KeypadModifier, Qt::Key(key.key())));
    for (QAction* action : actions_) {
        if (action->isEnabled() && action->shortcuts().contains(pressed)) {
            return action;
        }
    }
    return nullptr;
}

void ViewKeyboard::ForwardToHost(const QKeyEvent& key) const
{
    if (QWidget* host = view_.parentWidget()) {
        QCoreApplication::postEvent(host, new ForwardedInputEvent(std::make_unique<QKeyEvent>(
                                              QEvent::KeyPress, key.key(), key.modifiers(),
                                              key.text(), key.isAutoRepeat(), key.count())));
    }
}

bool ViewKeyboard::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (!enabled_ || (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)) {
        return QObject::eventFilter(watched, event);
    }
    // Every key first asks the focus widget whether it wants the key itself; that is the
    // moment to set the actions' states. Claiming a bound key there makes it arrive as a
    // key press, so that no shortcut of the windows around the view takes it.
    Refresh();
    const auto* key = static_cast<const QKeyEvent*>(event);
    QAction* action = BoundAction(*key);
    if (action == nullptr) {
        return QObject::eventFilter(watched, event);
    }
    event->accept();
    if (type == QEvent::KeyPress) {
        ForwardToHost(*key);
        action->trigger();
    }
    return true;
}

} // namespace figures
