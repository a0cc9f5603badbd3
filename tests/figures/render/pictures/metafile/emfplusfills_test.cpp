// Regions, clipping, brushes beyond solid colours and positioned glyphs of the newer
// metafile model.
#include "figures/render/pictures/metafile/metafileplayer.h"
#include "tests/figures/render/pictures/metafile/emfplusfillscenes.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QRawFont>

#include <gtest/gtest.h>

#include <functional>

namespace figures {
namespace {

using namespace metafiletest;

bool Near(QRgb actual, QRgb expected, int tolerance = 12)
{
    return std::abs(qRed(actual) - qRed(expected)) <= tolerance &&
           std::abs(qGreen(actual) - qGreen(expected)) <= tolerance &&
           std::abs(qBlue(actual) - qBlue(expected)) <= tolerance;
}

// Whether the rectangle holds a pixel darker than mid-grey.
bool Inked(const QImage& image, QRect box)
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

constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kRegionBlue = qRgb(0x20, 0x60, 0xC0);
constexpr QRgb kOrange = qRgb(0xE0, 0x40, 0);
constexpr QRgb kGreen = qRgb(0, 0xA0, 0);
constexpr QRgb kPurple = qRgb(0x80, 0, 0x80);

TEST(EmfPlusFills, RegionsCombineEachWayAndClipWhatFollows)
{
    const QImage image = Played(EmfPlusClipAndBrushes());
    struct Row {
        const char* what;
        QPoint at;
        QRgb colour;
    };
    const Row rows[] = {
        {"and: the overlap", {40, 40}, kRegionBlue},
        {"and: the first square alone", {15, 15}, kWhite},
        {"union: the first square", {89, 15}, kRegionBlue},
        {"union: the second square", {134, 64}, kRegionBlue},
        {"union: neither", {89, 64}, kWhite},
        {"xor: the overlap", {188, 40}, kWhite},
        {"xor: the first square", {163, 15}, kRegionBlue},
        {"xor: the second square", {208, 64}, kRegionBlue},
        {"exclude: the first square", {237, 15}, kRegionBlue},
        {"exclude: the overlap", {262, 40}, kWhite},
        {"exclude: the second square", {282, 64}, kWhite},
        {"complement: the first square", {311, 15}, kWhite},
        {"complement: the overlap", {336, 40}, kWhite},
        {"complement: the second square", {356, 64}, kRegionBlue},
        {"ellipse clip: a stripe inside", {65, 90}, kOrange},
        {"ellipse clip: a stripe outside", {8, 84}, kWhite},
        {"rectangle less a hole: inside", {145, 85}, kGreen},
        {"rectangle less a hole: the hole", {195, 115}, kWhite},
        {"rectangle less a hole: outside", {135, 75}, kWhite},
        {"infinity less an ellipse: inside", {280, 85}, kPurple},
        {"infinity less an ellipse: the ellipse", {328, 115}, kWhite},
        {"moved clip: its new right edge", {372, 115}, kPurple},
        {"moved clip: its old left edge", {272, 115}, kWhite},
        {"clip reset: the brushes below draw", {300, 218}, kWhite},
    };
    for (const Row& row : rows) {
        EXPECT_TRUE(Near(image.pixel(row.at), row.colour))
            << row.what << ": " << std::hex << image.pixel(row.at);
    }
}

TEST(EmfPlusFills, BrushesPaintHatchesTexturesAndGradients)
{
    const QImage image = Played(EmfPlusClipAndBrushes());
    // The hatch shows its lines and its background, never the page.
    int lines = 0;
    int back = 0;
    for (int y = 170; y < 210; ++y) {
        for (int x = 15; x < 55; ++x) {
            const QRgb c = image.pixel(x, y);
            lines += Near(c, qRgb(0, 0, 255), 60);
            back += Near(c, qRgb(255, 255, 0xC0));
            EXPECT_NE(c, kWhite) << x << "," << y;
        }
    }
    EXPECT_GT(lines, 100);
    EXPECT_GT(back, 400);
    // A transparent hatch background leaves the page between its lines.
    EXPECT_TRUE(Inked(image, QRect(75, 170, 40, 1)));
    EXPECT_TRUE(Near(image.pixel(72, 168), kWhite) || Near(image.pixel(73, 168), kWhite));
    struct Row {
        const char* what;
        QPoint at;
        QRgb colour;
        int tolerance;
    };
    const Row rows[] = {
        // The 8 x 8 texture repeats from the world's origin: (128..136, 160..168) is one tile.
        {"texture: a red quarter", {131, 169}, qRgb(255, 0, 0), 12},
        {"texture: a blue quarter", {134, 170}, qRgb(0, 0, 255), 12},
        {"texture: the next tile's green quarter", {138, 174}, qRgb(0, 160, 0), 12},
        {"gradient: its start", {191, 190}, qRgb(255, 0, 0), 12},
        {"gradient: a fifth of the way to blue at the middle", {235, 190}, qRgb(204, 0, 51), 12},
        {"gradient: its end", {278, 190}, qRgb(0, 0, 255), 12},
        {"path gradient: the centre", {330, 190}, qRgb(255, 255, 255), 20},
        {"path gradient: towards a corner", {293, 168}, qRgb(0, 128, 0), 60},
        {"path gradient: outside its boundary", {284, 162}, kWhite, 0},
    };
    for (const Row& row : rows) {
        EXPECT_TRUE(Near(image.pixel(row.at), row.colour, row.tolerance))
            << row.what << ": " << std::hex << image.pixel(row.at);
    }
}

TEST(EmfPlusFills, PositionedCharactersLandWhereTheRecordPutsThem)
{
    const QImage image = Played(EmfPlusClipAndBrushes());
    // "Spaced" and an omega, 20 units apart: every cell has ink, and the gaps between
    // the narrow letters stay empty where running text would have put the next letter.
    for (int i = 0; i < 7; ++i) {
        EXPECT_TRUE(Inked(image, QRect(10 + 20 * i, 232, 16, 20))) << "character " << i;
    }
    EXPECT_FALSE(Inked(image, QRect(127, 232, 2, 20))) << "the gap before the omega";
    // The string laid out from its first position runs on past it.
    EXPECT_TRUE(Inked(image, QRect(170, 232, 20, 20)));
    EXPECT_TRUE(Inked(image, QRect(230, 232, 30, 20)));

    // Glyph numbers of a face installed under its own name draw that face's letters: the
    // same picture as the characters they stand for.
    QFont face(QStringLiteral("DejaVu Sans"));
    face.setPixelSize(40);
    const QRawFont raw = QRawFont::fromFont(face);
    ASSERT_EQ(raw.familyName(), QStringLiteral("DejaVu Sans"));
    const QList<quint32> numbers = raw.glyphIndexesForString(QStringLiteral("Glyph"));
    ASSERT_EQ(numbers.size(), 5);
    const std::vector<QPointF> at = {{10, 100}, {50, 100}, {90, 100}, {130, 100}, {170, 100}};
    auto drawn = [&at](uint32_t options, const std::u16string& glyphs) {
        EmfPlusRecords p;
        p.Header(false).Font(1, 40, 2, 0, u"DejaVu Sans");
        plus::DrawDriverString(p, 1, 0xFF000000, options, glyphs, at);
        return Played(Emf().Comment(p.TakeComment()).Finish());
    };
    const QImage byNumber = drawn(0, std::u16string(numbers.begin(), numbers.end()));
    const QImage byCharacter = drawn(1, u"Glyph");
    int differing = 0;
    for (int y = 0; y < byNumber.height(); ++y) {
        for (int x = 0; x < byNumber.width(); ++x) {
            differing += !Near(byNumber.pixel(x, y), byCharacter.pixel(x, y), 64);
        }
    }
    EXPECT_LT(differing, 20);
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(Inked(byNumber, QRect(10 + 40 * i, 75, 30, 30))) << "glyph " << i;
    }
}

TEST(EmfPlusFills, ContainersDrawInsideTheirParentsWorldAndEndAsTheyBegan)
{
    using namespace plus;
    EmfPlusRecords p;
    p.Header(false).SetWorldTransform(QTransform::fromTranslate(100, 20));
    SetClipRect(p, 0, QRectF(0, 0, 250, 250));
    BeginContainer(p, 1);
    // Inside: the world starts afresh within the parent's, and its own transform and
    // clip act within that.
    p.SetWorldTransform(QTransform::fromScale(2, 2));
    p.FillRects(0xFFFF0000, true, {QRectF(0, 0, 20, 10)});
    BeginContainer(p, QRectF(0, 100, 40, 40), QRectF(0, 0, 4, 4), 2);
    p.FillRects(0xFF0000FF, true, {QRectF(1, 1, 2, 2)});
    EndContainer(p, 2);
    SetClipRect(p, 0, QRectF(0, 0, 1, 1));
    EndContainer(p, 1);
    // After: the parent's translation and clip again.
    p.FillRects(0xFF00A000, true, {QRectF(150, 0, 300, 20)});
    const QImage image = Played(Emf().Comment(p.EndOfFile().TakeComment()).Finish());
    struct Row {
        const char* what;
        QPoint at;
        QRgb colour;
    };
    const Row rows[] = {
        {"scaled inside, moved by the parent", {138, 38}, qRgb(255, 0, 0)},
        {"beyond the scaled rectangle", {142, 42}, kWhite},
        // Its 4 units on 40 of the scaled world: (1, 1)-(3, 3) at (120, 240)-(160, 280).
        {"the inner container's square", {140, 255}, qRgb(0, 0, 255)},
        {"the inner container's margin", {116, 236}, kWhite},
        {"the inner container clipped by the parent", {140, 275}, kWhite},
        {"after: the parent's world", {260, 30}, qRgb(0, 160, 0)},
        {"after: the parent's clip, not the container's", {340, 30}, qRgb(0, 160, 0)},
        {"after: clipped by the parent", {360, 30}, kWhite},
    };
    for (const Row& row : rows) {
        EXPECT_TRUE(Near(image.pixel(row.at), row.colour, 0))
            << row.what << ": " << std::hex << image.pixel(row.at);
    }
}

TEST(EmfPlusFills, DamagedRegionsBrushesAndStringsAreSkipped)
{
    using namespace plus;
    auto only = [](const std::function<void(EmfPlusRecords&)>& add) {
        EmfPlusRecords p;
        p.Header(false);
        add(p);
        ResetClip(p);
        p.FillRects(0xFF00FF00, true, {QRectF(300, 200, 20, 20)});
        return Emf().Comment(p.TakeComment()).Finish();
    };
    // A chain of intersections nested far deeper than any real region.
    Bytes deep = RectNode(QRectF(0, 0, 10, 10));
    for (int i = 0; i < 5000; ++i) {
        deep = Node(kAnd, RectNode(QRectF(0, 0, 384, 288)), deep);
    }
    // A balanced tree of many nodes: each side a union of ellipses.
    std::function<Bytes(int)> bushy = [&](int depth) {
        return depth == 0 ? EllipseNode(QRectF(depth, 0, 300, 200))
                          : Node(kXor, bushy(depth - 1), bushy(depth - 1));
    };
    struct Case {
        const char* name;
        Bytes bytes;
    };
    const Case cases[] = {
        {"a region nested too deep", only([&](EmfPlusRecords& p) {
             Region(p, 1, deep, 10000);
             FillRegion(p, 1, 0xFFFF0000);
             SetClipRegion(p, 0, 1);
         })},
        {"a region of too many nodes", only([&](EmfPlusRecords& p) {
             Region(p, 1, bushy(12));
             SetClipRegion(p, 0, 1);
         })},
        {"a region node of an unknown type", only([](EmfPlusRecords& p) {
             Region(p, 1, Node(9, EmptyNode(), EmptyNode()));
             FillRegion(p, 1, 0xFFFF0000);
         })},
        {"a path node longer than its record", only([](EmfPlusRecords& p) {
             Bytes node = EllipseNode(QRectF(0, 0, 9, 9));
             Set32(node, 4, 0x7FFFFFFF);
             Region(p, 1, node);
             FillRegion(p, 1, 0xFFFF0000);
         })},
        {"a clip that shuts out everything, then reset", only([](EmfPlusRecords& p) {
             Region(p, 1, EmptyNode());
             SetClipRegion(p, 0, 1);
             SetClipPath(p, 1, 40);
         })},
        {"an unknown clip mode", only([](EmfPlusRecords& p) {
             SetClipRect(p, 9, QRectF(0, 0, 1, 1));
             p.FillRects(0xFF00FF00, true, {QRectF(300, 200, 20, 20)});
         })},
        {"a gradient of more blend positions than bytes", only([](EmfPlusRecords& p) {
             Bytes d;
             BrushHead(d, 4);
             for (uint32_t v : {8u, 0u, 0u, 0u, 0x42000000u, 0x42000000u, 0xFF000000u,
                                0xFFFFFFFFu, 0u, 0u, 0x40000000u}) {
                 Put32(d, v);
             }
             p.Record(0x4008, 0x0101, d).FillRects(1, false, {QRectF(0, 0, 384, 288)});
         })},
        {"a path gradient of more colours than bytes", only([](EmfPlusRecords& p) {
             Bytes d;
             BrushHead(d, 3);
             for (uint32_t v : {0u, 0u, 0xFF000000u, 0u, 0u, 0x40000000u}) {
                 Put32(d, v);
             }
             p.Record(0x4008, 0x0101, d).FillRects(1, false, {QRectF(0, 0, 384, 288)});
         })},
        {"a path gradient whose boundary is one point", only([](EmfPlusRecords& p) {
             PathGradient(p, 1, QPointF(5, 5), 0xFF000000, 0xFF000000, {{5, 5}});
             p.FillRects(1, false, {QRectF(0, 0, 384, 288)});
         })},
        {"a texture whose pixels are missing", only([](EmfPlusRecords& p) {
             Bytes d;
             BrushHead(d, 2);
             for (uint32_t v : {0u, 0u, 0xDBC01002u, 1u, 5000u, 5000u, 20000u, 0x0026200Au, 0u}) {
                 Put32(d, v);
             }
             p.Record(0x4008, 0x0101, d).FillRects(1, false, {QRectF(0, 0, 384, 288)});
         })},
        {"positioned glyphs beyond the record", only([](EmfPlusRecords& p) {
             p.Font(1, 20, 2, 0, u"Arial");
             Bytes d;
             for (uint32_t v : {0xFF000000u, 1u, 0u, 0x40000000u}) {
                 Put32(d, v);
             }
             p.Record(0x4036, 0x8001, d);
         })},
        {"a string stretched far wider than tall", only([](EmfPlusRecords& p) {
             // Glyphs 2000 pixels wide and 4 tall: the glyph cache cannot hold them.
             p.Font(1, 40, 2, 0, u"Arial");
             p.SetWorldTransform(QTransform::fromScale(50, 0.1));
             p.DrawString(1, 0xFFFF0000, 99, QRectF(0, 100, 0, 0), u"Wide");
             plus::DrawDriverString(p, 1, 0xFFFF0000, 1, u"Wi", {{0, 1000}, {2, 1000}});
             p.ResetWorldTransform();
         })},
        {"glyph numbers of a face that is not installed", only([](EmfPlusRecords& p) {
             p.Font(1, 20, 2, 0, u"No Such Face");
             DrawDriverString(p, 1, 0xFF000000, 0, u"\x0024\x0025", {{300, 220}, {310, 220}});
         })},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool played = false;
        QElapsedTimer timer;
        timer.start();
        const QImage image = Played(c.bytes, &played);
        EXPECT_TRUE(played);
        EXPECT_TRUE(Near(image.pixel(310, 210), qRgb(0, 255, 0), 0))
            << "the records after it still play: " << std::hex << image.pixel(310, 210);
        EXPECT_LT(timer.elapsed(), 5000) << "bounded work";
        int red = 0;
        for (int y = 0; y < 120; ++y) {
            for (int x = 0; x < image.width(); ++x) {
                red += qRed(image.pixel(x, y)) > 128 && qGreen(image.pixel(x, y)) < 128;
            }
        }
        EXPECT_EQ(red, 0) << "nothing of the damaged records drawn";
    }
}

} // namespace
} // namespace figures
