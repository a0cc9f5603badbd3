#include "figures/render/shapes/shapeinterpreter.h"
#include "figures/render/shapes/catalogue.h"
#include "figures/render/numeric.h"
#include "figures/render/recordingsink.h"
#include "figures/render/shapes/shapeprogram.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <ostream>
#include <vector>

namespace figures {

static void PrintTo(const Point& p, std::ostream* os)
{
    *os << "(" << p.x << ", " << p.y << ")";
}

static void PrintTo(const RecordingSink::Op& op, std::ostream* os)
{
    static const char* const kNames[] = {"Move", "Line", "Bezier"};
    *os << kNames[int(op.kind)];
    const int n = op.kind == RecordingSink::OpKind::Bezier ? 3 : 1;
    for (int i = 0; i < n; ++i) {
        *os << " ";
        PrintTo(op.points[size_t(i)], os);
    }
}

namespace {

using Op = RecordingSink::Op;
using Kind = RecordingSink::OpKind;
using Ops = std::vector<Op>;

std::vector<uint8_t> Program(std::initializer_list<uint16_t> words)
{
    std::vector<uint8_t> bytes;
    for (uint16_t w : words) {
        bytes.push_back(uint8_t(w & 0xFF));
        bytes.push_back(uint8_t(w >> 8));
    }
    return bytes;
}

Op Move(int32_t x, int32_t y)
{
    return {Kind::Move, {Point{x, y}, Point{}, Point{}}};
}

Op Line(int32_t x, int32_t y)
{
    return {Kind::Line, {Point{x, y}, Point{}, Point{}}};
}

Op Bezier(Point c1, Point c2, Point end)
{
    return {Kind::Bezier, {c1, c2, end}};
}

// A square frame of 1000 units at the document origin unless told otherwise.
ShapeFrame Frame(int32_t width = 1000, int32_t height = 1000, Point origin = {})
{
    ShapeFrame frame;
    frame.origin = origin;
    frame.width = width;
    frame.height = height;
    return frame;
}

Ops Draw(const std::vector<uint8_t>& program, const ShapeFrame& frame,
         ProgramMode mode = ProgramMode::Outline)
{
    RecordingSink sink;
    RunShapeProgram(program, frame, mode, sink);
    return sink.Ops();
}

// Every point of every op, in order, for checks that do not care about op kinds.
std::vector<Point> PointsOf(const Ops& ops)
{
    std::vector<Point> points;
    for (const Op& op : ops) {
        const int n = op.kind == Kind::Bezier ? 3 : 1;
        points.insert(points.end(), op.points.begin(), op.points.begin() + n);
    }
    return points;
}

bool Near(Point a, Point b)
{
    return std::abs(a.x - b.x) <= 1 && std::abs(a.y - b.y) <= 1;
}

class RecordingArrows : public ArrowLineSink {
public:
    struct Arrow {
        Point p1, p2;
        uint16_t arrows;
    };
    void ArrowLine(Point p1, Point p2, uint16_t arrows) override
    {
        lines.push_back({p1, p2, arrows});
    }
    std::vector<Arrow> lines;
};

const Ops kUnitEllipse = {
    Move(500, 0),
    Bezier({220, 0}, {0, 220}, {0, 500}),
    Bezier({0, 780}, {220, 1000}, {500, 1000}),
    Bezier({780, 1000}, {1000, 780}, {1000, 500}),
    Bezier({1000, 220}, {780, 0}, {500, 0}),
};

TEST(ShapeInterpreter, DiagonalFollowsTheFlips)
{
    const std::vector<uint8_t> diagonal = Program({kMoveTo, 0, 0, kLineTo, 8191, 8191, kEnd});
    struct Case {
        const char* name;
        bool flipH, flipV;
        Ops expected;
    } const cases[] = {
        {"unflipped", false, false, {Move(100, 200), Line(1100, 700)}},
        {"horizontal flip", true, false, {Move(1100, 200), Line(100, 700)}},
        {"vertical flip", false, true, {Move(100, 700), Line(1100, 200)}},
        {"both flips", true, true, {Move(1100, 700), Line(100, 200)}},
    };
    for (const Case& c : cases) {
        ShapeFrame frame = Frame(1000, 500, {100, 200});
        frame.flipH = c.flipH;
        frame.flipV = c.flipV;
        EXPECT_EQ(Draw(diagonal, frame), c.expected) << c.name;
    }
}

TEST(ShapeInterpreter, EllipseTurnsAQuarterForAStepAngle)
{
    const std::vector<uint8_t> plain = Program({kEllipse, 0, 0, 8191, 8191, 0, kEnd});
    const std::vector<uint8_t> turned = Program({kEllipse, 0, 0, 8191, 8191, 900, kEnd});
    ASSERT_EQ(Draw(plain, Frame()), kUnitEllipse);

    // On a square frame the quarter turn maps the curve onto itself, one segment on:
    // turned point i lies within one unit on each axis of unturned point (i + 9) mod 12
    // (the top goes where the right was).
    const ShapeFrame square = Frame(1000, 1000, {300, 100});
    const std::vector<Point> before = PointsOf(Draw(plain, square));
    const std::vector<Point> after = PointsOf(Draw(turned, square));
    ASSERT_EQ(after.size(), 13u);
    for (size_t i = 0; i < after.size(); ++i) {
        EXPECT_TRUE(Near(after[i], before[(i + 9) % 12])) << "point " << i;
    }

    // On a 2:1 frame it stands upright: the ends of its quarters lie 500 to either side
    // of the centre (1000, 500) and 1000 above and below it.
    const std::vector<Point> upright = PointsOf(Draw(turned, Frame(2000, 1000)));
    const Point quarterEnds[] = {{1500, 500}, {1000, -500}, {500, 500}, {1000, 1500}};
    for (size_t q = 0; q < 4; ++q) {
        EXPECT_TRUE(Near(upright[3 * q], quarterEnds[q])) << "quarter " << q;
    }

    // Object angle and step angle add up modulo a full turn: 2700 + 900 draws unturned.
    ShapeFrame turnedFrame = Frame();
    turnedFrame.angle = 2700;
    EXPECT_EQ(Draw(turned, turnedFrame), kUnitEllipse);
}

TEST(ShapeInterpreter, SilhouetteStopsAfterTheFirstFigure)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> program;
        Ops expected;
        int result;
    } const cases[] = {
        {"rectangle first is the whole silhouette",
         Program({kRectangle, 0, 0, 8191, 8191, kMoveTo, 0, 0, kLineTo, 8191, 8191, kEnd}),
         {Move(0, 0), Line(1000, 0), Line(1000, 1000), Line(0, 1000), Line(0, 0)},
         0},
        {"a move before a primitive does not start a figure",
         Program({kMoveTo, 0, 0, kEllipse, 0, 0, 8191, 8191, 0, kLineTo, 0, 8191, kEnd}),
         [] {
             Ops ops = {Move(0, 0)};
             ops.insert(ops.end(), kUnitEllipse.begin(), kUnitEllipse.end());
             return ops;
         }(),
         0},
        {"an open run ends at the next move",
         Program({kMoveTo, 0, 0, kLineTo, 8191, 0, kLineTo, 8191, 8191, kMoveTo, 0, 8191, kLineTo,
                  0, 0, kEnd}),
         {Move(0, 0), Line(1000, 0), Line(1000, 1000)},
         0},
        {"an open run ends at a move to a ray point",
         Program({kMoveTo, 0, 0, kLineTo, 8191, 0, kMoveToRayPoint, 0, 0, 8191, 8191, 0, 0, kLineTo,
                  0, 8191, kEnd}),
         {Move(0, 0), Line(1000, 0)},
         0},
        {"after a free arrow line a primitive is no first figure",
         Program({kArrowLine, 0, 0, 8191, 0, 3, kRectangle, 0, 0, 8191, 8191, kEnd}),
         {Move(0, 0), Line(1000, 0), Move(0, 0), Line(1000, 0), Line(1000, 1000), Line(0, 1000),
          Line(0, 0)},
         1},
    };
    for (const Case& c : cases) {
        RecordingSink sink;
        EXPECT_EQ(RunShapeProgram(c.program, Frame(), ProgramMode::Silhouette, sink), c.result)
            << c.name;
        EXPECT_EQ(sink.Ops(), c.expected) << c.name;
    }
}

TEST(ShapeInterpreter, CurrentPointIsTheDocumentOriginAfterAClosedPrimitive)
{
    // Frame at (100, 200), 1000 x 500: grid (8191, 4095) maps to (1100, 450).
    const ShapeFrame frame = Frame(1000, 500, {100, 200});
    struct Case {
        const char* name;
        std::vector<uint8_t> program;
        Op last;
    } const cases[] = {
        {"horizontal after a rectangle runs at y = 0",
         Program(
             {kMoveTo, 8191, 8191, kRectangle, 0, 0, 8191, 8191, kHorizontalTo, 8191, 4095, kEnd}),
         Line(1100, 0)},
        {"vertical after a rectangle runs at x = 0",
         Program(
             {kMoveTo, 8191, 8191, kRectangle, 0, 0, 8191, 8191, kVerticalTo, 8191, 4095, kEnd}),
         Line(0, 450)},
        {"horizontal after a move keeps the move's y",
         Program({kMoveTo, 0, 0, kHorizontalTo, 8191, 4095, kEnd}), Line(1100, 200)},
        {"a horizontal line changes only x of the current point",
         Program({kMoveTo, 0, 0, kHorizontalTo, 8191, 8191, kHorizontalTo, 0, 8191, kEnd}),
         Line(100, 200)},
        {"a Bezier leaves the pen at its third point",
         Program({kBezierTo, 0, 0, 0, 0, 8191, 0, kVerticalTo, 0, 8191, kEnd}), Line(1100, 700)},
        {"a text box keeps the current point",
         Program(
             {kMoveTo, 8191, 0, kTextBox, 0, 0, 9, 9, 0, 0, 1, 0, 0, kVerticalTo, 0, 8191, kEnd}),
         Line(1100, 700)},
    };
    for (const Case& c : cases) {
        const Ops ops = Draw(c.program, frame);
        ASSERT_FALSE(ops.empty()) << c.name;
        EXPECT_EQ(ops.back(), c.last) << c.name;
    }
}

TEST(ShapeInterpreter, ArcWithEqualReferencePointsDrawsTheWholeEllipseFromTheTop)
{
    // Both references at the right; the ellipse still starts at the top and runs
    // counterclockwise through left, bottom and right, matching the ellipse step.
    const std::vector<uint8_t> arc =
        Program({kArcLine, 0, 0, 8191, 8191, 8191, 4095, 8191, 4095, 0, kEnd});
    EXPECT_EQ(Draw(arc, Frame()), kUnitEllipse);

    // An arc-to step whose end projects onto the current point draws the whole ellipse
    // too, joined to the figure by a line from the current point to the top.
    Ops joined = {Move(0, 500), Line(500, 0)};
    joined.insert(joined.end(), kUnitEllipse.begin() + 1, kUnitEllipse.end());
    EXPECT_EQ(
        Draw(Program({kMoveTo, 0, 4095, kArcCounterclockwiseTo, 0, 0, 8191, 8191, 0, 4095, kEnd}),
             Frame()),
        joined);

    // Mirrored it runs clockwise: still from the top, through the right first.
    ShapeFrame mirrored = Frame();
    mirrored.flipH = true;
    const Ops ops = Draw(arc, mirrored);
    ASSERT_EQ(ops.size(), 5u);
    EXPECT_EQ(ops[0], Move(500, 0));
    EXPECT_EQ(ops[1].End(), (Point{1000, 500}));
    EXPECT_EQ(ops[4].End(), (Point{500, 0}));
}

TEST(ShapeInterpreter, ArcDirectionSwapsUnderOneFlipOnly)
{
    // From the right to the top counterclockwise is one quarter. Every flip combination
    // must draw the mirror image of that quarter: one segment whose points are mirrored.
    // Had a single flip not swapped the direction, or a double flip swapped it, the
    // mirrored ends would be joined the long way round in three segments.
    const std::vector<uint8_t> arc =
        Program({kArcLine, 0, 0, 8191, 8191, 8191, 4095, 4095, 0, 0, kEnd});
    const Ops quarter = {Move(1000, 500), Bezier({1000, 220}, {780, 0}, {500, 0})};
    ASSERT_EQ(Draw(arc, Frame()), quarter);
    for (int flips = 1; flips < 4; ++flips) {
        ShapeFrame frame = Frame();
        frame.flipH = (flips & 1) != 0;
        frame.flipV = (flips & 2) != 0;
        Ops expected = quarter;
        for (Op& op : expected) {
            for (size_t i = 0; i < (op.kind == Kind::Bezier ? 3u : 1u); ++i) {
                Point& p = op.points[i];
                p = {frame.flipH ? 1000 - p.x : p.x, frame.flipV ? 1000 - p.y : p.y};
            }
        }
        EXPECT_EQ(Draw(arc, frame), expected)
            << "flipH " << frame.flipH << " flipV " << frame.flipV;
    }

    // The arc-to steps start at the current point: right to top is one quarter
    // counterclockwise and three clockwise.
    for (uint16_t code : {kArcCounterclockwiseTo, kArcClockwiseTo}) {
        const Ops ops =
            Draw(Program({kMoveTo, 8191, 4095, code, 0, 0, 8191, 8191, 4095, 0, kEnd}), Frame());
        const size_t segments = code == kArcCounterclockwiseTo ? 1 : 3;
        ASSERT_EQ(ops.size(), 1 + segments) << "code " << code;
        EXPECT_EQ(ops.back().End(), (Point{500, 0})) << "code " << code;
        if (code == kArcClockwiseTo) {
            EXPECT_EQ(ops[1].End(), (Point{500, 1000}));
            EXPECT_EQ(ops[2].End(), (Point{0, 500}));
        }
    }
}

TEST(ShapeInterpreter, ArcToStepsSwapDirectionUnderOneFlipOnly)
{
    // Each arc-to step, under every flip combination, draws the mirror image of its
    // unflipped path: a single flip turns counterclockwise into clockwise on the page,
    // two flips turn it back. Without the swap the mirrored ends would be joined the
    // other way round the ellipse.
    for (uint16_t code : {kArcCounterclockwiseTo, kArcClockwiseTo}) {
        const std::vector<uint8_t> program =
            Program({kMoveTo, 8191, 4095, code, 0, 0, 8191, 8191, 4095, 0, kEnd});
        const Ops unflipped = Draw(program, Frame());
        ASSERT_EQ(unflipped.size(), code == kArcCounterclockwiseTo ? 2u : 4u) << code;
        for (int flips = 1; flips < 4; ++flips) {
            ShapeFrame frame = Frame();
            frame.flipH = (flips & 1) != 0;
            frame.flipV = (flips & 2) != 0;
            Ops expected = unflipped;
            for (Op& op : expected) {
                for (size_t i = 0; i < (op.kind == Kind::Bezier ? 3u : 1u); ++i) {
                    Point& p = op.points[i];
                    p = {frame.flipH ? 1000 - p.x : p.x, frame.flipV ? 1000 - p.y : p.y};
                }
            }
            EXPECT_EQ(Draw(program, frame), expected)
                << "code " << code << " flipH " << frame.flipH << " flipV " << frame.flipV;
        }
    }
}

TEST(ShapeInterpreter, ArcSectorAndChordCloseTheQuarter)
{
    const Op quarter = Bezier({1000, 220}, {780, 0}, {500, 0});
    EXPECT_EQ(Draw(Program({kSector, 0, 0, 8191, 8191, 8191, 4095, 4095, 0, 0, kEnd}), Frame()),
              (Ops{Move(500, 500), Line(1000, 500), quarter, Line(500, 500)}));
    EXPECT_EQ(Draw(Program({kChord, 0, 0, 8191, 8191, 8191, 4095, 4095, 0, 0, kEnd}), Frame()),
              (Ops{Move(1000, 500), quarter, Line(1000, 500)}));
}

TEST(ShapeInterpreter, ArcCatalogueArcStartsTowardTheTopRightCorner)
{
    const ShapeCatalogueEntry* entry = CatalogueEntry(24);
    ASSERT_NE(entry, nullptr);
    const std::vector<uint8_t> expected =
        Program({kArcLine, 0, 0, 8191, 8191, 8191, 0, 8191, 8191, 0, kEnd});
    ASSERT_EQ(std::vector<uint8_t>(entry->program.begin(), entry->program.end()), expected);

    // The ray toward the top-right corner meets the circle at 353.55 units along both
    // axes from the centre: x rounds up to 854 and y to 146. Toward the bottom-right the
    // upward y is -353.55, which rounding truncates, giving 853. Counterclockwise the arc
    // passes the top, the left and the bottom on its way.
    const Ops ops = Draw(Program({kArcLine, 0, 0, 8191, 8191, 8191, 0, 8191, 8191, 0}), Frame());
    ASSERT_EQ(ops.size(), 5u);
    EXPECT_EQ(ops[0], Move(854, 146));
    EXPECT_EQ(ops[1].End(), (Point{500, 0}));
    EXPECT_EQ(ops[2].End(), (Point{0, 500}));
    EXPECT_EQ(ops[3].End(), (Point{500, 1000}));
    EXPECT_EQ(ops[4].End(), (Point{854, 853}));
    for (size_t i = 1; i < ops.size(); ++i) {
        EXPECT_EQ(ops[i].kind, Kind::Bezier) << "op " << i;
    }
}

TEST(ShapeInterpreter, MemoryPointsPersistBetweenRunsAndIgnoreBadNumbers)
{
    // Frame at (100, 200), 1000 x 500: memory 4 takes the current point (600, 700),
    // memory 7 the ray point at the right (1100, 450); neither moves the current point.
    const Ops first = Draw(Program({kMoveTo, 4095, 8191, kRememberPoint, 4, kRememberRayPoint, 0, 0,
                                    8191, 8191, 8191, 4095, 7, kVerticalTo, 0, 0, kEnd}),
                           Frame(1000, 500, {100, 200}));
    EXPECT_EQ(first.back(), Line(600, 200));
    EXPECT_EQ(MemoryPoint(4), (Point{600, 700}));
    EXPECT_EQ(MemoryPoint(7), (Point{1100, 450}));

    // A later run on another frame reads them back in document units.
    EXPECT_EQ(Draw(Program({kMoveTo, kMemory, 4, kLineTo, kMemory, 7, kEnd}), Frame()),
              (Ops{Move(600, 700), Line(1100, 450)}));

    // Numbers outside 0..9 store nothing and read the document origin.
    Point before[kMemoryPointCount];
    for (int i = 0; i < kMemoryPointCount; ++i) {
        before[i] = MemoryPoint(i);
    }
    Draw(Program({kMoveTo, 100, 100, kRememberPoint, 10, kRememberPoint, 0xFFFF, kRememberRayPoint,
                  0, 0, 8191, 8191, 0, 0, 12, kEnd}),
         Frame());
    for (int i = 0; i < kMemoryPointCount; ++i) {
        EXPECT_EQ(MemoryPoint(i), before[i]) << "memory point " << i;
    }
    EXPECT_EQ(Draw(Program({kMoveTo, kMemory, 10, kLineTo, kMemory, kMemory, kEnd}),
                   Frame(1000, 1000, {500, 700})),
              (Ops{Move(0, 0), Line(0, 0)}));
    EXPECT_EQ(MemoryPoint(-1), (Point{}));
    EXPECT_EQ(MemoryPoint(kMemoryPointCount), (Point{}));
}

TEST(ShapeInterpreter, WalkEndsAtTheSpansEnd)
{
    // On a frame of 8191 units grid values are document units.
    const ShapeFrame frame = Frame(8191, 8191);
    const std::vector<uint8_t> whole =
        Program({kMoveTo, 10, 20, kLineTo, 30, 40, kArrowLine, 1, 2, 3, 4, 3, kEnd});
    const std::span<const uint8_t> all(whole);
    std::vector<uint8_t> oddTail = Program({kMoveTo, 10, 20, kLineTo, 30, 40});
    oddTail.push_back(kLineTo);
    struct Case {
        const char* name;
        std::span<const uint8_t> program;
        Ops expected;
        int result;
    } const cases[] = {
        {"whole program", all, {Move(10, 20), Line(30, 40), Move(1, 2), Line(3, 4)}, 1},
        {"no end word: stops after the last whole step",
         all.first(12),
         {Move(10, 20), Line(30, 40)},
         0},
        {"step cut short: the words after it are not read", all.first(10), {Move(10, 20)}, 0},
        {"arrow step cut short is no arrow step", all.first(22), {Move(10, 20), Line(30, 40)}, 0},
        {"odd trailing byte", oddTail, {Move(10, 20), Line(30, 40)}, 0},
        {"empty", {}, {}, 0},
    };
    for (const Case& c : cases) {
        RecordingSink sink;
        EXPECT_EQ(RunShapeProgram(c.program, frame, ProgramMode::DragOutline, sink), c.result)
            << c.name;
        EXPECT_EQ(sink.Ops(), c.expected) << c.name;
    }

    EXPECT_EQ(Draw(Program({kMoveTo, 10, 20, 26, kLineTo, 30, 40, kEnd}), frame),
              (Ops{Move(10, 20)}))
        << "unknown opcode";
    EXPECT_EQ(Draw(Program({kMoveTo, 10, 20, kEnd, kLineTo, 30, 40}), frame), (Ops{Move(10, 20)}))
        << "end word";
}

TEST(ShapeInterpreter, ResultTellsWhetherTheProgramHasAnArrowLine)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> program;
        int result;
    } const cases[] = {
        {"plain line", Program({kLine, 0, 0, 8191, 8191, kEnd}), 0},
        {"arrow line", Program({kArrowLine, 0, 0, 8191, 8191, 0, kEnd}), 1},
        {"arrow line after shapes",
         Program({kRectangle, 0, 0, 8191, 8191, kArrowLine, 0, 0, 8191, 8191, 2, kEnd}), 1},
        {"arrow line after the end word",
         Program({kRectangle, 0, 0, 8191, 8191, kEnd, kArrowLine, 0, 0, 8191, 8191, 2}), 0},
        {"empty program", Program({kEnd}), 0},
    };
    for (const Case& c : cases) {
        for (ProgramMode mode :
             {ProgramMode::Outline, ProgramMode::Arrows, ProgramMode::DragOutline}) {
            RecordingSink sink;
            EXPECT_EQ(RunShapeProgram(c.program, Frame(), mode, sink), c.result)
                << c.name << ", mode " << int(mode);
        }
    }
}

TEST(ShapeInterpreter, ArrowLinesDependOnTheMode)
{
    // A quarter turn clockwise about (500, 500): (0, 0) goes near (1000, 0) and (1000, 0)
    // near (1000, 1000). The ends are turned exactly as every other point.
    ShapeFrame frame = Frame();
    frame.angle = 900;
    const Point p1 = RotatePoint({500, 500}, {0, 0}, 900);
    const Point p2 = RotatePoint({500, 500}, {1000, 0}, 900);
    ASSERT_TRUE(Near(p1, {1000, 0}) && Near(p2, {1000, 1000}));
    const std::vector<uint8_t> program =
        Program({kRectangle, 0, 0, 8191, 8191, kArrowLine, 0, 0, 8191, 0, 3, kEnd});

    RecordingSink sink;
    RecordingArrows arrows;
    EXPECT_EQ(RunShapeProgram(program, frame, ProgramMode::Arrows, sink, &arrows), 1);
    EXPECT_TRUE(sink.Ops().empty());
    ASSERT_EQ(arrows.lines.size(), 1u);
    EXPECT_EQ(arrows.lines[0].p1, p1);
    EXPECT_EQ(arrows.lines[0].p2, p2);
    EXPECT_EQ(arrows.lines[0].arrows, 3);

    // Without an arrow sink the lines go nowhere.
    EXPECT_TRUE(Draw(program, frame, ProgramMode::Arrows).empty());

    // Outline skips them; the drag outline draws them as plain lines.
    arrows.lines.clear();
    sink.Clear();
    RunShapeProgram(program, frame, ProgramMode::Outline, sink, &arrows);
    EXPECT_TRUE(arrows.lines.empty());
    EXPECT_EQ(sink.Ops().size(), 5u);
    const Ops drag = Draw(program, frame, ProgramMode::DragOutline);
    ASSERT_EQ(drag.size(), 7u);
    EXPECT_EQ(drag[5], Move(p1.x, p1.y));
    EXPECT_EQ(drag[6], Line(p2.x, p2.y));
}

TEST(ShapeInterpreter, DragOutlineMovesInsteadOfDrawingWhereTheStepSaysSo)
{
    const Ops rectangle = {Move(0, 0), Line(1000, 0), Line(1000, 1000), Line(0, 1000), Line(0, 0)};
    struct Case {
        const char* name;
        std::vector<uint8_t> program;
        Ops outline;
        Ops drag;
    } const cases[] = {
        {"Bezier then move",
         Program({kBezierAndMove, 0, 0, 8191, 0, 8191, 8191, kEnd}),
         {Bezier({0, 0}, {1000, 0}, {1000, 1000})},
         {Move(1000, 1000)}},
        {"line to then move",
         Program({kMoveTo, 0, 0, kLineToAndMove, 8191, 8191, kEnd}),
         {Move(0, 0), Line(1000, 1000)},
         {Move(0, 0), Move(1000, 1000)}},
        {"text box", Program({kTextBox, 8191, 8191, 0, 0, 1, 1, 1, 0, 0, kEnd}), {}, rectangle},
        {"memory points and text draw nothing",
         Program({kRememberPoint, 0, kRememberRayPoint, 0, 0, 8191, 8191, 0, 0, 1, kText, 0, 0, 0,
                  0, 0, kEnd}),
         {},
         {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Draw(c.program, Frame(), ProgramMode::Outline), c.outline) << c.name;
        EXPECT_EQ(Draw(c.program, Frame(), ProgramMode::DragOutline), c.drag) << c.name;
    }
}

TEST(ShapeInterpreter, RectanglesAreNormalisedAfterMapping)
{
    ShapeFrame flipped = Frame();
    flipped.flipH = true;
    // Corners in any order, or mirrored by a flip, give the same closed polyline from
    // the top-left corner.
    const Ops expected = {Move(500, 0), Line(1000, 0), Line(1000, 1000), Line(500, 1000),
                          Line(500, 0)};
    EXPECT_EQ(Draw(Program({kRectangle, 4095, 0, 8191, 8191, kEnd}), Frame()), expected);
    EXPECT_EQ(Draw(Program({kRectangle, 8191, 8191, 4095, 0, kEnd}), Frame()), expected);
    EXPECT_EQ(Draw(Program({kRectangle, 0, 0, 4095, 8191, kEnd}), flipped), expected);
}

TEST(ShapeInterpreter, RoundedRectangleRadiusIsScaledAndClipped)
{
    // Frame 1000 x 500: radii scale by the smaller side, 500.
    const ShapeFrame frame = Frame(1000, 500);
    const Ops clipped = {
        Move(250, 0),    Bezier({110, 0}, {0, 110}, {0, 250}),
        Line(0, 250),    Bezier({0, 390}, {110, 500}, {250, 500}),
        Line(750, 500),  Bezier({890, 500}, {1000, 390}, {1000, 250}),
        Line(1000, 250), Bezier({1000, 110}, {890, 0}, {750, 0}),
        Line(250, 0),
    };
    EXPECT_EQ(Draw(Program({kRoundRect, 0, 0, 8191, 8191, 8191, kEnd}), frame), clipped)
        << "full radius 500 clipped to 250";

    struct Case {
        const char* name;
        std::vector<uint8_t> program;
        Op first;
        size_t count;
    } const cases[] = {
        {"radius 819 scales to 50", Program({kRoundRect, 0, 0, 8191, 8191, 819, kEnd}), Move(50, 0),
         9},
        {"clipped by the step's rectangle, 200 wide",
         Program({kRoundRect, 0, 0, 1638, 8191, 8191, kEnd}), Move(100, 0), 9},
        {"zero radius is a rectangle", Program({kRoundRect, 0, 0, 8191, 8191, 0, kEnd}), Move(0, 0),
         5},
        {"radius rounding to zero is a rectangle", Program({kRoundRect, 0, 0, 8191, 8191, 8, kEnd}),
         Move(0, 0), 5},
    };
    for (const Case& c : cases) {
        const Ops ops = Draw(c.program, frame);
        ASSERT_EQ(ops.size(), c.count) << c.name;
        EXPECT_EQ(ops[0], c.first) << c.name;
        EXPECT_EQ(ops.back(), Line(c.first.points[0].x, c.first.points[0].y)) << c.name;
    }
    const Ops small = Draw(Program({kRoundRect, 0, 0, 8191, 8191, 819, kEnd}), frame);
    EXPECT_EQ(small[1], Bezier({22, 0}, {0, 22}, {0, 50}));
}

TEST(ShapeInterpreter, OctagonAndCrossCutTheirCorners)
{
    // Edge 1638 on a 1000 frame is 200 units.
    EXPECT_EQ(Draw(Program({kOctagon, 0, 0, 8191, 8191, 1638, kEnd}), Frame()),
              (Ops{Move(200, 0), Line(800, 0), Line(1000, 200), Line(1000, 800), Line(800, 1000),
                   Line(200, 1000), Line(0, 800), Line(0, 200), Line(200, 0)}));
    EXPECT_EQ(Draw(Program({kCross, 0, 0, 8191, 8191, 1638, kEnd}), Frame()),
              (Ops{Move(200, 0), Line(800, 0), Line(800, 200), Line(1000, 200), Line(1000, 800),
                   Line(800, 800), Line(800, 1000), Line(200, 1000), Line(200, 800), Line(0, 800),
                   Line(0, 200), Line(200, 200), Line(200, 0)}));
    // An edge longer than half the side stops at the middle; zero is the rectangle.
    EXPECT_EQ(Draw(Program({kOctagon, 0, 0, 8191, 8191, 8191, kEnd}), Frame())[2], Line(1000, 500));
    EXPECT_EQ(Draw(Program({kCross, 0, 0, 8191, 8191, 0, kEnd}), Frame()).size(), 5u);
}

TEST(ShapeInterpreter, RunShapeStepsStartsAtTheCurrentPointOfTheSkippedSteps)
{
    // Steps: 0 move (0, 0), 1 line (1000, 0), 2 remember in 3, 3 line (1000, 1000),
    // 4 move to memory 3, 5 line (0, 1000).
    const std::vector<uint8_t> program =
        Program({kMoveTo, 0, 0, kLineTo, 8191, 0, kRememberPoint, 3, kLineTo, 8191, 8191, kMoveTo,
                 kMemory, 3, kLineTo, 0, 8191, kEnd});
    struct Case {
        const char* name;
        int first, count;
        Ops expected;
    } const cases[] = {
        {"one step", 3, 1, {Move(1000, 0), Line(1000, 1000)}},
        {"memory set by a skipped step", 4, 2, {Move(1000, 1000), Move(1000, 0), Line(0, 1000)}},
        {"count past the end", 5, 100, {Move(1000, 0), Line(0, 1000)}},
        {"no steps drawn", 0, 0, {Move(0, 0)}},
        {"first past the end", 9, 1, {Move(0, 1000)}},
    };
    for (const Case& c : cases) {
        RecordingSink sink;
        RunShapeSteps(program, Frame(), c.first, c.count, ProgramMode::Outline, sink);
        EXPECT_EQ(sink.Ops(), c.expected) << c.name;
    }

    // The pen goes to the current point turned with the object.
    ShapeFrame turned = Frame();
    turned.angle = 1800;
    RecordingSink sink;
    RunShapeSteps(program, turned, 3, 0, ProgramMode::Outline, sink);
    ASSERT_EQ(sink.Ops().size(), 1u);
    EXPECT_EQ(sink.Ops()[0].kind, Kind::Move);
    EXPECT_TRUE(Near(sink.Ops()[0].points[0], {0, 1000}));
}
} // namespace
} // namespace figures
