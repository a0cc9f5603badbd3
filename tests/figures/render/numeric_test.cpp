#include "figures/render/numeric.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <ostream>
#include <vector>

namespace figures {

// Failure messages show points and rectangles by their coordinates.
static void PrintTo(const Point& p, std::ostream* os)
{
    *os << "(" << p.x << ", " << p.y << ")";
}

static void PrintTo(const Rect& r, std::ostream* os)
{
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace {

struct MulDivCase {
    const char* name;
    int32_t a, b, c;
    int32_t expected;
};

TEST(NumericRoutines, MulDivRoundsToNearestWithHalvesAwayFromZero)
{
    const MulDivCase cases[] = {
        {"exact", 6, 4, 3, 8},
        {"below half rounds down", 7, 1, 3, 2},
        {"above half rounds up", 8, 1, 3, 3},
        {"positive half rounds up", 5, 1, 2, 3},
        {"negative a half rounds away", -5, 1, 2, -3},
        {"negative b half rounds away", 5, -1, 2, -3},
        {"negative c half rounds away", 5, 1, -2, -3},
        {"two negatives make a positive half", -5, 1, -2, 3},
        {"negative below half", -7, 1, 3, -2},
        {"grid middle on a frame of 100", 4095, 100, 8191, 50},
        {"grid full extent is the frame width", 8191, 2000000000, 8191, 2000000000},
        {"64-bit intermediate", INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX},
        {"smallest result fits", INT32_MIN, 1, 1, INT32_MIN},
        {"largest result fits", 65537, 65535, 3, 1431655765},
        {"zero numerator", 0, 12345, 7, 0},
    };
    for (const MulDivCase& c : cases) {
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.name;
    }
}

TEST(NumericRoutines, MulDivGivesMinusOneForAZeroDivisorAndOnOverflow)
{
    const MulDivCase cases[] = {
        {"zero divisor", 10, 10, 0, -1},
        {"zero divisor with zero product", 0, 0, 0, -1},
        {"positive overflow", INT32_MAX, 2, 1, -1},
        {"negative overflow", INT32_MIN, 2, 1, -1},
        {"negating the smallest value", INT32_MIN, -1, 1, -1},
        // 0xFFFFFFFF / 2 is INT32_MAX + 0.5, which rounds to one past the range.
        {"overflow by rounding the half up", 65537, 65535, 2, -1},
    };
    for (const MulDivCase& c : cases) {
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.name;
    }
}

TEST(NumericRoutines, RoundCoordTruncatesTowardZeroThenAddsOneFromAHalf)
{
    const struct {
        double x;
        int32_t expected;
    } cases[] = {
        {0.0, 0},   {2.5, 3},   {2.4999, 2}, {0.5, 1},    {1.7, 2},
        {-2.5, -2}, {-0.7, 0},  {-1.7, -1},  {-0.5, 0},   {-3.0, -3},
        {7.0, 7},   {-7.2, -7}, {1e9 + 0.5, 1000000001},  {-1e9 - 0.5, -1000000000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RoundCoord(c.x), c.expected) << c.x;
    }
}

TEST(NumericRoutines, RoundCoordIsQuietForNaNAndOutOfRangeValues)
{
    EXPECT_EQ(RoundCoord(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(RoundCoord(1e300), INT32_MAX);
    EXPECT_EQ(RoundCoord(-1e300), INT32_MIN);
    EXPECT_EQ(RoundCoord(std::numeric_limits<double>::infinity()), INT32_MAX);
    EXPECT_EQ(RoundCoord(-std::numeric_limits<double>::infinity()), INT32_MIN);
    EXPECT_EQ(RoundCoord(2147483646.5), INT32_MAX);
}

TEST(NumericRoutines, RotatePointZeroAngleLeavesThePointBitForBit)
{
    // Points that any real turn about these centres would move or overflow.
    const Point points[] = {{0, 0}, {INT32_MAX, INT32_MIN}, {INT32_MIN, INT32_MAX}, {-7, 13}};
    const Point centres[] = {{0, 0}, {INT32_MIN, INT32_MIN}, {5, -5}};
    for (const Point& centre : centres) {
        for (const Point& p : points) {
            EXPECT_EQ(RotatePoint(centre, p, 0), p);
        }
    }
}

TEST(NumericRoutines, RotatePointTurnsClockwiseOnTheScreen)
{
    const struct {
        const char* name;
        Point centre, p;
        int32_t angle;
        Point expected;
    } cases[] = {
        // y grows downward, so a quarter turn takes the right-hand point below the centre.
        {"quarter turn from the right", {0, 0}, {10, 0}, 900, {0, 10}},
        {"quarter turn from below", {0, 0}, {0, 10}, 900, {-10, 0}},
        {"quarter turn from above", {0, 0}, {0, -10}, 900, {10, 0}},
        {"half turn", {0, 0}, {10, 0}, 1800, {-10, 0}},
        {"three quarters", {0, 0}, {10, 0}, 2700, {0, -10}},
        {"negative angle turns counterclockwise", {0, 0}, {10, 0}, -900, {0, -10}},
        {"about another centre", {100, 100}, {110, 100}, 900, {100, 110}},
        {"above another centre", {100, 100}, {100, 90}, 900, {110, 100}},
        {"eighth turn", {0, 0}, {10, 0}, 450, {7, 7}},
        {"eighth turn from above", {0, 0}, {0, -10}, 450, {7, -7}},
        {"off the axes", {0, 0}, {70, -25}, 900, {25, 70}},
        {"full turn", {0, 0}, {10, 0}, 3600, {10, 0}},
        {"full turn from below", {0, 0}, {0, 10}, 3600, {0, 10}},
        {"full turn off the axes", {0, 0}, {3, 4}, 3600, {3, 4}},
        {"beyond a full turn", {0, 0}, {10, 0}, 4500, {0, 10}},
        {"point at the centre", {40, 40}, {40, 40}, 1234, {40, 40}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RotatePoint(c.centre, c.p, c.angle), c.expected) << c.name;
    }
}

TEST(NumericRoutines, PolarOffsetStepsAlongTheAngleAndTruncatesNegativeParts)
{
    const struct {
        const char* name;
        int32_t angle, length;
        Point expected;
    } cases[] = {
        {"zero length stays", 1234, 0, {5, 5}},
        {"right", 0, 100, {105, 5}},
        {"down", 900, 100, {5, 105}},
        {"left", 1800, 100, {-95, 5}},
        {"up", 2700, 100, {5, -95}},
        {"down-right rounds 70.7 up", 450, 100, {76, 76}},
        // -70.7 is truncated toward zero to -70 while +70.7 becomes 71.
        {"down-left", 1350, 100, {-65, 76}},
        {"negative length goes backward", 0, -100, {-95, 5}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PolarOffset({5, 5}, c.angle, c.length), c.expected) << c.name;
    }
}

TEST(NumericRoutines, RotatedCornersComeTopLeftTopRightBottomRightBottomLeft)
{
    const Rect rect{0, 0, 100, 100};

    const Corners unturned = RotatedCorners({10, 20, 110, 70}, 0);
    const Point expectedUnturned[] = {{10, 20}, {110, 20}, {110, 70}, {10, 70}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(unturned.p[i], expectedUnturned[i]) << "corner " << i;
    }

    // An eighth turn about the square's own centre (50, 50) takes its corners to the
    // top, right, bottom and left; 70.7 from the centre rounds up, -70.7 truncates.
    const Corners ownCentre = RotatedCorners(rect, 450);
    const Point expectedOwn[] = {{50, -20}, {121, 50}, {50, 121}, {-20, 50}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ownCentre.p[i], expectedOwn[i]) << "corner " << i;
    }

    const Corners aboutOrigin = RotatedCorners(rect, 450, {0, 0});
    const Point expectedOrigin[] = {{0, 0}, {71, 71}, {0, 141}, {-70, 71}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(aboutOrigin.p[i], expectedOrigin[i]) << "corner " << i;
    }
}

TEST(NumericRoutines, BoundsOfPointsHoldEveryPointFromAZeroFloor)
{
    const std::vector<Point> points = {{5, 7}, {2, 9}, {8, 1}, {4, 4}};
    EXPECT_EQ(BoundsOfPoints(points), (Rect{2, 1, 8, 9}));
    EXPECT_EQ(BoundsOfPoints(std::vector<Point>{{3, 6}}), (Rect{3, 6, 3, 6}));
    // The maxima start at 0 and the minima at INT_MAX: that is the routine's contract.
    EXPECT_EQ(BoundsOfPoints(std::vector<Point>{{-5, -6}}), (Rect{-5, -6, 0, 0}));
    EXPECT_EQ(BoundsOfPoints({}), (Rect{INT32_MAX, INT32_MAX, 0, 0}));

    EXPECT_EQ(BoundsOfAnyPoints(std::vector<Point>{{-5, -6}}), (Rect{-5, -6, -5, -6}));
    EXPECT_EQ(BoundsOfAnyPoints(std::vector<Point>{{-5, 6}, {3, -2}, {0, 0}}),
              (Rect{-5, -2, 3, 6}));
    EXPECT_EQ(BoundsOfAnyPoints({}), Rect{});
}

TEST(NumericRoutines, EllipseRayPointMeetsTheInscribedEllipseTowardTheTarget)
{
    // Ellipse with half-axes 100 and 50 about (100, 50).
    const Rect rect{0, 0, 200, 100};
    const struct {
        const char* name;
        Point q;
        Point expected;
    } cases[] = {
        {"target at the centre gives the top point", {100, 50}, {100, 0}},
        {"straight up", {100, 10}, {100, 0}},
        {"straight up beyond the ellipse", {100, -500}, {100, 0}},
        {"straight down", {100, 80}, {100, 100}},
        {"right", {300, 50}, {200, 50}},
        {"left", {-5, 50}, {0, 50}},
        // Slope 1/2: s = 1/sqrt(0.25/2500 + 1/10000) = 70.71, y = 35.36.
        {"up-right", {200, 0}, {171, 15}},
        {"down-right", {200, 100}, {171, 85}},
        // Negative offsets are truncated toward zero: -70.71 gives -70.
        {"up-left", {0, 0}, {30, 15}},
        {"down-left", {0, 100}, {30, 85}},
        {"only the direction counts", {150, 25}, {171, 15}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EllipseRayPoint(rect, c.q), c.expected) << c.name;
    }

    EXPECT_EQ(EllipseRayPoint({0, 0, 100, 100}, {100, 100}), (Point{85, 85})) << "circle";
    // Flat or empty ellipses have a defined answer instead of NaN coordinates.
    EXPECT_EQ(EllipseRayPoint({0, 0, 100, 0}, {100, -50}), (Point{50, 0})) << "flat";
    EXPECT_EQ(EllipseRayPoint({0, 0, 0, 0}, {100, -50}), (Point{0, 0})) << "empty";
}

TEST(NumericRoutines, AtLeastMagnitudeRaisesSmallValuesKeepingTheirSign)
{
    const struct {
        int32_t v, m, expected;
    } cases[] = {
        {20, 15, 20},   {15, 15, 15},    {5, 15, 15},   {-5, 15, -15},
        {-20, 15, -20}, {-15, 15, -15},  {0, 15, 15},   {5, -15, 15},
        {-5, -15, -15}, {0, 0, 0},       {7, 0, 7},     {-7, 0, -7},
        {INT32_MIN, 15, INT32_MIN},      {-1, INT32_MIN, INT32_MIN},
        // |INT32_MIN| has no positive int32; the positive side saturates.
        {0, INT32_MIN, INT32_MAX},       {1, INT32_MIN, INT32_MAX},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AtLeastMagnitude(c.v, c.m), c.expected) << c.v << " at least " << c.m;
    }
}

TEST(NumericRoutines, LineWidthUnitsConvertsTenthsOfAPointAndCaps)
{
    const struct {
        int32_t tenths, expected;
    } cases[] = {
        {0, 0},         {1, 0},         {2, 1}, // 0.705 units
        {10, 4},        {5000, 1763},   {92952, 32766},
        {92954, 32767}, {92955, 32767}, // 32767.55 would round to 32768
        {1000000, 32767},               {INT32_MAX, 32767},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LineWidthUnits(c.tenths), c.expected) << c.tenths;
    }
}

TEST(NumericRoutines, FlippedGridValuesLandExactlyOnAFullWidthFrame)
{
    // On a frame as wide as the grid every grid value is one unit, so a flip that is off
    // by one shows at once: grid 0 must land exactly on the right (or bottom) edge.
    const struct {
        const char* name;
        int32_t gx, gy;
        bool flipH, flipV;
        Point expected;
    } cases[] = {
        {"origin unflipped", 0, 0, false, false, {100, 200}},
        {"origin flipped horizontally", 0, 0, true, false, {8291, 200}},
        {"origin flipped vertically", 0, 0, false, true, {100, 8391}},
        {"origin flipped both ways", 0, 0, true, true, {8291, 8391}},
        {"far corner flipped both ways", 8191, 8191, true, true, {100, 200}},
        {"one unit in flipped horizontally", 1, 0, true, false, {8290, 200}},
        {"one unit in flipped vertically", 0, 1, false, true, {100, 8390}},
        {"middle flipped horizontally", 4095, 4095, true, false, {4196, 4295}},
        {"near the edge flipped vertically", 8190, 8190, false, true, {8290, 201}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GridToFrame(c.gx, c.gy, {100, 200}, 8191, 8191, c.flipH, c.flipV), c.expected)
            << c.name;
    }
}

} // namespace
} // namespace figures
