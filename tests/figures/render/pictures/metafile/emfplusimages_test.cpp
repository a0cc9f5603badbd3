// Metafiles inside metafiles, images beyond their edges, and string formats of the newer
// metafile model.
#include "tests/figures/render/pictures/metafile/emfplusstrokescenes.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace figures {
namespace {

using namespace metafiletest;
using namespace metafiletest::plus;

constexpr uint32_t kPlusRed = 0xFFFF0000;
constexpr uint32_t kPlusBlue = 0xFF0000FF;
constexpr QRgb kRedPixel = qRgb(255, 0, 0);
constexpr QRgb kBluePixel = qRgb(0, 0, 255);
constexpr QRgb kWhitePixel = qRgb(255, 255, 255);

struct ColourRow {
    const char* what;
    QPoint at;
    QRgb colour;
};

void ExpectColours(const QImage& image, std::initializer_list<ColourRow> rows)
{
    for (const ColourRow& row : rows) {
        EXPECT_EQ(image.pixel(row.at), row.colour)
            << row.what << " at " << row.at.x() << "," << row.at.y();
    }
}

TEST(EmfPlusImages, AnEmbeddedMetafileDrawsInItsDestinationRectangle)
{
    // A red square of 96 pixels with a blue one in its right half, played into 48 x 48.
    const Bytes inner = SquarePicture(96, kPlusRed, [](EmfPlusRecords& p) {
        p.FillRects(kPlusBlue, true, {QRectF(48, 0, 48, 96)});
    });
    const QImage image = PlusPicture([&](EmfPlusRecords& p) {
        MetafileImage(p, 1, inner);
        p.DrawImage(1, QRectF(0, 0, 96, 96), QRectF(200, 100, 48, 48));
        // Only the left half of the picture, stretched over 48 x 48.
        p.DrawImage(1, QRectF(0, 0, 48, 96), QRectF(20, 20, 48, 48));
        // A placeable metafile of the older kind, 800 x 600 units, at a fifth of its size.
        MetafileImage(p, 2, WmfShapes());
        p.DrawImage(2, QRectF(0, 0, 800, 600), QRectF(200, 160, 160, 120));
    });
    ExpectColours(image, {
                             {"its left half", {212, 124}, kRedPixel},
                             {"its right half", {236, 124}, kBluePixel},
                             {"left of the rectangle", {196, 124}, kWhitePixel},
                             {"right of the rectangle", {252, 124}, kWhitePixel},
                             {"below the rectangle", {224, 152}, kWhitePixel},
                             {"part of it: the left half", {60, 44}, kRedPixel},
                             {"part of it: nothing of the right", {72, 44}, kWhitePixel},
                             {"the older kind: its first rectangle", {220, 172}, qRgb(255, 255, 0)},
                             {"the older kind: not above it", {220, 156}, kWhitePixel},
                         });
}

// A picture of `levels` squares, each drawing the next inside its middle half.
Bytes NestedSquares(int levels)
{
    const uint32_t colours[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00,
                                0xFF00FFFF, 0xFFFF00FF, 0xFF000000, 0xFF808080};
    Bytes picture;
    for (int level = levels - 1; level >= 0; --level) {
        picture = SquarePicture(96, colours[level % 8], [&](EmfPlusRecords& p) {
            if (!picture.empty()) {
                MetafileImage(p, 1, picture);
                p.DrawImage(1, QRectF(0, 0, 96, 96), QRectF(24, 24, 48, 48));
            }
        });
    }
    return picture;
}

TEST(EmfPlusImages, MetafilesNestedTooDeepOrTooOftenStop)
{
    // Four pictures deep inside the outer one, and no deeper.
    const QImage deep = PlusPicture([](EmfPlusRecords& p) {
        MetafileImage(p, 1, NestedSquares(7));
        p.DrawImage(1, QRectF(0, 0, 96, 96), QRectF(0, 0, 256, 256));
    });
    ExpectColours(deep,
                  {
                      {"the first picture", {4, 4}, kRedPixel},
                      {"the second", {68, 68}, qRgb(0, 255, 0)},
                      {"the third", {104, 104}, kBluePixel},
                      {"the fourth", {116, 116}, qRgb(255, 255, 0)},
                      {"the fifth and those in it are not drawn", {128, 128}, qRgb(255, 255, 0)},
                  });
    // A picture drawn over and over: its bytes played in all stay within a few times
    // those of the file.
    const Bytes padding(4000, 0);
    const Bytes inner = SquarePicture(96, kPlusBlue);
    const Bytes padded = EmfBuilder(QRect(0, 0, 97, 97), QRect(0, 0, 2541, 2541))
                             .Raw(70, Words({4000}) + padding)
                             .Comment(EmfPlusRecords()
                                          .Header(false)
                                          .FillRects(kPlusBlue, true, {QRectF(0, 0, 96, 96)})
                                          .TakeComment())
                             .Finish();
    const QImage often = PlusPicture([&](EmfPlusRecords& p) {
        MetafileImage(p, 1, padded);
        for (int i = 0; i < 40; ++i) {
            p.DrawImage(1, QRectF(0, 0, 96, 96), QRectF(8 * i, 0, 6, 6));
        }
    });
    EXPECT_EQ(often.pixel(3, 3), kBluePixel) << "the first drawing";
    EXPECT_EQ(often.pixel(8 * 39 + 3, 3), kWhitePixel) << "the last drawing";
    EXPECT_EQ(inner.size() < padded.size(), true);
}

TEST(EmfPlusImages, DamagedEmbeddedMetafilesAreSkipped)
{
    struct Case {
        const char* name;
        Bytes object;
    };
    const Bytes inner = SquarePicture(96, kPlusBlue);
    Bytes truncated = inner;
    truncated.resize(60);
    const Case cases[] = {
        {"a size beyond the record", Words({0xDBC01002u, 2, 3, 0x7FFFFFF0}) + inner},
        {"no metafile at all", Words({0xDBC01002u, 2, 3, 8, 1, 2})},
        {"a header cut short", Words({0xDBC01002u, 2, 3, uint32_t(truncated.size())}) + truncated},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage image = PlusPicture([&](EmfPlusRecords& p) {
            p.Record(0x4008, 0x0501, c.object);
            p.DrawImage(1, QRectF(0, 0, 96, 96), QRectF(0, 0, 48, 48));
            p.FillRects(0xFF00FF00, true, {QRectF(300, 200, 20, 20)});
        });
        EXPECT_EQ(image.pixel(24, 24), kWhitePixel);
        EXPECT_EQ(image.pixel(310, 210), qRgb(0, 255, 0)) << "the records after it still play";
    }
}

TEST(EmfPlusImages, ImagesBeyondTheirEdgesWrapOrClampAsTheirAttributesSay)
{
    // An 8 x 8 image of four quarters (red, blue / green, yellow) whose source reaches 8
    // pixels beyond its right edge, drawn 10 pixels a source pixel.
    const QImage image = PlusPicture([](EmfPlusRecords& p) {
        p.Image(1, Quarters(8, 8), false);
        ImageAttributes(p, 2, 4, 0xFF00FFFF); // clamped in cyan
        ImageAttributes(p, 3, 0, 0);          // tiled
        ImageAttributes(p, 4, 1, 0);          // tiled, mirrored across x
        const QRectF source(0, 0, 16, 8);
        DrawImageWith(p, 1, 2, source, QRectF(10, 10, 160, 80));
        DrawImageWith(p, 1, 3, source, QRectF(10, 100, 160, 80));
        DrawImageWith(p, 1, 4, source, QRectF(10, 190, 160, 80));
        DrawImageWith(p, 1, 9, source, QRectF(200, 10, 160, 80)); // no attributes
    });
    struct Row {
        const char* what;
        QPoint at;
        QRgb colour;
    } rows[] = {
        {"clamp: the image", {15, 35}, kRedPixel},
        {"clamp: beyond it", {125, 35}, qRgb(0, 255, 255)},
        {"tile: the image", {15, 125}, kRedPixel},
        {"tile: the next copy's left", {95, 125}, kRedPixel},
        {"tile: the next copy's right", {135, 125}, kBluePixel},
        {"mirrored: the image's right", {75, 215}, kBluePixel},
        {"mirrored: the next copy's left is blue", {105, 215}, kBluePixel},
        {"mirrored: the next copy's right is red", {155, 215}, kRedPixel},
        {"none: the image", {215, 35}, kRedPixel},
        {"none: nothing beyond it", {325, 35}, kWhitePixel},
    };
    // Smoothly scaled: each pixel within a little of its source pixel's colour.
    for (const Row& row : rows) {
        const QRgb pixel = image.pixel(row.at);
        const int apart = std::max({std::abs(qRed(pixel) - qRed(row.colour)),
                                    std::abs(qGreen(pixel) - qGreen(row.colour)),
                                    std::abs(qBlue(pixel) - qBlue(row.colour))});
        EXPECT_LE(apart, 24) << row.what;
    }
}

bool InkIn(const QImage& image, QRect box)
{
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                return true;
            }
        }
    }
    return false;
}

TEST(EmfPlusImages, StringFormatsSetDirectionAndWrapping)
{
    const QImage image = PlusPicture([](EmfPlusRecords& p) {
        p.Font(1, 20, 2, 0, u"DejaVu Sans");
        p.StringFormat(2, 0, 0, 0x0001); // right to left
        p.StringFormat(3, 0, 0, 0x0002); // vertical
        p.StringFormat(4, 0, 0, 0x1000); // no wrapping
        p.StringFormat(5, 0, 0, 0);      // wrapped
        p.StringFormat(6, 0, 0, 0x5000); // neither wrapped nor cut at the box
        p.DrawString(1, 0xFF000000, 2, QRectF(10, 10, 300, 30), u"Near");
        p.DrawString(1, 0xFF000000, 3, QRectF(10, 50, 40, 220), u"Downwards");
        p.DrawString(1, 0xFF000000, 4, QRectF(100, 60, 60, 60), u"aa bb cc dd");
        p.DrawString(1, 0xFF000000, 5, QRectF(200, 60, 60, 60), u"aa bb cc dd");
        p.DrawString(1, 0xFF000000, 6, QRectF(100, 200, 40, 60), u"aa bb cc dd");
    });
    EXPECT_TRUE(InkIn(image, QRect(250, 10, 60, 30))) << "right to left: near is the right";
    EXPECT_FALSE(InkIn(image, QRect(10, 10, 150, 30))) << "right to left: nothing at the left";
    EXPECT_TRUE(InkIn(image, QRect(10, 150, 40, 60))) << "vertical: runs down the box";
    EXPECT_FALSE(InkIn(image, QRect(55, 50, 40, 30))) << "vertical: not across";
    EXPECT_FALSE(InkIn(image, QRect(100, 88, 60, 30))) << "no wrapping: one line";
    EXPECT_TRUE(InkIn(image, QRect(200, 88, 60, 30))) << "wrapped: a second line";
    EXPECT_FALSE(InkIn(image, QRect(160, 60, 30, 30))) << "cut at the box's edge";
    EXPECT_TRUE(InkIn(image, QRect(160, 200, 30, 30))) << "not cut: beyond the box";
}

// An older-model picture: a monochrome brush (its 0 bits the text colour, its 1 bits the
// background colour) filling three squares as the colours change between them.
TEST(EmfPlusImages, MonochromeBrushesTakeTheColoursCurrentAtEachFill)
{
    EmfBuilder b = Emf();
    b.CreateMonoBrush(1, 8, std::vector<uint32_t>(8, 0x0F)).SelectObject(1);
    b.CreatePen(2, 5, 0, 0).SelectObject(2); // no outline
    b.SetTextColor(kRed).SetBkColor(kWhite).Rectangle(0, 0, 80, 80);
    b.SetTextColor(kBlue).SetBkColor(kYellow).Rectangle(100, 0, 180, 80);
    b.SetTextColor(kRed).SetBkColor(kWhite).Rectangle(200, 0, 280, 80);
    b.SetTextColor(kRed).SetBkColor(kGreen).Rectangle(300, 0, 380, 80);
    const QImage image = Played(b.Finish());
    ExpectColours(image, {
                             {"first: 0 bits in red", {1, 10}, kRedPixel},
                             {"first: 1 bits in white", {6, 10}, kWhitePixel},
                             {"second: 0 bits in blue", {105, 10}, kBluePixel},
                             {"second: 1 bits in yellow", {110, 10}, qRgb(255, 255, 0)},
                             {"third, as the first again: red", {201, 10}, kRedPixel},
                             {"third: white", {206, 10}, kWhitePixel},
                             {"fourth, a new background: red", {305, 10}, kRedPixel},
                             {"fourth: green", {310, 10}, qRgb(0, 160, 0)},
                         });
}

} // namespace
} // namespace figures
