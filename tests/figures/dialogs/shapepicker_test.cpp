#include "figures/dialogs/shapepicker.h"
#include "figures/dialogs/shapepreview.h"
#include "figures/model/objects/crichgraph.h"
#include "figures/render/gbk.h"
#include "figures/render/shapes/catalogue.h"
#include "figures/view/cviewwnd.h"

#include "figures/view/viewtestsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QMouseEvent>
#include <QSet>
#include <QTest>

#include <gtest/gtest.h>

namespace figures {
namespace {

using viewtest::AddShape;
using viewtest::Canvas;
using viewtest::CentreOf;
using viewtest::ShownView;

// A move with no button, straight to the canvas, as the mouse passing over it sends.
void MoveOver(CViewWnd& view, QPoint at)
{
    QWidget* canvas = Canvas(view);
    QMouseEvent move(QEvent::MouseMove, at, canvas->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(canvas, &move);
}

void ChooseCategory(ShapePicker& picker, const char* name)
{
    const int index = picker.Categories()->findText(QString::fromUtf8(name));
    ASSERT_GE(index, 0) << name;
    picker.Categories()->setCurrentIndex(index);
}

QStringList ShapeNames(const ShapePicker& picker)
{
    QStringList names;
    for (int i = 0; i < picker.Shapes()->count(); ++i) {
        names << picker.Shapes()->item(i)->text();
    }
    return names;
}

TEST(ShapePicker, SharesItsHeightBetweenListAndPreviewByTheGoldenRatioOfTheWidth)
{
    struct Case {
        int cx, cy;
    };
    ShapePicker picker;
    picker.show();
    for (const Case c : {Case{260, 420}, Case{200, 600}, Case{400, 500}, Case{129, 390}}) {
        picker.resize(c.cx, c.cy);
        const int w = c.cx - 10;
        const int a = int(w * 0.618);
        SCOPED_TRACE(testing::Message() << c.cx << " x " << c.cy);
        EXPECT_EQ(picker.Preview()->geometry(), QRect(5, c.cy - a - 5, w, a));
        const QRect list = picker.Shapes()->geometry();
        EXPECT_EQ(list.left(), 5);
        EXPECT_EQ(list.width(), w);
        EXPECT_EQ(list.top(), 28);
        EXPECT_EQ(list.top() + list.height(), c.cy - a - 10);
        const QRect combo = picker.Categories()->geometry();
        EXPECT_EQ(combo.topLeft(), QPoint(5, 5));
        EXPECT_EQ(combo.width(), w);
        EXPECT_EQ(picker.TargetView()->geometry(), QRect(5, 5, w, c.cy - 10));
    }
}

TEST(ShapePicker, ListsEachCategorysCatalogueEntriesInCatalogueOrder)
{
    struct Case {
        const char* name;
        int count;
    };
    const Case cases[] = {{"流程图", 28}, {"连接线", 33}, {"基本图形", 28},
                          {"标注", 2},    {"箭头", 14},   {"星", 5}};
    ShapePicker picker;
    ASSERT_EQ(picker.Categories()->count(), 6);
    int total = 0;
    for (int order = 0; order < 6; ++order) {
        const Case& c = cases[order];
        SCOPED_TRACE(c.name);
        EXPECT_EQ(picker.Categories()->itemText(order), QString::fromUtf8(c.name));
        ChooseCategory(picker, c.name);
        const int category = picker.Categories()->currentData().toInt();
        ASSERT_EQ(picker.Shapes()->count(), c.count);
        int previous = -1;
        for (int i = 0; i < c.count; ++i) {
            const int entry = picker.Shapes()->item(i)->data(Qt::UserRole).toInt();
            ASSERT_NE(CatalogueEntry(entry), nullptr);
            EXPECT_EQ(CatalogueEntry(entry)->category, category);
            EXPECT_GT(entry, previous);
            previous = entry;
        }
        EXPECT_FALSE(picker.HasShape()); // a new category chooses nothing
        total += c.count;
    }
    EXPECT_EQ(total, 110);
    ChooseCategory(picker, "标注");
    EXPECT_EQ(ShapeNames(picker),
              (QStringList{QStringLiteral("矩形标注"), QStringLiteral("圆角矩形标注")}));
}

TEST(ShapePicker, DrawsEachShapeAsItsIconAndTheSelectedOneInThePreview)
{
    ShapePicker picker;
    ChooseCategory(picker, "基本图形");
    QSet<size_t> distinct; // a rendering fault would give many shapes the same picture
    for (int i = 0; i < picker.Shapes()->count(); ++i) {
        // The plain text box has no outline and no fill of its own: its icon is blank.
        if (picker.Shapes()->item(i)->text() == QStringLiteral("简单文本框")) {
            continue;
        }
        const QImage icon = picker.Shapes()->item(i)->icon().pixmap(32, 32).toImage();
        bool inked = false;
        for (int y = 0; y < icon.height() && !inked; ++y) {
            for (int x = 0; x < icon.width() && !inked; ++x) {
                inked = icon.pixel(x, y) != qRgb(255, 255, 255);
            }
        }
        EXPECT_TRUE(inked) << picker.Shapes()->item(i)->text().toStdString();
        distinct.insert(
            qHash(QByteArray(reinterpret_cast<const char*>(icon.constBits()), icon.sizeInBytes())));
    }
    EXPECT_GE(distinct.size(), picker.Shapes()->count() - 2);
    EXPECT_EQ(picker.Preview()->Object(), nullptr);
    picker.Shapes()->setCurrentRow(2);
    const int entry = picker.Shapes()->item(2)->data(Qt::UserRole).toInt();
    auto* shown = dynamic_cast<const CRichGraph*>(picker.Preview()->Object());
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->shapeIndex, entry);
    ChooseCategory(picker, "星");
    EXPECT_EQ(picker.Preview()->Object(), nullptr);
}

TEST(ShapePicker, AClickCreatesTheChosenShapeOnceThenSelectsAgain)
{
    auto view = ShownView(400, 300);
    ShapePicker picker;
    picker.SetEditingView(view.get());
    QTest::mouseClick(Canvas(*view), Qt::LeftButton, {}, {60, 60});
    EXPECT_EQ(view->CurrentView()->ObjectCount(), 0); // nothing chosen: the press selects

    ChooseCategory(picker, "箭头");
    picker.Shapes()->setCurrentRow(3);
    const int entry = picker.Shapes()->item(3)->data(Qt::UserRole).toInt();
    ASSERT_TRUE(picker.HasShape());
    QTest::mouseClick(Canvas(*view), Qt::LeftButton, {}, {100, 80});
    ASSERT_EQ(view->CurrentView()->ObjectCount(), 1);
    auto* made = dynamic_cast<CRichGraph*>(view->CurrentView()->ObjectByIndex(0));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->shapeIndex, entry);
    EXPECT_FALSE(picker.HasShape());

    QTest::mouseClick(Canvas(*view), Qt::LeftButton, {}, {300, 250});
    EXPECT_EQ(view->CurrentView()->ObjectCount(), 1);
    picker.SetEditingView(nullptr);
}

TEST(ShapePicker, ShowsTheJumpTargetWhileTheMouseIsOverALinkedObject)
{
    auto view = ShownView(400, 300);
    Document& document = view->GetDocument();
    document.AddView();
    document.ViewAt(1)->name = ToGbk(QStringLiteral("目标"));
    const Rect elsewhere{50, 50, 250, 150};
    document.ViewAt(1)->AddNewShape(viewtest::kEllipse, &elsewhere);
    view->SelectView(0);
    CRichGraph* linked = AddShape(*view, viewtest::kRectangle, {100, 100, 400, 400});
    linked->jumpTarget = ToGbk(QStringLiteral("目标"));
    ShapePicker picker;
    picker.SetEditingView(view.get());
    picker.show();

    MoveOver(*view, CentreOf(*view, *linked));
    EXPECT_TRUE(picker.TargetView()->isVisible());
    EXPECT_FALSE(picker.Shapes()->isVisible());
    EXPECT_FALSE(picker.Categories()->isVisible());
    EXPECT_EQ(picker.TargetView()->CurrentIndex(), 1);
    EXPECT_EQ(picker.TargetView()->CurrentView()->ObjectCount(), 1);
    EXPECT_TRUE(picker.TargetView()->PreviewMode());

    MoveOver(*view, {390, 290});
    EXPECT_FALSE(picker.TargetView()->isVisible());
    EXPECT_TRUE(picker.Shapes()->isVisible());
    EXPECT_TRUE(picker.Preview()->isVisible());
    picker.SetEditingView(nullptr);
}

} // namespace
} // namespace figures
