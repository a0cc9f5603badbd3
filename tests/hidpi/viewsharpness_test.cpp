#include "tests/figures/view/viewtestsupport.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace figures {
namespace {

using namespace viewtest;

// What the canvas shows, in screen pixels.
QImage ScreenPicture(CViewWnd& view)
{
    QApplication::processEvents();
    return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Pixels of the row strictly between black and white: the width of an edge's blur.
int GreyPixels(const QImage& image, int y, int fromX, int toX)
{
    int grey = 0;
    for (int x = fromX; x <= toX; ++x) {
        const int level = qGray(image.pixel(x, y));
        grey += level > 16 && level < 239 ? 1 : 0;
    }
    return grey;
}

// Pixel pairs of the rows that differ: a picture painted at half the resolution and
// doubled has none, every logical pixel being two equal screen pixels wide.
int OddColumnsThatDiffer(const QImage& image, QRect area)
{
    int differing = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left() & ~1; x < area.right(); x += 2) {
            differing += image.pixel(x, y) != image.pixel(x + 1, y) ? 1 : 0;
        }
    }
    return differing;
}

TEST(HighDensityView, PaintsShapesWithScreenPixelsNotDoubledLogicalOnes)
{
    auto view = ShownView(200, 150);
    ASSERT_EQ(view->viewport()->devicePixelRatioF(), 2.0);
    AddShape(*view, kEllipse, {40, 40, 360, 260}, 0x000000);
    const QImage picture = ScreenPicture(*view);
    ASSERT_EQ(picture.size(), QSize(400, 300));

    // Across the left edge of a black ellipse at its widest row the edge is near
    // vertical: at most one screen pixel of blur, where a doubled picture has two or more.
    const QPoint left = ClientOf(*view, {40, 150}) * 2;
    const QPoint centre = ClientOf(*view, {200, 150}) * 2;
    EXPECT_LE(GreyPixels(picture, left.y(), left.x() - 8, centre.x()), 1);

    // The curved edges are drawn in screen pixels: many neighbours within a logical
    // pixel differ.
    const QRect outline = QRect(ClientOf(*view, {40, 40}), ClientOf(*view, {360, 260}));
    const QRect screenOutline(outline.topLeft() * 2, outline.size() * 2);
    EXPECT_GT(OddColumnsThatDiffer(picture, screenOutline.adjusted(-4, -4, 4, 4)), 20);
}

TEST(HighDensityView, ScrollingKeepsTheScreenPixelsOfAWholeRepaint)
{
    // The cached picture moves by two screen pixels per logical pixel scrolled; a wrong
    // step leaves shapes torn where the exposed strips meet the moved pixels.
    const auto canvas = [] {
        auto view = ShownView(200, 150);
        AddShape(*view, kEllipse, {40, 40, 600, 500}, 0x4080C0);
        AddShape(*view, kRectangle, {300, 100, 700, 400}, 0xC0E0F0);
        view->SetScrollBarsShown(true);
        view->SetZoom(300);
        return view;
    };
    auto stepped = canvas();
    ScreenPicture(*stepped);
    for (int i = 0; i < 5; ++i) {
        stepped->OnScroll(CViewWnd::VerticalScroll(CViewWnd::SB_LINEDOWN));
        stepped->OnScroll(CViewWnd::HorizontalScroll(CViewWnd::SB_LINEDOWN));
        ScreenPicture(*stepped);
    }
    auto whole = canvas();
    whole->OnScroll(uint16_t(CViewWnd::SB_THUMBPOSITION << 8 | CViewWnd::SB_THUMBPOSITION), 5);
    const QImage a = ScreenPicture(*stepped);
    const QImage b = ScreenPicture(*whole);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(a, b);
}

// Invalidating an area must keep the picture painted at the screen's ratio: losing it
// would repaint the whole canvas for every small edit.
TEST(HighDensityView, MovingAShapeRepaintsOnlyTheShapesAroundIt)
{
    auto view = ShownView(300, 200);
    View& v = *view->CurrentView();
    for (int32_t y = 0; y < 520; y += 40) {
        for (int32_t x = 0; x < 780; x += 40) {
            const Rect frame{x, y, x + 30, y + 30};
            v.AddNewShape(kEllipse, &frame);
        }
    }
    view->ObjectsChanged();
    ScreenPicture(*view);
    const uint64_t whole = view->PaintedObjectCount();
    ASSERT_GE(whole, 200u);
    CBaseCom* shape = v.ObjectByIndex(100);
    view->SetObjectRect(shape, shape->frame.Offset(3, 0));
    const QImage moved = ScreenPicture(*view);
    EXPECT_LE(view->PaintedObjectCount() - whole, 20u);

    view->ObjectsChanged();
    EXPECT_EQ(ScreenPicture(*view), moved);
}

} // namespace
} // namespace figures
