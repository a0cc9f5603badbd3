#include "app/documentcommand.h"
#include "app/documentrecovery.h"
#include "app/mainwindow.h"
#include "app/recentfiles.h"

#include "figures/control/figurewindow.h"
#include "savefailures.h"
#include "scriptedclosingquestion.h"
#include "scriptedprompts.h"

#include <QApplication>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

using Choice = app::DocumentPrompts::Choice;

struct Window {
    QTemporaryDir dir;
    app::MainWindow window{dir.filePath("vkl.ini"), dir.filePath("none.vkd")};
    ScriptedPrompts prompts;

    std::shared_ptr<ClosingScript> closing = std::make_shared<ClosingScript>();

    Window()
    {
        window.Documents().SetPrompts(prompts);
        window.SetClosingQuestion(std::make_unique<ScriptedClosingQuestion>(closing));
    }
    QString Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    void Edit()
    {
        window.Canvas().AddShape(3);
        QTest::qWait(1); // the canvas reports the change from the event loop
    }
};

TEST(MainWindowFiles, TitleShowsTheFileAndUnsavedChanges)
{
    Window w;
    const QString caption = QStringLiteral("Velkor图形绘制设计器");
    EXPECT_EQ(w.window.windowTitle(), caption);
    w.Edit();
    EXPECT_EQ(w.window.windowTitle(), QStringLiteral("未命名 * - ") + caption);
    w.prompts.chosenFiles = {w.Path("计划")};
    w.window.Documents().Save();
    EXPECT_EQ(w.window.windowTitle(), QStringLiteral("计划.vkd - ") + caption);
    w.Edit();
    EXPECT_EQ(w.window.windowTitle(), QStringLiteral("计划.vkd * - ") + caption);
    // Back to the saved document through the load function (as an undo does): saved again.
    w.window.LoadDocument(ReadBytes(w.Path("计划.vkd")));
    EXPECT_EQ(w.window.windowTitle(), QStringLiteral("计划.vkd - ") + caption);
    EXPECT_EQ(w.window.Recent().Files(), QStringList{w.Path("计划.vkd")});
}

TEST(MainWindowFiles, FileMenuAndToolbarCarryNewOpenSaveWithTheirKeys)
{
    Window w;
    QStringList texts;
    for (QAction* action : w.window.FileMenu().actions()) {
        if (!action->isSeparator()) {
            texts << action->text() + QLatin1Char('|') + action->shortcut().toString();
        }
    }
    EXPECT_EQ(texts, (QStringList{"&N.新建|Ctrl+N", "&O.打开|Ctrl+O", "&S.保存|Ctrl+S",
                                  "另存为...|Ctrl+Shift+S", "打印文档...|Ctrl+P", "打印预览...|",
                                  "导出...|", "另存|", "最近打开的文件|", "&X.退出|Ctrl+Q"}));

    // The toolbar's new button empties the view, even with nothing selected.
    w.window.Canvas().AddShape(3);
    w.window.Documents().Reassess();
    w.prompts.answers = {Choice::No};
    ASSERT_NE(w.window.StandardButton(QStringLiteral("新建")), nullptr);
    w.window.StandardButton(QStringLiteral("新建"))->trigger();
    EXPECT_EQ(w.window.Canvas().ObjectCount(), 0);
    EXPECT_TRUE(w.prompts.answers.empty()) << "the unsaved shape was offered for saving";
}

TEST(MainWindowFiles, ClosingAsksToSaveUnsavedChangesAndCancelKeepsTheWindow)
{
    Window w;
    w.window.show();
    w.Edit();
    w.prompts.answers = {Choice::Cancel};
    EXPECT_FALSE(w.window.close());
    EXPECT_TRUE(w.window.isVisible());
    EXPECT_TRUE(w.prompts.LastQuestion().contains(QStringLiteral("是否保存修改")));

    w.prompts.answers = {Choice::Yes};
    w.prompts.chosenFiles = {w.Path("plan")};
    EXPECT_TRUE(w.window.close());
    EXPECT_EQ(ReadBytes(w.Path("plan.vkd")), w.window.Canvas().DocumentContent());
}

TEST(MainWindowFiles, OpensADroppedDocument)
{
    Window w;
    w.window.show();
    figures::FigureWindow maker;
    maker.AddShape(3);
    WriteBytes(w.Path("dropped.vkd"), maker.DocumentContent());
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(w.Path("dropped.vkd"))});
    const QPoint at = w.window.Canvas().mapTo(&w.window, QPoint(20, 20));
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&w.window, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&w.window, &drop);
    EXPECT_EQ(w.window.Documents().FileName(), w.Path("dropped.vkd"));
    EXPECT_EQ(w.window.Canvas().ObjectCount(), 1);

    QMimeData text;
    text.setUrls({QUrl::fromLocalFile(w.Path("notes.txt"))});
    QDragEnterEvent refused(at, Qt::CopyAction, &text, Qt::LeftButton, {});
    refused.ignore();
    QApplication::sendEvent(&w.window, &refused);
    EXPECT_FALSE(refused.isAccepted());
}

TEST(MainWindowFiles, OffersWorkLeftByAnEditorThatEndedAndShowsItUnsaved)
{
    Window w;
    const QString folder = w.Path("recovery");
    QDir().mkpath(folder);
    figures::FigureWindow maker;
    maker.AddShape(3);
    maker.AddShape(4);
    WriteBytes(QDir(folder).filePath("gone.vkd"), maker.DocumentContent());
    WriteBytes(QDir(folder).filePath("gone.name"), w.Path("plan.vkd").toUtf8());

    w.window.EnableRecovery(folder, 60000);
    w.prompts.answers = {Choice::Yes};
    w.window.OfferRecovery();
    EXPECT_TRUE(w.prompts.LastQuestion().contains(w.Path("plan.vkd")));
    EXPECT_EQ(w.window.Canvas().ObjectCount(), 2);
    EXPECT_EQ(w.window.Documents().FileName(), w.Path("plan.vkd"));
    EXPECT_TRUE(w.window.Documents().IsModified());
    // The recovered work now lives in this editor's recovery file only.
    EXPECT_FALSE(QFile::exists(QDir(folder).filePath("gone.vkd")));
    EXPECT_EQ(ReadBytes(w.window.Recovery()->RecoveryFilePath()), maker.DocumentContent());
}

} // namespace
