#include "tests/figures/view/viewtestsupport.h"

#include "figures/model/handles/objecthandles.h"
#include "figures/view/pickerpanel.h"

#include <QApplication>
#include <QCursor>

#include <gtest/gtest.h>

#include <vector>

namespace figures {
namespace {

using namespace viewtest;

constexpr int32_t kRoundedRectangle = 6;

void Drag(CViewWnd& view, QPoint from, QPoint to)
{
    QTest::mousePress(Canvas(view), Qt::LeftButton, {}, from);
    QTest::mouseMove(Canvas(view), to);
    QTest::mouseRelease(Canvas(view), Qt::LeftButton, {}, to);
}

std::vector<uint8_t> Bytes(std::span<const uint8_t> span)
{
    return {span.begin(), span.end()};
}

TEST(ViewCreation, AClickCreatesFiveHundredByThreeHundredAtThePressPoint)
{
    auto view = ShownView(400, 300);
    OneShapePicker picker;
    view->SetPickerPanel(&picker);
    const QPoint at(100, 80);
    QTest::mousePress(Canvas(*view), Qt::LeftButton, {}, at);
    EXPECT_TRUE(view->IsDragging());
    QTest::mouseRelease(Canvas(*view), Qt::LeftButton, {}, at);
    ASSERT_EQ(view->CurrentView()->ObjectCount(), 1);
    CBaseCom* made = view->CurrentView()->ObjectByIndex(0);
    const Point press = view->ClientToDocument({at.x(), at.y()});
    EXPECT_EQ(made->frame, (Rect{press.x, press.y, press.x + 500, press.y + 300}));
    EXPECT_EQ(view->Selection(), std::vector<CBaseCom*>{made});
    EXPECT_TRUE(view->CurrentView()->modified);
    EXPECT_FALSE(picker.chosen); // the next press selects again
    view->SetPickerPanel(nullptr);
}

TEST(ViewCreation, ADragKeepsItsExtentBeyondThreePixelsPerDirection)
{
    auto view = ShownView(400, 300);
    OneShapePicker picker;
    view->SetPickerPanel(&picker);
    const QPoint from(100, 80);
    const QPoint to = from + QPoint(2, 40);
    Drag(*view, from, to);
    ASSERT_EQ(view->CurrentView()->ObjectCount(), 1);
    const Rect frame = view->CurrentView()->ObjectByIndex(0)->frame;
    const Point press = view->ClientToDocument({from.x(), from.y()});
    const Point release = view->ClientToDocument({to.x(), to.y()});
    EXPECT_EQ(frame.left, press.x);
    EXPECT_EQ(frame.Width(), 500);
    EXPECT_EQ(frame.Height(), release.y - press.y);
    view->SetPickerPanel(nullptr);
}

TEST(ViewCreation, EscOrARightPressDeletesTheNewObject)
{
    auto view = ShownView(400, 300);
    OneShapePicker picker;
    view->SetPickerPanel(&picker);
    QTest::mousePress(Canvas(*view), Qt::LeftButton, {}, {100, 80});
    QTest::mouseMove(Canvas(*view), {200, 200});
    QTest::keyClick(view.get(), Qt::Key_Escape);
    QTest::mouseRelease(Canvas(*view), Qt::LeftButton, {}, {200, 200});
    QTest::mousePress(Canvas(*view), Qt::LeftButton, {}, {100, 80});
    QTest::mouseMove(Canvas(*view), {200, 200});
    QTest::mousePress(Canvas(*view), Qt::RightButton, {}, {200, 200});
    EXPECT_FALSE(view->IsDragging());
    EXPECT_EQ(view->CurrentView()->ObjectCount(), 0);
    EXPECT_TRUE(picker.chosen);
    EXPECT_FALSE(view->CurrentView()->modified);
    view->SetPickerPanel(nullptr);
}

TEST(ViewMove, MovesTheUnlockedSelectionByTheExactMouseOffset)
{
    auto view = ShownView(400, 300);
    CRichGraph* a = AddShape(*view, kRectangle, {100, 100, 300, 300});
    CRichGraph* locked = AddShape(*view, kRectangle, {400, 100, 600, 300});
    locked->flags |= OF_LOCKED;
    view->Select(a, false);
    view->Select(locked, true);
    const QPoint from = CentreOf(*view, *a);
    const QPoint to = from + QPoint(37, 23);
    Drag(*view, from, to);
    const Point d0 = view->ClientToDocument({from.x(), from.y()});
    const Point d1 = view->ClientToDocument({to.x(), to.y()});
    EXPECT_EQ(a->frame, (Rect{100, 100, 300, 300}.Offset(d1.x - d0.x, d1.y - d0.y)));
    EXPECT_EQ(locked->frame, (Rect{400, 100, 600, 300}));
    // A selection of locked objects only does not start a move.
    view->Select(locked, false);
    QTest::mousePress(Canvas(*view), Qt::LeftButton, {}, CentreOf(*view, *locked));
    EXPECT_FALSE(view->IsDragging());
    QTest::mouseRelease(Canvas(*view), Qt::LeftButton, {}, CentreOf(*view, *locked));
}

TEST(ViewMove, ReleasingAtThePressPointMovesNothingButMarksTheViewModified)
{
    auto view = ShownView(400, 300);
    CRichGraph* a = AddShape(*view, kRectangle, {100, 100, 300, 300});
    view->CurrentView()->modified = false;
    const QPoint at = CentreOf(*view, *a);
    QTest::mousePress(Canvas(*view), Qt::LeftButton, {}, at);
    EXPECT_TRUE(view->IsDragging());
    QTest::mouseRelease(Canvas(*view), Qt::LeftButton, {}, at);
    EXPECT_EQ(a->frame, (Rect{100, 100, 300, 300}));
    EXPECT_TRUE(view->CurrentView()->modified);
    // Esc during a move leaves everything where it was.
    view->CurrentView()->modified = false;
    QTest::mousePress(Canvas(*view), Qt::LeftButton, {}, at);
    QTest::mouseMove(Canvas(*view), at + QPoint(50, 50));
    QTest::keyClick(view.get(), Qt::Key_Escape);
    QTest::mouseRelease(Canvas(*view), Qt::LeftButton, {}, at + QPoint(50, 50));
    EXPECT_EQ(a->frame, (Rect{100, 100, 300, 300}));
    EXPECT_FALSE(view->CurrentView()->modified);
}

// A client point where the object answers the hit test with an adjust handle.
std::optional<QPoint> AdjustHandleAt(CViewWnd& view, CBaseCom& object)
{
    const DeviceMapping map = view.Mapping();
    const QPoint offset = view.ScrollOffset();
    const Rect area = view.ClientBounds(&object);
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            HitRecord hit;
            hit.map = &map;
            hit.devicePoint = {x + offset.x(), y + offset.y()};
            if (object.OnMessage(OM_SET_CURSOR, &hit) == 0 && hit.hitCode >= 0) {
                return QPoint(x, y);
            }
        }
    }
    return std::nullopt;
}

TEST(ViewHandleDrag, ResizesFromACornerAndEscRestoresEverything)
{
    auto view = ShownView(400, 300);
    CRichGraph* shape = AddShape(*view, kRoundedRectangle, {100, 100, 500, 400});
    view->Select(shape, false);
    const Rect clientFrame = view->DocumentToClient(shape->frame);
    const Point corner = StandardHandlePoint(clientFrame, 4, 0, kHandleHalfSize);
    Drag(*view, {corner.x, corner.y}, {corner.x + 40, corner.y + 30});
    EXPECT_EQ(shape->frame.left, 100);
    EXPECT_EQ(shape->frame.top, 100);
    EXPECT_GT(shape->frame.right, 500);
    EXPECT_GT(shape->frame.bottom, 400);
    EXPECT_TRUE(view->CurrentView()->modified);

    // An adjust handle changes the shape's own parameters; Esc puts them back.
    const Rect frame = shape->frame;
    const std::vector<uint8_t> handles = Bytes(shape->GetProperty(PT_HANDLES));
    const std::vector<uint8_t> program = Bytes(shape->GetProperty(PT_PROGRAM));
    const std::optional<QPoint> adjust = AdjustHandleAt(*view, *shape);
    ASSERT_TRUE(adjust.has_value());
    QTest::mousePress(Canvas(*view), Qt::LeftButton, {}, *adjust);
    ASSERT_TRUE(view->IsDragging());
    QTest::mouseMove(Canvas(*view), *adjust + QPoint(30, 20));
    ASSERT_NE(Bytes(shape->GetProperty(PT_HANDLES)), handles); // changed while dragging
    QTest::keyClick(view.get(), Qt::Key_Escape);
    QTest::mouseRelease(Canvas(*view), Qt::LeftButton, {}, *adjust + QPoint(30, 20));
    EXPECT_EQ(shape->frame, frame);
    EXPECT_EQ(Bytes(shape->GetProperty(PT_HANDLES)), handles);
    EXPECT_EQ(Bytes(shape->GetProperty(PT_PROGRAM)), program);

    // Esc during a resize puts the frame back too.
    const Rect nowFrame = view->DocumentToClient(shape->frame);
    const Point nowCorner = StandardHandlePoint(nowFrame, 4, 0, kHandleHalfSize);
    QTest::mousePress(Canvas(*view), Qt::LeftButton, {}, {nowCorner.x, nowCorner.y});
    QTest::mouseMove(Canvas(*view), {nowCorner.x + 60, nowCorner.y + 60});
    QTest::mousePress(Canvas(*view), Qt::RightButton, {}, {nowCorner.x + 60, nowCorner.y + 60});
    EXPECT_EQ(shape->frame, frame);
}

TEST(ViewAutoScroll, ScrollsOneLineEveryTickWhileThePointerIsOutside)
{
    auto view = ShownView(400, 300);
    view->SetScrollBarsShown(true);
    AddShape(*view, kRectangle, {0, 0, 20000, 20000});
    view->horizontalScrollBar()->setValue(3);
    // A rubber band with the pointer left of the window scrolls left until the start.
    QTest::mousePress(Canvas(*view), Qt::LeftButton, {}, {200, 150});
    QTest::mouseMove(Canvas(*view), {-20, 150});
    QTest::qWait(150);
    EXPECT_EQ(view->horizontalScrollBar()->value(), 2);
    QTest::qWait(100);
    EXPECT_EQ(view->horizontalScrollBar()->value(), 1);
    QTest::qWait(300);
    EXPECT_EQ(view->horizontalScrollBar()->value(), 0);
    EXPECT_EQ(view->verticalScrollBar()->value(), 0);
    // Back inside, it stops.
    QTest::mouseMove(Canvas(*view), {200, 150});
    view->horizontalScrollBar()->setValue(3);
    QTest::qWait(250);
    EXPECT_EQ(view->horizontalScrollBar()->value(), 3);
    QTest::mouseRelease(Canvas(*view), Qt::LeftButton, {}, {200, 150});
}

TEST(ViewAutoScroll, AMoveBelowTheWindowScrollsDownAndTheObjectFollowsThePointer)
{
    auto view = ShownView(400, 300);
    view->SetScrollBarsShown(true);
    CRichGraph* a = AddShape(*view, kRectangle, {100, 100, 300, 300});
    AddShape(*view, kRectangle, {0, 0, 100, 20000});
    view->Select(a, false);
    const QPoint from = CentreOf(*view, *a);
    const Point pressDoc = view->ClientToDocument({from.x(), from.y()});
    const QPoint below(from.x(), view->viewport()->height() + 10);
    QTest::mousePress(Canvas(*view), Qt::LeftButton, {}, from);
    QTest::mouseMove(Canvas(*view), below);
    QTest::qWait(350);
    const int lines = view->verticalScrollBar()->value();
    EXPECT_GE(lines, 2);
    EXPECT_LE(lines, 4);
    const Point releaseDoc = view->ClientToDocument({below.x(), below.y()});
    QTest::mouseRelease(Canvas(*view), Qt::LeftButton, {}, below);
    EXPECT_EQ(a->frame.top, 100 + releaseDoc.y - pressDoc.y);
}

TEST(ViewDrag, ArrowKeysMoveThePointerByOnePixel)
{
    auto view = ShownView(400, 300);
    QTest::mousePress(Canvas(*view), Qt::LeftButton, {}, {200, 150});
    ASSERT_TRUE(view->IsDragging());
    const QPoint start = QCursor::pos();
    QTest::keyClick(view.get(), Qt::Key_Right);
    EXPECT_EQ(QCursor::pos(), start + QPoint(1, 0));
    QTest::keyClick(view.get(), Qt::Key_Down);
    QTest::keyClick(view.get(), Qt::Key_Down);
    EXPECT_EQ(QCursor::pos(), start + QPoint(1, 2));
    QTest::keyClick(view.get(), Qt::Key_Left);
    QTest::keyClick(view.get(), Qt::Key_Up);
    EXPECT_EQ(QCursor::pos(), start + QPoint(0, 1));
    QTest::keyClick(view.get(), Qt::Key_Escape);
    QTest::mouseRelease(Canvas(*view), Qt::LeftButton, {}, {200, 150});
}

} // namespace
} // namespace figures
