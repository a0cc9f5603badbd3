// Pens with dashes and caps, runs of points in every stored form, and curves of the newer
// metafile model.
#include "tests/figures/render/pictures/metafile/emfplusstrokescenes.h"

#include <QImage>

#include <gtest/gtest.h>

#include <functional>

namespace figures {
namespace {

using namespace metafiletest;
using namespace metafiletest::plus;

bool Inked(QRgb pixel)
{
    return qGray(pixel) < 128;
}

struct PixelRow {
    const char* what;
    QPoint at;
    bool inked;
};

void ExpectPixels(const QImage& image, std::initializer_list<PixelRow> rows)
{
    for (const PixelRow& row : rows) {
        EXPECT_EQ(Inked(image.pixel(row.at)), row.inked)
            << row.what << " at " << row.at.x() << "," << row.at.y();
    }
}

constexpr uint32_t kInk = 0xFF000000;

TEST(EmfPlusStrokes, DashesLeaveGapsOfTheirStyleAndLengths)
{
    const QImage image = PlusPicture([](EmfPlusRecords& p) {
        // Four units wide: a dash is 12 long and its gap 4, a dot and its gap 4 each.
        p.Record(0x4008, 0x0201, PenData(4, kInk, kStyleField, Words({1})));
        p.Record(0x4008, 0x0202, PenData(4, kInk, kStyleField, Words({2})));
        // The file's own lengths, 2 and 3 widths, from the start and shifted by 2 widths.
        p.Record(0x4008, 0x0203,
                 PenData(4, kInk, kStyleField | kDashesField, Words({5, 2}) + Reals({2, 3})));
        p.Record(0x4008, 0x0204,
                 PenData(4, kInk, kStyleField | kDashOffsetField | kDashesField,
                         Words({5}) + Reals({2}) + Words({2}) + Reals({2, 3})));
        p.Pen(5, 4, kInk);
        for (int pen = 1; pen <= 5; ++pen) {
            p.DrawLines(pen, false, {{20, 20.0 * pen}, {200, 20.0 * pen}});
        }
    });
    ExpectPixels(image, {
                            {"dash: the first dash", {26, 20}, true},
                            {"dash: the first gap", {34, 20}, false},
                            {"dash: the second dash", {38, 20}, true},
                            {"dot: the first dot", {22, 40}, true},
                            {"dot: its gap", {26, 40}, false},
                            {"dot: the next dot", {30, 40}, true},
                            {"own lengths: the first dash", {24, 60}, true},
                            {"own lengths: the gap", {34, 60}, false},
                            {"own lengths: the second dash", {44, 60}, true},
                            {"shifted: starts in the gap", {24, 80}, false},
                            {"shifted: then a dash", {36, 80}, true},
                            {"solid: no gap", {34, 100}, true},
                        });
}

TEST(EmfPlusStrokes, DashesTooFineOrDamagedDrawSolidOrNothing)
{
    const QImage image = PlusPicture([](EmfPlusRecords& p) {
        // Dashes of a millionth of the width along a long line would be countless.
        p.Record(
            0x4008, 0x0201,
            PenData(2, kInk, kStyleField | kDashesField, Words({5, 2}) + Reals({1e-6f, 1e-6f})));
        p.DrawLines(1, false, {{20, 20}, {20000, 20}});
        // Negative lengths, and all lengths empty: drawn solid.
        p.Record(0x4008, 0x0202,
                 PenData(2, kInk, kStyleField | kDashesField, Words({5, 2}) + Reals({-1, 3})));
        p.DrawLines(2, false, {{20, 40}, {200, 40}});
        p.Record(0x4008, 0x0203,
                 PenData(2, kInk, kStyleField | kDashesField, Words({5, 2}) + Reals({0, 0})));
        p.DrawLines(3, false, {{20, 60}, {200, 60}});
        // More lengths than the record holds: the pen is damaged and draws nothing.
        p.Record(0x4008, 0x0204,
                 PenData(2, kInk, kStyleField | kDashesField, Words({5, 0x40000000})));
        p.DrawLines(4, false, {{20, 80}, {200, 80}});
    });
    ExpectPixels(image, {
                            {"too fine: solid", {100, 20}, true},
                            {"too fine: solid further", {301, 20}, true},
                            {"negative: solid", {101, 40}, true},
                            {"empty: solid", {101, 60}, true},
                            {"damaged: nothing", {101, 80}, false},
                        });
}

// A custom cap of the arrow kind: width and height in pen widths, filled.
Bytes ArrowCap(float width, float height)
{
    const Bytes cap = Words({0xDBC01002u, 1}) + Reals({width, height, 0}) + Words({1, 0, 0, 0}) +
                      Reals({10, 1, 0, 0, 0, 0});
    return Words({uint32_t(cap.size())}) + cap;
}

// A custom cap filling a square from one width across the end to two widths beyond it.
Bytes SquarePathCap()
{
    Bytes path = Words({0xDBC01002u, 4, 0}) + Reals({-1, 0, 1, 0, 1, 2, -1, 2});
    path.insert(path.end(), {0, 1, 1, 0x81});
    const Bytes cap = Words({0xDBC01002u, 0, 1, 0}) + Reals({0}) + Words({0, 0, 0}) +
                      Reals({10, 1, 0, 0, 0, 0}) + Words({uint32_t(path.size())}) + path;
    return Words({uint32_t(cap.size())}) + cap;
}

TEST(EmfPlusStrokes, CapsReachBeyondTheLineEndsAsTheirKindSays)
{
    const uint32_t ends = kStartCapField | kEndCapField;
    const QImage image = PlusPicture([&](EmfPlusRecords& p) {
        p.Pen(1, 10, kInk); // flat ends
        p.DrawLines(1, false, {{100, 20}, {200, 20}});
        p.Record(0x4008, 0x0202, PenData(10, kInk, ends, Words({1, 2}))); // square, round
        p.DrawLines(2, false, {{100, 50}, {200, 50}});
        p.Record(0x4008, 0x0203, PenData(10, kInk, ends, Words({0x11, 3}))); // anchor, triangle
        p.DrawLines(3, false, {{100, 90}, {200, 90}});
        p.Record(0x4008, 0x0204, PenData(10, kInk, ends, Words({2, 2}))); // round, round
        p.DrawLines(4, false, {{100, 120}, {200, 120}});
        p.Record(0x4008, 0x0205,
                 PenData(10, kInk, ends | kCustomStartField | kCustomEndField,
                         Words({0xFF, 0xFF}) + ArrowCap(3, 3) + SquarePathCap()));
        p.DrawLines(5, false, {{100, 160}, {200, 160}});
        p.Record(0x4008, 0x0206, PenData(10, kInk, kEndCapField, Words({3}))); // down
        p.DrawLines(6, false, {{300, 50}, {300, 150}});
        p.Record(0x4008, 0x0207, PenData(10, kInk, kEndCapField, Words({0x14}))); // arrow
        p.DrawLines(7, false, {{100, 220}, {200, 220}});
    });
    ExpectPixels(image, {
                            {"flat: ends at the start", {97, 20}, false},
                            {"flat: ends at the end", {203, 20}, false},
                            {"square start: half a width beyond", {96, 50}, true},
                            {"square start: no further", {94, 50}, false},
                            {"round end: beyond on the line", {204, 50}, true},
                            {"round end: not at its corner", {204, 54}, false},
                            {"square anchor: round the start", {92, 98}, true},
                            {"square anchor: not beyond it", {88, 90}, false},
                            {"triangle end: its point", {203, 90}, true},
                            {"triangle end: not its corner", {203, 94}, false},
                            {"round both: the painter's own", {96, 120}, true},
                            {"arrow cap: wider than the line", {120, 167}, true},
                            {"arrow cap: its tip on the start", {96, 160}, false},
                            {"arrow cap: no line beside its tip", {102, 164}, false},
                            {"path cap: two widths beyond", {215, 160}, true},
                            {"path cap: no further", {224, 160}, false},
                            {"a vertical line's triangle: below", {300, 153}, true},
                            {"a vertical line's triangle: its corner", {304, 153}, false},
                            {"arrow anchor: wider behind its tip", {183, 226}, true},
                            {"arrow anchor: its tip on the end", {205, 220}, false},
                            {"arrow anchor: no line beside its tip", {197, 223}, false},
                            {"arrow anchor: the line up to it", {185, 223}, true},
                        });
}

TEST(EmfPlusStrokes, CapsOfManyFiguresStopAtABoundedCost)
{
    // A cap of 80 points (a square two widths beyond the end, its sides finely cut), on a
    // path of a thousand open figures: the first figure, at the top, has its caps, the
    // last, below it, has none; those between lie on one another further down.
    Bytes square = Words({0xDBC01002u, 80, 0});
    for (int i = 0; i < 80; ++i) {
        const float t = float(i % 20) / 20;
        const QPointF p[] = {{-1 + 2 * t, 0}, {1, 2 * t}, {1 - 2 * t, 2}, {-1, 2 - 2 * t}};
        square = square + Reals({float(p[i / 20].x()), float(p[i / 20].y())});
    }
    square.push_back(0);
    square.insert(square.end(), 78, 1);
    square.push_back(0x81);
    const Bytes cap = Words({0xDBC01002u, 0, 1, 0}) + Reals({0}) + Words({0, 0, 0}) +
                      Reals({10, 1, 0, 0, 0, 0}) + Words({uint32_t(square.size())}) + square;
    std::vector<QPoint> points;
    std::vector<std::pair<uint8_t, uint8_t>> types;
    for (int i = 0; i < 1000; ++i) {
        const int y = i == 0 ? 20 : i == 999 ? 60 : 100;
        points.insert(points.end(), {QPoint(20, y), QPoint(60, y)});
        types.insert(types.end(), {{1, 0}, {1, 1}});
    }
    const QImage image = PlusPicture([&](EmfPlusRecords& p) {
        p.Record(0x4008, 0x0201,
                 PenData(4, kInk, kEndCapField | kCustomEndField,
                         Words({0xFF, uint32_t(cap.size())}) + cap));
        PathIn(p, 2, Form::Real, points, types, false).DrawPath(2, 1);
    });
    ExpectPixels(image, {
                            {"the first figure's cap", {65, 20}, true},
                            {"the last figure's line", {40, 60}, true},
                            {"the last figure: no cap", {65, 60}, false},
                        });
}

// One shape of each kind of point run, at (x, y), its points stored in form.
void AddPointRuns(EmfPlusRecords& p, Form form)
{
    const uint16_t flags = FormFlags(form);
    // Offsets of both sizes: 7 bits within 63 of the point before, 15 bits beyond.
    const std::vector<QPoint> triangle = {{20, 100}, {120, 20}, {170, 100}};
    p.Record(0x400C, 0x8000 | flags, Words({kInk, 3}) + PointsIn(form, triangle));
    p.Pen(1, 6, kInk);
    p.Record(0x400D, 1 | flags, Words({3}) + PointsIn(form, {{200, 30}, {250, 90}, {370, 30}}));
    p.Record(0x4019, 1 | flags,
             Words({4}) + PointsIn(form, {{20, 140}, {60, 240}, {140, 240}, {180, 140}}));
    p.Record(0x4017, 1 | flags,
             Reals({0.5}) + Words({4}) +
                 PointsIn(form, {{220, 150}, {300, 140}, {320, 220}, {230, 240}}));
    PathIn(p, 2, form, {{20, 260}, {100, 260}, {100, 280}, {20, 280}}, {{1, 0}, {2, 1}, {1, 0x81}},
           form == Form::Relative);
    p.FillPath(2, kInk);
    p.Image(3, Quarters(8, 8), false);
    p.Record(0x401B, 3 | flags,
             Words({0, 2}) + EmfPlusRecords::Rects({QRectF(0, 0, 8, 8)}) + Words({3}) +
                 PointsIn(form, {{330, 240}, {380, 240}, {330, 285}}));
}

TEST(EmfPlusStrokes, PointsOfEveryStoredFormLandWhereRealPointsDo)
{
    const QImage real = PlusPicture([](EmfPlusRecords& p) { AddPointRuns(p, Form::Real); });
    ExpectPixels(real, {
                           {"polygon", {120, 80}, true},
                           {"lines", {250, 87}, true},
                           {"Bezier curve", {100, 212}, true},
                           {"closed curve", {300, 140}, true},
                           {"path", {60, 270}, true},
                           {"image on three points", {340, 250}, true},
                       });
    for (const Form form : {Form::Compressed, Form::Relative}) {
        SCOPED_TRACE(form == Form::Compressed ? "compressed" : "relative");
        const QImage image = PlusPicture([form](EmfPlusRecords& p) { AddPointRuns(p, form); });
        EXPECT_EQ(image, real);
    }
}

TEST(EmfPlusStrokes, CardinalSplinesPassThroughTheirPoints)
{
    const QImage image = PlusPicture([](EmfPlusRecords& p) {
        p.Pen(1, 4, kInk);
        // Only the middle one of three segments.
        p.Record(0x4018, 1,
                 Reals({0.5}) + Words({1, 1, 4}) +
                     PointsIn(Form::Real, {{20, 100}, {80, 40}, {140, 100}, {200, 40}}));
        // A straight spline of tension 0 through three points is their polyline.
        p.Record(0x4018, 1,
                 Reals({0}) + Words({0, 2, 3}) +
                     PointsIn(Form::Real, {{20, 200}, {100, 120}, {180, 200}}));
        p.Record(0x4016, 0x8000,
                 Words({kInk}) + Reals({0.5}) + Words({4}) +
                     PointsIn(Form::Real, {{250, 150}, {300, 100}, {350, 150}, {300, 200}}));
    });
    ExpectPixels(image, {
                            {"the segment asked for: its start", {80, 41}, true},
                            {"the segment asked for: its end", {138, 100}, true},
                            {"the segment asked for: its middle", {110, 70}, true},
                            {"not the segment before", {30, 90}, false},
                            {"not the segment after", {190, 50}, false},
                            {"tension 0: on the chord", {60, 160}, true},
                            {"tension 0: not bowed", {65, 150}, false},
                            {"closed and filled: inside", {300, 150}, true},
                            {"closed: through its points", {252, 150}, true},
                            {"closed: not beyond them", {245, 150}, false},
                        });
}

TEST(EmfPlusStrokes, DamagedPensPointsAndCurvesAreSkipped)
{
    struct Case {
        const char* name;
        std::function<void(EmfPlusRecords&)> add;
    };
    const uint32_t custom = kEndCapField | kCustomEndField;
    const Case cases[] = {
        {"a custom cap larger than its pen",
         [&](EmfPlusRecords& p) {
             p.Record(0x4008, 0x0201, PenData(4, kInk, custom, Words({0xFF, 0x7FFFFFFF})));
         }},
        {"a custom cap's path larger than the cap: the line is drawn without it",
         [&](EmfPlusRecords& p) {
             const Bytes cap = Words({0xDBC01002u, 0, 1, 0}) + Reals({0}) + Words({0, 0, 0}) +
                               Reals({10, 1, 0, 0, 0, 0}) + Words({0x10000});
             p.Record(0x4008, 0x0201,
                      PenData(4, kInk, custom, Words({0xFF, uint32_t(cap.size())}) + cap));
             p.DrawLines(1, false, {{0, 100}, {200, 100}});
         }},
        {"relative points beyond the record",
         [](EmfPlusRecords& p) {
             p.Record(0x400C, 0x8800, Words({kInk, 0x7FFFFFFF, 0}));
         }},
        {"a relative point cut in half",
         [](EmfPlusRecords& p) {
             p.Record(0x400C, 0x8800, {0, 0, 0, 0xFF, 3, 0, 0, 0, 5, 0x81});
         }},
        {"Bezier points beyond the record",
         [](EmfPlusRecords& p) {
             p.Record(0x4019, 0x4000, Words({0x40000000, 0}));
         }},
        {"a curve whose points run out",
         [](EmfPlusRecords& p) {
             p.Record(0x4018, 0, Reals({0.5}) + Words({0, 9, 0x20000000}));
         }},
        {"a curve's segments beyond its points",
         [](EmfPlusRecords& p) {
             p.Pen(1, 2, kInk);
             p.Record(0x4018, 1,
                      Reals({1e30f}) + Words({5, 0xFFFFFFFF, 2}) +
                          PointsIn(Form::Real, {{0, 0}, {9, 9}}));
         }},
        {"a closed curve of infinite tension",
         [](EmfPlusRecords& p) {
             p.Record(0x4016, 0x8000,
                      Words({kInk}) + Reals({INFINITY}) + Words({3}) +
                          PointsIn(Form::Real, {{0, 0}, {9, 0}, {0, 9}}));
         }},
        {"a path of an empty type run",
         [](EmfPlusRecords& p) {
             PathIn(p, 2, Form::Real, {{20, 20}, {60, 20}, {60, 60}, {20, 60}},
                    {{0, 0}, {1, 0}, {3, 1}}, true)
                 .FillPath(2, kInk);
         }},
        {"a path whose runs count too many types",
         [](EmfPlusRecords& p) {
             PathIn(p, 2, Form::Real, {{20, 20}, {60, 20}, {60, 60}, {20, 60}}, {{1, 0}, {63, 1}},
                    true)
                 .FillPath(2, kInk);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage image = PlusPicture([&](EmfPlusRecords& p) {
            c.add(p);
            p.FillRects(0xFF00FF00, true, {QRectF(300, 200, 20, 20)});
        });
        EXPECT_EQ(image.pixel(310, 210), qRgb(0, 255, 0)) << "the records after it still play";
        EXPECT_EQ(image.pixel(40, 40), qRgb(255, 255, 255)) << "the damaged record draws nothing";
    }
}

} // namespace
} // namespace figures
