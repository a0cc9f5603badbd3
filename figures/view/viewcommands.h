#pragma once

#include "figures/view/arrangecommands.h"
#include "figures/view/viewclipboard.h"

#include <QObject>
#include <QPoint>

#include <cstdint>
#include <functional>
#include <memory>

class QMenu;

namespace figures {

class CViewWnd;
class ViewKeyboard;

// Where the view's dialogs plug in: the object properties dialog for the selected
// objects and the modal view manager. Until a dialog is set its command does nothing.
struct ViewDialogs {
    std::function<void(CViewWnd&)> properties;
    std::function<void(CViewWnd&)> viewManager;
};

// Every command of the editing view by its id (ViewCommandId), with the rule that
// enables it; the popup menu and the keyboard both go through Execute. A command whose
// rule is false is ignored, however it arrives. While a drag runs every command is off:
// the drag holds the objects it moves.
class ViewCommands : public QObject {
    Q_OBJECT

public:
    explicit ViewCommands(CViewWnd& view);
    ~ViewCommands() override;

    bool IsEnabled(int32_t id) const;
    // The zoom entries: checked when the shown view's zoomX is exactly theirs.
    bool IsChecked(int32_t id) const;
    // Runs the command when its rule allows it; false when it was ignored or unknown.
    bool Execute(int32_t id);

    void SetDialogs(ViewDialogs dialogs) { dialogs_ = std::move(dialogs); }
    ArrangeCommands& Arrange() { return arrange_; }
    ViewClipboard& Clipboard() { return clipboard_; }
    ViewKeyboard& Keyboard() { return *keyboard_; }
    const ViewKeyboard& Keyboard() const { return *keyboard_; }

    // The popup menu as the view shows it at a right press, its entries enabled and
    // checked as they stand when it (or one of its submenus) opens. The caller owns it.
    QMenu* BuildPopupMenu(QWidget* parent);
    // Opens the popup menu at a client point of the view.
    void ShowPopup(QPoint client);
    // The menu last opened by ShowPopup while it is open, else null.
    QMenu* OpenPopup() const { return openPopup_; }

    // The per-mille zoom of a zoom command, 0 for other ids.
    static int32_t ZoomOf(int32_t id);

private:
    bool RunOther(int32_t id);
    void Jump();

    CViewWnd& view_;
    ArrangeCommands arrange_;
    ViewClipboard clipboard_;
    ViewDialogs dialogs_;
    std::unique_ptr<ViewKeyboard> keyboard_;
    QMenu* openPopup_ = nullptr;
};

} // namespace figures
