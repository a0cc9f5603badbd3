#include "figures/render/shapes/adjust/adjustroutines.h"
#include "tests/figures/render/shapes/programtext.h"

#include "figures/render/shapes/catalogue.h"
#include "figures/render/numeric.h"
#include "figures/render/shapes/shapeprogram.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <string>
#include <vector>

namespace figures {
namespace {

using testing_text::ParseHandles;
using testing_text::ParseProgram;
using testing_text::Words;

// A shape's own copies of its entry's program and handle list, where and how it lies.
struct Shape {
    int entry = 0;
    std::vector<uint8_t> program;
    std::vector<uint8_t> handles;
    AdjustShape where;
};

// On the default frame one document unit is one grid step, so displacements read as
// grid values.
constexpr Rect kGridFrame{0, 0, 8191, 8191};

Shape FromCatalogue(int entry, Rect frame = kGridFrame, int32_t angle = 0, bool flipH = false,
                    bool flipV = false)
{
    const ShapeCatalogueEntry* e = CatalogueEntry(entry);
    return {entry,
            {e->program.begin(), e->program.end()},
            {e->handles.begin(), e->handles.end()},
            {frame, angle, flipH, flipV}};
}

// One whole drag of a handle by a total displacement.
AdjustResult Drag(Shape& shape, int handle, Point displacement)
{
    AdjustDragState drag;
    EXPECT_TRUE(AdjustBegin(drag, shape.entry, handle, shape.handles, shape.where))
        << "entry " << shape.entry << " handle " << handle;
    const AdjustResult result = AdjustDrag(drag, shape.entry, handle, displacement, shape.where,
                                           shape.program, shape.handles);
    if (result.frameChanged) {
        shape.where.frame = result.frame;
    }
    return result;
}

TEST(AdjustRoutines, ProgramsFollowTheirHandleInEveryFamily)
{
    // Two values per family where the formula has a corner: a clamp or a limited term.
    const struct {
        const char* what;
        int entry;
        int handle;
        Point displacement;
        const char* program;
        const char* handles;
    } cases[] = {
        {"parallelogram slanted further",
         3,
         0,
         {1000, 0},
         "3:3730,0 4:8191,0 4:4461,8191 4:0,8191 4:3730,0 10:1365,163,6826,8028,0,0,1,0,1",
         "1:3730,0"},
        {"parallelogram stopped at a rectangle",
         3,
         0,
         {-3000, 500},
         "3:0,0 4:8191,0 4:8191,8191 4:0,8191 4:0,0 10:1365,163,6826,8028,0,0,1,0,1",
         "1:0,0"},
        {"triangle text box held inside at the right",
         8,
         0,
         {5000, 0},
         "3:8191,0 4:8191,8191 4:0,8191 4:8191,0 10:4096,1638,8191,8028,0,0,1,0,1",
         "1:8191,0"},
        {"triangle text box held inside at the left",
         8,
         0,
         {-3095, 0},
         "3:1000,0 4:8191,8191 4:0,8191 4:1000,0 10:0,1638,4095,8028,0,0,1,0,1",
         "1:1000,0"},
        {"folded corner folded deeper",
         18,
         0,
         {-2000, 0},
         "3:0,0 4:8191,0 4:8191,5168 4:5168,8191 4:0,8191 4:0,0 3:8191,5168 "
         "5:7058,5924,7058,5924,5924,5168 4:5168,8191 13:8191,5168 "
         "10:163,163,8028,7168,0,0,1,0,1",
         "1:5168,8191"},
        {"folded corner at its deepest",
         18,
         0,
         {-9000, 0},
         "3:0,0 4:8191,0 4:8191,2047 4:2047,8191 4:0,8191 4:0,0 3:8191,2047 "
         "5:5887,3583,5887,3583,3583,2047 4:2047,8191 13:8191,2047 "
         "10:163,163,8028,7168,0,0,1,0,1",
         "1:2047,8191"},
        {"cylinder with a deeper top",
         14,
         0,
         {0, 1000},
         "3:0,1182 4:0,7009 5:0,7670,1802,8191,4095,8191 5:6388,8191,8191,7670,8191,7009 "
         "4:8191,1182 5:8191,521,6388,0,4095,0 5:1802,0,0,521,0,1182 3:0,1182 "
         "5:0,1843,1802,2364,4095,2364 5:6388,2364,8191,1843,8191,1182 "
         "10:163,2364,8028,7009,0,0,1,0,1",
         "1:4095,2365"},
        {"cylinder top at its deepest",
         14,
         0,
         {0, 5000},
         "3:0,2047 4:0,6144 5:0,7290,1802,8191,4095,8191 5:6388,8191,8191,7290,8191,6144 "
         "4:8191,2047 5:8191,901,6388,0,4095,0 5:1802,0,0,901,0,2047 3:0,2047 "
         "5:0,3193,1802,4094,4095,4094 5:6388,4094,8191,3193,8191,2047 "
         "10:163,4094,8028,6144,0,0,1,0,1",
         "1:4095,4095"},
        {"cube half deep",
         16,
         0,
         {0, 2048},
         "3:4095,0 4:0,4095 4:0,8191 4:4096,8191 4:8191,4096 4:8191,0 4:4095,0 3:4095,0 "
         "13:0,4095 4:4096,4095 4:8191,0 13:4095,0 3:4096,4095 13:8191,0 13:8191,4096 "
         "13:4096,8191 4:4096,4095 10:163,4258,3933,8028,0,0,1,0,1",
         "1:0,4095"},
        {"cube almost all depth, text box kept open",
         16,
         0,
         {0, 6000},
         "3:8047,0 4:0,8047 4:0,8191 4:144,8191 4:8191,144 4:8191,0 4:8047,0 3:8047,0 "
         "13:0,8047 4:144,8047 4:8191,0 13:8047,0 3:144,8047 13:8191,0 13:8191,144 "
         "13:144,8191 4:144,8047 10:163,6144,2047,8028,0,0,1,0,1",
         "1:0,8047"},
        {"bevel with its text box limited",
         17,
         0,
         {2000, 0},
         "9:0,0,8191,8191 3:8191,0 13:0,0 4:3365,3365 4:4826,3365 4:8191,0 3:8191,0 "
         "13:4826,3365 4:4826,4826 4:8191,8191 13:8191,0 3:8191,8191 13:4826,4826 "
         "4:3365,4826 4:0,8191 13:8191,8191 3:0,8191 13:3365,4826 4:3365,3365 13:0,0 "
         "13:0,8191 10:2893,2893,5298,5298,0,0,1,0,1",
         "1:3365,0"},
        {"left arrow",
         63,
         0,
         {1000, 500},
         "3:8191,2547 4:8191,5644 4:3047,5644 4:3047,8191 4:0,4095 4:3047,0 4:3047,2547 "
         "4:8191,2547",
         "1:3047,2547 3:0,0"},
        {"curved right arrow",
         71,
         0,
         {1000, 500},
         "3:8191,2340 4:6733,0 4:6733,1670 4:5914,1670 5:2602,1670,0,2995,0,4680 4:0,8191 "
         "4:1340,8191 4:1340,4680 5:1340,3745,3353,3010,5914,3010 4:6733,3010 4:6733,4680 "
         "4:8191,2340",
         "1:6733,1670 3:0,6"},
        {"curved right arrow at its limits",
         71,
         0,
         {9000, 5000},
         "3:8191,2340 4:8191,0 4:8191,2340 4:7372,2340 5:3243,2340,0,3370,0,4680 4:0,8191 "
         "4:0,8191 4:0,4680 5:0,3370,3244,2340,7372,2340 4:8191,2340 4:8191,4680 "
         "4:8191,2340",
         "1:8191,2340 3:0,6"},
        {"pentagon arrow keeps its handle on the top edge",
         75,
         0,
         {1000, 3000},
         "3:8191,4095 4:5680,0 4:0,0 4:0,8191 4:5680,8191 4:8191,4095",
         "1:5680,0 3:0,10"},
        {"cross arrow shaft widened",
         69,
         1,
         {300, 200},
         "3:4095,0 4:2457,1838 4:3576,1838 4:3576,3576 4:1838,3576 4:1838,2457 4:0,4095 "
         "4:1838,5734 4:1838,4615 4:3576,4615 4:3576,6353 4:2457,6353 4:4095,8191 "
         "4:5734,6353 4:4615,6353 4:4615,4615 4:6353,4615 4:6353,5734 4:8191,4095 "
         "4:6353,2457 4:6353,3576 4:4615,3576 4:4615,1838 4:5734,1838 4:4095,0",
         "1:2457,0 1:3576,1838"},
        {"cross arrow shaft held between head corner and centre",
         69,
         1,
         {-2000, 2000},
         "3:4095,0 4:2457,2457 4:2457,2457 4:2457,2457 4:2457,2457 4:2457,2457 4:0,4095 "
         "4:2457,5734 4:2457,5734 4:2457,5734 4:2457,5734 4:2457,5734 4:4095,8191 "
         "4:5734,5734 4:5734,5734 4:5734,5734 4:5734,5734 4:5734,5734 4:8191,4095 "
         "4:5734,2457 4:5734,2457 4:5734,2457 4:5734,2457 4:5734,2457 4:4095,0",
         "1:2457,0 1:2457,2457"},
        {"cross arrow head corner held at the shaft",
         69,
         0,
         {5000, 700},
         "3:4095,0 4:3276,1638 4:3276,1638 4:3276,3276 4:1638,3276 4:1638,3276 4:0,4095 "
         "4:1638,4915 4:1638,4915 4:3276,4915 4:3276,6553 4:3276,6553 4:4095,8191 "
         "4:4915,6553 4:4915,6553 4:4915,4915 4:6553,4915 4:6553,4915 4:8191,4095 "
         "4:6553,3276 4:6553,3276 4:4915,3276 4:4915,1638 4:4915,1638 4:4095,0",
         "1:3276,0 1:3276,1638"},
        {"horizontal bent line crossing further left",
         102,
         0,
         {-2000, 700},
         "3:8191,8191 4:2095,8191 4:2095,0 2:2095,0,0,0,2",
         "1:2095,4095"},
        {"horizontal bent line crossing at the right edge",
         104,
         0,
         {9000, 0},
         "3:0,8191 4:8191,8191 4:8191,0 2:8191,0,8191,0,2",
         "1:8191,4095"},
        {"vertical bent line crossing lower",
         107,
         0,
         {500, 3000},
         "3:8191,0 4:8191,7095 4:0,7095 2:0,7095,0,8191,2",
         "1:4095,7095"},
    };
    for (const auto& c : cases) {
        Shape shape = FromCatalogue(c.entry);
        const AdjustResult result = Drag(shape, c.handle, c.displacement);
        EXPECT_TRUE(result.changed) << c.what;
        EXPECT_FALSE(result.frameChanged) << c.what;
        EXPECT_EQ(Words(shape.program), ParseProgram(c.program)) << c.what;
        EXPECT_EQ(Words(shape.handles), ParseHandles(c.handles)) << c.what;
    }
}

TEST(AdjustRoutines, AnUndraggedHandleRebuildsTheCatalogueProgram)
{
    // The catalogue program of an adjustable shape is its routine's program at the
    // default handle value. A few given programs predate the routines and differ by a
    // rounding (cylinder, prohibition sign) or a thinner leg (right-angle up arrow); the
    // rectangular callout's text box keeps the older, squarer inset. The arc family's
    // ends are reference points at the frame's corners, which a drag projects onto the
    // ellipse.
    for (int entry = 0; entry < CatalogueCount(); ++entry) {
        if (!HasAdjustRoutine(entry) || entry == 14 || entry == 21 || entry == 56 || entry == 72 ||
            (entry >= 24 && entry <= 26)) {
            continue;
        }
        Shape shape = FromCatalogue(entry);
        const std::vector<uint16_t> catalogue = Words(shape.program);
        const AdjustResult result = Drag(shape, 0, {0, 0});
        EXPECT_TRUE(result.changed) << "entry " << entry;
        EXPECT_EQ(Words(shape.program), catalogue) << "entry " << entry;
        EXPECT_EQ(Words(shape.handles), Words(CatalogueEntry(entry)->handles)) << "entry " << entry;
    }
    // The rectangular callout's outline, all but its text box, is the routine's.
    Shape callout = FromCatalogue(56);
    Drag(callout, 0, {0, 0});
    const std::vector<uint16_t> rebuilt = Words(callout.program);
    const std::vector<uint16_t> given = Words(CatalogueEntry(56)->program);
    const size_t outlineWords = 8 * 3;
    ASSERT_GE(rebuilt.size(), outlineWords);
    EXPECT_TRUE(std::equal(given.begin(), given.begin() + outlineWords, rebuilt.begin()));
}

TEST(AdjustRoutines, RoundedRectangleRadiusStopsAtHalfTheSide)
{
    Shape shape = FromCatalogue(6);
    Drag(shape, 0, {6000, 0}); // well past the centre
    EXPECT_EQ(Words(shape.program),
              ParseProgram("8:0,0,8191,8191,4095 10:163,1365,8028,6826,0,0,1,0,1"));
    EXPECT_EQ(Words(shape.handles), ParseHandles("1:4095,0"));
    // And back below zero: no radius at all.
    Drag(shape, 0, {-6000, 0});
    EXPECT_EQ(Words(shape.handles), ParseHandles("1:0,0"));
}

TEST(AdjustRoutines, FlippedTrapezoidFollowsTheMouseLikeTheMirroredShape)
{
    // Flipped, the handle shows at the right end of the top edge; dragging it right
    // moves it outward and lengthens the top edge, exactly as dragging the unflipped
    // handle left does.
    Shape flipped = FromCatalogue(4, kGridFrame, 0, true);
    Drag(flipped, 0, {800, 0});
    Shape plain = FromCatalogue(4);
    Drag(plain, 0, {-800, 0});
    EXPECT_EQ(Words(flipped.program), Words(plain.program));
    EXPECT_EQ(Words(flipped.handles), ParseHandles("1:1930,0"));
    EXPECT_EQ(Words(flipped.program).at(1), 1930) << "top edge starts further out";
    // Past the display's left edge the value stops at the middle: a triangle.
    Drag(flipped, 0, {-9000, 0});
    EXPECT_EQ(Words(flipped.handles), ParseHandles("1:4095,0"));
}

TEST(AdjustRoutines, SmileyTurnsFromSmileToFrownAtTheEndsOfItsRange)
{
    Shape shape = FromCatalogue(19);
    Drag(shape, 0, {0, 3000}); // as low as it goes
    EXPECT_EQ(Words(shape.handles), ParseHandles("1:4095,6552"));
    EXPECT_EQ(Words(shape.program), Words(CatalogueEntry(19)->program)) << "the smile";

    Drag(shape, 0, {0, -3000}); // as high as it goes
    EXPECT_EQ(Words(shape.handles), ParseHandles("1:4095,4914"));
    EXPECT_EQ(Words(shape.program),
              ParseProgram("7:0,0,8191,8191,0 7:2458,2458,3276,3276,0 7:4915,2458,5733,3276,0 "
                           "3:2458,5733 5:2458,5275,3375,4914,4095,4914 "
                           "5:5012,4914,5733,5275,5733,5733 6:5733,5275,5012,4914,4095,4914 "
                           "6:3375,4914,2458,5275,2458,5733"))
        << "the frown";
}

TEST(AdjustRoutines, TurnedShapesMoveHandlesAlongTheirOwnAxes)
{
    // Turned a quarter clockwise, the rounded rectangle's x axis points down the screen,
    // so a mouse move downward widens the corners.
    Shape shape = FromCatalogue(6, kGridFrame, 900);
    Drag(shape, 0, {0, 819});
    EXPECT_EQ(Words(shape.handles), ParseHandles("1:2184,0"));
    // The frame's size scales the move: on a frame half as wide, the same move covers
    // twice the grid.
    Shape narrow = FromCatalogue(6, {0, 0, 4096, 8191});
    Drag(narrow, 0, {410, 0});
    EXPECT_EQ(Words(narrow.handles), ParseHandles("1:2185,0"));
}

TEST(AdjustRoutines, RightAngleUpArrowLegMatchesTheShaftAfterADrag)
{
    Shape shape = FromCatalogue(72);
    const auto legAndShaft = [](const std::vector<uint16_t>& w) {
        // Steps 2 and 3 are the shaft's inner edge and the leg's top; step 7 the outer edge.
        const int32_t inner = w[7], legTop = w[11], outer = w[19];
        return std::pair{8191 - legTop, outer - inner};
    };
    const auto before = legAndShaft(Words(shape.program));
    EXPECT_NE(before.first, before.second) << "the catalogue's leg is thicker";
    Drag(shape, 0, {0, 0});
    const auto after = legAndShaft(Words(shape.program));
    EXPECT_EQ(after.first, after.second);
    Drag(shape, 0, {600, 0});
    const auto wider = legAndShaft(Words(shape.program));
    EXPECT_EQ(wider.first, wider.second);
    EXPECT_GT(wider.second, after.second);
}

TEST(AdjustRoutines, ArcEndsStayOnTheEllipse)
{
    for (int entry : {24, 25, 26}) {
        for (int handle : {0, 1}) {
            Shape shape = FromCatalogue(entry);
            // Toward the lower left, well inside the frame.
            const Point start = handle == 0 ? Point{8191, 0} : Point{8191, 8191};
            Drag(shape, handle, {1500 - start.x, 6500 - start.y});
            const std::vector<uint16_t> w = Words(shape.program);
            const Point moved{w[size_t(5 + 2 * handle)], w[size_t(6 + 2 * handle)]};
            const double radius = std::hypot(moved.x - 4095.5, moved.y - 4095.5);
            EXPECT_NEAR(radius, 4095.5, 3) << "entry " << entry << " handle " << handle;
            EXPECT_LT(moved.x, 4095) << "entry " << entry;
            EXPECT_GT(moved.y, 4095) << "entry " << entry;
            // The handle sits on the point, the other end stays.
            const std::vector<uint16_t> h = Words(shape.handles);
            EXPECT_EQ(h[size_t(2 * handle)] & kHandleCoordMask, moved.x);
            EXPECT_EQ(h[size_t(2 * handle + 1)], moved.y);
            EXPECT_EQ(w[size_t(7 - 2 * handle)], 8191) << "other end's x";
        }
    }
}

TEST(AdjustRoutines, CurveFrameGrowsToHoldItsPoints)
{
    const Rect frame{1000, 1000, 1800, 1600};
    Shape shape = FromCatalogue(1, frame);
    const AdjustResult result = Drag(shape, 3, {600, 400}); // the end, out past the corner
    ASSERT_TRUE(result.frameChanged);
    EXPECT_EQ(result.frame, (Rect{1000, 1000, 2400, 2000}));
    EXPECT_EQ(Words(shape.program), ParseProgram("3:0,0 5:2340,0,4681,2457,8191,8191"));
    EXPECT_EQ(Words(shape.handles), ParseHandles("1:0,0 1:2340,0 1:4681,2457 1:8191,8191"));

    // Flipped, the same end shows at the left; dragged the mirrored way it gives the
    // same program in the mirrored frame.
    Shape flipped = FromCatalogue(1, frame, 0, true);
    const AdjustResult mirrored = Drag(flipped, 3, {-600, 400});
    EXPECT_EQ(mirrored.frame, (Rect{400, 1000, 1800, 2000}));
    EXPECT_EQ(Words(flipped.program), Words(shape.program));

    // A control point dragged above the page origin: the frame follows into negative
    // document positions and the other points keep their place.
    Shape high = FromCatalogue(1, frame);
    const AdjustResult up = Drag(high, 1, {0, -1500});
    EXPECT_EQ(up.frame, (Rect{1000, -500, 1800, 1600}));
    EXPECT_EQ(Words(high.handles), ParseHandles("1:0,5851 1:4096,0 1:8191,7021 1:8191,8191"));
}

TEST(AdjustRoutines, CalloutPointerMovesToTheSideFacingTheTip)
{
    // Tip dragged from under the body's left to its right: the pointer leaves the right
    // side in its upper half, and the frame widens to hold the tip.
    Shape shape = FromCatalogue(56);
    const AdjustResult result = Drag(shape, 0, {9191 - 511, 3000 - 8191});
    ASSERT_TRUE(result.frameChanged);
    EXPECT_EQ(result.frame, (Rect{0, 0, 9191, 6826}));
    EXPECT_EQ(Words(shape.program),
              ParseProgram("3:7300,8191 4:7300,3510 4:8191,3600 4:7300,1170 4:7300,0 4:0,0 "
                           "4:0,8191 4:7300,8191 10:145,163,7155,8028,0,0,1,0,1"));
    EXPECT_EQ(Words(shape.handles), ParseHandles("1:8191,3600 3:0,0 3:7300,8191 3:0,0"));
}

TEST(AdjustRoutines, CalloutPointerSwitchesToTheBottomPastTheBodyDiagonal)
{
    // The body's centre is (4095, 3413) and its lower diagonal falls at 39.8 degrees
    // below the horizontal. A tip at 38.7 degrees points off the right side, one at
    // 40.9 degrees off the bottom.
    Shape right = FromCatalogue(56);
    Drag(right, 0, {4095 + 6000 - 511, 3413 + 4800 - 8191});
    const std::vector<uint16_t> r = Words(right.program);
    // The frame grows to (0, 0)-(10095, 8213); the body's bottom-right corner is at grid
    // (6646, 6808).
    EXPECT_EQ(r[1], 6646) << "starts at the bottom-right corner";
    EXPECT_EQ(r[2], 6808);
    EXPECT_EQ(r[4], r[1]) << "and runs up the right side to the pointer";
    EXPECT_LT(r[5], r[2]);

    Shape bottom = FromCatalogue(56);
    Drag(bottom, 0, {4095 + 6000 - 511, 3413 + 5200 - 8191});
    const std::vector<uint16_t> b = Words(bottom.program);
    EXPECT_EQ(b[1], 0) << "starts at the bottom-left corner";
    EXPECT_EQ(b[2], b[5]) << "the pointer's base lies on the bottom side";
    EXPECT_GT(b[4], MulDiv(4095, 8191, 10095)) << "in the body's right half";
}

TEST(AdjustRoutines, RoundedCalloutRebuildsItsThirteenStepsAroundTheTip)
{
    // The catalogue program is the layout for the default tip on a square frame.
    Shape shape = FromCatalogue(57);
    Drag(shape, 0, {0, 0});
    EXPECT_EQ(Words(shape.program), Words(CatalogueEntry(57)->program));

    // Tip above the body's left half: the pointer leaves the top, the walk starts at the
    // top-right corner, and every corner keeps its arc.
    Drag(shape, 0, {2000 - 511, -3000 - 8191});
    EXPECT_EQ(shape.where.frame, (Rect{0, -3000, 8191, 6826}));
    const std::vector<uint16_t> w = Words(shape.program);
    int steps = 0, arcs = 0;
    for (auto rest = std::span<const uint8_t>(shape.program); !rest.empty();
         rest = SkipSteps(rest, 1)) {
        if (ProgramWord(rest, 0) == kEnd) {
            break;
        }
        ++steps;
        arcs += ProgramWord(rest, 0) == kArcCounterclockwiseTo ? 1 : 0;
    }
    EXPECT_EQ(steps, 13);
    EXPECT_EQ(arcs, 4);
    EXPECT_EQ(Words(shape.handles), ParseHandles("1:2000,0 3:0,2501 3:8191,8191 3:0,1"));
}

TEST(AdjustRoutines, DragsWithoutTheirBeginChangeNothing)
{
    Shape shape = FromCatalogue(6);
    const std::vector<uint8_t> before = shape.program;
    AdjustDragState drag;
    EXPECT_FALSE(
        AdjustDrag(drag, 6, 0, {500, 0}, shape.where, shape.program, shape.handles).changed);
    // A begin for another handle or entry does not license this drag either.
    ASSERT_TRUE(AdjustBegin(drag, 6, 0, shape.handles, shape.where));
    EXPECT_FALSE(
        AdjustDrag(drag, 7, 0, {500, 0}, shape.where, shape.program, shape.handles).changed);
    // Nor does a begin remembered in another drag's state.
    AdjustDragState other;
    EXPECT_FALSE(
        AdjustDrag(other, 6, 0, {500, 0}, shape.where, shape.program, shape.handles).changed);
    AdjustEnd(drag);
    EXPECT_FALSE(
        AdjustDrag(drag, 6, 0, {500, 0}, shape.where, shape.program, shape.handles).changed);
    EXPECT_EQ(shape.program, before);

    // Hidden values, missing handles and shapes without handles cannot be dragged.
    Shape arrow = FromCatalogue(64);
    EXPECT_FALSE(AdjustBegin(drag, 64, 1, arrow.handles, arrow.where));
    EXPECT_FALSE(AdjustBegin(drag, 6, 1, shape.handles, shape.where));
    EXPECT_FALSE(AdjustBegin(drag, 2, 0, {}, shape.where));
    EXPECT_FALSE(AdjustBegin(drag, 53, 0, {}, shape.where));
    EXPECT_FALSE(AdjustBegin(drag, 6, 0, {}, shape.where)) << "an empty handle list";
}

TEST(AdjustRoutines, DragsKeepTheKindBitsOfEveryDescriptor)
{
    for (int entry = 0; entry < CatalogueCount(); ++entry) {
        if (!HasAdjustRoutine(entry)) {
            continue;
        }
        Shape shape = FromCatalogue(entry, {100, 100, 900, 700}, 450, true, false);
        const std::vector<uint16_t> before = Words(shape.handles);
        const AdjustResult result = Drag(shape, 0, {137, -91});
        EXPECT_TRUE(result.changed) << "entry " << entry;
        const std::vector<uint16_t> after = Words(shape.handles);
        ASSERT_EQ(after.size(), before.size()) << "entry " << entry;
        for (size_t i = 0; i < after.size(); ++i) {
            EXPECT_EQ(after[i] >> kHandleKindShift, before[i] >> kHandleKindShift)
                << "entry " << entry << " word " << i;
        }
        EXPECT_TRUE(IsValidProgram(shape.program.data(), shape.program.size()))
            << "entry " << entry;
    }
}

} // namespace
} // namespace figures
