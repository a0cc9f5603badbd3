#include "figures/model/objects/ccmbobj.h"
#include "figures/model/objects/cgraphcom.h"
#include "figures/model/objects/clinegraph.h"
#include "figures/model/objects/crichgraph.h"
#include "figures/model/objects/crichline.h"
#include "figures/model/view.h"
#include "figures/model/viewpainter.h"
#include "figures/render/drawcontext.h"

#include <QImage>

#include <gtest/gtest.h>

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

TEST(ShapeFill, PatternFiftyPercentIsAOnePixelCheckerboard)
{
    View view;
    auto& shape = AddShape(view, 2, {10, 10, 90, 90});
    shape.lineStyle = 0;
    shape.fillKind = 2;
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
    EXPECT_EQ(shape.fillKind, 1);
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
    white.fillKind = 0;
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
        int32_t entry, fillKind;
        bool silhouette, opaqueFill;
    } cases[] = {
        {2, 1, true, true},    {2, 0, true, true},    {2, 5, true, false},    {2, 4, false, false},
        {24, 1, false, false}, {-1, 1, false, false}, {110, 1, false, false},
    };
    for (const Case& c : cases) {
        CRichGraph shape(c.entry);
        shape.frame = {0, 0, 100, 100};
        shape.fillKind = c.fillKind;
        RegionRequest silhouette{&draw, {}, false};
        EXPECT_EQ(shape.OnMessage(OM_GET_REGION, &silhouette), c.silhouette ? 0 : -1);
        EXPECT_EQ(silhouette.found, c.silhouette) << c.entry << "/" << c.fillKind;
        RegionRequest fill{&draw, {}, false};
        shape.OnMessage(OM_FILL_HOOK, &fill);
        EXPECT_EQ(fill.found, c.opaqueFill) << c.entry << "/" << c.fillKind;
    }
}

// Counts the draw messages it receives.
class CountingObject : public CBaseCom {
public:
    int32_t OnMessage(ObjectMessage code, const MessageArgs& args) override
    {
        if (code == OM_DRAW) {
            ++draws;
            lastTarget = MessageRecord<DrawRequest>(args)->target;
            return 0;
        }
        return CBaseCom::OnMessage(code, args);
    }
    int draws = 0;
    Rect lastTarget;
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
    polyline->fillKind = 1;
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

} // namespace
} // namespace figures
