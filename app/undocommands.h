#pragma once

#include "app/undohistory.h"

#include <QObject>

#include <memory>

class QAction;
class QMenu;
class QWidget;

namespace figures {
class FigureWindow;
}

namespace app {

// The commands "恢复" (undo, Ctrl+Z) and "重复" (redo, Ctrl+Y or Ctrl+Shift+Z) of the main
// window over the canvas's undo history: the two buttons of the standard toolbar, the
// keys anywhere in the window, and the enabled state of the two items of the hidden menu
// "锚点". The canvas's completed changes are recorded as they are reported; loads are
// recorded by whoever loads, through RecordSnapshot.
class UndoCommands : public QObject {
    Q_OBJECT

public:
    // undoButton and redoButton: the toolbar's buttons, which get the commands and the
    // keys; the window carries the keys too, so that they work with the toolbar hidden.
    // anchorMenu: the menu whose items "恢复" and "重复" follow the enabled states. Nothing
    // is recorded before Initialise.
    UndoCommands(figures::FigureWindow& canvas, QWidget& window, QAction& undoButton,
                 QAction& redoButton, QMenu& anchorMenu);
    ~UndoCommands() override;

    // Starts the history: initialDocument fills the unused slots, the canvas's document
    // now is the first version.
    void Initialise(const QByteArray& initialDocument);
    // Records the canvas's document as the newest version when it differs from the one on
    // show.
    void RecordSnapshot();
    // Records once the events already waiting are handled, so that the changes one user
    // action reports in a row become one version.
    void RecordSoon();
    void Undo();
    void Redo();

    QAction& UndoAction() { return *undo_; }
    QAction& RedoAction() { return *redo_; }
    // Empty before Initialise.
    const UndoHistory* History() const { return history_.get(); }

signals:
    // An undo or redo put another version on the canvas. The canvas reports only its own
    // edits, so whoever compares the document with a saved one listens here too.
    void documentRestored();

private:
    void Show(const SnapshotPool::Snapshot& version);
    void UpdateActions();

    figures::FigureWindow& canvas_;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QAction* anchorUndo_ = nullptr;
    QAction* anchorRedo_ = nullptr;
    std::unique_ptr<UndoHistory> history_;
    bool recordPending_ = false;
};

} // namespace app
