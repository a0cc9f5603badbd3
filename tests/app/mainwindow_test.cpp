#include "app/mainwindow.h"

#include "app/splitterbar.h"
#include "figures/control/figurewindow.h"

#include <QFile>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <vector>

namespace {

struct Window {
    QTemporaryDir dir;
    app::MainWindow window{dir.filePath("vkl.ini"), dir.filePath("none.vkd")};
};

TEST(MainWindow, StartsWithItsCaptionPaletteAndAnEmptyWhiteCanvas)
{
    Window w;
    EXPECT_EQ(w.window.windowTitle(), QStringLiteral("Velkor图形绘制设计器"));
    EXPECT_EQ(w.window.Canvas().ViewCount(), 1);
    EXPECT_EQ(w.window.Canvas().ObjectCount(), 0);
    EXPECT_EQ(w.window.Canvas().BackColour(), 0x00FFFFFFu);

    // Six categories holding the 111 shapes, the custom shape first.
    QTreeWidget& tree = w.window.PaletteTree();
    ASSERT_EQ(tree.topLevelItemCount(), 6);
    int rows = 0;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        rows += tree.topLevelItem(i)->childCount();
    }
    EXPECT_EQ(rows, 111);
    EXPECT_EQ(tree.topLevelItem(0)->text(0), QStringLiteral("基本图形"));
    EXPECT_EQ(tree.topLevelItem(0)->child(0)->text(0), QStringLiteral("自定义"));
    EXPECT_EQ(tree.topLevelItem(5)->text(0), QStringLiteral("线"));
    EXPECT_EQ(tree.topLevelItem(5)->childCount(), 33);

    // The preview holds its own view with one custom shape.
    EXPECT_EQ(w.window.PalettePreview().ObjectCount(), 1);
}

TEST(MainWindow, LaysOutItsPanesOnResizeAndOnSplitterMove)
{
    Window w;
    w.window.show();
    w.window.resize(800, 600);
    QTest::qWait(1);
    const int h = w.window.centralWidget()->height() + w.window.statusBar()->height();
    const int outer = w.window.frameGeometry().width();
    QTabWidget& palette = w.window.PaletteTab();
    QTabWidget& canvasTab = w.window.CanvasTab();
    EXPECT_EQ(palette.height(), h - 100);
    EXPECT_EQ(w.window.PaletteTree().height(), h - 100 - 157);
    EXPECT_EQ(w.window.PalettePreview().y(),
              w.window.PaletteTree().y() + w.window.PaletteTree().height() + 6);
    EXPECT_EQ(w.window.Splitter().x(), palette.width() + 10);
    EXPECT_EQ(canvasTab.x(), w.window.Splitter().x() + w.window.Splitter().width());
    EXPECT_EQ(canvasTab.width(), outer - palette.width() - w.window.Splitter().width() - 25);
    EXPECT_EQ(w.window.Canvas().height(), canvasTab.height() - 32);
    EXPECT_EQ(w.window.Canvas().width(), canvasTab.width() - 16);

    // Dragging the splitter to 250 by its middle: the palette tab is 240 wide and the
    // canvas tab starts right of the splitter.
    app::SplitterBar& bar = w.window.Splitter();
    const QPoint grip(bar.width() / 2, bar.height() / 2);
    QTest::mousePress(&bar, Qt::LeftButton, {}, grip);
    QTest::mouseMove(&bar, grip + QPoint(250 - bar.x(), 0));
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, grip + QPoint(250 - bar.x(), 0));
    EXPECT_EQ(bar.x(), 250);
    EXPECT_EQ(palette.width(), 240);
    EXPECT_EQ(w.window.PaletteTree().width(), 225);
    EXPECT_EQ(w.window.PalettePreview().width(), 225);
    EXPECT_EQ(canvasTab.x(), 250 + bar.width());
    EXPECT_EQ(canvasTab.width(), outer - 240 - bar.width() - 25);
    EXPECT_EQ(w.window.Canvas().width(), canvasTab.width() - 16);
}

// The panes' rectangles as {x, y, width, height}, in the order the layout places them.
std::vector<std::array<int, 4>> PaneGeometry(app::MainWindow& window)
{
    std::vector<std::array<int, 4>> panes;
    for (const QWidget* pane : std::initializer_list<const QWidget*>{
             &window.PaletteTab(), &window.PaletteTree(), &window.PalettePreview(),
             &window.Splitter(), &window.CanvasTab(), &window.Canvas()}) {
        const QRect r = pane->geometry();
        panes.push_back({r.x(), r.y(), r.width(), r.height()});
    }
    return panes;
}

// The first layout happens before the window and its status bar are shown; it must count
// the status bar as every later layout does, or the tabs start one status bar too short.
TEST(MainWindow, LaysOutItsPanesAtFirstShowAsAfterAnyResize)
{
    Window w;
    w.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.window));
    const QSize size = w.window.size();
    const std::vector<std::array<int, 4>> first = PaneGeometry(w.window);
    EXPECT_EQ(first[0][3],
              w.window.centralWidget()->height() + w.window.statusBar()->height() - 100);
    w.window.resize(size + QSize(40, 30));
    QTest::qWait(1);
    w.window.resize(size);
    QTest::qWait(1);
    EXPECT_EQ(PaneGeometry(w.window), first);
}

TEST(MainWindow, InsertsTheShapeOfAPaletteRowOnDoubleClick)
{
    Window w;
    QTreeWidget& tree = w.window.PaletteTree();
    QTreeWidgetItem* rectangle = tree.topLevelItem(0)->child(3);
    ASSERT_EQ(rectangle->text(0), QStringLiteral("矩形"));
    emit tree.itemDoubleClicked(rectangle, 0);
    QTreeWidgetItem* custom = tree.topLevelItem(0)->child(0);
    emit tree.itemDoubleClicked(custom, 0);
    ASSERT_EQ(w.window.Canvas().ObjectCount(), 2);
    // The custom shape carries the palette's custom program: 12 words.
    EXPECT_EQ(w.window.Canvas().GetObjects(1).GetDrawingData().size(), 24);
    EXPECT_NE(w.window.Canvas().GetObjects(0).GetDrawingData(),
              w.window.Canvas().GetObjects(1).GetDrawingData());
}

} // namespace

namespace {

// The editing view inside the control, where the user's clicks and keys land.
QWidget* EditingView(figures::FigureWindow& canvas)
{
    return canvas.childAt(QPoint(20, 20));
}

// A rectangle added to the canvas and selected by a click; the editing view it sits in.
QWidget* SelectedRectangle(figures::FigureWindow& canvas)
{
    EXPECT_EQ(canvas.AddShape(3), 0);
    QWidget* view = EditingView(canvas);
    if (view == nullptr) {
        ADD_FAILURE() << "no editing view";
        return nullptr;
    }
    QTest::mouseClick(view, Qt::LeftButton, {}, view->mapFrom(&canvas, QPoint(20, 20)));
    EXPECT_EQ(canvas.GetSelectedIndexes(), QList<int>{0});
    return view;
}

TEST(MainWindow, TurnsWithCtrlAloneAndNudgesWithOtherModifiers)
{
    Window w;
    w.window.show();
    figures::FigureWindow& canvas = w.window.Canvas();
    QWidget* view = SelectedRectangle(canvas);
    ASSERT_TRUE(view != nullptr && !HasFailure());

    const QByteArray before = canvas.DocumentContent();
    QTest::keyClick(view, Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::qWait(1);
    int angle = -1;
    canvas.GetObjects(0).GetAngle(&angle);
    EXPECT_EQ(angle, 0);
    EXPECT_NE(canvas.DocumentContent(), before);

    QTest::keyClick(view, Qt::Key_Left, Qt::ControlModifier);
    QTest::qWait(1);
    canvas.GetObjects(0).GetAngle(&angle);
    EXPECT_EQ(angle, 100);
    QTest::keyClick(view, Qt::Key_Down, Qt::ControlModifier);
    QTest::qWait(1);
    QTest::keyClick(view, Qt::Key_Down, Qt::ControlModifier);
    QTest::qWait(1);
    canvas.GetObjects(0).GetAngle(&angle);
    EXPECT_EQ(angle, -100);

    QTest::keyClick(view, Qt::Key_Delete);
    QTest::qWait(1);
    EXPECT_EQ(canvas.ObjectCount(), 0);
}

// The canvas moves the selection on a plain arrow by itself; the window must not add a
// nudge of its own, or every press would move twice.
TEST(MainWindow, OneArrowPressMovesTheSelectionOneStep)
{
    Window w;
    w.window.show();
    figures::FigureWindow& canvas = w.window.Canvas();
    QWidget* view = SelectedRectangle(canvas);
    ASSERT_TRUE(view != nullptr && !HasFailure());

    const QByteArray before = canvas.DocumentContent();
    for (const auto& [key, back] : {std::pair{Qt::Key_Left, 4}, std::pair{Qt::Key_Up, 2},
                                    std::pair{Qt::Key_Right, 3}, std::pair{Qt::Key_Down, 1}}) {
        QTest::keyClick(view, key);
        QTest::qWait(1);
        EXPECT_NE(canvas.DocumentContent(), before) << key;
        canvas.GetObjects(0).Nudge(back);
        EXPECT_EQ(canvas.DocumentContent(), before) << key;
    }
}

} // namespace

namespace {

TEST(MainWindow, AppliesTheSettingsFileToTheCanvasAtStart)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("vkl.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    // [属性] 边框=5, 允许滚动=假 in GBK.
    file.write("[\xCA\xF4\xD0\xD4]\r\n\xB1\xDF\xBF\xF2=5\r\n\xD4\xCA\xD0\xED\xB9\xF6\xB6\xAF="
               "\xBC\xD9\r\n");
    file.close();
    app::MainWindow window(dir.filePath("vkl.ini"), dir.filePath("none.vkd"));
    EXPECT_EQ(window.Canvas().BorderStyle(), 5);
    EXPECT_FALSE(window.Canvas().ScrollBars());
    EXPECT_TRUE(window.Canvas().PopupMenu());
    EXPECT_EQ(window.Canvas().BackColour(), 0x00FFFFFFu);
    // The preview keeps its own values whatever the settings say.
    EXPECT_EQ(window.PalettePreview().BorderStyle(), 5);
    EXPECT_FALSE(window.PalettePreview().PopupMenu());
}

} // namespace

namespace {

TEST(MainWindow, StandardToolbarButtonsActOnTheSelection)
{
    Window w;
    w.window.show();
    figures::FigureWindow& canvas = w.window.Canvas();
    canvas.AddShape(3);
    canvas.AddShape(11);
    QWidget* view = canvas.childAt(QPoint(20, 20));
    ASSERT_NE(view, nullptr);
    QTest::mouseClick(view, Qt::LeftButton, {}, view->mapFrom(&canvas, QPoint(20, 20)));
    ASSERT_EQ(canvas.GetSelectedIndexes().size(), 1);

    const auto press = [&](const QString& caption) {
        for (QAction* action : w.window.StandardBar().actions()) {
            if (action->text() == caption) {
                action->trigger();
                return;
            }
        }
        ADD_FAILURE() << "no button " << caption.toStdString();
    };
    press(QStringLiteral("复制"));
    press(QStringLiteral("粘贴"));
    EXPECT_EQ(canvas.ObjectCount(), 3);
    const qsizetype selected = canvas.GetSelectedIndexes().size();
    ASSERT_GE(selected, 1);
    press(QStringLiteral("删除"));
    EXPECT_EQ(canvas.ObjectCount(), 3 - selected);
}

} // namespace
