#pragma once

#include <QObject>

#include <cstdint>
#include <vector>

class QAction;
class QKeyEvent;

namespace figures {

class CViewWnd;
class ViewCommands;

// The view's keyboard commands: one QAction per command on the view, with exactly the
// component's key bindings, active while the view has the focus. An action is enabled
// only while its command's rule holds. While the view has the focus an enabled binding
// wins over shortcuts of the windows around it (Ctrl+C in the canvas copies objects);
// a key whose command is off reaches the view, the host and their shortcuts as an
// ordinary key. A key that runs a command is still forwarded to the host, as every key
// of the view is. Esc, F6, Shift+F6 and Ctrl+Z are not bound: they belong to the host.
class ViewKeyboard : public QObject {
    Q_OBJECT

public:
    ViewKeyboard(CViewWnd& view, ViewCommands& commands);

    const std::vector<QAction*>& Actions() const { return actions_; }
    // The action that runs the command, or null.
    QAction* ActionFor(int32_t id) const;
    // Whether the view acts on this key itself (enabled or not), so that a host with keys
    // of its own leaves it alone instead of acting a second time.
    bool Binds(QKeyCombination key) const;
    // A host that translates the keys into commands itself (arrows and Delete in its own
    // key handler) switches the view's bindings off, so that no key acts twice.
    void SetEnabled(bool enabled);
    bool IsEnabled() const { return enabled_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void AddAction(int32_t id, std::initializer_list<QKeyCombination> keys);
    void Refresh();
    // The enabled action bound to the key, or null.
    QAction* BoundAction(const QKeyEvent& key) const;
    void ForwardToHost(const QKeyEvent& key) const;

    CViewWnd& view_;
    ViewCommands& commands_;
    std::vector<QAction*> actions_;
    bool enabled_ = true;
};

} // namespace figures
