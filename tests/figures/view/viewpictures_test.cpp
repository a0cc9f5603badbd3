#include "tests/figures/view/viewtestsupport.h"

#include "figures/model/objects/crichline.h"
#include "support/referencepicture.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace figures {
namespace {

using namespace viewtest;

constexpr int32_t kFivePointStar = 61;

CRichLine* AddLine(CViewWnd& view, Point from, Point to)
{
    auto line = std::make_unique<CRichLine>();
    line->SetEndPoints(from, to);
    line->end2Type = 1;
    CRichLine* added = line.get();
    view.CurrentView()->Append(std::move(line));
    view.ObjectsChanged();
    return added;
}

// What the canvas shows once the scroll bars have settled.
QImage Picture(CViewWnd& view)
{
    QApplication::processEvents();
    return view.viewport()->grab().toImage();
}

// A small drawing: overlapping shapes, a turned star, a line with an arrowhead and a
// locked line; the star, the rectangle and the locked line are selected.
std::unique_ptr<CViewWnd> SampleCanvas()
{
    auto view = ShownView(320, 240);
    CRichGraph* rectangle = AddShape(*view, kRectangle, {60, 60, 360, 260}, 0xC0E0F0);
    AddShape(*view, kEllipse, {260, 160, 560, 400}, 0xC0FFC0);
    CRichGraph* star = AddShape(*view, kFivePointStar, {80, 320, 300, 540}, 0x00D7FF);
    star->angle = 200;
    AddLine(*view, {420, 60}, {640, 120});
    CRichLine* locked = AddLine(*view, {420, 500}, {700, 560});
    locked->flags |= OF_LOCKED;
    view->ObjectsChanged();
    view->Select(rectangle, false);
    view->Select(star, true);
    view->Select(locked, true);
    return view;
}

TEST(ViewPictures, TheCanvasWithSelectionMarksAtThreeZooms)
{
    struct Case {
        int percent;
        int scrollX, scrollY; // scroll positions
        const char* reference;
    };
    const Case cases[] = {
        {10, 0, 0, "view-zoom10"},
        {100, 0, 0, "view-zoom100"},
        {300, 4, 6, "view-zoom300-scrolled"},
    };
    for (const Case& c : cases) {
        auto view = SampleCanvas();
        view->SetScrollBarsShown(true);
        view->SetZoom(c.percent);
        view->OnScroll(uint16_t(CViewWnd::SB_THUMBPOSITION << 8 | 0xFF), c.scrollY);
        view->OnScroll(uint16_t(0xFF00 | CViewWnd::SB_THUMBPOSITION), c.scrollX);
        testsupport::ExpectMatchesReference(Picture(*view), c.reference);
    }
}

TEST(ViewPictures, ScrollingReusesTheCachedPictureWithoutSeams)
{
    // Scrolling line by line moves the cached pixels and paints only the exposed strips;
    // the result must equal a picture painted whole at the final position. (Without
    // selected shapes: the dots of their text frames start where a strip's clip cuts them.)
    auto stepped = SampleCanvas();
    stepped->Deselect(nullptr);
    stepped->SetScrollBarsShown(true);
    stepped->SetZoom(300);
    Picture(*stepped);
    for (int i = 0; i < 6; ++i) {
        stepped->OnScroll(CViewWnd::VerticalScroll(CViewWnd::SB_LINEDOWN));
        stepped->OnScroll(CViewWnd::HorizontalScroll(CViewWnd::SB_LINEDOWN));
        Picture(*stepped);
    }
    auto whole = SampleCanvas();
    whole->Deselect(nullptr);
    whole->SetScrollBarsShown(true);
    whole->SetZoom(300);
    whole->OnScroll(uint16_t(CViewWnd::SB_THUMBPOSITION << 8 | CViewWnd::SB_THUMBPOSITION), 6);
    const QImage a = Picture(*stepped);
    const QImage b = Picture(*whole);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(a, b);
}

TEST(ViewPictures, ASelectedLockedLineStillShowsItsEnds)
{
    auto view = ShownView(320, 240);
    CRichLine* line = AddLine(*view, {100, 100}, {500, 300});
    line->flags |= OF_LOCKED;
    view->ObjectsChanged();
    const QImage plain = Picture(*view);
    view->Select(line, false);
    const QImage marked = Picture(*view);
    // The end marks are squares around the end points.
    const QPoint end = ClientOf(*view, {100, 100});
    const QRect square(end - QPoint(kHandleHalfSize, kHandleHalfSize),
                       QSize(2 * kHandleHalfSize + 1, 2 * kHandleHalfSize + 1));
    int changed = 0;
    for (int y = square.top(); y <= square.bottom(); ++y) {
        for (int x = square.left(); x <= square.right(); ++x) {
            changed += plain.pixel(x, y) != marked.pixel(x, y) ? 1 : 0;
        }
    }
    EXPECT_GE(changed, 2 * kHandleHalfSize * 2);
    // Locked handles are not hit: a press there is a press on the line's body.
    EXPECT_EQ(view->ObjectAt({end.x(), end.y()}), line);
}

} // namespace
} // namespace figures
