#include "figures/model/objects/crichgraph.h"
#include "figures/model/objects/crichline.h"
#include "figures/render/drawcontext.h"
#include "figures/render/numeric.h"

#include <QImage>

#include <gtest/gtest.h>

#include <vector>

namespace figures {
namespace {

// At 254 dpi and 100 % one document unit is one pixel.
constexpr double kOnePixelPerUnit = 254.0;
constexpr QRgb kWhitePixel = 0xFFFFFFFF;
constexpr QRgb kBluePixel = 0xFF0000FF;
constexpr uint32_t kBlue = 0xFF0000; // 0x00BBGGRR

QImage Draw(CBaseCom& object, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(kWhitePixel);
    QPainter painter(&image);
    const DrawContext dc(painter, kOnePixelPerUnit, kOnePixelPerUnit);
    DrawRequest request;
    request.dc = &dc;
    request.target = object.frame;
    request.clip = {0, 0, size.width(), size.height()};
    object.OnMessage(OM_DRAW, &request);
    painter.end();
    return image;
}

std::vector<uint8_t> Program(const CRichLine& line)
{
    const std::span<const uint8_t> bytes = line.GetProperty(PT_PROGRAM);
    return {bytes.begin(), bytes.end()};
}

bool Points(const CRichLine& line, Point& p1, Point& p2)
{
    return line.EndPoints({line.frame.left, line.frame.top}, p1, p2);
}

TEST(RichLineCreation, DeadZoneMakesNearlyLevelAndUprightLinesExact)
{
    const Point start{1000, 1000};
    struct Case {
        const char* name;
        int32_t dx, dy;
        Point end;
    } cases[] = {
        {"nearly level", 200, 10, {1200, 1000}},
        {"nearly level, upward", 200, -10, {1200, 1000}},
        {"nearly upright", -9, 300, {1000, 1300}},
        {"just outside the dead zone", 11, -11, {1011, 989}},
        {"upright by the inclusive edge", 10, 11, {1000, 1011}},
        {"diagonal", -150, -250, {850, 750}},
    };
    for (const Case& c : cases) {
        CRichLine line;
        BeginCreateArgs begin{start};
        ASSERT_EQ(line.OnMessage(OM_BEGIN_CREATE, &begin), 0);
        TrackCreateArgs move{TrackEvent::MouseMove, c.dx, c.dy};
        EXPECT_EQ(line.OnMessage(OM_TRACK_CREATE, &move), OM_CONTINUE) << c.name;
        Point p1, p2;
        ASSERT_TRUE(Points(line, p1, p2)) << c.name;
        EXPECT_EQ(p1, start) << c.name;
        EXPECT_EQ(p2, c.end) << c.name;
        OutlineRequest outline;
        line.OnMessage(OM_MAKE_OUTLINE, &outline);
        EXPECT_TRUE(outline.found) << c.name;
        TrackCreateArgs up{TrackEvent::LeftButtonUp, c.dx, c.dy};
        EXPECT_EQ(line.OnMessage(OM_TRACK_CREATE, &up), 0) << c.name;
    }

    // The horizontal example: 200 long, the frame at least 15 high.
    CRichLine level;
    BeginCreateArgs begin{start};
    level.OnMessage(OM_BEGIN_CREATE, &begin);
    TrackCreateArgs move{TrackEvent::TimerTick, 200, 10};
    EXPECT_EQ(level.OnMessage(OM_TRACK_CREATE, &move), OM_CONTINUE);
    EXPECT_EQ(level.frame, (Rect{1000, 1000, 1200, 1015}));
}

TEST(RichLineCreation, NoOutlineWhileBothComponentsAreInTheDeadZone)
{
    CRichLine line;
    BeginCreateArgs begin{{500, 500}};
    line.OnMessage(OM_BEGIN_CREATE, &begin);
    TrackCreateArgs small{TrackEvent::MouseMove, 8, -9};
    EXPECT_EQ(line.OnMessage(OM_TRACK_CREATE, &small), OM_CONTINUE);
    OutlineRequest none;
    EXPECT_EQ(line.OnMessage(OM_MAKE_OUTLINE, &none), 0);
    EXPECT_FALSE(none.found);
    EXPECT_TRUE(Program(line).empty());

    // Laid out once, the line stays as it is when the mouse comes back near the start,
    // and shows no outline until it leaves the dead zone again.
    TrackCreateArgs out{TrackEvent::MouseMove, 300, 40};
    line.OnMessage(OM_TRACK_CREATE, &out);
    const std::vector<uint8_t> laidOut = Program(line);
    const Rect frame = line.frame;
    TrackCreateArgs back{TrackEvent::MouseMove, -4, 3};
    EXPECT_EQ(line.OnMessage(OM_TRACK_CREATE, &back), OM_CONTINUE);
    EXPECT_EQ(Program(line), laidOut);
    EXPECT_EQ(line.frame, frame);
    OutlineRequest withheld;
    line.OnMessage(OM_MAKE_OUTLINE, &withheld);
    EXPECT_FALSE(withheld.found);

    // Other mouse events are not tracked and change nothing.
    TrackCreateArgs other{TrackEvent::Other, 300, 300};
    EXPECT_EQ(line.OnMessage(OM_TRACK_CREATE, &other), OM_NOT_TRACKED);
    EXPECT_EQ(Program(line), laidOut);

    // After the creation the line shows its outline again.
    EndCreateArgs end;
    EXPECT_EQ(line.OnMessage(OM_END_CREATE, &end), 0);
    OutlineRequest after;
    line.OnMessage(OM_MAKE_OUTLINE, &after);
    EXPECT_TRUE(after.found);
    EXPECT_EQ(after.outline.boundingRect(), QRectF(0, 0, 300, 40));
}

TEST(RichLineDrag, DraggedEndSnapsToTheFirstPointsAxes)
{
    const Point a{100, 100};
    const Point b{400, 300};
    struct Case {
        const char* name;
        int32_t handle, dx, dy;
        Point p1, p2;
    } cases[] = {
        {"second end 7 from the first's x: upright", 1, -293, 0, {100, 100}, {100, 300}},
        {"second end 10 from the first's x: upright", 1, -290, 0, {100, 100}, {100, 300}},
        {"second end 11 from the first's x: no snap", 1, -289, 0, {100, 100}, {111, 300}},
        {"second end 10 below the first's y: level", 1, 0, -190, {100, 100}, {400, 100}},
        {"first end 7 from the second's x: the second follows it",
         0,
         293,
         0,
         {393, 100},
         {393, 300}},
        {"first end moved freely", 0, -50, 20, {50, 120}, {400, 300}},
    };
    for (const Case& c : cases) {
        CRichLine line;
        line.SetEndPoints(a, b);
        line.angle = 300;
        line.flags |= OF_FLIPPED_H | OF_FLIPPED_V;
        ASSERT_TRUE(line.DragEndPoint(c.handle, a, b, c.dx, c.dy)) << c.name;
        EXPECT_EQ(line.angle, 0) << c.name;
        EXPECT_FALSE(line.HasFlag(OF_FLIPPED_H) || line.HasFlag(OF_FLIPPED_V)) << c.name;
        Point p1, p2;
        ASSERT_TRUE(Points(line, p1, p2)) << c.name;
        EXPECT_EQ(p1, c.p1) << c.name;
        EXPECT_EQ(p2, c.p2) << c.name;
    }
}

TEST(RichLineDrag, CoincidentPointsAndUnknownHandlesAreRefused)
{
    const Point a{100, 100};
    const Point b{400, 300};
    struct Case {
        const char* name;
        int32_t handle, dx, dy;
    } cases[] = {
        {"second end onto the first", 1, -300, -200},
        {"second end snapped onto the first", 1, -295, -192},
        {"first end onto the second", 0, 300, 200},
        {"first end near enough to pull the second onto it", 0, 305, 195},
        {"a cap button is no end point", 2, 10, 10},
        {"negative handle", -1, 10, 10},
    };
    for (const Case& c : cases) {
        CRichLine line;
        line.capButtons = CRichLine::BothButtons;
        line.SetEndPoints(a, b);
        line.angle = 450;
        const std::vector<uint8_t> program = Program(line);
        EXPECT_FALSE(line.DragEndPoint(c.handle, a, b, c.dx, c.dy)) << c.name;
        EXPECT_EQ(Program(line), program) << c.name;
        EXPECT_EQ(line.frame, (Rect{100, 100, 400, 300})) << c.name;
        EXPECT_EQ(line.angle, 450) << c.name;
    }
}

TEST(RichLineEnds, DialogChoiceIsStoredForTheChosenEnd)
{
    struct Case {
        const char* name;
        int32_t end;
        LineEnd chosen;
        bool stored;
        LineEnd end1, end2;
    } cases[] = {
        {"end 1", 1, {2, 3, 2}, true, {2, 3, 2}, {1, 1, 1}},
        {"end 2", 2, {11, 1, 3}, true, {1, 1, 1}, {11, 1, 3}},
        {"type 0 stores sizes 1 and 1", 2, {0, 3, 3}, true, {1, 1, 1}, {0, 1, 1}},
        {"type 0 even with sizes out of range", 1, {0, 0, 9}, true, {0, 1, 1}, {1, 1, 1}},
        {"no end 3", 3, {2, 1, 1}, false, {1, 1, 1}, {1, 1, 1}},
        {"no end 0", 0, {2, 1, 1}, false, {1, 1, 1}, {1, 1, 1}},
        {"no type 12", 1, {12, 1, 1}, false, {1, 1, 1}, {1, 1, 1}},
        {"no size 0", 2, {4, 0, 1}, false, {1, 1, 1}, {1, 1, 1}},
        {"no size 4", 2, {4, 1, 4}, false, {1, 1, 1}, {1, 1, 1}},
    };
    for (const Case& c : cases) {
        CRichLine line;
        line.end1Type = line.end2Type = 1;
        EXPECT_EQ(line.SetLineEnd(c.end, c.chosen), c.stored) << c.name;
        const LineEnd end1 = line.End1();
        const LineEnd end2 = line.End2();
        EXPECT_EQ(end1.type, c.end1.type) << c.name;
        EXPECT_EQ(end1.size1, c.end1.size1) << c.name;
        EXPECT_EQ(end1.size2, c.end1.size2) << c.name;
        EXPECT_EQ(end2.type, c.end2.type) << c.name;
        EXPECT_EQ(end2.size1, c.end2.size1) << c.name;
        EXPECT_EQ(end2.size2, c.end2.size2) << c.name;
    }
}

TEST(RichLineEnds, CapButtonsEditTheEndTheyStandAt)
{
    struct Case {
        uint8_t buttons;
        int32_t handle;
        int32_t end;
    } cases[] = {
        {CRichLine::ButtonAtEnd2, 2, 2}, {CRichLine::ButtonAtEnd1, 2, 1},
        {CRichLine::BothButtons, 2, 1},  {CRichLine::BothButtons, 3, 2},
        {CRichLine::BothButtons, 0, 0},  {CRichLine::BothButtons, 1, 0},
        {CRichLine::BothButtons, 4, 0},  {CRichLine::ButtonAtEnd2, 3, 0},
        {CRichLine::NoButtons, 2, 0},    {7, 2, 0},
    };
    for (const Case& c : cases) {
        CRichLine line;
        line.capButtons = c.buttons;
        EXPECT_EQ(line.CapButtonEnd(c.handle), c.end)
            << "buttons " << int(c.buttons) << ", handle " << c.handle;
    }
}

TEST(RichLinePainting, ShadowFirstThenTheLineWithItsArrowhead)
{
    // 5 pt line (18 units) with an arrowhead at the end point; the shadow 10 units right
    // and down, so it shows below the line and is covered where they overlap.
    CRichLine line;
    line.SetEndPoints({20, 50}, {180, 50});
    line.lineWidth = 50;
    line.lineColour = kBlue;
    line.end2Type = 1;
    line.shadowDirection = 5;
    line.shadowOffset = 10;
    line.shadowColour = 0x00FF00;
    const QRgb kGreenPixel = 0xFF00FF00;
    const QImage image = Draw(line, {220, 100});
    EXPECT_EQ(image.pixel(100, 55), kBluePixel);  // the line over its shadow
    EXPECT_EQ(image.pixel(100, 66), kGreenPixel); // the shadow below the line
    EXPECT_EQ(image.pixel(150, 38), kBluePixel);  // arrowhead, beyond the stroke
    EXPECT_EQ(image.pixel(160, 72), kGreenPixel); // the arrowhead's shadow
    EXPECT_EQ(image.pixel(185, 50), kWhitePixel); // the stroke ends inside the tip
}

TEST(RichLinePainting, PointsTurnAboutTheirMidpoint)
{
    // Level from (20, 100) to (180, 100), turned a quarter clockwise: upright from
    // (100, 20) down to the arrowhead at (100, 180).
    CRichLine line;
    line.SetEndPoints({20, 100}, {180, 100});
    line.lineWidth = 50;
    line.lineColour = kBlue;
    line.end2Type = 1;
    line.angle = 900;
    const QImage image = Draw(line, {200, 200});
    EXPECT_EQ(image.pixel(100, 30), kBluePixel);
    EXPECT_EQ(image.pixel(100 + 12, 150), kBluePixel); // arrowhead beside the stroke
    EXPECT_EQ(image.pixel(100 - 12, 150), kBluePixel);
    EXPECT_EQ(image.pixel(100, 185), kWhitePixel);
    EXPECT_EQ(image.pixel(30, 100), kWhitePixel);
    EXPECT_EQ(image.pixel(170, 100), kWhitePixel);
}

TEST(RichLineBounds, CoverTheDecorationsAndTheirShadow)
{
    // A 0.5 pt line (2 units) with a hollow diamond (22 long, 11 to each side) at the
    // start and a large hollow ellipse (34 by 34) at the end; outlined decorations grow
    // by w / 2 + 1 = 2 more. The shadow 30 up.
    CRichLine line;
    line.SetEndPoints({100, 100}, {300, 100});
    line.end1Type = 7;
    line.end2Type = 11;
    line.end2Size = line.end2Length = 3;
    line.shadowDirection = 2;
    line.shadowOffset = 30;
    BoundsRequest request;
    line.OnMessage(OM_GET_BOUNDS, &request);
    EXPECT_EQ(request.bounds, (Rect{100 - 11 - 2, 100 - 17 - 2 - 30, 300 + 17 + 2, 100 + 17 + 2}));
}

TEST(LineEndsOnArrowSteps, ShapeDrawsItsArrowLinesWithArrowheads)
{
    // A line from the top-left corner to the centre, then an arrow line along the bottom
    // edge with arrowheads at both ends.
    const uint16_t program[] = {1, 0, 0, 4095, 4095, 2, 0, 8191, 8191, 8191, 3, 0};
    CRichGraph shape(CRichGraph::kCustomShape);
    ASSERT_TRUE(shape.SetProgram(reinterpret_cast<const uint8_t*>(program), sizeof program));
    shape.frame = {20, 20, 220, 220};
    shape.lineWidth = 50;
    shape.lineColour = kBlue;
    const QImage image = Draw(shape, {240, 240});
    // The arrow line runs level along y = 220 from x = 20 to x = 220; 30 units behind
    // each tip its head reaches 15 units to each side, the stroke only 9.
    EXPECT_EQ(image.pixel(20 + 30, 220 - 12), kBluePixel);
    EXPECT_EQ(image.pixel(220 - 30, 220 - 12), kBluePixel);
    EXPECT_EQ(image.pixel(120, 220 - 12), kWhitePixel);
    EXPECT_EQ(image.pixel(120, 220), kBluePixel);
    EXPECT_EQ(image.pixel(70, 70), kBluePixel); // the plain line still drawn

    // A plain line step in its place draws no heads.
    const uint16_t plain[] = {1, 0, 0, 4095, 4095, 1, 0, 8191, 8191, 8191, 0};
    ASSERT_TRUE(shape.SetProgram(reinterpret_cast<const uint8_t*>(plain), sizeof plain));
    const QImage none = Draw(shape, {240, 240});
    EXPECT_EQ(none.pixel(20 + 30, 220 - 12), kWhitePixel);
    EXPECT_EQ(none.pixel(120, 220), kBluePixel);
}

} // namespace
} // namespace figures
