#include "tests/figures/view/viewtestsupport.h"

#include "figures/view/framesnapper.h"
#include "figures/view/pickerpanel.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace figures {
namespace {

using namespace viewtest;

TEST(FrameSnapper, RoundsToTheNearestGridLineWithHalvesAwayFromZero)
{
    struct Case {
        int32_t v, spacing, expected;
    };
    const Case cases[] = {
        {0, 100, 0},       {49, 100, 0},  {50, 100, 100},
        {149, 100, 100},   {-49, 100, 0}, {-50, 100, -100},
        {-151, 100, -200}, {7, 0, 7},     {2147483600, 100, 2147483600},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FrameSnapper::NearestOnGrid(c.v, c.spacing), c.expected) << c.v;
    }
}

TEST(FrameSnapper, AGuideWithinToleranceWinsOverTheGridOnItsAxis)
{
    FrameSnapper snapper;
    snapper.SetGrid(100);
    snapper.SetGuides(true);
    const Rect target{1000, 1000, 1200, 1300}; // lines x 1000, 1100, 1200; y 1000, 1150, 1300
    snapper.SetTargets(std::span<const Rect>(&target, 1));
    std::vector<GuideLine> guides;
    struct Case {
        const char* name;
        Rect frame;
        Point correction;
        std::vector<GuideLine> guides;
    };
    const Case cases[] = {
        {"left edge 10 units left of a target's left",
         {990, 530, 1090, 630},
         {10, -30},
         {{true, 1000}}},
        {"centre on the target's centre line", {1040, 530, 1170, 630}, {-5, -30}, {{true, 1100}}},
        {"just beyond the tolerance: the grid", {1213, 530, 1313, 630}, {-13, -30}, {}},
        {"exactly at the tolerance",
         {1212, 1288, 1312, 1388},
         {-12, 12},
         {{true, 1200}, {false, 1300}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(snapper.SnapFrame(c.frame, 12, guides), c.correction) << c.name;
        EXPECT_EQ(guides, c.guides) << c.name;
    }
    snapper.SetGuides(false);
    snapper.SetGrid(0);
    EXPECT_FALSE(snapper.Active());
    EXPECT_EQ(snapper.SnapFrame({990, 530, 1090, 630}, 12, guides), (Point{0, 0}));
}

TEST(ViewSnapping, AMoveLandsOnTheGridAndCreationStartsOnIt)
{
    auto view = ShownView(400, 300);
    CRichGraph* a = AddShape(*view, kRectangle, {110, 130, 310, 330});
    view->SetGridSpacing(100);
    EXPECT_EQ(view->GridSpacing(), 100);
    view->Select(a, false);
    const QPoint from = CentreOf(*view, *a);
    QTest::mousePress(Canvas(*view), Qt::LeftButton, {}, from);
    QTest::mouseMove(Canvas(*view), from + QPoint(41, 17));
    QTest::mouseRelease(Canvas(*view), Qt::LeftButton, {}, from + QPoint(41, 17));
    EXPECT_EQ(a->frame.left % 100, 0);
    EXPECT_EQ(a->frame.top % 100, 0);
    EXPECT_EQ(a->frame.Width(), 200);
    // The pointer moved about 108 by 45 units: the frame lands on the nearest grid point.
    EXPECT_EQ(a->frame.left, 200);
    EXPECT_EQ(a->frame.top, 200);

    // A click-created shape starts on the grid point nearest the press.
    OneShapePicker picker;
    view->SetPickerPanel(&picker);
    const QPoint press = ClientOf(*view, {640, 470});
    QTest::mousePress(Canvas(*view), Qt::LeftButton, {}, press);
    QTest::mouseRelease(Canvas(*view), Qt::LeftButton, {}, press);
    view->SetPickerPanel(nullptr);
    ASSERT_EQ(view->CurrentView()->ObjectCount(), 2);
    EXPECT_EQ(view->CurrentView()->ObjectByIndex(1)->frame, (Rect{600, 500, 1100, 800}));
}

TEST(ViewSnapping, GuidesAlignAMovedFrameWithItsNeighbourAndShowWhileDragging)
{
    auto view = ShownView(400, 300);
    AddShape(*view, kRectangle, {100, 100, 300, 200}); // the neighbour to align with
    CRichGraph* moved = AddShape(*view, kRectangle, {500, 400, 700, 500});
    view->SetAlignmentGuides(true);
    view->Select(moved, false);
    // Drag so that the moved frame's left edge ends a few pixels right of the fixed one's.
    const QPoint from = CentreOf(*view, *moved);
    const int dx = ClientOf(*view, {104, 0}).x() - ClientOf(*view, {500, 0}).x();
    const QPoint to = from + QPoint(dx, 60);
    QTest::mousePress(Canvas(*view), Qt::LeftButton, {}, from);
    QTest::mouseMove(Canvas(*view), to);
    const QImage during = view->viewport()->grab().toImage();
    const int guideX = ClientOf(*view, {100, 0}).x();
    int guidePixels = 0;
    for (int y = 0; y < during.height(); ++y) {
        guidePixels += during.pixelColor(guideX, y) == QColor(0x00, 0x78, 0xD7) ? 1 : 0;
    }
    EXPECT_GT(guidePixels, during.height() / 2);
    QTest::mouseRelease(Canvas(*view), Qt::LeftButton, {}, to);
    EXPECT_EQ(moved->frame.left, 100);
    EXPECT_EQ(moved->frame.Width(), 200);
    // The guide is gone after the drag.
    QApplication::processEvents();
    const QImage after = view->viewport()->grab().toImage();
    EXPECT_NE(after.pixelColor(guideX, during.height() - 2), QColor(0x00, 0x78, 0xD7));
}

} // namespace
} // namespace figures
