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

// Every tile, bit for bit: rows top to bottom, bit 7 the leftmost pixel, a 1 bit
// background. Any single changed bit in the pattern table must fail here.
// clang-format off
constexpr uint8_t kExpectedTiles[54][8] = {
        /*  0 */ {0xFE, 0xFD, 0xFB, 0xF7, 0xEF, 0xDF, 0xBF, 0x7F},
        /*  1 */ {0xF7, 0xF7, 0xF7, 0xF7, 0xF7, 0xF7, 0xF7, 0x00},
        /*  2 */ {0x7E, 0xBD, 0xDB, 0xE7, 0xE7, 0xDB, 0xBD, 0x7E},
        /*  3 */ {0x7F, 0xBF, 0xDF, 0xEF, 0xF7, 0xFB, 0xFD, 0xFE},
        /*  4 */ {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00},
        /*  5 */ {0xF7, 0xF7, 0xF7, 0xF7, 0xF7, 0xF7, 0xF7, 0xF7},
        /*  6 */ {0xFF, 0xFF, 0xFF, 0xDF, 0xFF, 0xFF, 0xFF, 0xFD},
        /*  7 */ {0xEF, 0xFF, 0xFE, 0xFF, 0xEF, 0xFF, 0xFE, 0xFF},
        /*  8 */ {0xBB, 0xFF, 0xEE, 0xFF, 0xBB, 0xFF, 0xEE, 0xFF},
        /*  9 */ {0xEE, 0xBB, 0xEE, 0xBB, 0xEE, 0xBB, 0xEE, 0xBB},
        /* 10 */ {0xAA, 0x77, 0xAA, 0xDD, 0xAA, 0x77, 0xAA, 0xDD},
        /* 11 */ {0xAA, 0x55, 0xAA, 0x75, 0xAA, 0x55, 0xAA, 0x57},
        /* 12 */ {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA},
        /* 13 */ {0x44, 0xAA, 0x11, 0xAA, 0x44, 0xAA, 0x11, 0xAA},
        /* 14 */ {0x44, 0x11, 0x44, 0x11, 0x44, 0x11, 0x44, 0x11},
        /* 15 */ {0x88, 0x00, 0x22, 0x00, 0x88, 0x00, 0x22, 0x00},
        /* 16 */ {0x00, 0x40, 0x00, 0x04, 0x00, 0x40, 0x00, 0x04},
        /* 17 */ {0x00, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x08},
        /* 18 */ {0xEE, 0xDD, 0xBB, 0x77, 0xEE, 0xDD, 0xBB, 0x77},
        /* 19 */ {0xDD, 0xEE, 0x77, 0xBB, 0xDD, 0xEE, 0x77, 0xBB},
        /* 20 */ {0xCC, 0x99, 0x33, 0x66, 0xCC, 0x99, 0x33, 0x66},
        /* 21 */ {0xCC, 0x66, 0x33, 0x99, 0xCC, 0x66, 0x33, 0x99},
        /* 22 */ {0x7C, 0xF8, 0xF1, 0xE3, 0xC7, 0x8F, 0x1F, 0x3E},
        /* 23 */ {0x8F, 0xC7, 0xE3, 0xF1, 0xF8, 0x7C, 0x3E, 0x1F},
        /* 24 */ {0xDD, 0xDD, 0xDD, 0xDD, 0xDD, 0xDD, 0xDD, 0xDD},
        /* 25 */ {0x00, 0xFF, 0xFF, 0xFF, 0x00, 0xFF, 0xFF, 0xFF},
        /* 26 */ {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA},
        /* 27 */ {0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF},
        /* 28 */ {0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99},
        /* 29 */ {0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF},
        /* 30 */ {0xBB, 0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0xEE, 0xDD},
        /* 31 */ {0xFF, 0xFF, 0xFF, 0xFF, 0x77, 0xBB, 0xDD, 0xEE},
        /* 32 */ {0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF, 0x0F, 0xFF},
        /* 33 */ {0x7F, 0x7F, 0x7F, 0x7F, 0xF7, 0xF7, 0xF7, 0xF7},
        /* 34 */ {0xDF, 0xFB, 0x7F, 0xF7, 0xBF, 0xFD, 0xEF, 0xFE},
        /* 35 */ {0x27, 0x3F, 0xF3, 0x72, 0x4E, 0xCF, 0xFC, 0xE4},
        /* 36 */ {0x7B, 0xFC, 0xCF, 0xB7, 0x7B, 0xFC, 0xCF, 0xB7},
        /* 37 */ {0xFF, 0xFC, 0x5B, 0xE7, 0xFF, 0xFC, 0x5B, 0xE7},
        /* 38 */ {0x7F, 0xFE, 0xFC, 0x7B, 0xB7, 0xCF, 0xDF, 0xBF},
        /* 39 */ {0x00, 0xEF, 0xEF, 0xEF, 0x00, 0xFE, 0xFE, 0xFE},
        /* 40 */ {0xBB, 0xD5, 0xEE, 0x75, 0xBB, 0x57, 0xEE, 0x7D},
        /* 41 */ {0xE1, 0xE1, 0xE1, 0xE1, 0xAA, 0x55, 0xAA, 0x55},
        /* 42 */ {0xFB, 0xFD, 0xFF, 0xBF, 0xDF, 0xBF, 0xFF, 0xFD},
        /* 43 */ {0xFD, 0xFF, 0xFD, 0xFF, 0x55, 0xFF, 0xFD, 0xFF},
        /* 44 */ {0x77, 0xFF, 0xDF, 0xFF, 0x77, 0xFF, 0xFD, 0xFF},
        /* 45 */ {0xF3, 0xED, 0xDE, 0x3F, 0xCF, 0xF7, 0xFB, 0xFB},
        /* 46 */ {0x00, 0x99, 0x00, 0x66, 0x00, 0x99, 0x00, 0x66},
        /* 47 */ {0x22, 0x9D, 0x3C, 0x3C, 0x22, 0xD9, 0xC1, 0xC1},
        /* 48 */ {0xBB, 0xBB, 0x00, 0xBB, 0xBB, 0xBB, 0x00, 0xBB},
        /* 49 */ {0xBF, 0xBF, 0xBF, 0xBF, 0x00, 0xBF, 0xBF, 0xBF},
        /* 50 */ {0xCC, 0x33, 0x33, 0xCC, 0xCC, 0x33, 0x33, 0xCC},
        /* 51 */ {0x87, 0x87, 0x87, 0x87, 0x78, 0x78, 0x78, 0x78},
        /* 52 */ {0xBE, 0x7F, 0xBE, 0xDD, 0xEB, 0xF7, 0xEB, 0xDD},
        /* 53 */ {0xC1, 0xE3, 0xF7, 0xFF, 0xF7, 0xE3, 0xC1, 0x80},
};
// clang-format on

TEST(FillStyle, EveryPatternTileMatchesItsBits)
{
    ASSERT_EQ(FillPatternCount(), 54);
    const uint32_t foreground = 0x000000FF; // red
    const uint32_t background = 0x00FF0000; // blue
    for (int32_t pattern = 0; pattern < 54; ++pattern) {
        const std::optional<QImage> tile = FillPatternImage(pattern, foreground, background);
        ASSERT_TRUE(tile.has_value()) << pattern;
        ASSERT_EQ(tile->size(), QSize(8, 8)) << pattern;
        for (int y = 0; y < 8; ++y) {
            uint8_t bits = 0;
            for (int x = 0; x < 8; ++x) {
                const QRgb pixel = tile->pixel(x, y);
                ASSERT_TRUE(pixel == qRgb(255, 0, 0) || pixel == qRgb(0, 0, 255))
                    << pattern << " at " << x << ", " << y;
                if (pixel == qRgb(0, 0, 255)) {
                    bits |= uint8_t(0x80 >> x);
                }
            }
            EXPECT_EQ(bits, kExpectedTiles[pattern][y]) << "pattern " << pattern << " row " << y;
        }
    }
}

} // namespace
} // namespace figures
