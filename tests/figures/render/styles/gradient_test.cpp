#include "figures/render/styles/gradient.h"

#include "figures/render/drawcontext.h"
#include "tests/figures/render/pictures/picturefiles.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace figures {
namespace {

using picturetest::kRed;

constexpr QRgb kCanvas = 0xFF808080;

QImage Canvas(int w = 200, int h = 130)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kCanvas);
    return image;
}

int CountNot(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            n += image.pixel(x, y) != colour;
        }
    }
    return n;
}

TEST(GradientColour, FollowsTheStopsSegmentBySegment)
{
    const std::vector<uint32_t> redBlue{0x0000FF, 0xFF0000};
    const std::vector<uint32_t> three{0x000000, 0x0000FF, 0x00FF00};
    const struct {
        const char* name;
        int32_t t;
        int32_t len;
        std::vector<uint32_t> stops;
        uint32_t expected;
    } cases[] = {
        {"start", 0, 100, redBlue, 0x0000FF},
        {"nearly the end, steps truncated", 99, 100, redBlue, 0xFC0003},
        {"middle", 50, 100, redBlue, 0x7F0080},
        {"past the last segment", 100, 100, redBlue, 0xFF0000},
        {"second stop exactly", 5, 10, three, 0x0000FF},
        {"inside the second segment", 7, 10, three, 0x006699},
        {"zero-length segments take the first stop", 0, 1, three, 0x000000},
        {"a zero length takes the first of two", 0, 0, redBlue, 0x0000FF},
        {"a single stop gives black", 3, 10, {0x123456}, 0x000000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(GradientColourAt(c.t, c.len, c.stops), c.expected);
    }
}

TEST(GradientTile, RunsInEachOfTheEightDirections)
{
    // An area of 10 x 6 pixels, black to white: each row names a pixel and the position t
    // and length len the mode gives it.
    const std::vector<uint32_t> stops{0x000000, 0xFFFFFF};
    const struct {
        int32_t mode;
        int x;
        int y;
        int32_t t;
        int32_t len;
    } cases[] = {
        {1, 3, 0, 0, 6},   {1, 3, 4, 4, 6},   {-1, 3, 5, 0, 6},  {-1, 3, 1, 4, 6},
        {2, 0, 2, 0, 10},  {2, 7, 2, 7, 10},  {-2, 9, 2, 0, 10}, {-2, 2, 2, 7, 10},
        {3, 0, 0, 0, 12},  {3, 4, 5, 9, 12},  {4, 9, 0, 0, 12},  {4, 5, 3, 7, 12},
        {-3, 9, 5, 0, 12}, {-3, 4, 2, 8, 12}, {-4, 0, 5, 0, 12}, {-4, 6, 1, 10, 12},
        {3, 9, 5, 14, 12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode * 100 + c.x * 10 + c.y);
        const QImage tile = GradientTile(c.mode, 10, 6, stops, {0, 0, 10, 6});
        ASSERT_EQ(tile.size(), QSize(10, 6));
        const uint32_t colour = GradientColourAt(c.t, c.len, stops);
        EXPECT_EQ(tile.pixel(c.x, c.y) & 0xFFFFFF,
                  (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF));
    }
    // A tile further in starts where the area says, not at zero.
    const QImage inner = GradientTile(2, 100, 10, stops, {60, 0, 70, 10});
    EXPECT_EQ(qRed(inner.pixel(0, 0)), int(GradientColourAt(60, 100, stops) & 0xFF));
    for (int32_t mode : {0, 5, -5}) {
        EXPECT_TRUE(GradientTile(mode, 10, 6, stops, {0, 0, 10, 6}).isNull()) << mode;
    }
    EXPECT_TRUE(GradientTile(2, 10, 6, std::vector<uint32_t>{0xFF}, {0, 0, 10, 6}).isNull());
}

TEST(GradientDraw, RedToBlueAcrossOneHundredPixels)
{
    const std::vector<uint32_t> stops{0x0000FF, 0xFF0000};
    QPainterPath region;
    region.addRect(10, 10, 100, 20);
    const struct {
        const char* name;
        Rect clip;
        bool secondTile;
    } cases[] = {
        {"everything", {}, true},
        {"clip box on the first tile only", {10, 10, 20, 20}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QImage canvas = Canvas();
        QPainter painter(&canvas);
        const DrawContext dc(painter, 254, 254); // one unit per pixel
        EXPECT_TRUE(DrawGradient(dc, region, c.clip, 2, stops));
        painter.end();
        EXPECT_EQ(canvas.pixel(10, 15), kRed);
        EXPECT_EQ(canvas.pixel(59, 29), qRgb(255 - 124, 0, 124)); // t = 49
        EXPECT_EQ(canvas.pixel(9, 15), kCanvas);
        EXPECT_EQ(canvas.pixel(10, 30), kCanvas);
        if (c.secondTile) {
            EXPECT_EQ(canvas.pixel(109, 15), qRgb(3, 0, 252));
            EXPECT_EQ(canvas.pixel(110, 15), kCanvas);
            EXPECT_EQ(CountNot(canvas, kCanvas), 100 * 20);
        } else {
            EXPECT_EQ(canvas.pixel(60, 15), kCanvas);
            EXPECT_EQ(CountNot(canvas, kCanvas), 50 * 20);
        }
    }
}

// On a screen with 1.5 pixels per device pixel, a region starting at an odd pixel puts the
// tiles' edges half-way through screen pixels: those pixels must take the gradient's colour
// only, not a blend with the canvas beneath.
TEST(GradientDraw, LeavesNoSeamsBetweenTilesAtAFractionalPixelRatio)
{
    const std::vector<uint32_t> stops{0x0000FF, 0xFF0000};
    // A shape's outline, not a rectangle, so that the clip it makes is one of spans.
    QPainterPath region;
    region.moveTo(11, 11);
    region.lineTo(162, 11);
    region.lineTo(162, 42);
    region.lineTo(11, 43);
    region.closeSubpath();
    QImage canvas(330, 90, QImage::Format_RGB32);
    canvas.setDevicePixelRatio(1.5);
    canvas.fill(kCanvas);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing, true);
    // As an editing view paints: clipped to the part being repainted.
    painter.setClipRect(QRect(0, 0, 220, 60));
    const DrawContext dc(painter, 254, 254);
    EXPECT_TRUE(DrawGradient(dc, region, {}, 2, stops));
    painter.end();
    int blended = 0;
    // The region's inside, its antialiased rim left out: red to blue, no green anywhere.
    for (int y = 18; y < 62; ++y) {
        for (int x = 18; x < 242; ++x) {
            blended += qGreen(canvas.pixel(x, y)) != 0;
        }
    }
    EXPECT_EQ(blended, 0);
    EXPECT_EQ(qGreen(canvas.pixel(10, 10)), 0x80);
}

TEST(GradientDraw, ClipsToTheRegionAndRefusesWhatIsNoGradient)
{
    const std::vector<uint32_t> stops{0x0000FF, 0xFF0000};
    QPainterPath triangle;
    triangle.moveTo(10, 10);
    triangle.lineTo(110, 10);
    triangle.lineTo(10, 110);
    triangle.closeSubpath();
    {
        QImage canvas = Canvas(130, 130);
        QPainter painter(&canvas);
        const DrawContext dc(painter, 254, 254);
        EXPECT_TRUE(DrawGradient(dc, triangle, {}, 1, stops));
        painter.end();
        EXPECT_EQ(canvas.pixel(12, 12), qRgb(250, 0, 5)); // t = 2 of 100
        EXPECT_EQ(canvas.pixel(100, 100), kCanvas);       // inside the box, outside the region
    }
    const struct {
        const char* name;
        int32_t mode;
        std::vector<uint32_t> stops;
    } refused[] = {
        {"single stop", 2, {0x0000FF}}, {"no stops", 2, {}},    {"mode 0", 0, stops},
        {"mode 5", 5, stops},           {"mode -5", -5, stops},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.name);
        QImage canvas = Canvas(130, 130);
        QPainter painter(&canvas);
        const DrawContext dc(painter, 254, 254);
        EXPECT_FALSE(DrawGradient(dc, triangle, {}, c.mode, c.stops));
        painter.end();
        EXPECT_EQ(CountNot(canvas, kCanvas), 0);
    }
}

TEST(GradientRecord, RoundTripsAndRefusesDamagedRecords)
{
    GradientRecord record;
    record.mode = -3;
    record.width = 120;
    record.height = 80;
    record.tile = {50, 0, 100, 50};
    record.stops = {0x0000FF, 0x00FF00, 0xFF0000};
    const std::vector<uint8_t> bytes = record.Write();
    ASSERT_EQ(bytes.size(), 2u + 4 + 4 * 3 + 16 + 4 * 3);
    EXPECT_EQ(bytes[0], 0x54); // "TC"
    EXPECT_EQ(bytes[1], 0x43);
    const auto back = GradientRecord::Read(bytes);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->mode, -3);
    EXPECT_EQ(back->width, 120);
    EXPECT_EQ(back->height, 80);
    EXPECT_EQ(back->tile.right, 100);
    EXPECT_EQ(back->stops, record.stops);
    EXPECT_EQ(back->Write(), bytes);

    GradientRecord none;
    EXPECT_EQ(none.Write().size(), 6u);
    ASSERT_TRUE(GradientRecord::Read(none.Write()).has_value());

    for (size_t n = 0; n < bytes.size(); ++n) {
        EXPECT_FALSE(GradientRecord::Read(std::span(bytes).first(n)).has_value()) << n;
    }
    std::vector<uint8_t> wrongMagic = bytes;
    wrongMagic[0] = 'X';
    EXPECT_FALSE(GradientRecord::Read(wrongMagic).has_value());
    for (uint32_t count : {0xFFFFFFFFu, 0x7FFFFFFFu, 257u}) {
        std::vector<uint8_t> hostile = bytes;
        picturetest::Set32(hostile, 14, count);
        EXPECT_FALSE(GradientRecord::Read(hostile).has_value()) << count;
    }
}

} // namespace
} // namespace figures
