#include "app/undocommands.h"

#include "figures/control/figurewindow.h"

#include <QAction>
#include <QMenu>

namespace app {

namespace {

std::span<const uint8_t> AsSpan(const QByteArray& bytes)
{
    return {reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())};
}

QAction* FindAction(const QList<QAction*>& actions, const QString& text)
{
    for (QAction* action : actions) {
        if (action->text() == text) {
            return action;
        }
    }
    return nullptr;
}

} // namespace

UndoCommands::UndoCommands(figures::FigureWindow& canvas, QWidget& window, QAction& undoButton,
                           QAction& redoButton, QMenu& anchorMenu)
    : QObject(&window), canvas_(canvas), undo_(&undoButton), redo_(&redoButton)
{
    undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redo_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(undo_, &QAction::triggered, this, &UndoCommands::Undo);
    connect(redo_, &QAction::triggered, this, &UndoCommands::Redo);
    window.addAction(undo_);
    window.addAction(redo_);
    anchorUndo_ = FindAction(anchorMenu.actions(), QStringLiteral("恢复"));
    anchorRedo_ = FindAction(anchorMenu.actions(), QStringLiteral("重复"));

    connect(&canvas_, &figures::FigureWindow::documentChanged, this, &UndoCommands::RecordSoon);
    UpdateActions();
}

UndoCommands::~UndoCommands() = default;

void UndoCommands::Initialise(const QByteArray& initialDocument)
{
    history_ =
        std::make_unique<UndoHistory>(AsSpan(initialDocument), AsSpan(canvas_.DocumentContent()));
    UpdateActions();
}

void UndoCommands::RecordSoon()
{
    if (!recordPending_) {
        recordPending_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (recordPending_) {
                    RecordSnapshot();
                }
            },
            Qt::QueuedConnection);
    }
}

void UndoCommands::RecordSnapshot()
{
    recordPending_ = false;
    if (history_ && !history_->Restoring()) {
        history_->RecordSnapshot(AsSpan(canvas_.DocumentContent()));
    }
    UpdateActions();
}

void UndoCommands::Undo()
{
    if (recordPending_) {
        RecordSnapshot();
    }
    if (history_) {
        history_->Undo([this](const SnapshotPool::Snapshot& version) { Show(version); });
    }
    UpdateActions();
}

void UndoCommands::Redo()
{
    if (recordPending_) {
        RecordSnapshot();
    }
    if (history_) {
        history_->Redo([this](const SnapshotPool::Snapshot& version) { Show(version); });
    }
    UpdateActions();
}

// Hands the version to the canvas, staying on the view that was on show when it still
// exists: a version differs from the one on show by one change, seldom by its views.
void UndoCommands::Show(const SnapshotPool::Snapshot& version)
{
    QByteArray bytes(qsizetype(version.Size()), Qt::Uninitialized);
    version.CopyTo({reinterpret_cast<uint8_t*>(bytes.data()), size_t(bytes.size())});
    const int view = canvas_.CurrentView();
    // Every version is bytes the canvas wrote itself.
    canvas_.RestoreDocumentContent(bytes);
    if (view > 0 && view < canvas_.ViewCount()) {
        canvas_.SetCurrentView(view);
    }
    emit documentRestored();
}

void UndoCommands::UpdateActions()
{
    const bool canUndo = history_ && history_->CanUndo();
    const bool canRedo = history_ && history_->CanRedo();
    for (QAction* action : {undo_, anchorUndo_}) {
        if (action != nullptr) {
            action->setEnabled(canUndo);
        }
    }
    for (QAction* action : {redo_, anchorRedo_}) {
        if (action != nullptr) {
            action->setEnabled(canRedo);
        }
    }
}

} // namespace app
