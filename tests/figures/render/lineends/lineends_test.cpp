// Lines with decorated ends, checked pixel by pixel at 254 dpi (one document unit is one
// pixel) and against reviewed sheets of every end type and size in tests/data. Set
// VELKOR_UPDATE_REFERENCES=1 to rewrite the sheets, then look at them before committing.
#include "figures/render/drawcontext.h"
#include "figures/render/lineends/lineends.h"
#include "figures/render/numeric.h"
#include "support/referencepicture.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <ostream>

namespace figures {
namespace {

constexpr double kOnePixelPerUnit = 254.0;
constexpr QRgb kWhitePixel = 0xFFFFFFFF;
constexpr QRgb kGreyPixel = 0xFF808080;
constexpr uint32_t kBlue = 0xFF0000; // 0x00BBGGRR
constexpr QRgb kBluePixel = 0xFF0000FF;
const int32_t kFivePoints = LineWidthUnits(50); // 18 units

QImage Paint(QSize size, const std::function<void(const DrawContext&)>& draw,
             QRgb background = kWhitePixel, bool antialiased = false, double dpi = kOnePixelPerUnit)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, antialiased);
    const DrawContext dc(painter, dpi, dpi);
    draw(dc);
    painter.end();
    return image;
}

QRgb PixelAt(const QImage& image, double x, double y)
{
    return image.pixel(int(std::floor(x)), int(std::floor(y)));
}

TEST(LineEnds, ClipPolygonRunsFromTheHeadToBeyondTheOtherEnd)
{
    // w = 18: L = 38, H = 19.
    const ArrowheadClip clip = ArrowheadClipPolygon({0, 0}, {100, 0}, {1, 1, 1}, 18);
    ASSERT_EQ(clip.count, 5);
    const Point expected[5] = {{62, -19}, {100, 0}, {62, 19}, {-18, 19}, {-18, -19}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(clip.p[i], expected[i]) << "point " << i;
    }
    // Upward line: the far side lies w below the start.
    const ArrowheadClip up = ArrowheadClipPolygon({0, 100}, {0, 0}, {4, 1, 1}, 1);
    ASSERT_EQ(up.count, 5);
    EXPECT_EQ(up.p[1], (Point{0, 0}));
    EXPECT_EQ(up.p[3].y, 101);
    EXPECT_EQ(up.p[4].y, 101);
    // Only arrowheads clip the line.
    for (uint8_t type : {0, 6, 7, 8, 9, 10, 11, 12, 255}) {
        EXPECT_EQ(ArrowheadClipPolygon({0, 0}, {100, 0}, {type, 1, 1}, 18).count, 0) << int(type);
    }
}

TEST(LineEnds, FilledArrowheadCoversItsTriangleInTheLineColour)
{
    struct Case {
        const char* name;
        int32_t lineType;
        double length, halfWidth;
    } cases[] = {
        {"5 pt solid", 1, 38, 19},
        {"5 pt square-capped", 2, 38, 19},
        {"dashed, sized as 1 unit wide", 3, 21, 10},
    };
    const Point tip{180, 50};
    for (const Case& c : cases) {
        const QImage image = Paint({220, 100}, [&](const DrawContext& dc) {
            DrawLineWithEnds(dc, {20, 50}, tip, c.lineType, kFivePoints, {1, 1, 1}, {}, kBlue);
        });
        int checked = 0;
        for (int x = int(tip.x - c.length) + 1; x < tip.x; ++x) {
            for (int y = 20; y < 80; ++y) {
                const double cx = x + 0.5;
                const double cy = y + 0.5;
                const double half = c.halfWidth * (tip.x - cx) / c.length;
                const double off = std::abs(cy - tip.y);
                if (off < half - 1) {
                    ASSERT_EQ(image.pixel(x, y), kBluePixel) << c.name << " at " << x << ", " << y;
                    ++checked;
                } else if (off > half + 1) {
                    ASSERT_EQ(image.pixel(x, y), kWhitePixel) << c.name << " at " << x << ", " << y;
                }
            }
        }
        EXPECT_GT(checked, int(c.length * c.halfWidth * 0.7)) << c.name;
        // The base edge sits L before the tip.
        EXPECT_EQ(PixelAt(image, tip.x - c.length + 1.5, tip.y + c.halfWidth - 3), kBluePixel)
            << c.name;
        EXPECT_EQ(PixelAt(image, tip.x - c.length - 1.5, tip.y + c.halfWidth - 3), kWhitePixel)
            << c.name;
    }
}

TEST(LineEnds, ThickLineEndsInsideTheArrowheadInEveryDirection)
{
    // A 6 mm stroke with round or flat caps would reach far past a tip it were not
    // clipped to; the head's own fill ends exactly at the tip. The far end keeps its cap.
    const Point centre{150, 150};
    for (int degrees = 0; degrees < 360; degrees += 45) {
        const double a = degrees * std::numbers::pi / 180;
        const double ux = std::cos(a);
        const double uy = std::sin(a);
        const Point tip{centre.x + RoundCoord(100 * ux), centre.y + RoundCoord(100 * uy)};
        const Point from{centre.x - RoundCoord(100 * ux), centre.y - RoundCoord(100 * uy)};
        for (int32_t lineType : {1, 2}) {
            for (uint8_t type : {1, 4}) {
                const QImage image = Paint({300, 300}, [&](const DrawContext& dc) {
                    DrawLineWithEnds(dc, from, tip, lineType, 60, {type, 1, 1}, {}, kBlue);
                });
                for (int y = 0; y < 300; ++y) {
                    for (int x = 0; x < 300; ++x) {
                        const double along = (x + 0.5 - tip.x) * ux + (y + 0.5 - tip.y) * uy;
                        if (along > 1.0) {
                            ASSERT_EQ(image.pixel(x, y), kWhitePixel)
                                << degrees << " degrees, line type " << lineType << ", end type "
                                << int(type) << " at " << x << ", " << y;
                        }
                    }
                }
                // Just inside the far end the full stroke width is painted.
                const double inX = from.x + 3 * ux - 25 * uy;
                const double inY = from.y + 3 * uy + 25 * ux;
                EXPECT_EQ(PixelAt(image, inX, inY), kBluePixel)
                    << degrees << " degrees, line type " << lineType;
                if (lineType == 1) {
                    // The round cap beyond the far end survives the clip.
                    EXPECT_EQ(PixelAt(image, from.x - 20 * ux, from.y - 20 * uy), kBluePixel)
                        << degrees << " degrees";
                }
            }
        }
    }
}

TEST(LineEnds, HollowEndsAreWhiteInsideAndBlackOnAWhiteLine)
{
    // Sampled 6 units behind the tip on the line's axis, where the line itself runs until
    // the decoration's inside paints over it.
    const QRgb kRedPixel = 0xFFFF0000;
    struct Colour {
        uint32_t line;
        QRgb pixel;
    } colours[] = {{0x000000, 0xFF000000}, {0x0000FF, kRedPixel}, {0xFFFFFF, kWhitePixel}};
    const Point tip{150, 50};
    for (const Colour& colour : colours) {
        for (uint8_t type = 1; type <= 11; ++type) {
            if (type == 3) {
                continue; // open: nothing inside to paint
            }
            const QImage image = Paint(
                {200, 100},
                [&](const DrawContext& dc) {
                    DrawLineWithEnds(dc, {20, 50}, tip, 1, 2, {type, 1, 1}, {}, colour.line);
                },
                kGreyPixel);
            const bool hollow = type == 2 || type == 5 || type == 7 || type == 9 || type == 11;
            const QRgb inside = !hollow                   ? colour.pixel
                                : colour.line == 0xFFFFFF ? 0xFF000000
                                                          : kWhitePixel;
            EXPECT_EQ(image.pixel(tip.x - 6, tip.y), inside)
                << "type " << int(type) << ", line colour " << std::hex << colour.line;
        }
    }
    // The open arrowhead strokes its sides and leaves the page between them and the line.
    const QImage open = Paint(
        {200, 100},
        [&](const DrawContext& dc) {
            DrawLineWithEnds(dc, {20, 50}, tip, 1, 2, {3, 3, 3}, {}, kBlue);
        },
        kGreyPixel);
    EXPECT_EQ(open.pixel(tip.x - 20, tip.y - 6), kGreyPixel);
    EXPECT_EQ(open.pixel(tip.x - 20, tip.y), kBluePixel);
}

// The painted extent of colour around p along the row and the column through it.
struct Extent {
    int left, right, top, bottom;
};
Extent PaintedExtent(const QImage& image, Point p, QRgb colour)
{
    Extent e{p.x, p.x, p.y, p.y};
    while (e.left > 0 && image.pixel(e.left - 1, p.y) == colour) {
        --e.left;
    }
    while (e.right + 1 < image.width() && image.pixel(e.right + 1, p.y) == colour) {
        ++e.right;
    }
    while (e.top > 0 && image.pixel(p.x, e.top - 1) == colour) {
        --e.top;
    }
    while (e.bottom + 1 < image.height() && image.pixel(p.x, e.bottom + 1) == colour) {
        ++e.bottom;
    }
    return e;
}

TEST(LineEnds, EllipseEndStaysUprightOnADiagonalLine)
{
    // Dashed line, sizes 3 along and 1 across: L = 33 (16 each way), H = 10. An ellipse
    // turned with the line would reach equally far along x and y.
    const Point tip{150, 150};
    for (const Point from : {Point{30, 40}, Point{270, 40}, Point{40, 270}, Point{270, 260}}) {
        const QImage image = Paint({300, 300}, [&](const DrawContext& dc) {
            DrawLineWithEnds(dc, from, tip, 3, 1, {10, 3, 1}, {}, kBlue);
        });
        const Extent e = PaintedExtent(image, tip, kBluePixel);
        EXPECT_NEAR(e.left, tip.x - 16, 1) << from.x << ", " << from.y;
        EXPECT_NEAR(e.right, tip.x + 15, 1) << from.x << ", " << from.y;
        EXPECT_NEAR(e.top, tip.y - 10, 1) << from.x << ", " << from.y;
        EXPECT_NEAR(e.bottom, tip.y + 9, 1) << from.x << ", " << from.y;
    }
}

TEST(LineEnds, LineTypeZeroDrawsNeitherLineNorEnds)
{
    const QImage image = Paint({200, 100}, [](const DrawContext& dc) {
        DrawLineWithEnds(dc, {20, 50}, {180, 50}, 0, 18, {1, 3, 3}, {10, 3, 3}, kBlue);
    });
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ASSERT_EQ(image.pixel(x, y), kWhitePixel) << x << ", " << y;
        }
    }
}

TEST(LineEnds, ArrowStepsCarryArrowheadsAtTheEndsTheyAskFor)
{
    // 5 pt solid: the stroke reaches 9 units to each side, an arrowhead (38 long, 19 to
    // each side) 15 units at 30 units behind its tip; sampled 12 units off the axis there.
    const Point p1{40, 60};
    const Point p2{260, 60};
    struct Case {
        uint16_t arrows;
        bool atP1, atP2;
    } cases[] = {{0, false, false}, {1, true, false}, {2, false, true}, {3, true, true}};
    for (const Case& c : cases) {
        const QImage image = Paint({300, 120}, [&](const DrawContext& dc) {
            ArrowStepDrawer drawer(dc, 1, kFivePoints, kBlue);
            drawer.ArrowLine(p1, p2, c.arrows);
        });
        EXPECT_EQ(image.pixel(p1.x + 30, p1.y + 12) == kBluePixel, c.atP1) << c.arrows;
        EXPECT_EQ(image.pixel(p2.x - 30, p2.y - 12) == kBluePixel, c.atP2) << c.arrows;
        EXPECT_EQ(image.pixel((p1.x + p2.x) / 2, p1.y), kBluePixel) << c.arrows;
    }
}

// --- Reference sheets ----------------------------------------------------------------

struct Sheet {
    const char* name;
    int32_t lineType;
    int32_t widthUnits;
    QSize cell;    // document units
    int32_t inset; // from the cell's sides to the line's ends
    double dpi;
};

// Every end type (rows 0..11) at the nine sizes of the line-end dialog (columns: entry
// i has size1 = i mod 3 + 1, size2 = i div 3 + 1), at both ends of a level line.
void DrawSheet(const DrawContext& dc, const Sheet& sheet)
{
    const QSize cell = sheet.cell;
    for (uint8_t type = 0; type <= 11; ++type) {
        for (int entry = 0; entry < 9; ++entry) {
            const LineEnd end{type, uint8_t(entry % 3 + 1), uint8_t(entry / 3 + 1)};
            const int32_t y = type * cell.height() + cell.height() / 2;
            const int32_t left = entry * cell.width();
            DrawLineWithEnds(dc, {left + sheet.inset, y}, {left + cell.width() - sheet.inset, y},
                             sheet.lineType, sheet.widthUnits, end, end, 0x803000);
        }
    }
}

// The sheet drawn at its resolution and compared with tests/data/<name>.png.
testsupport::ReferencePicture SheetPicture(const Sheet& sheet)
{
    return {{sheet.name}, [sheet] {
                const double scale = sheet.dpi / kOnePixelPerUnit;
                const QSize size(int(sheet.cell.width() * 9 * scale),
                                 int(sheet.cell.height() * 12 * scale));
                return Paint(
                    size, [&](const DrawContext& dc) { DrawSheet(dc, sheet); }, kWhitePixel, true,
                    sheet.dpi);
            }};
}

// 5 pt solid (w = 18: heads up to 62 long and 31 to each side), drawn at half a pixel
// per unit, and dashed (w counts as 1: heads up to 33 long and 16 to each side), drawn
// one pixel per unit. Each line is long enough for two of the longest heads.
using testsupport::ReferencePictures;

INSTANTIATE_TEST_SUITE_P(
    LineEndSheets, ReferencePictures,
    testing::Values(SheetPicture({"lineends-thick", 1, kFivePoints, {260, 90}, 40, 127.0}),
                    SheetPicture({"lineends-dashed", 3, kFivePoints, {150, 50}, 30, 254.0})),
    testsupport::CaseName());

} // namespace
} // namespace figures
