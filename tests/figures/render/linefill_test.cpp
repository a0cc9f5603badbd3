#include "figures/render/colour.h"
#include "figures/render/styles/fillstyle.h"
#include "figures/render/styles/linestyle.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace figures {
namespace {

// ---- colours ----

TEST(Colour, LightenColour_MixesEachChannelTowardWhite)
{
    struct Case {
        uint32_t colour;
        int32_t percent;
        uint32_t expected;
    } cases[] = {
        {0x00123456, 0, 0x00123456},
        {0x00000000, 0, 0x00000000},
        {0x00FFFFFF, 0, 0x00FFFFFF},
        {0x00123456, 100, 0x00FFFFFF},
        // n = 51: blue 200 -> 255 - floor(55 * 204 * 66049 / 2^24) = 255 - 44,
        // green 128 -> 255 - 101, red 0 -> 255 - 204.
        {0x00C88000, 20, 0x00D39A33},
        // n = MulDiv(50, 255, 100) rounds 127.5 up to 128, which gives 0x80, not 0x7F.
        {0x00000000, 50, 0x00808080},
        // n = 102: 255 - floor(255 * 153 * 66049 / 2^24) = 255 - 153.
        {0x00000000, 40, 0x00666666},
        // The marker byte does not survive.
        {kNoColour, 0, 0x00FFFFFF},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LightenColour(c.colour, c.percent), c.expected)
            << std::hex << c.colour << " at " << std::dec << c.percent << "%";
    }
}

TEST(Colour, ScaleColour_ZeroFactorsGiveBlackAndChannelsClamp)
{
    struct Case {
        uint32_t colour;
        int32_t num, den;
        uint32_t expected;
    } cases[] = {
        {0x00FFFFFF, 0, 255, 0},
        {0x00FFFFFF, 205, 0, 0},
        // 255 * 205 / 255, 128 * 205 / 255 = 102.9, 64 * 205 / 255 = 51.45.
        {0x00FF8040, 205, 255, 0x00CD6733},
        // 255 * 155 / 255, 128 * 155 / 255 = 77.8, 64 * 155 / 255 = 38.9.
        {0x00FF8040, 155, 255, 0x009B4E27},
        {0x00808080, 3, 1, 0x00FFFFFF},
        {0x00102030, -1, 1, 0},
        {0x00102030, 1, 1, 0x00102030},
        {0xFF102030, 1, 1, 0x00102030},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScaleColour(c.colour, c.num, c.den), c.expected)
            << std::hex << c.colour << " * " << std::dec << c.num << " / " << c.den;
    }
}

TEST(Colour, ToQColor_ReadsRedFromTheLowByteAndIsOpaque)
{
    EXPECT_EQ(ToQColor(0x00FF8040), QColor(0x40, 0x80, 0xFF));
    EXPECT_EQ(ToQColor(0x00FF8040).alpha(), 255);
    EXPECT_EQ(ToQColor(kDefaultColour), QColor(0, 0, 0));
}

// ---- line types ----

TEST(LineStyle, LinePen_SolidTypesScaleWithTheDocument)
{
    EXPECT_EQ(LinePen(0, 40, 0x0000FF).style(), Qt::NoPen);

    const QPen round = LinePen(1, 40, 0x0000FF);
    EXPECT_EQ(round.style(), Qt::SolidLine);
    EXPECT_FALSE(round.isCosmetic());
    EXPECT_EQ(round.widthF(), 40.0);
    EXPECT_EQ(round.capStyle(), Qt::RoundCap);
    EXPECT_EQ(round.joinStyle(), Qt::RoundJoin);
    EXPECT_EQ(round.color(), QColor(255, 0, 0));

    const QPen square = LinePen(2, 17, 0x00FF00);
    EXPECT_EQ(square.style(), Qt::SolidLine);
    EXPECT_FALSE(square.isCosmetic());
    EXPECT_EQ(square.widthF(), 17.0);
    EXPECT_EQ(square.capStyle(), Qt::FlatCap);
    EXPECT_EQ(square.joinStyle(), Qt::RoundJoin);
    EXPECT_EQ(square.color(), QColor(0, 255, 0));
}

TEST(LineStyle, LinePen_DashedTypesAreOnePixelWhateverTheWidth)
{
    struct Case {
        int32_t type;
        QList<qreal> dashes;
    } cases[] = {
        {3, {18, 6}},
        {4, {3, 3}},
        {5, {9, 6, 3, 6}},
        {6, {9, 3, 3, 3, 3, 3}},
        {7, {9, 3, 3, 3, 3, 3}},
        {1000, {9, 3, 3, 3, 3, 3}},
        {-1, {9, 3, 3, 3, 3, 3}},
    };
    for (const Case& c : cases) {
        for (int32_t width : {0, 5, 500}) {
            const QPen pen = LinePen(c.type, width, 0xFF0000);
            EXPECT_TRUE(pen.isCosmetic()) << c.type << " width " << width;
            EXPECT_EQ(pen.widthF(), 0.0) << c.type << " width " << width;
            EXPECT_EQ(pen.style(), Qt::CustomDashLine) << c.type;
            EXPECT_EQ(pen.dashPattern(), c.dashes) << c.type;
            EXPECT_EQ(pen.color(), QColor(0, 0, 255)) << c.type;
        }
    }
}

// Lengths of the alternating runs of non-white pixels and white pixels along row y,
// starting with a run of ink at x = 0.
std::vector<int> RunLengths(const QImage& image, int y)
{
    std::vector<int> runs;
    bool ink = true;
    int length = 0;
    for (int x = 0; x < image.width(); ++x) {
        const bool pixelInk = image.pixel(x, y) != qRgb(255, 255, 255);
        if (pixelInk != ink) {
            runs.push_back(length);
            ink = pixelInk;
            length = 0;
        }
        ++length;
    }
    runs.push_back(length);
    return runs;
}

TEST(LineStyle, LinePen_DashesStayInDevicePixelsWhenZoomed)
{
    QImage image(60, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.scale(4, 4);
        painter.setPen(LinePen(3, 50, 0x000000));
        painter.drawLine(QPointF(0, 2.5), QPointF(15, 2.5));
    }
    // A row without ink is one empty ink run followed by one white run.
    int inkRows = 0;
    for (int y = 0; y < image.height(); ++y) {
        inkRows += RunLengths(image, y).size() > 2 ? 1 : 0;
    }
    EXPECT_EQ(inkRows, 1);
    const std::vector<int> runs = RunLengths(image, 10);
    ASSERT_GE(runs.size(), 4u);
    EXPECT_EQ(runs[0], 18);
    EXPECT_EQ(runs[1], 6);
    EXPECT_EQ(runs[2], 18);
    EXPECT_EQ(runs[3], 6);
}

TEST(LineStyle, LineTypeTable_NamesAndWidthUse)
{
    EXPECT_EQ(LineTypeCount(), 7);
    EXPECT_STREQ(LineTypeName(0), "空线");
    EXPECT_STREQ(LineTypeName(1), "圆头实线");
    EXPECT_STREQ(LineTypeName(6), "双点划线");
    EXPECT_EQ(LineTypeName(-1), nullptr);
    EXPECT_EQ(LineTypeName(7), nullptr);

    for (int32_t type = -2; type <= 8; ++type) {
        EXPECT_EQ(LineTypeUsesWidth(type), type == 1 || type == 2) << type;
    }
}

// ---- fill patterns ----

constexpr uint32_t kRed = 0x000000FF;
constexpr uint32_t kBlue = 0x00FF0000;

// The tile as text, '#' for foreground and '.' for background, one string per row.
std::vector<std::string> Picture(const QImage& tile, QRgb foreground)
{
    std::vector<std::string> rows;
    for (int y = 0; y < tile.height(); ++y) {
        std::string row;
        for (int x = 0; x < tile.width(); ++x) {
            row += tile.pixel(x, y) == foreground ? '#' : '.';
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(FillStyle, FillPatternImage_FiftyPercentIsAPixelCheckerboard)
{
    const std::optional<QImage> tile = FillPatternImage(12, 0x000000, 0xFFFFFF);
    ASSERT_TRUE(tile.has_value());
    ASSERT_EQ(tile->size(), QSize(8, 8));
    EXPECT_FALSE(tile->hasAlphaChannel());
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const QRgb expected = (x + y) % 2 == 0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
            EXPECT_EQ(tile->pixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST(FillStyle, FillPatternImage_ZeroBitsAreForegroundLeftmostFirst)
{
    struct Case {
        int32_t pattern;
        std::vector<std::string> picture;
    } cases[] = {
        {6,
         {"........", "........", "........", "..#.....", "........", "........", "........",
          "......#."}},
        {53,
         {"..#####.", "...###..", "....#...", "........", "....#...", "...###..", "..#####.",
          ".#######"}},
        {22,
         {"#.....##", ".....###", "....###.", "...###..", "..###...", ".###....", "###.....",
          "##.....#"}},
    };
    for (const Case& c : cases) {
        const std::optional<QImage> tile = FillPatternImage(c.pattern, kRed, kBlue);
        ASSERT_TRUE(tile.has_value()) << c.pattern;
        EXPECT_EQ(Picture(*tile, qRgb(255, 0, 0)), c.picture) << c.pattern;
        // The rest is background, not some third colour.
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                const QRgb p = tile->pixel(x, y);
                EXPECT_TRUE(p == qRgb(255, 0, 0) || p == qRgb(0, 0, 255)) << c.pattern;
            }
        }
    }
}

// The x of each foreground pixel of a row, left to right.
std::vector<int> ForegroundColumns(const QImage& tile, int y, QRgb foreground)
{
    std::vector<int> columns;
    for (int x = 0; x < tile.width(); ++x) {
        if (tile.pixel(x, y) == foreground) {
            columns.push_back(x);
        }
    }
    return columns;
}

int ForegroundCount(const QImage& tile, QRgb foreground)
{
    int count = 0;
    for (int y = 0; y < tile.height(); ++y) {
        count += static_cast<int>(ForegroundColumns(tile, y, foreground).size());
    }
    return count;
}

int FullRows(const QImage& tile, QRgb foreground)
{
    int rows = 0;
    for (int y = 0; y < tile.height(); ++y) {
        rows += ForegroundColumns(tile, y, foreground).size() == 8 ? 1 : 0;
    }
    return rows;
}

int FullColumns(const QImage& tile, QRgb foreground)
{
    return FullRows(tile.transformed(QTransform(0, 1, 1, 0, 0, 0)), foreground);
}

// True when the tile holds one foreground pixel per row and each row's pixel sits
// step columns right of the one above, wrapping around the tile so that tiles join
// into an unbroken diagonal.
bool IsDiagonal(const QImage& tile, QRgb foreground, int step)
{
    for (int y = 0; y < 8; ++y) {
        const std::vector<int> here = ForegroundColumns(tile, y, foreground);
        const std::vector<int> below = ForegroundColumns(tile, (y + 1) % 8, foreground);
        if (here.size() != 1 || below.size() != 1 || below[0] != (here[0] + step + 8) % 8) {
            return false;
        }
    }
    return true;
}

TEST(FillStyle, FillPatternImage_HatchesAreOnePixelLines)
{
    const QRgb fore = qRgb(255, 0, 0);
    auto hatch = [](int32_t pattern) {
        const std::optional<QImage> tile = FillPatternImage(pattern, kRed, kBlue);
        EXPECT_TRUE(tile.has_value()) << pattern;
        return tile.value_or(QImage());
    };

    // 0: rising from bottom left to top right, so each row down steps one column left.
    EXPECT_TRUE(IsDiagonal(hatch(0), fore, -1));
    // 3: falling from top left to bottom right.
    EXPECT_TRUE(IsDiagonal(hatch(3), fore, +1));

    const QImage cross = hatch(1);
    EXPECT_EQ(FullRows(cross, fore), 1);
    EXPECT_EQ(FullColumns(cross, fore), 1);
    EXPECT_EQ(ForegroundCount(cross, fore), 15);

    const QImage horizontal = hatch(4);
    EXPECT_EQ(FullRows(horizontal, fore), 1);
    EXPECT_EQ(ForegroundCount(horizontal, fore), 8);

    const QImage vertical = hatch(5);
    EXPECT_EQ(FullColumns(vertical, fore), 1);
    EXPECT_EQ(ForegroundCount(vertical, fore), 8);

    // 2 is both diagonals: every foreground pixel lies on one of the two lines through
    // the top row's pixels, and each line is unbroken.
    const QImage diagCross = hatch(2);
    const std::vector<int> top = ForegroundColumns(diagCross, 0, fore);
    ASSERT_EQ(top.size(), 2u);
    auto onLines = [&](int rising, int falling) {
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                const bool expected = x == (rising - y + 8) % 8 || x == (falling + y) % 8;
                if ((diagCross.pixel(x, y) == fore) != expected) {
                    return false;
                }
            }
        }
        return true;
    };
    EXPECT_TRUE(onLines(top[0], top[1]) || onLines(top[1], top[0]));
}

TEST(FillStyle, FillPatternTable_NamesAndRange)
{
    EXPECT_EQ(FillPatternCount(), 54);
    EXPECT_STREQ(FillPatternName(0), "右斜线");
    EXPECT_STREQ(FillPatternName(5), "竖线");
    EXPECT_STREQ(FillPatternName(6), "5%色点");
    EXPECT_STREQ(FillPatternName(53), "实心菱形");
    EXPECT_EQ(FillPatternName(-1), nullptr);
    EXPECT_EQ(FillPatternName(54), nullptr);

    for (int32_t pattern : {-1, 54, 1000}) {
        EXPECT_FALSE(FillPatternImage(pattern, 0, 0xFFFFFF).has_value()) << pattern;
        EXPECT_FALSE(MakeFillBrush(pattern, 0, 0xFFFFFF).has_value()) << pattern;
    }
    for (int32_t pattern = 0; pattern < FillPatternCount(); ++pattern) {
        const std::optional<QBrush> brush = MakeFillBrush(pattern, kRed, kBlue);
        ASSERT_TRUE(brush.has_value()) << pattern;
        EXPECT_EQ(brush->style(), Qt::TexturePattern) << pattern;
        EXPECT_EQ(brush->textureImage().convertToFormat(QImage::Format_RGB32),
                  *FillPatternImage(pattern, kRed, kBlue))
            << pattern;
    }
}

TEST(FillStyle, DialogVocabulary_EndsOfEachList)
{
    struct Case {
        const char* (*name)(int32_t);
        int32_t count;
        const char* first;
        const char* last;
    } cases[] = {
        {FillKindName, 5, "默认", "透明"},
        {ShadowDirectionName, 9, "无阴影", "左"},
        {PicturePlacementName, 13, "缩放", "无变形缩放居中"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(c.name(0), c.first);
        EXPECT_STREQ(c.name(c.count - 1), c.last);
        for (int32_t i = 0; i < c.count; ++i) {
            EXPECT_NE(c.name(i), nullptr) << c.first << " " << i;
        }
        EXPECT_EQ(c.name(-1), nullptr) << c.first;
        EXPECT_EQ(c.name(c.count), nullptr) << c.first;
    }
    EXPECT_STREQ(ShadowDirectionName(5), "右下");
    EXPECT_STREQ(PicturePlacementName(10), "平辅");
}

// Fills a 48×48 white image through a painter that translates and zooms by 3, with
// the pattern brush as given or corrected for the world transform.
QImage PaintZoomed(int32_t pattern, bool devicePixels)
{
    QImage image(48, 48, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(5, 7);
    painter.scale(3, 3);
    QBrush brush = *MakeFillBrush(pattern, kRed, kBlue);
    if (devicePixels) {
        brush = DevicePixelBrush(brush, painter.worldTransform());
    }
    painter.fillRect(QRectF(-5, -5, 30, 30), brush);
    return image;
}

TEST(FillStyle, DevicePixelBrush_KeepsTheTileAtEightDevicePixels)
{
    for (int32_t pattern : {0, 12, 53}) {
        const QImage tile = *FillPatternImage(pattern, kRed, kBlue);
        const QImage corrected = PaintZoomed(pattern, true);
        int mismatches = 0;
        for (int y = 0; y < corrected.height(); ++y) {
            for (int x = 0; x < corrected.width(); ++x) {
                // Anchored at the device origin, not at the translated document origin.
                mismatches += corrected.pixel(x, y) != tile.pixel(x % 8, y % 8) ? 1 : 0;
            }
        }
        EXPECT_EQ(mismatches, 0) << pattern;
        // Left to itself the brush would zoom with the painter.
        EXPECT_NE(PaintZoomed(pattern, false), corrected) << pattern;
    }

    // A world transform that cannot be inverted leaves the brush alone.
    const QBrush brush = *MakeFillBrush(12, 0, 0xFFFFFF);
    EXPECT_EQ(DevicePixelBrush(brush, QTransform(0, 0, 0, 0, 0, 0)).transform(), QTransform());
}

} // namespace
} // namespace figures
