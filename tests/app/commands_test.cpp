#include "app/designer/shapedesigner.h"
#include "app/fontchoicedialog.h"
#include "app/icontheme.h"
#include "app/mainwindow.h"

#include "figures/control/figurewindow.h"

#include <QApplication>
#include <QFontDialog>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

struct Window {
    QTemporaryDir dir;
    app::MainWindow window{dir.filePath("vkl.ini"), dir.filePath("none.vkd")};
    Window()
    {
        window.SetDesignerDatabasePath(dir.filePath("mygraphs.sdb"));
        window.show();
    }
};

QWidget* EditingView(figures::FigureWindow& canvas)
{
    return canvas.childAt(QPoint(20, 20));
}

// Clicks the canvas at a point in its own pixels, selecting what lies there.
void ClickCanvas(figures::FigureWindow& canvas, QPoint at)
{
    QWidget* view = EditingView(canvas);
    QTest::mouseClick(view, Qt::LeftButton, {}, view->mapFrom(&canvas, at));
}

void SelectAll(figures::FigureWindow& canvas)
{
    QTest::keyClick(EditingView(canvas), Qt::Key_A, Qt::ControlModifier);
    QTest::qWait(1);
}

QStringList Texts(const QList<QAction*>& actions)
{
    QStringList texts;
    for (const QAction* action : actions) {
        texts << (action->isSeparator() ? QStringLiteral("|") : action->text());
    }
    return texts;
}

QAction* MenuItem(QMenu* menu, const QStringList& path)
{
    for (QAction* action : menu->actions()) {
        if (action->text() == path.front()) {
            return path.size() == 1 ? action : MenuItem(action->menu(), path.mid(1));
        }
    }
    return nullptr;
}

QAction* MenuItem(app::MainWindow& window, const QStringList& path)
{
    for (QAction* top : window.menuBar()->actions()) {
        if (top->text() == path.front()) {
            return MenuItem(top->menu(), path.mid(1));
        }
    }
    return nullptr;
}

TEST(Commands, ToolbarsHoldTheirButtonsInOrder)
{
    // The program picks the theme it is installed with when the desktop names none.
    app::UseInstalledIconTheme();
    Window w;
    EXPECT_EQ(Texts(w.window.StandardBar().actions()),
              QStringList({"|",    "新建", "打开", "保存", "复制", "粘贴", "剪切",
                           "删除", "|",    "恢复", "重复", "|",    "锁定", "解锁",
                           "|",    "组合", "分解", "字体", "刷新", "|",    "打印"}));
    EXPECT_EQ(w.window.StandardBar().toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    for (QAction* action : w.window.StandardBar().actions()) {
        EXPECT_TRUE(action->isSeparator() || !action->icon().isNull())
            << action->text().toStdString();
    }
    const QList<QAction*> align = w.window.AlignmentBar().actions();
    ASSERT_EQ(align.size(), 10);
    EXPECT_TRUE(align[0]->isSeparator());
    EXPECT_EQ(w.window.AlignmentBar().toolButtonStyle(), Qt::ToolButtonIconOnly);

    QStringList menus;
    for (QAction* top : w.window.menuBar()->actions()) {
        menus << top->text();
    }
    for (const char* title : {"&E.编辑", "&V.查看", "&I.配置", "&T.自定义图形", "&H.帮助"}) {
        EXPECT_TRUE(menus.contains(QString::fromUtf8(title))) << title;
    }
    EXPECT_FALSE(menus.contains(QStringLiteral("锚点")));
    EXPECT_EQ(Texts(w.window.AnchorMenu().actions()), QStringList({"恢复", "禁止", "重复"}));
}

// Each alignment button does what its arrangement commands do, run one after the other,
// on the same selection of two shapes of different sizes.
TEST(Commands, AlignmentButtonsRunTheirArrangements)
{
    const QList<QStringList> expected = {
        {"左边对齐"}, {"右边对齐"},     {"顶边对齐"}, {"底边对齐"}, {"等宽"},
        {"等高"},     {"等宽", "等高"}, {"垂直翻转"}, {"水平翻转"},
    };
    const auto twoShapes = [](app::MainWindow& window) {
        figures::FigureWindow& canvas = window.Canvas();
        canvas.AddShape(3);
        canvas.GetObjects(canvas.AddShape(9)).SetFrame(300, 200, 250, 120);
        SelectAll(canvas);
    };
    for (int button = 1; button <= 9; ++button) {
        Window byButton;
        Window byName;
        twoShapes(byButton.window);
        twoShapes(byName.window);
        const QByteArray before = byButton.window.Canvas().DocumentContent();
        byButton.window.AlignmentBar().actions()[button]->trigger();
        for (const QString& name : expected[button - 1]) {
            byName.window.RunArrangeCommand(name);
        }
        const QByteArray after = byButton.window.Canvas().DocumentContent();
        EXPECT_NE(after, before) << "button " << button;
        EXPECT_EQ(after, byName.window.Canvas().DocumentContent()) << "button " << button;
    }
}

TEST(Commands, DrawingDataTravelsFromOneShapeToAnother)
{
    Window w;
    figures::FigureWindow& canvas = w.window.Canvas();
    canvas.AddShape(12);
    canvas.GetObjects(canvas.AddShape(3)).SetFrame(400, 10, 100, 100);
    const QByteArray hexagon = canvas.GetObjects(0).GetDrawingData();

    ClickCanvas(canvas, QPoint(20, 20));
    ASSERT_EQ(canvas.GetSelectedIndexes(), QList<int>{0});
    MenuItem(w.window, {"&E.编辑", "绘图", "取绘图数据"})->trigger();
    EXPECT_EQ(w.window.HeldDrawingData(), hexagon);

    ClickCanvas(canvas, QPoint(170, 30));
    ASSERT_EQ(canvas.GetSelectedIndexes(), QList<int>{1});
    MenuItem(w.window, {"&E.编辑", "绘图", "置自定义图形"})->trigger();
    EXPECT_EQ(canvas.GetObjects(1).GetDrawingData(), hexagon);

    // Nothing selected: nothing is held, and the empty program ends the second shape's.
    ClickCanvas(canvas, QPoint(300, 250));
    ASSERT_TRUE(canvas.GetSelectedIndexes().isEmpty());
    MenuItem(w.window, {"&E.编辑", "绘图", "取绘图数据"})->trigger();
    EXPECT_TRUE(w.window.HeldDrawingData().isEmpty());
}

TEST(Commands, FontSizeIsThePointSizePlusFortyThree)
{
    struct Row {
        double points;
        int size;
    };
    for (const Row row : {Row{9, 52}, Row{10.5, 53}, Row{72, 115}}) {
        QFont font(QStringLiteral("Sans"));
        font.setPointSizeF(row.points);
        font.setBold(true);
        font.setStrikeOut(true);
        const auto parts = app::FontChoiceDialog::PartsFor(font, 0x0000FF);
        EXPECT_EQ(parts.size, row.size) << row.points;
        EXPECT_EQ(parts.colour, 0x0000FFu);
        EXPECT_EQ(parts.bold, true);
        EXPECT_EQ(parts.italic, false);
        EXPECT_EQ(parts.underline, false);
        EXPECT_EQ(parts.strikeOut, true);
    }
}

// Answers the next modal dialog with the function once it is shown.
template <typename Answer> void WhenModal(Answer answer)
{
    QTimer::singleShot(0, [answer] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            ADD_FAILURE() << "no modal dialog";
            return;
        }
        answer(modal);
    });
}

TEST(Commands, FontButtonChangesTheSelectedShapesAndKeepsItsLastChoice)
{
    Window w;
    figures::FigureWindow& canvas = w.window.Canvas();
    canvas.AddShape(3);
    ClickCanvas(canvas, QPoint(20, 20));
    const QByteArray before = canvas.DocumentContent();
    QFont chosen(QStringLiteral("Sans"));
    chosen.setPointSize(20);
    WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<app::FontChoiceDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->SetChoice(chosen, 0x00FF00);
        dialog->accept();
    });
    w.window.StandardButton(QStringLiteral("字体"))->trigger();
    const QByteArray changed = canvas.DocumentContent();
    EXPECT_NE(changed, before);

    // Cancel changes nothing; the dialog comes back with the last accepted values.
    WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<app::FontChoiceDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->ChosenFont().pointSize(), 20);
        EXPECT_EQ(dialog->ChosenColour(), 0x00FF00u);
        dialog->reject();
    });
    w.window.StandardButton(QStringLiteral("字体"))->trigger();
    EXPECT_EQ(canvas.DocumentContent(), changed);
}

TEST(Commands, EscapeInTheFontChooserClosesTheWholeFontDialog)
{
    app::FontChoiceDialog dialog;
    auto* chooser = dialog.findChild<QFontDialog*>();
    ASSERT_NE(chooser, nullptr);
    for (int opening = 0; opening < 2; ++opening) {
        dialog.show();
        ASSERT_TRUE(chooser->isVisible()) << opening;
        QTest::keyClick(chooser, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible()) << opening;
        EXPECT_EQ(dialog.result(), QDialog::Rejected) << opening;
    }
}

TEST(Commands, PaletteInsertsCustomShapesForCategoriesAndFromThePreview)
{
    Window w;
    QTreeWidget& tree = w.window.PaletteTree();
    figures::FigureWindow& canvas = w.window.Canvas();

    emit tree.itemDoubleClicked(tree.topLevelItem(2), 0);
    ASSERT_EQ(canvas.ObjectCount(), 1);
    EXPECT_EQ(canvas.GetObjects(0).GetDrawingData(), w.window.CustomPaletteProgram());

    // The preview shows the star; its double click inserts a custom shape with its program.
    QTreeWidgetItem* star = tree.topLevelItem(3)->child(3);
    ASSERT_EQ(star->text(0), QStringLiteral("五角星"));
    tree.setCurrentItem(star);
    figures::FigureWindow reference;
    const QByteArray starProgram = reference.GetObjects(reference.AddShape(62)).GetDrawingData();
    figures::FigureWindow& preview = w.window.PalettePreview();
    QWidget* previewView = preview.childAt(QPoint(20, 20));
    ASSERT_NE(previewView, nullptr);
    QTest::mouseDClick(previewView, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::qWait(1);
    ASSERT_EQ(canvas.ObjectCount(), 2);
    EXPECT_EQ(canvas.GetObjects(1).GetDrawingData(), starProgram);
    EXPECT_EQ(w.window.HeldDrawingData(), starProgram);
}

TEST(Commands, DesignerOpensFromTheMenuAndFeedsThePalettesCustomEntry)
{
    Window w;
    QTreeWidget& tree = w.window.PaletteTree();
    tree.setCurrentItem(tree.topLevelItem(1));
    // Words 1, 0, 0, 8191, 8191, 0: one line corner to corner.
    const QByteArray diagonal = QByteArray::fromHex("010000000000ff1fff1f0000");
    designer::ShapeDesigner* shown = nullptr;
    WhenModal([&](QWidget* modal) {
        shown = qobject_cast<designer::ShapeDesigner*>(modal);
        ASSERT_NE(shown, nullptr);
        emit shown->customPaletteProgramChanged(diagonal);
        shown->reject();
    });
    MenuItem(w.window, {"&T.自定义图形", "自定义图形"})->trigger();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->parentWidget(), &w.window);
    EXPECT_EQ(w.window.CustomPaletteProgram(), diagonal);
    // The preview, showing a category, follows at once.
    EXPECT_EQ(w.window.PalettePreview().GetObjects(0).GetDrawingData(), diagonal);
    emit tree.itemDoubleClicked(tree.topLevelItem(0)->child(0), 0);
    EXPECT_EQ(w.window.Canvas().GetObjects(0).GetDrawingData(), diagonal);

    // The same designer comes back the next time.
    WhenModal([&](QWidget* modal) {
        EXPECT_EQ(modal, shown);
        modal->close();
    });
    MenuItem(w.window, {"&T.自定义图形", "自定义图形"})->trigger();
}

} // namespace
