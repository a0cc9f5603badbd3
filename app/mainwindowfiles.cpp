// The main window's side of document files: the file menu, the title, dropped files,
// closing with unsaved changes, and recovery after a crash.
#include "app/mainwindow.h"

#include "app/dialogprompts.h"
#include "app/documentcommand.h"
#include "app/documentoutput.h"
#include "app/documentrecovery.h"
#include "app/recentfiles.h"
#include "app/undocommands.h"
#include "figures/control/figurewindow.h"

#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QIcon>
#include <QLocale>
#include <QMenuBar>
#include <QMimeData>

namespace app {

namespace {

const QString kCaption = QStringLiteral("Velkor图形绘制设计器");

// The first local document file among dropped URLs, empty when there is none.
QString DroppedDocument(const QMimeData* data)
{
    if (!data || !data->hasUrls()) {
        return {};
    }
    for (const QUrl& url : data->urls()) {
        const QString path = url.toLocalFile();
        if (!path.isEmpty() && QFileInfo(path).suffix().compare(QLatin1String("vkd"),
                                                                Qt::CaseInsensitive) == 0) {
            return path;
        }
    }
    return {};
}

} // namespace

void MainWindow::BuildFileMenu()
{
    prompts_ = std::make_unique<DialogPrompts>(this);
    documents_ = new DocumentCommand(
        *canvas_, *prompts_, [this](const QByteArray& bytes) { return LoadDocument(bytes); },
        this);
    recent_ = std::make_unique<RecentFiles>(
        QFileInfo(settingsPath_).dir().filePath(QStringLiteral("recent.ini")));
    connect(documents_, &DocumentCommand::stateChanged, this, &MainWindow::UpdateTitle);
    connect(documents_, &DocumentCommand::fileUsed, this,
            [this](const QString& path) { recent_->Add(path); });
    connect(canvas_, &figures::FigureWindow::documentChanged, documents_,
            &DocumentCommand::Reassess);

    fileMenu_ = menuBar()->addMenu(QStringLiteral("&F.文件"));
    const auto add = [this](const QString& text, const QString& caption, const char* icon,
                            QKeySequence keys, auto run) {
        QAction* action = fileMenu_->addAction(QIcon::fromTheme(QLatin1String(icon)), text);
        action->setIconText(caption);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, run);
        return action;
    };
    add(QStringLiteral("&N.新建"), QStringLiteral("新建"), "document-new",
                             QKeySequence::New, [this] { documents_->Run(DocumentCommand::kNew); });
    add(QStringLiteral("&O.打开"), QStringLiteral("打开"), "document-open",
            QKeySequence::Open, [this] { documents_->Run(DocumentCommand::kOpen); });
    add(QStringLiteral("&S.保存"), QStringLiteral("保存"), "document-save",
            QKeySequence::Save, [this] { documents_->Run(DocumentCommand::kSave); });
    add(QStringLiteral("另存为..."), QStringLiteral("另存为"), "document-save-as",
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), [this] { documents_->SaveAs(); });
    fileMenu_->addSeparator();
    output_->AddMenuItems(*fileMenu_);
    fileMenu_->addSeparator();
    QMenu* recentMenu = fileMenu_->addMenu(QStringLiteral("最近打开的文件"));
    connect(recentMenu, &QMenu::aboutToShow, this, [this, recentMenu] {
        recent_->FillMenu(*recentMenu, [this](const QString& path) {
            if (!QFileInfo::exists(path)) {
                recent_->Remove(path);
            }
            documents_->OpenFile(path);
        });
    });
    fileMenu_->addSeparator();
    add(QStringLiteral("&X.退出"), QStringLiteral("退出"), "application-exit",
        QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { close(); });

    setAcceptDrops(true);
}

// The standard toolbar's new, open and save buttons run the same commands as the menu.
void MainWindow::ConnectFileButtons()
{
    const std::pair<const char*, int> buttons[] = {{"新建", DocumentCommand::kNew},
                                                   {"打开", DocumentCommand::kOpen},
                                                   {"保存", DocumentCommand::kSave}};
    for (const auto& [caption, kind] : buttons) {
        if (QAction* button = StandardButton(QString::fromUtf8(caption))) {
            connect(button, &QAction::triggered, this, [this, kind] {
                documents_->Run(kind);
                canvas_->Refresh();
            });
        }
    }
}

// "plan.vkd * - Velkor图形绘制设计器" for a file with unsaved changes; the bare caption for
// the unchanged sample shown at start.
void MainWindow::UpdateTitle()
{
    const QString name = documents_->FileName();
    const bool modified = documents_->IsModified();
    if (name.isEmpty() && !modified) {
        setWindowTitle(kCaption);
        return;
    }
    const QString shown = name.isEmpty() ? QStringLiteral("未命名") : QFileInfo(name).fileName();
    setWindowTitle(shown + (modified ? QStringLiteral(" *") : QString()) +
                   QStringLiteral(" - ") + kCaption);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!documents_->AskToSaveChanges()) {
        event->ignore();
        return;
    }
    AskClosingQuestion();
    QMainWindow::closeEvent(event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DroppedDocument(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const QString path = DroppedDocument(event->mimeData());
    if (path.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    documents_->OpenFile(path);
}

void MainWindow::EnableRecovery(const QString& folder, int intervalMs)
{
    delete recovery_;
    recovery_ = new DocumentRecovery(
        folder, intervalMs,
        [this] {
            return DocumentRecovery::State{documents_->IsModified(), canvas_->DocumentContent(),
                                           documents_->FileName()};
        },
        this);
    const auto note = [this] { recovery_->NoteChange(documents_->IsModified()); };
    connect(documents_, &DocumentCommand::stateChanged, recovery_, note);
    connect(canvas_, &figures::FigureWindow::documentChanged, recovery_, note);
    connect(undo_, &UndoCommands::documentRestored, recovery_, note);
}

void MainWindow::OfferRecovery()
{
    if (!recovery_) {
        return;
    }
    for (const DocumentRecovery::Leftover& leftover : recovery_->TakeLeftovers()) {
        DocumentPrompts::Question question;
        question.title = QStringLiteral("恢复图形");
        const QString document = leftover.fileName.isEmpty()
                                     ? QStringLiteral("一份未命名的图形")
                                     : QStringLiteral("“%1”").arg(leftover.fileName);
        question.text =
            QStringLiteral("程序上次没有正常结束，%1的未保存修改被自动保存了下来（%2）。\n"
                           "是否恢复它？不恢复则丢弃这些修改。")
                .arg(document, QLocale().toString(leftover.written, QLocale::ShortFormat));
        question.yes = QStringLiteral("恢复(&R)");
        question.no = QStringLiteral("丢弃(&D)");
        if (documents_->Prompts().Ask(question) != DocumentPrompts::Choice::Yes) {
            recovery_->Forget(leftover);
            continue;
        }
        if (!documents_->AskToSaveChanges()) {
            return; // kept for the next start
        }
        documents_->ShowRecovered(leftover.bytes, leftover.fileName);
        // The recovered work is safe in this editor's own recovery file before the old
        // one goes.
        if (recovery_->WriteNow()) {
            recovery_->Forget(leftover);
        }
        return;
    }
}

} // namespace app
