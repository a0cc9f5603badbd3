#include "tests/figures/view/viewtestsupport.h"

#include <QApplication>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace figures {
namespace {

using namespace viewtest;

// The document units whose bottom edge lands exactly on device row y at the view's zoom.
int32_t UnitsAtRow(const CViewWnd& view, int y)
{
    const DeviceMapping map = view.Mapping();
    int32_t units = 0;
    while (map.ToDevice(Point{0, units}).y < y) {
        ++units;
    }
    return units;
}

TEST(ViewScrolling, RangesFollowTheContentHalfAWindowPastItsEdge)
{
    struct Case {
        const char* name;
        bool addObject;
        Rect frame;
        int expectedVertical; // -1: computed from the formula
    };
    auto view = ShownView(400, 300);
    view->SetScrollBarsShown(true);
    const int32_t halfHeight = UnitsAtRow(*view, 150);
    const Case cases[] = {
        {"no objects", false, {}, 0},
        {"objects only at negative coordinates", true, {-900, -900, -100, -100}, 0},
        {"bottom edge at half the client height", true, {-100, 10, 0, halfHeight}, 1},
        {"tall content", true, {-100, 10, 0, 20000}, -1},
    };
    for (const Case& c : cases) {
        view->CurrentView()->objects.clear();
        if (c.addObject) {
            AddShape(*view, kRectangle, c.frame);
        }
        view->ObjectsChanged();
        const int height = view->viewport()->height();
        int expected = c.expectedVertical;
        if (expected < 0) {
            const int corner = view->Mapping().ToDevice(Point{0, c.frame.bottom}).y + height / 2;
            expected = corner / 20 - height / 20 + 1;
        }
        EXPECT_EQ(view->verticalScrollBar()->maximum(), expected) << c.name;
        EXPECT_EQ(view->verticalScrollBar()->minimum(), 0) << c.name;
        EXPECT_EQ(view->horizontalScrollBar()->maximum(), 0) << c.name;
    }
}

TEST(ViewScrolling, VerticalPageIsAWholeWindowAndHorizontalPageHalfOne)
{
    auto view = ShownView(400, 300);
    view->SetScrollBarsShown(true);
    AddShape(*view, kRectangle, {0, 0, 30000, 30000});
    const int width = view->viewport()->width();
    const int height = view->viewport()->height();
    EXPECT_EQ(view->horizontalScrollBar()->pageStep(), width / 20 / 2);
    EXPECT_EQ(view->verticalScrollBar()->pageStep(), height / 20);

    view->OnScroll(CViewWnd::VerticalScroll(CViewWnd::SB_PAGEDOWN));
    view->OnScroll(CViewWnd::HorizontalScroll(CViewWnd::SB_PAGEDOWN));
    EXPECT_EQ(view->verticalScrollBar()->value(), height / 20);
    EXPECT_EQ(view->horizontalScrollBar()->value(), width / 40);
    // Paging back past the start stops at the start; a line up there does nothing.
    view->OnScroll(CViewWnd::VerticalScroll(CViewWnd::SB_PAGEUP));
    view->OnScroll(CViewWnd::VerticalScroll(CViewWnd::SB_PAGEUP));
    view->OnScroll(CViewWnd::VerticalScroll(CViewWnd::SB_LINEUP));
    EXPECT_EQ(view->verticalScrollBar()->value(), 0);
    view->OnScroll(CViewWnd::VerticalScroll(CViewWnd::SB_BOTTOM));
    EXPECT_EQ(view->verticalScrollBar()->value(), view->verticalScrollBar()->maximum());
    view->OnScroll(CViewWnd::VerticalScroll(CViewWnd::SB_LINEDOWN));
    EXPECT_EQ(view->verticalScrollBar()->value(), view->verticalScrollBar()->maximum());
    view->OnScroll(uint16_t(CViewWnd::SB_THUMBTRACK << 8 | CViewWnd::SB_THUMBTRACK), 3);
    EXPECT_EQ(view->verticalScrollBar()->value(), 3);
    EXPECT_EQ(view->horizontalScrollBar()->value(), 3);
    // The scroll origin is the document point at the client's top-left.
    const Point origin = view->ScrollOrigin();
    EXPECT_EQ(view->ClientToDocument({0, 0}), origin);
    EXPECT_EQ(origin, view->Mapping().ToDocument(Point{60, 60}));
}

TEST(ViewScrolling, TheWheelScrollsOneLinePerMessageWhateverItsDelta)
{
    struct Case {
        int delta;
        Qt::KeyboardModifiers modifiers;
        int expectedLine; // from line 5
        bool accepted;
    };
    const Case cases[] = {
        {60, Qt::NoModifier, 5, true},         {120, Qt::NoModifier, 4, true},
        {240, Qt::NoModifier, 4, true},        {-120, Qt::NoModifier, 6, true},
        {-480, Qt::NoModifier, 6, true},       {120, Qt::ShiftModifier, 5, false},
        {-120, Qt::ControlModifier, 5, false},
    };
    auto view = ShownView(400, 300);
    view->SetScrollBarsShown(true);
    AddShape(*view, kRectangle, {0, 0, 30000, 30000});
    for (const Case& c : cases) {
        view->verticalScrollBar()->setValue(5);
        const QPointF at(50, 50);
        QWheelEvent wheel(at, view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, c.delta),
                          Qt::NoButton, c.modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->viewport(), &wheel);
        EXPECT_EQ(view->verticalScrollBar()->value(), c.expectedLine) << c.delta;
        EXPECT_EQ(wheel.isAccepted(), c.accepted) << c.delta;
    }
}

TEST(ViewZoom, ZoomingOutKeepsTheScrollPositionsTheNewRangeAllows)
{
    auto view = ShownView(400, 300);
    view->SetScrollBarsShown(true);
    AddShape(*view, kRectangle, {0, 0, 3000, 3000});
    view->SetZoom(300);
    EXPECT_EQ(view->CurrentView()->zoomX, 3000);
    EXPECT_EQ(view->CurrentView()->zoomY, 3000);
    view->OnScroll(CViewWnd::VerticalScroll(CViewWnd::SB_BOTTOM));
    const int bottomAt300 = view->verticalScrollBar()->value();
    ASSERT_GT(bottomAt300, 10);
    view->OnScroll(CViewWnd::VerticalScroll(CViewWnd::SB_THUMBPOSITION), 2);
    view->SetZoom(100);
    EXPECT_EQ(view->verticalScrollBar()->value(), 2);
    view->OnScroll(CViewWnd::VerticalScroll(CViewWnd::SB_BOTTOM));
    view->SetZoom(10);
    EXPECT_EQ(view->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(view->verticalScrollBar()->value(), 0);
    // Zooms that would divide by zero are refused.
    view->SetZoom(0);
    view->SetZoom(-50);
    EXPECT_EQ(view->CurrentView()->zoomX, 100);
}

TEST(ViewZoom, PreviewModeShowsTenPercentWithoutScrolling)
{
    auto view = ShownView(400, 300);
    view->SetScrollBarsShown(true);
    AddShape(*view, kRectangle, {0, 0, 30000, 30000});
    view->SetZoom(300);
    view->SetPreviewMode(true);
    const DeviceMapping map = view->Mapping();
    EXPECT_DOUBLE_EQ(map.ScaleX(), view->logicalDpiX() / 254.0 * 0.1);
    EXPECT_EQ(view->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(view->horizontalScrollBar()->maximum(), 0);
    EXPECT_FALSE(view->verticalScrollBar()->isVisible());
    view->SetPreviewMode(false);
    EXPECT_GT(view->verticalScrollBar()->maximum(), 0);
}

TEST(ViewScrolling, ContentBeyondSixtyFiveThousandStepsScrollsInLargerUnits)
{
    auto view = ShownView(400, 300);
    view->SetScrollBarsShown(true);
    // About 3.8 million pixels tall at 100 %.
    AddShape(*view, kRectangle, {0, 0, 100, 10'000'000});
    EXPECT_LT(view->verticalScrollBar()->maximum(), 65535);
    EXPECT_GT(view->ScrollUnitY(), 20);
    EXPECT_EQ(view->ScrollUnitY() % 20, 0);
    view->OnScroll(CViewWnd::VerticalScroll(CViewWnd::SB_BOTTOM));
    // At the end of the range the content's bottom edge is inside the window.
    const int bottom = view->DocumentToClient(Point{0, 10'000'000}).y;
    EXPECT_GE(bottom, 0);
    EXPECT_LE(bottom, view->viewport()->height());
}

TEST(ViewInvalidation, ASelectedObjectsAreaIncludesItsMarks)
{
    auto view = ShownView(400, 300);
    CRichGraph* shape = AddShape(*view, kRectangle, {100, 100, 400, 300});
    const Rect plain = view->ClientBounds(shape);
    view->Select(shape, false);
    const Rect marked = view->ClientBounds(shape);
    EXPECT_LT(marked.left, plain.left);
    EXPECT_LT(marked.top, plain.top);
    EXPECT_GT(marked.right, plain.right);
    EXPECT_GT(marked.bottom, plain.bottom);
    view->Deselect(shape);
    EXPECT_EQ(view->ClientBounds(shape), plain);
}

TEST(ViewWindow, ShowingAnotherViewEmptiesTheSelection)
{
    auto view = ShownView(400, 300);
    CRichGraph* shape = AddShape(*view, kRectangle, {100, 100, 400, 300});
    view->Select(shape, false);
    view->SaveSelection();
    view->GetDocument().AddView();
    view->SelectView(1);
    EXPECT_TRUE(view->Selection().empty());
    EXPECT_TRUE(view->SavedSelection().empty());
    view->SelectView(0);
    view->RestoreSelection();
    EXPECT_TRUE(view->Selection().empty());
    // Deleted objects leave both selections.
    view->Select(shape, false);
    view->SaveSelection();
    CBaseCom* doomed[] = {shape};
    view->DeleteObjects(doomed);
    EXPECT_TRUE(view->Selection().empty());
    EXPECT_TRUE(view->SavedSelection().empty());
    EXPECT_EQ(view->CurrentView()->ObjectCount(), 0);
}

TEST(ViewWindow, AddShapeAppendsAWhiteShapeAndMarksTheViewModified)
{
    auto view = ShownView(400, 300);
    EXPECT_EQ(view->AddShape(kEllipse), 0);
    EXPECT_EQ(view->AddShape(kRectangle), 1);
    const auto* shape = static_cast<const CRichGraph*>(view->CurrentView()->ObjectByIndex(1));
    EXPECT_EQ(shape->frame, (Rect{10, 10, 110, 110}));
    EXPECT_EQ(shape->fillColour, 0xFFFFFFu);
    EXPECT_TRUE(view->CurrentView()->modified);
    EXPECT_EQ(view->ObjectIndex(shape), 1);
    view->SelectView(5);
    EXPECT_EQ(view->AddShape(kEllipse), -1);
    EXPECT_EQ(view->ObjectIndex(shape), -1);
}

} // namespace
} // namespace figures
