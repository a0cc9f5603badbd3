#include "app/documentcommand.h"
#include "app/mainwindow.h"
#include "app/undocommands.h"

#include "figures/control/figurewindow.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>

namespace {

// A shown, active main window on a document path of the test's own.
struct Window {
    QTemporaryDir dir;
    std::unique_ptr<app::MainWindow> window;

    explicit Window(const QByteArray& document = {})
    {
        const QString path = dir.filePath("start.vkd");
        if (!document.isEmpty()) {
            QFile file(path);
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(document);
        }
        window = std::make_unique<app::MainWindow>(dir.filePath("vkl.ini"), path);
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    figures::FigureWindow& Canvas() { return window->Canvas(); }
    const app::UndoHistory& History() { return *window->Undo().History(); }
    QWidget& View() { return *Canvas().focusProxy(); }
    QWidget& Viewport() { return *Canvas().childAt(Canvas().width() / 2, Canvas().height() / 2); }

    // The pixel in the canvas's viewport at document units (x, y) with nothing scrolled.
    QPoint At(int x, int y)
    {
        const double scale = double(Viewport().width()) / Canvas().GetClientWidth();
        return QPoint(int(x * scale + 0.5), int(y * scale + 0.5));
    }
    void Click(int x, int y) { QTest::mouseClick(&Viewport(), Qt::LeftButton, {}, At(x, y)); }
    void Drag(QPoint from, QPoint to)
    {
        QTest::mousePress(&Viewport(), Qt::LeftButton, {}, from);
        for (int step = 1; step <= 8; ++step) {
            QTest::mouseMove(&Viewport(), from + (to - from) * step / 8);
        }
        QTest::mouseRelease(&Viewport(), Qt::LeftButton, {}, to);
        Settle();
    }
    void Press(int key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(&View(), Qt::Key(key), modifiers);
        Settle();
    }
    QToolButton& Button(const QString& caption)
    {
        for (QAction* action : window->StandardBar().actions()) {
            if (action->text() == caption) {
                return *qobject_cast<QToolButton*>(window->StandardBar().widgetForAction(action));
            }
        }
        ADD_FAILURE() << "no button " << caption.toStdString();
        static QToolButton none;
        return none;
    }
    void ClickButton(const QString& caption)
    {
        QTest::mouseClick(&Button(caption), Qt::LeftButton);
        Settle();
    }
    // Lets the canvas report its completed change.
    static void Settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
};

// A document of two rectangles apart from each other: one at (10, 10)-(110, 110), one at
// (300, 100)-(500, 300).
QByteArray TwoRectangles()
{
    figures::FigureWindow canvas;
    canvas.AddShape(3);
    canvas.GetObjects(canvas.AddShape(3)).SetFrame(300, 100, 200, 200);
    return canvas.DocumentContent();
}

// Opens the selected object's properties with Enter and types a new angle of 30 degrees.
void TurnInPropertiesDialog(Window& w)
{
    bool edited = false;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        auto* angle = dialog->findChild<QAbstractSpinBox*>(QStringLiteral("angle"));
        ASSERT_NE(angle, nullptr);
        QLineEdit* text = angle->findChild<QLineEdit*>();
        text->selectAll();
        QTest::keyClicks(text, QStringLiteral("30"));
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("ok")), Qt::LeftButton);
        edited = true;
    });
    w.Press(Qt::Key_Return);
    EXPECT_TRUE(edited);
    // The offscreen platform does not give the window back its focus after the dialog.
    w.window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(w.window.get()));
}

// Opens the canvas's view manager with F9, runs session in it and closes it with its
// close button.
void InViewManager(Window& w, const std::function<void(QDialog&)>& session)
{
    bool opened = false;
    QTimer::singleShot(0, [&] {
        auto* manager = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(manager, nullptr);
        opened = true;
        session(*manager);
        manager->findChild<QPushButton*>(QStringLiteral("close"))->click();
    });
    w.Press(Qt::Key_F9);
    EXPECT_TRUE(opened);
    w.window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(w.window.get()));
}

void RenameFirstView(QDialog& manager, const QString& name)
{
    auto* edit = manager.findChild<QLineEdit*>(QStringLiteral("name"));
    edit->selectAll();
    edit->insert(name);
}

TEST(UndoCommands, UndoesAndRedoesEachKindOfEditExactly)
{
    const struct {
        const char* name;
        std::function<void(Window&)> edit;
    } edits[] = {
        {"move by dragging", [](Window& w) { w.Drag(w.At(60, 60), w.At(200, 150)); }},
        {"resize by the corner handle",
         [](Window& w) {
             w.Click(60, 60);
             w.Drag(w.At(110, 110), w.At(180, 160));
         }},
        {"nudge with an arrow key",
         [](Window& w) {
             w.Click(60, 60);
             w.Press(Qt::Key_Right);
         }},
        {"turn with Ctrl and an arrow key",
         [](Window& w) {
             w.Click(60, 60);
             w.Press(Qt::Key_Left, Qt::ControlModifier);
         }},
        {"delete",
         [](Window& w) {
             w.Click(60, 60);
             w.ClickButton(QStringLiteral("删除"));
         }},
        {"paste",
         [](Window& w) {
             w.Click(400, 200);
             w.ClickButton(QStringLiteral("复制"));
             w.ClickButton(QStringLiteral("粘贴"));
         }},
        {"group",
         [](Window& w) {
             w.Press(Qt::Key_A, Qt::ControlModifier);
             w.ClickButton(QStringLiteral("组合"));
         }},
        {"properties",
         [](Window& w) {
             w.Click(60, 60);
             TurnInPropertiesDialog(w);
         }},
        {"rename a view in the view manager",
         [](Window& w) {
             InViewManager(w, [](QDialog& m) { RenameFirstView(m, QStringLiteral("总图")); });
         }},
        {"add a view in the view manager",
         [](Window& w) {
             InViewManager(w, [](QDialog& m) {
                 m.findChild<QPushButton*>(QStringLiteral("add"))->click();
             });
         }},
        {"delete a view in the view manager", [](Window& w) {
             InViewManager(w, [](QDialog& m) {
                 QTimer::singleShot(0, [] {
                     auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                     ASSERT_NE(question, nullptr);
                     question->button(QMessageBox::Yes)->click();
                 });
                 m.findChild<QPushButton*>(QStringLiteral("delete"))->click();
             });
         }}};
    for (const auto& edit : edits) {
        SCOPED_TRACE(edit.name);
        Window w(TwoRectangles());
        const QByteArray before = w.Canvas().DocumentContent();
        const int position = w.History().Position();
        edit.edit(w);
        const QByteArray after = w.Canvas().DocumentContent();
        ASSERT_NE(after, before) << "the edit changed nothing";
        EXPECT_EQ(w.History().Position(), position + 1) << "one version per edit";

        w.Press(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(w.Canvas().DocumentContent(), before);
        w.Press(Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(w.Canvas().DocumentContent(), after);
        w.ClickButton(QStringLiteral("恢复"));
        EXPECT_EQ(w.Canvas().DocumentContent(), before);
        w.ClickButton(QStringLiteral("重复"));
        EXPECT_EQ(w.Canvas().DocumentContent(), after);
        EXPECT_EQ(w.History().Position(), position + 1) << "restoring records nothing";
        EXPECT_EQ(w.History().Count(), position + 1);
    }
}

TEST(UndoCommands, AViewManagerSessionThatChangesNothingAddsNoVersion)
{
    Window w(TwoRectangles());
    const QByteArray before = w.Canvas().DocumentContent();
    const int position = w.History().Position();
    InViewManager(w, [](QDialog&) {});
    InViewManager(w, [](QDialog& m) {
        RenameFirstView(m, QStringLiteral("草稿"));
        RenameFirstView(m, QStringLiteral("文档1"));
    });
    EXPECT_EQ(w.Canvas().DocumentContent(), before);
    EXPECT_EQ(w.History().Position(), position);
    EXPECT_EQ(w.History().Count(), position);
    EXPECT_FALSE(w.window->Undo().RedoAction().isEnabled());
}

TEST(UndoCommands, EnablesUndoAndRedoOnlyWhenThereIsAVersionToGoTo)
{
    Window w(TwoRectangles());
    QAction& undo = w.window->Undo().UndoAction();
    QAction& redo = w.window->Undo().RedoAction();
    const QList<QAction*> anchor = w.window->AnchorMenu().actions();
    ASSERT_EQ(anchor.size(), 3);
    ASSERT_EQ(anchor[0]->text(), QStringLiteral("恢复"));
    ASSERT_EQ(anchor[2]->text(), QStringLiteral("重复"));
    const auto states = [&] {
        EXPECT_EQ(w.Button(QStringLiteral("恢复")).isEnabled(), undo.isEnabled());
        EXPECT_EQ(w.Button(QStringLiteral("重复")).isEnabled(), redo.isEnabled());
        EXPECT_EQ(anchor[0]->isEnabled(), undo.isEnabled());
        EXPECT_EQ(anchor[2]->isEnabled(), redo.isEnabled());
        return std::pair(undo.isEnabled(), redo.isEnabled());
    };

    // The loaded document is a version: undo shows the empty document before it.
    EXPECT_EQ(states(), std::pair(true, false));
    const QByteArray loaded = w.Canvas().DocumentContent();
    w.Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.Canvas().ObjectCount(), 0);
    EXPECT_EQ(states(), std::pair(false, true));
    w.Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.Canvas().ObjectCount(), 0) << "a disabled undo does nothing";
    w.Press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w.Canvas().DocumentContent(), loaded);
    EXPECT_EQ(states(), std::pair(true, false));

    // A change after an undo drops what could be redone.
    w.Drag(w.At(60, 60), w.At(200, 150));
    w.Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(states(), std::pair(true, true));
    w.Click(400, 200);
    w.ClickButton(QStringLiteral("删除"));
    EXPECT_EQ(states(), std::pair(true, false));
    EXPECT_EQ(w.Canvas().ObjectCount(), 1);
    w.ClickButton(QStringLiteral("恢复"));
    EXPECT_EQ(w.Canvas().DocumentContent(), loaded);
}

TEST(UndoCommands, AnUndoBackToTheOpenedDocumentLeavesNothingUnsaved)
{
    Window w(TwoRectangles());
    app::DocumentCommand& documents = w.window->Documents();
    ASSERT_FALSE(documents.IsModified());
    w.Drag(w.At(60, 60), w.At(200, 150));
    EXPECT_TRUE(documents.IsModified());
    w.Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(documents.IsModified());
    w.Press(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_TRUE(documents.IsModified());
}

TEST(UndoCommands, StaysOnTheViewOnShowWhenItStillExists)
{
    Window w(TwoRectangles());
    w.Canvas().InsertView(QStringLiteral("第二页"));
    Window::Settle();
    w.Canvas().SetCurrentView(1);
    w.Canvas().AddShape(3);
    Window::Settle();
    ASSERT_EQ(w.Canvas().ObjectCount(), 1);

    w.Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.Canvas().CurrentView(), 1);
    EXPECT_EQ(w.Canvas().ObjectCount(), 0);
    // One step further the second view is gone: the first is shown.
    w.Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.Canvas().ViewCount(), 1);
    EXPECT_EQ(w.Canvas().CurrentView(), 0);
    EXPECT_EQ(w.Canvas().ObjectCount(), 2);
}

TEST(UndoCommands, RecordsAChangeStillWaitingBeforeItStepsBack)
{
    Window w(TwoRectangles());
    const QByteArray loaded = w.Canvas().DocumentContent();
    w.Canvas().GetObjects(0).Delete();
    const QByteArray deleted = w.Canvas().DocumentContent();
    w.window->Undo().RecordSoon();
    w.window->Undo().Undo();
    EXPECT_EQ(w.Canvas().DocumentContent(), loaded);
    w.window->Undo().Redo();
    EXPECT_EQ(w.Canvas().DocumentContent(), deleted);
    Window::Settle();
    EXPECT_EQ(w.History().Count(), 4) << "the change was recorded once";
}

TEST(UndoCommands, KeepsThirtyVersionsOfPaletteInsertionsAndDropsTheOldest)
{
    Window w;
    QTreeWidget& tree = w.window->PaletteTree();
    const QRect row = tree.visualItemRect(tree.topLevelItem(0));
    const auto insert = [&] {
        QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, row.center());
        Window::Settle();
    };
    ASSERT_EQ(w.History().Position(), 2) << "a missing file loads the empty document";
    // The row is chosen first, as a user's first click would.
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, row.center());
    QTest::qWait(QApplication::doubleClickInterval());
    for (int i = 1; i <= 28; ++i) {
        insert();
    }
    EXPECT_EQ(w.Canvas().ObjectCount(), 28);
    EXPECT_EQ(w.History().Position(), 30);
    EXPECT_EQ(w.History().Count(), 30);

    insert();
    EXPECT_EQ(w.Canvas().ObjectCount(), 29);
    EXPECT_EQ(w.History().Position(), 30);
    EXPECT_EQ(w.History().Count(), 30);
    // The oldest reachable version now holds the first insertion.
    for (int i = 0; i < 40; ++i) {
        w.window->Undo().Undo();
    }
    EXPECT_EQ(w.History().Position(), 2);
    EXPECT_EQ(w.Canvas().ObjectCount(), 1);
    EXPECT_FALSE(w.window->Undo().UndoAction().isEnabled());
}

} // namespace
