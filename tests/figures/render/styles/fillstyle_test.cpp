#include "figures/render/styles/fillstyle.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace figures {
namespace {

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

TEST(FillStyle, FiftyPercentIsAPixelCheckerboard)
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

TEST(FillStyle, ZeroBitsAreForegroundLeftmostFirst)
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

TEST(FillStyle, HatchesAreOnePixelLines)
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

TEST(FillStyle, TableNamesItsPatternsAndMakesABrushOfEach)
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

TEST(FillStyle, DialogListsNameEveryEntryAndNothingBeyond)
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

TEST(FillStyle, DevicePixelBrushKeepsTheTileAtEightDevicePixels)
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
