#include "figures/render/lineends/lineendgeometry.h"
#include "figures/render/numeric.h"

#include <gtest/gtest.h>

namespace figures {
namespace {

TEST(LineEndGeometry, SizesFollowTheLineWidth)
{
    struct Case {
        int32_t lineType, widthUnits;
        LineEnd end;
        int32_t length, halfWidth;
    } cases[] = {
        {1, LineWidthUnits(50), {1, 1, 1}, 38, 19}, // a 5-point solid line
        {3, LineWidthUnits(50), {1, 1, 1}, 21, 10}, // the same width dashed
        {1, 60, {1, 3, 2}, 60 + 2 * (20 + 20 * 2), 30 + 20 + 20},
        {2, 3, {1, 2, 3}, 3 + 2 * (10 + 3), 1 + 10 + 6},
    };
    for (const Case& c : cases) {
        const DecorationSize size =
            DecorationSizeFor(DecorationLineWidth(c.lineType, c.widthUnits), c.end);
        EXPECT_EQ(size.length, c.length);
        EXPECT_EQ(size.halfWidth, c.halfWidth);
    }
}

TEST(LineEndGeometry, ArrowheadsPointAlongTheLine)
{
    const LineEnd arrow{1, 1, 1};
    // w = 1: L = 21, H = 10.
    const DecorationShape right = DecorationPoints({0, 0}, {100, 0}, arrow, 1);
    ASSERT_EQ(right.count, 3);
    EXPECT_EQ(right.p[1], (Point{100, 0}));
    EXPECT_EQ(right.p[0], (Point{79, -10}));
    EXPECT_EQ(right.p[2], (Point{79, 10}));

    const DecorationShape notched = DecorationPoints({0, 100}, {0, 0}, {4, 1, 1}, 1);
    ASSERT_EQ(notched.count, 4);
    EXPECT_EQ(notched.p[3], (Point{0, 21 - 5}));

    const DecorationShape ellipse = DecorationPoints({0, 0}, {100, 100}, {10, 1, 1}, 1);
    ASSERT_EQ(ellipse.count, 2);
    // Upright, axis-parallel on a diagonal line.
    EXPECT_EQ(ellipse.p[0], (Point{100 - 10, 100 - 10}));
    EXPECT_EQ(ellipse.p[1], (Point{100 + 10, 100 + 10}));

    EXPECT_EQ(DecorationPoints({0, 0}, {1, 1}, {0, 1, 1}, 1).count, 0);
    EXPECT_EQ(DecorationPoints({0, 0}, {1, 1}, {12, 1, 1}, 1).count, 0);
}

TEST(LineEndGeometry, BoundsCoverLineAndDecorations)
{
    const LineEnd none{};
    EXPECT_EQ(LineWithEndsBounds({10, 20}, {0, 0}, 0, 5, none, none), (Rect{0, 0, 10, 20}));
    EXPECT_EQ(LineWithEndsBounds({0, 0}, {100, 0}, 1, 4, none, none), (Rect{-3, -3, 103, 3}));
    // A hollow square at p1 grows its box by half the line width too.
    const Rect hollow = LineWithEndsBounds({0, 0}, {100, 0}, 1, 4, none, {9, 1, 1});
    EXPECT_EQ(hollow, (Rect{-12 - 3, -12 - 3, 103, 12 + 3}));
}

} // namespace
} // namespace figures
