#include "figures/model/objects/ccmbobj.h"
#include "figures/model/objects/cgraphcom.h"
#include "figures/model/objects/clinegraph.h"
#include "figures/model/objects/cpcxpicturebox.h"
#include "figures/model/objects/cpicturebox.h"
#include "figures/model/objects/crichgraph.h"
#include "figures/model/objects/crichline.h"
#include "figures/model/objects/shapetextstore.h"
#include "figures/model/view.h"
#include "figures/model/viewpainter.h"
#include "figures/render/drawcontext.h"
#include "figures/render/gbk.h"
#include "figures/render/shapes/catalogue.h"
#include "tests/figures/render/pictures/picturefiles.h"

#include <QImage>

#include <gtest/gtest.h>

#include <array>
#include <thread>

namespace figures {
namespace {

// At 254 dpi and 100 % zoom one document unit is exactly one pixel, so frames can be
// checked pixel by pixel.
constexpr double kOnePixelPerUnit = 254.0;
constexpr QRgb kWhite = 0xFFFFFFFF;

QImage Render(const View& view, int width, int height, bool antialiased = false)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, antialiased);
    const DrawContext dc(painter, kOnePixelPerUnit, kOnePixelPerUnit);
    PaintOptions options;
    options.deviceClip = {0, 0, width, height};
    PaintView(view, dc, options);
    return image;
}

CRichGraph& AddShape(View& view, int32_t entry, Rect frame)
{
    view.AddNewShape(entry, &frame);
    return static_cast<CRichGraph&>(*view.objects.back());
}

CRichGraph& AddCustomRectangle(View& view, Rect frame)
{
    auto& shape = AddShape(view, CRichGraph::kCustomShape, frame);
    const uint16_t program[] = {9, 0, 0, 8191, 8191, 0};
    shape.SetProgram(reinterpret_cast<const uint8_t*>(program), sizeof program);
    return shape;
}

TEST(ShapeFill, AKindNoKindHasPaintsNoFillOverWhatLiesBelow)
{
    for (const int32_t stored : {0, 6, -1}) {
        View view;
        auto& below = AddShape(view, 2, {10, 10, 90, 90});
        below.fillKind = FillKind::Colour;
        below.fillColour = 0xFF0000; // blue
        auto& above = AddShape(view, 2, {20, 20, 80, 80});
        above.fillKind = static_cast<FillKind>(stored);
        const QImage image = Render(view, 100, 100);
        const QRgb expected = stored == 0 ? kWhite : 0xFF0000FF;
        EXPECT_EQ(image.pixel(50, 50), expected) << stored;
    }
}

TEST(ShapeFill, PatternFiftyPercentIsAOnePixelCheckerboard)
{
    View view;
    auto& shape = AddShape(view, 2, {10, 10, 90, 90});
    shape.lineStyle = 0;
    shape.fillKind = FillKind::Pattern;
    shape.hatchStyle = 12;
    shape.fillColour = 0x000000;
    shape.fillBackColour = 0xFFFFFF;
    const QImage image = Render(view, 100, 100);
    for (int y = 20; y < 80; ++y) {
        for (int x = 20; x < 80; ++x) {
            ASSERT_NE(image.pixel(x, y), image.pixel(x + 1, y)) << x << ", " << y;
            ASSERT_NE(image.pixel(x, y), image.pixel(x, y + 1)) << x << ", " << y;
            ASSERT_TRUE(image.pixel(x, y) == kWhite || image.pixel(x, y) == 0xFF000000);
        }
    }
}

TEST(ShapeFill, LineTypeZeroStrokesNothingButStillFills)
{
    View view;
    auto& shape = AddShape(view, 2, {10, 10, 90, 90});
    shape.lineStyle = 0;
    shape.fillColour = 0x0000FF; // red
    const QImage image = Render(view, 100, 100);
    EXPECT_EQ(image.pixel(50, 50), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(10, 50), qRgb(255, 0, 0)); // edge pixel filled, not outlined
    EXPECT_EQ(image.pixel(5, 50), kWhite);
}

TEST(ShapeFill, CustomShapeIsNeverFilledAndItsShadowIsAnOutlineCopy)
{
    View view;
    auto& shape = AddCustomRectangle(view, {10, 10, 60, 60});
    shape.fillColour = 0x0000FF;
    shape.shadowDirection = 5;
    shape.shadowOffset = 20;
    shape.shadowColour = 0x00FF00;
    const QImage image = Render(view, 100, 100);
    EXPECT_EQ(image.pixel(35, 35), kWhite);          // not filled
    EXPECT_EQ(image.pixel(35, 10), qRgb(0, 0, 0));   // its own outline
    EXPECT_EQ(image.pixel(80, 50), qRgb(0, 255, 0)); // the shadow's right edge
    EXPECT_EQ(image.pixel(70, 70), kWhite);          // the shadow is not filled either
    EXPECT_EQ(shape.fillColour, 0x0000FFu);          // properties restored
    EXPECT_EQ(shape.lineColour, 0u);
    EXPECT_EQ(shape.fillKind, FillKind::Colour);
}

TEST(ShapeFill, ShadowFiveWithWidthThirtyMovesThreeMillimetresRightAndDown)
{
    View view;
    auto& shape = AddShape(view, 2, {10, 10, 50, 50});
    shape.fillColour = 0x0000FF;
    shape.shadowDirection = 5;
    shape.shadowOffset = 30;
    shape.shadowColour = 0x808080;
    const QImage image = Render(view, 100, 100);
    EXPECT_EQ(image.pixel(30, 30), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(70, 70), qRgb(128, 128, 128)); // inside the shifted silhouette
    EXPECT_EQ(image.pixel(78, 78), qRgb(128, 128, 128));
    EXPECT_EQ(image.pixel(82, 82), kWhite); // beyond 50 + 30
    EXPECT_EQ(image.pixel(20, 70), kWhite); // not below the shape itself
}

TEST(ShapeFill, InnerFiguresShowWhiteHolesWhateverTheFill)
{
    View view;
    auto& sign = AddShape(view, 21, {0, 0, 100, 100}); // prohibition sign
    sign.lineStyle = 0;
    sign.fillColour = 0xFF0000; // blue
    const QImage image = Render(view, 100, 100);
    EXPECT_EQ(image.pixel(50, 50), qRgb(0, 0, 255)); // the bar
    EXPECT_EQ(image.pixel(50, 4), qRgb(0, 0, 255));  // the ring
    EXPECT_EQ(image.pixel(70, 30), kWhite);          // the openings beside the bar
    EXPECT_EQ(image.pixel(30, 70), kWhite);
}

TEST(ShapeFill, DefaultAndNoColourFillsOverObjectsBelow)
{
    View view;
    auto& below = AddShape(view, 2, {0, 0, 100, 100});
    below.fillColour = 0x0000FF; // red
    below.lineStyle = 0;
    auto& white = AddShape(view, 2, {10, 10, 40, 90});
    white.fillKind = FillKind::White;
    white.lineStyle = 0;
    auto& sign = AddShape(view, 21, {50, 0, 100, 50});
    sign.fillColour = 0x7FFFFFFF; // no colour: the fill lets red through, holes stay white
    sign.lineStyle = 0;
    const QImage image = Render(view, 100, 100);
    EXPECT_EQ(image.pixel(25, 50), kWhite);
    EXPECT_EQ(image.pixel(75, 25), qRgb(255, 0, 0)); // the bar
    EXPECT_EQ(image.pixel(85, 15), kWhite);          // an opening
    EXPECT_EQ(image.pixel(75, 75), qRgb(255, 0, 0));
}

TEST(ShapeFill, ThreeDimensionalShapesShadeTheirFaces)
{
    View view;
    auto& cylinder = AddShape(view, 14, {0, 0, 100, 100});
    cylinder.fillColour = 0x808080;
    cylinder.lineStyle = 0;
    auto& flat = AddShape(view, 14, {0, 120, 100, 220});
    flat.fillColour = 0x7FFFFFFF; // no colour: no shading
    flat.lineStyle = 0;
    const QImage image = Render(view, 100, 230);
    // The top ellipse is lighter than the body: LightenColour(0x808080, 20).
    const QRgb top = image.pixel(50, 8);
    const QRgb body = image.pixel(50, 60);
    EXPECT_EQ(body, qRgb(128, 128, 128));
    EXPECT_GT(qRed(top), 128);
    EXPECT_EQ(qRed(top), qGreen(top));
    EXPECT_EQ(image.pixel(50, 128), kWhite); // the hole stays white without shading
}

TEST(ShapeRegions, OnlyClosedCatalogueShapesWithAFillHaveThem)
{
    QImage image(10, 10, QImage::Format_RGB32);
    QPainter painter(&image);
    DrawContext dc(painter, kOnePixelPerUnit, kOnePixelPerUnit);
    DrawRequest draw;
    draw.dc = &dc;
    draw.target = {0, 0, 100, 100};

    struct Case {
        int32_t entry;
        FillKind fillKind;
        bool silhouette, opaqueFill;
    } cases[] = {
        {2, FillKind::Colour, true, true},     {2, FillKind::White, true, true},
        {2, FillKind::None, true, false},      {2, FillKind::Gradient, false, false},
        {24, FillKind::Colour, false, false},  {-1, FillKind::Colour, false, false},
        {110, FillKind::Colour, false, false},
    };
    for (const Case& c : cases) {
        CRichGraph shape(c.entry);
        shape.frame = {0, 0, 100, 100};
        shape.fillKind = c.fillKind;
        RegionRequest silhouette{&draw, {}, false};
        EXPECT_EQ(shape.OnMessage(OM_GET_REGION, &silhouette), c.silhouette ? 0 : -1);
        EXPECT_EQ(silhouette.found, c.silhouette) << c.entry << "/" << int32_t(c.fillKind);
        RegionRequest fill{&draw, {}, false};
        shape.OnMessage(OM_FILL_HOOK, &fill);
        EXPECT_EQ(fill.found, c.opaqueFill) << c.entry << "/" << int32_t(c.fillKind);
    }
}

// Counts the draws it receives. Drawing is const; the counts are the test's own record.
class CountingObject : public CBaseCom {
public:
    void Draw(const DrawRequest& request) const override
    {
        ++draws;
        lastTarget = request.target;
    }
    mutable int draws = 0;
    mutable Rect lastTarget;
};

TEST(ViewPainting, SkipsObjectsOutsideTheClipAndPaintsByLayer)
{
    View view;
    auto inside = std::make_unique<CountingObject>();
    inside->frame = {10, 10, 20, 20};
    auto outside = std::make_unique<CountingObject>();
    outside->frame = {500, 500, 520, 520};
    CountingObject* in = inside.get();
    CountingObject* out = outside.get();
    view.Append(std::move(inside));
    view.Append(std::move(outside));

    // Upper layer first in the list, lower layer second: the lower one must paint first.
    auto& top = AddShape(view, 2, {30, 30, 70, 70});
    top.fillColour = 0x0000FF;
    top.layer = 2;
    auto& bottom = AddShape(view, 2, {40, 40, 90, 90});
    bottom.fillColour = 0x00FF00;
    bottom.layer = 1;

    const QImage image = Render(view, 100, 100);
    EXPECT_EQ(in->draws, 1);
    EXPECT_EQ(in->lastTarget, (Rect{10, 10, 20, 20}));
    EXPECT_EQ(out->draws, 0);
    EXPECT_EQ(image.pixel(60, 60), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(80, 80), qRgb(0, 255, 0));
}

TEST(GroupPainting, MembersAreRestoredExactlyAfterDrawing)
{
    std::vector<std::unique_ptr<CBaseCom>> members;
    members.push_back(std::make_unique<CRichGraph>(2));
    members.back()->frame = {0, 0, 40, 20};
    members.back()->angle = 100;
    members.push_back(std::make_unique<CRichGraph>(10));
    members.back()->frame = {40, 20, 80, 60};
    auto group = CCmbObj::Group(std::move(members));
    group->frame = group->frame.Offset(10, 10);
    group->frame.right += 40; // stretched
    group->angle = 450;
    group->flags |= OF_FLIPPED_H;
    const Rect frame0 = group->children[0]->frame;
    const uint32_t flags0 = group->children[0]->flags;

    View view;
    view.Append(std::move(group));
    const QImage image = Render(view, 200, 200);
    const auto& drawn = static_cast<const CCmbObj&>(*view.objects[0]);
    EXPECT_EQ(drawn.children[0]->frame, frame0);
    EXPECT_EQ(drawn.children[0]->flags, flags0);
    EXPECT_EQ(drawn.children[0]->angle, 100);
    // Flipped, the ellipse comes first from the left; turned by 45 degrees it rises to
    // the top left, while the rectangle ends up right of the middle.
    const auto inkIn = [&](QRect area) {
        int ink = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                ink += image.pixel(x, y) != kWhite;
            }
        }
        return ink;
    };
    EXPECT_GT(inkIn(QRect(0, 0, 70, 60)), 50);
    EXPECT_GT(inkIn(QRect(70, 0, 70, 90)), 50);
    EXPECT_EQ(inkIn(QRect(0, 100, 200, 100)), 0);
}

TEST(PolylinePainting, FewerThanTwoPointsDrawNothing)
{
    View view;
    auto polyline = std::make_unique<CLineGraph>();
    polyline->frame = {0, 0, 100, 100};
    polyline->SetPoints({{50, 50}});
    polyline->fillKind = FillKind::Colour;
    polyline->fillColour = 0x0000FF;
    view.Append(std::move(polyline));
    const QImage image = Render(view, 100, 100);
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            ASSERT_EQ(image.pixel(x, y), kWhite);
        }
    }
}

TEST(Outlines, EveryClassRecordsItsDragOutline)
{
    CRectCom rect;
    rect.frame = {100, 100, 200, 150};
    OutlineRequest rectOutline;
    rect.OnMessage(OM_MAKE_OUTLINE, &rectOutline);
    EXPECT_TRUE(rectOutline.found);
    EXPECT_EQ(rectOutline.outline.boundingRect(), QRectF(0, 0, 100, 50));

    CRichGraph ellipse(10);
    ellipse.frame = {0, 0, 200, 100};
    OutlineRequest shapeOutline;
    ellipse.OnMessage(OM_MAKE_OUTLINE, &shapeOutline);
    // The text box of the ellipse is part of the drag outline.
    EXPECT_GT(shapeOutline.outline.elementCount(), 13);
    EXPECT_NEAR(shapeOutline.outline.boundingRect().width(), 200, 1);

    CRichLine line;
    line.SetEndPoints({100, 100}, {300, 200});
    OutlineRequest lineOutline;
    line.OnMessage(OM_MAKE_OUTLINE, &lineOutline);
    EXPECT_EQ(lineOutline.outline.elementCount(), 2);
    EXPECT_EQ(lineOutline.outline.boundingRect(), QRectF(0, 0, 200, 100));

    CBaseCom base;
    OutlineRequest none;
    EXPECT_EQ(base.OnMessage(OM_MAKE_OUTLINE, &none), OM_UNHANDLED);
    EXPECT_FALSE(none.found);
}

TEST(FrameShapes, EachShapeOutlinesItsFrameAndTurnsWithIt)
{
    struct Case {
        int32_t shape;
        int elements; // path elements of the outline
    } cases[] = {{CGraphCom::Rectangle, 5},
                 {CGraphCom::RoundedRectangle, 17},
                 {CGraphCom::Diamond, 5},
                 {CGraphCom::Ellipse, 13},
                 {99, 5}};
    for (const Case& c : cases) {
        CGraphCom graph;
        graph.frame = {100, 100, 420, 260};
        graph.frameShape = c.shape;
        OutlineRequest outline;
        ASSERT_EQ(graph.OnMessage(OM_MAKE_OUTLINE, &outline), 0);
        EXPECT_EQ(outline.outline.elementCount(), c.elements) << c.shape;
        EXPECT_EQ(outline.outline.boundingRect().toRect(), QRect(0, 0, 320, 160)) << c.shape;

        graph.angle = 900; // standing up: 160 wide and 320 high about the same centre
        OutlineRequest turned;
        graph.OnMessage(OM_MAKE_OUTLINE, &turned);
        const QRectF box = turned.outline.boundingRect();
        EXPECT_NEAR(box.width(), 160, 1) << c.shape;
        EXPECT_NEAR(box.height(), 320, 1) << c.shape;
    }

    // Drawn as a thin black outline, never filled.
    View view;
    auto diamond = std::make_unique<CGraphCom>();
    diamond->frame = {0, 0, 100, 100};
    diamond->frameShape = CGraphCom::Diamond;
    view.Append(std::move(diamond));
    const QImage image = Render(view, 100, 100);
    EXPECT_EQ(image.pixel(50, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(50, 50), kWhite);
    EXPECT_EQ(image.pixel(5, 5), kWhite);
}

// Every preset shape with text, turned ones and ones with shadows (those without a
// silhouette cast theirs by drawing again in one colour), pattern, picture and gradient
// fills, lines with decorations, picture boxes, and groups within groups, flipped and
// turned, whose members cast shadows too.
void BuildEverythingView(View& view)
{
    const std::vector<uint8_t> bitmap = picturetest::Encode(picturetest::Quadrants(8, 8), "bmp");
    const std::string text = ToGbk(QString::fromUtf8("文字 text"));
    for (int entry = 0; entry < CatalogueCount(); ++entry) {
        const int32_t x = 300 * (entry % 12);
        const int32_t y = 250 * (entry / 12);
        auto& shape = AddShape(view, entry, {x + 20, y + 20, x + 260, y + 210});
        shape.fillKind = FillKind(entry % 5);
        shape.fillColour = 0x40A0E0 + uint32_t(entry);
        shape.hatchStyle = entry % 54;
        shape.fillPicture.SetBytes(bitmap);
        shape.gradientKind = 1 + entry % 4;
        shape.gradientCount = 2;
        shape.gradientColours = {0x0080FF, 0xC04000};
        shape.lineStyle = entry % 7;
        shape.lineWidth = 5 + entry % 20;
        shape.shadowDirection = entry % 9;
        shape.angle = 150 * (entry % 3);
        SetBoxText(shape, 1, text);
    }
    auto line = std::make_unique<CRichLine>();
    line->end1Type = 2;
    line->end2Type = 10;
    line->lineWidth = 15;
    line->shadowDirection = 5;
    line->SetEndPoints({100, 3100}, {900, 3300});
    view.Append(std::move(line));

    auto polyline = std::make_unique<CLineGraph>();
    polyline->frame = {1000, 3000, 1500, 3400};
    polyline->closed = 1;
    polyline->SetPoints({{0, 400}, {250, 0}, {500, 400}});
    polyline->fillKind = FillKind::Gradient;
    polyline->gradientKind = -2;
    polyline->gradientCount = 2;
    polyline->gradientColours = {0x00FF00, 0xFF00FF};
    view.Append(std::move(polyline));

    auto picture = std::make_unique<CPictureBox>();
    picture->frame = {1600, 3000, 1900, 3300};
    picture->picture.SetBytes(bitmap);
    picture->placement = 10;
    picture->shadowDirection = 3;
    view.Append(std::move(picture));

    auto bits = std::make_unique<CPCXPictureBox>();
    bits->frame = {2000, 3000, 2100, 3100};
    bits->pcxPicture.Set(16, 2, {0xF0, 0x0F, 0x0F, 0xF0});
    view.Append(std::move(bits));

    // Members that cast shadows both ways, an outline shape, and a group inside.
    const auto members = [&](int32_t left) {
        std::vector<std::unique_ptr<CBaseCom>> list;
        auto custom = std::make_unique<CRichGraph>(CRichGraph::kCustomShape);
        const uint16_t triangle[] = {3, 0, 8191, 4, 4095, 0, 4, 8191, 8191, 4, 0, 8191, 0};
        custom->SetProgram(reinterpret_cast<const uint8_t*>(triangle), sizeof triangle);
        custom->frame = {left, 3000, left + 200, 3200};
        custom->shadowDirection = 6;
        SetBoxText(*custom, 1, text);
        list.push_back(std::move(custom));
        auto star = std::make_unique<CRichGraph>(61);
        star->frame = {left + 200, 3050, left + 400, 3250};
        star->fillKind = FillKind::Colour;
        star->fillColour = 0x00D7FF;
        star->shadowDirection = 1;
        star->flags |= OF_FLIPPED_V;
        list.push_back(std::move(star));
        auto outline = std::make_unique<CGraphCom>();
        outline->frame = {left, 3250, left + 300, 3350};
        outline->frameShape = CGraphCom::RoundedRectangle;
        list.push_back(std::move(outline));
        return list;
    };
    auto inner = CCmbObj::Group(members(2300));
    inner->angle = 300;
    std::vector<std::unique_ptr<CBaseCom>> outerMembers = members(2800);
    outerMembers.push_back(std::move(inner));
    auto outer = CCmbObj::Group(std::move(outerMembers));
    outer->flags |= OF_FLIPPED_H;
    outer->angle = 200;
    outer->frame.right += 300;
    view.Append(std::move(outer));
}

QImage PaintAtZoom(const View& view, int32_t zoom)
{
    constexpr double kScreenDpi = 96.0;
    QImage image(1400 * zoom / 1000, 1400 * zoom / 1000, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const DrawContext dc(painter, kScreenDpi, kScreenDpi, zoom, zoom);
    PaintOptions options;
    options.deviceClip = {0, 0, image.width(), image.height()};
    PaintView(view, dc, options);
    return image;
}

TEST(ViewPainting, TwoThreadsPaintingOneViewAtOnceMatchOneThread)
{
    View view;
    BuildEverythingView(view);
    // Each thread paints at its own zoom, so that caches and scratch storage shared by
    // mistake would hold the other thread's sizes.
    constexpr std::array<int32_t, 2> kZooms{1000, 1500};
    std::array<QImage, 2> alone;
    for (size_t i = 0; i < kZooms.size(); ++i) {
        alone[i] = PaintAtZoom(view, kZooms[i]);
    }
    constexpr int kRounds = 3;
    std::array<std::vector<QImage>, 2> together;
    {
        std::array<std::thread, 2> threads;
        for (size_t i = 0; i < threads.size(); ++i) {
            threads[i] = std::thread([&, i] {
                for (int round = 0; round < kRounds; ++round) {
                    together[i].push_back(PaintAtZoom(view, kZooms[i]));
                }
            });
        }
        for (std::thread& thread : threads) {
            thread.join();
        }
    }
    for (size_t i = 0; i < kZooms.size(); ++i) {
        ASSERT_EQ(together[i].size(), size_t(kRounds));
        for (const QImage& image : together[i]) {
            EXPECT_TRUE(image == alone[i]) << "zoom " << kZooms[i];
        }
    }
}

} // namespace
} // namespace figures

namespace figures {
namespace {

// At 254 dpi and 10 % zoom a unit is a tenth of a pixel: a frame of 10 x 10 units with
// the bounds' margin (line and one unit) spans under two pixels each way.
TEST(ViewPainting, ObjectsUnderTwoPixelsShowAsABlockOfTheirColour)
{
    const struct {
        const char* name;
        FillKind fill;
        uint32_t fillColour;
        QRgb expected; // the colour the block is drawn in
    } kCases[] = {
        {"coloured fill", FillKind::Colour, 0x0000FF, qRgb(255, 0, 0)},
        {"white fill", FillKind::White, 0x0000FF, qRgb(255, 255, 255)},
        {"no fill shows the line", FillKind::None, 0x0000FF, qRgb(0, 128, 0)},
    };
    for (const auto& c : kCases) {
        View view;
        auto& tiny = AddShape(view, 2, {100, 100, 110, 110});
        tiny.fillKind = c.fill;
        tiny.fillColour = c.fillColour;
        tiny.lineColour = 0x008000;
        // A large copy next to it draws in full: its outline is the line colour.
        auto& large = AddShape(view, 2, {200, 100, 400, 300});
        large.fillKind = c.fill;
        large.fillColour = c.fillColour;
        large.lineColour = 0x008000;
        QImage image(60, 60, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        const DrawContext dc(painter, kOnePixelPerUnit, kOnePixelPerUnit, 100, 100);
        PaintOptions options;
        options.background = 0x808080;
        options.deviceClip = {0, 0, 60, 60};
        PaintView(view, dc, options);
        painter.end();
        // The block covers the pixel at (10, 10) with the one colour, unblended because
        // the painter does not antialias here.
        EXPECT_EQ(image.pixel(10, 10), c.expected) << c.name;
        EXPECT_EQ(image.pixel(20, 10), qRgb(0, 128, 0)) << c.name;
    }
}

} // namespace
} // namespace figures
