#include "figures/model/objects/crectcom.h"
#include "figures/model/handles/cursorimages.h"
#include "figures/model/handles/handlelist.h"
#include "figures/model/handles/objecthandles.h"
#include "figures/render/drawcontext.h"

#include <QImage>

#include <gtest/gtest.h>

namespace figures {
namespace {

// At 254 dpi and 100 % one document unit is one device pixel.
const DeviceMapping kOneToOne(254, 254);

HitRecord Hit(CBaseCom& object, Point device, int32_t mode = 2)
{
    HitRecord hit;
    hit.map = &kOneToOne;
    hit.devicePoint = device;
    hit.mode = mode;
    object.OnMessage(OM_SET_CURSOR, &hit);
    return hit;
}

int32_t TrackDrag(CBaseCom& object, int32_t handle, int32_t dx, int32_t dy)
{
    HandleDragRecord drag;
    drag.handle = handle;
    object.OnMessage(OM_BEGIN_HANDLE_DRAG, &drag);
    drag.dx = dx;
    drag.dy = dy;
    const int32_t result = object.OnMessage(OM_TRACK_HANDLE_DRAG, &drag);
    object.OnMessage(OM_END_HANDLE_DRAG, &drag);
    return result;
}

TEST(Handles, SmallFramesShowOnlyTheirCorners)
{
    CRectCom small;
    small.frame = {100, 100, 115, 115};
    EXPECT_EQ(Hit(small, {100, 100}).hitCode, HIT_TOP_LEFT);
    EXPECT_EQ(Hit(small, {117, 113}).hitCode, HIT_BOTTOM_RIGHT);
    // Two pixels inside the top edge's midpoint: no edge handle there, so the body.
    EXPECT_EQ(Hit(small, {107, 102}).hitCode, HIT_BODY);
    // On the right edge's midpoint, outside the frame: a hidden handle hides nothing.
    EXPECT_EQ(Hit(small, {116, 107}).hitCode, HIT_MISS);
    // No rotation handle on small frames.
    EXPECT_EQ(Hit(small, {88, 115}).hitCode, HIT_MISS);

    CRectCom large;
    large.frame = {100, 100, 200, 150};
    large.flags |= OF_ROTATE;
    EXPECT_EQ(Hit(large, {150, 101}).hitCode, HIT_TOP);
    EXPECT_EQ(Hit(large, {201, 126}).hitCode, HIT_RIGHT);
    EXPECT_EQ(Hit(large, {88, 150}).hitCode, HIT_ROTATE);
    EXPECT_EQ(Hit(large, {150, 125}).hitCode, HIT_BODY);
    EXPECT_EQ(Hit(large, {250, 125}).hitCode, HIT_MISS);
    large.flags &= ~OF_ROTATE;
    EXPECT_EQ(Hit(large, {88, 150}).hitCode, HIT_MISS);
}

TEST(Handles, AdjustHandlesComeBeforeResizeHandlesBeforeTheBody)
{
    CRectCom object;
    object.frame = {0, 0, 100, 100};
    HandleList handles;
    handles.Add(HK_DRAG, {0, 0}); // a plain mark right on the top-left corner
    handles.Add(HK_STRUCTURE, {4095, 4095}, 2);
    object.SetProperty(PT_HANDLES, handles.Bytes());
    const HitRecord corner = Hit(object, {1, 1});
    EXPECT_EQ(corner.hitCode, 0);
    EXPECT_EQ(corner.cursor, CursorShape::MoveResizer);
    EXPECT_STREQ(corner.tooltip, "拖动此调节器可调整对象局部尺寸");
    const HitRecord middle = Hit(object, {52, 48});
    EXPECT_EQ(middle.hitCode, 1);
    EXPECT_EQ(middle.cursor, CursorShape::SizeNS); // sub-kind 2
    EXPECT_STREQ(middle.tooltip, "拖动此调节器可调整对象内部结构");
    EXPECT_EQ(Hit(object, {20, 20}).hitCode, HIT_BODY);
    EXPECT_STREQ(Hit(object, {20, 20}).tooltip, "");

    // Structure handles on the boundary are pushed out by three half-sizes.
    HandleList edge;
    edge.Add(HK_STRUCTURE, {8191, 4095});
    object.SetProperty(PT_HANDLES, edge.Bytes());
    EXPECT_EQ(Hit(object, {112, 50}).hitCode, 0);
    EXPECT_EQ(Hit(object, {100, 50}).hitCode, HIT_RIGHT);
}

TEST(Handles, CursorsFollowTheObjectsAngle)
{
    CRectCom object;
    object.frame = {100, 100, 200, 200};
    object.flags |= OF_ROTATE;
    object.angle = 900;
    // Turned a quarter, the left and right handles point up and down.
    const Point left = StandardHandlePoint(object.frame, 7, object.angle, kHandleHalfSize);
    const HitRecord hit = Hit(object, left);
    EXPECT_EQ(hit.hitCode, HIT_LEFT);
    EXPECT_EQ(hit.cursor, CursorShape::SizeNS);
    EXPECT_STREQ(hit.tooltip, "拖动此调节器可改变尺寸");

    struct Case {
        int32_t code, angle;
        CursorShape cursor;
    } cases[] = {
        {HIT_LEFT, 0, CursorShape::SizeWE},
        {HIT_TOP, 199, CursorShape::SizeNS},
        {HIT_TOP_LEFT, 250, CursorShape::SizeNS},
        {HIT_LEFT, 450, CursorShape::SizeNWSE},
        {HIT_TOP_RIGHT, 1000, CursorShape::SizeNWSE},
        {HIT_RIGHT, 1400, CursorShape::SizeNESW},
        {HIT_BOTTOM, 2450, CursorShape::SizeNESW},
        {HIT_BOTTOM_LEFT, 3000, CursorShape::SizeNS},
        {HIT_LEFT, 3400, CursorShape::SizeNESW},
        {HIT_LEFT, 3401, CursorShape::SizeWE},
        {HIT_TOP_LEFT, 3599, CursorShape::SizeNWSE},
        {HIT_LEFT, -2700, CursorShape::SizeNS},
        {HIT_BODY, 0, CursorShape::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ResizeCursor(c.code, c.angle), c.cursor) << c.code << " at " << c.angle;
    }
    EXPECT_EQ(Hit(object, {150, 150}).cursor, CursorShape::SizeAll);
    EXPECT_EQ(Hit(object, StandardHandlePoint(object.frame, 8, 900, 4)).cursor,
              CursorShape::Rotate);
}

TEST(Handles, LockedObjectsAreBodyOnlyWithTheArrow)
{
    CRectCom object;
    object.frame = {0, 0, 100, 100};
    object.flags |= OF_LOCKED;
    const HitRecord corner = Hit(object, {0, 0});
    EXPECT_EQ(corner.hitCode, HIT_BODY);
    EXPECT_EQ(corner.cursor, CursorShape::Arrow);
    EXPECT_EQ(TrackDrag(object, HIT_RIGHT, 50, 0), 0);
    EXPECT_EQ(object.frame, (Rect{0, 0, 100, 100}));

    // Its handles are still drawn, in grey, without a rotation handle.
    QImage image(140, 140, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawContext dc(painter, 254, 254, 1000, 1000, {-20, -20});
    DrawRequest request;
    request.dc = &dc;
    request.target = object.frame;
    object.OnMessage(OM_DRAW_MARKS, &request);
    painter.end();
    EXPECT_EQ(image.pixel(20 - 4, 20), qRgb(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(image.pixel(20, 20), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(20 - 12, 120), qRgb(255, 255, 255)); // no rotation handle
}

TEST(HandleDrags, ResizingStopsAtFifteenAndKeepsTheOppositeEdge)
{
    CRectCom object;
    object.frame = {0, 0, 100, 60};
    TrackDrag(object, HIT_LEFT, 95, 0);
    EXPECT_EQ(object.frame, (Rect{85, 0, 100, 60}));

    object.frame = {0, 0, 100, 60};
    TrackDrag(object, HIT_BOTTOM_RIGHT, 40, -50);
    EXPECT_EQ(object.frame, (Rect{0, 0, 140, 15}));

    object.frame = {0, 0, 100, 60};
    TrackDrag(object, HIT_TOP, 30, -20); // the top handle ignores sideways motion
    EXPECT_EQ(object.frame, (Rect{0, -20, 100, 60}));
}

TEST(HandleDrags, EveryResizeHandleStopsAtFifteenUnits)
{
    // Each handle dragged far past the opposite edge, and each dragged to leave exactly
    // fifteen units: the dragged edges stop fifteen units from the edges that stay.
    struct Case {
        const char* name;
        int32_t handle, dx, dy;
        Rect expected;
    } const cases[] = {
        {"left", HIT_LEFT, 500, 0, {85, 0, 100, 60}},
        {"right", HIT_RIGHT, -500, 0, {0, 0, 15, 60}},
        {"top", HIT_TOP, 0, 500, {0, 45, 100, 60}},
        {"bottom", HIT_BOTTOM, 0, -500, {0, 0, 100, 15}},
        {"top left", HIT_TOP_LEFT, 500, 500, {85, 45, 100, 60}},
        {"top right", HIT_TOP_RIGHT, -500, 500, {0, 45, 15, 60}},
        {"bottom left", HIT_BOTTOM_LEFT, 500, -500, {85, 0, 100, 15}},
        {"bottom right", HIT_BOTTOM_RIGHT, -500, -500, {0, 0, 15, 15}},
        {"right to sixteen", HIT_RIGHT, -84, 0, {0, 0, 16, 60}},
        {"right to fifteen", HIT_RIGHT, -85, 0, {0, 0, 15, 60}},
        {"bottom to sixteen", HIT_BOTTOM, 0, -44, {0, 0, 100, 16}},
        {"bottom to fifteen", HIT_BOTTOM, 0, -45, {0, 0, 100, 15}},
        {"left to sixteen", HIT_LEFT, 84, 0, {84, 0, 100, 60}},
        {"top to sixteen", HIT_TOP, 0, 44, {0, 44, 100, 60}},
    };
    for (const Case& c : cases) {
        CRectCom object;
        object.frame = {0, 0, 100, 60};
        TrackDrag(object, c.handle, c.dx, c.dy);
        EXPECT_EQ(object.frame, c.expected) << c.name;
    }
}

TEST(HandleDrags, ResizingATurnedObjectKeepsTheOppositeEdgeOnScreen)
{
    for (const int32_t angle : {300, 900, 1350, 2100}) {
        CRectCom object;
        object.frame = {1000, 1000, 1400, 1200};
        object.angle = angle;
        const Point leftBefore = StandardHandlePoint(object.frame, 7, angle, 4);
        // Drag the right handle outward along the object's own x axis by 100.
        const Point along = RotatePoint({0, 0}, {100, 0}, angle);
        TrackDrag(object, HIT_RIGHT, along.x, along.y);
        EXPECT_NEAR(object.frame.Width(), 500, 1) << angle;
        EXPECT_EQ(object.frame.Height(), 200) << angle;
        const Point leftAfter = StandardHandlePoint(object.frame, 7, angle, 4);
        EXPECT_NEAR(leftAfter.x, leftBefore.x, 2) << angle;
        EXPECT_NEAR(leftAfter.y, leftBefore.y, 2) << angle;
    }
}

TEST(HandleDrags, RotationFollowsTheBottomLeftCorner)
{
    CRectCom square;
    square.frame = {0, 0, 100, 100};
    const HandleDragRecord dragged = [&] {
        HandleDragRecord drag;
        drag.handle = HIT_ROTATE;
        square.OnMessage(OM_BEGIN_HANDLE_DRAG, &drag);
        drag.dx = 100;
        square.OnMessage(OM_TRACK_HANDLE_DRAG, &drag);
        return drag;
    }();
    EXPECT_EQ(square.angle, 2700);
    EXPECT_TRUE(dragged.hasOutline);
    // The outline is the turned frame at (0, 0).
    EXPECT_EQ(dragged.outline.boundingRect().toRect(), QRect(0, 0, 100, 100));

    TrackDrag(square, HIT_ROTATE, 0, -100); // from 2700: the corner goes up to the top-left
    EXPECT_EQ(square.angle, 1800);
}

TEST(HandleDrags, RotationRoundsToTheNearestTenthOfADegree)
{
    // Off the quarter turns the angle has a fraction: a turn of 23.1986 degrees must
    // become 232 tenths, never the truncated 231, and 26.565 degrees 266; 14.036 degrees
    // stays 140 and 6.340 stays 63, never rounded up.
    struct Case {
        const char* name;
        int32_t dx, dy, angle;
    } const cases[] = {
        {"fraction above a half", 0, -30, 232}, {"fraction above a half again", -10, -30, 266},
        {"fraction below a half", 0, -20, 140}, {"fraction well below a half", 0, -10, 63},
        {"back past the start", 100, 1, 2706},
    };
    for (const Case& c : cases) {
        CRectCom square;
        square.frame = {0, 0, 100, 100};
        TrackDrag(square, HIT_ROTATE, c.dx, c.dy);
        EXPECT_EQ(square.angle, c.angle) << c.name;
    }
}

TEST(HandleDrags, MouseDownTurnsHitsIntoActions)
{
    CRectCom object;
    object.frame = {0, 0, 100, 100};
    HitRecord hit;
    hit.map = &kOneToOne;
    hit.devicePoint = {100, 50};
    EXPECT_EQ(object.OnMessage(OM_MOUSE_DOWN, &hit), OM_HANDLE_DRAG);
    EXPECT_EQ(hit.hitCode, HIT_RIGHT);
    hit.devicePoint = {50, 50};
    EXPECT_EQ(object.OnMessage(OM_MOUSE_DOWN, &hit), OM_MOVE);
    hit.devicePoint = {300, 50};
    EXPECT_EQ(object.OnMessage(OM_MOUSE_DOWN, &hit), -1);
}

} // namespace
} // namespace figures

namespace figures {
namespace {

TEST(CursorImages, OwnCursorsLoadWithTheirHotSpotsInside)
{
    for (const CursorShape shape : {CursorShape::MoveResizer, CursorShape::MoveHandler,
                                    CursorShape::Hand, CursorShape::Rotate, CursorShape::TextBox}) {
        QPoint hot(-1, -1);
        const QImage image = CursorImage(shape, &hot);
        ASSERT_EQ(image.size(), QSize(32, 32)) << int(shape);
        EXPECT_TRUE(image.rect().contains(hot)) << int(shape);
        EXPECT_TRUE(image.hasAlphaChannel());
        EXPECT_EQ(qAlpha(image.pixel(0, 31)), 0); // a transparent corner
    }
    EXPECT_TRUE(CursorImage(CursorShape::SizeWE).isNull());
}

} // namespace
} // namespace figures
