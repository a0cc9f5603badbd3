#include "figures/model/objects/crichgraph.h"
#include "figures/model/objects/crichline.h"
#include "figures/model/handles/handlelist.h"
#include "figures/model/objects/objectui.h"
#include "figures/model/objects/shapetextstore.h"
#include "figures/render/gbk.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace figures {
namespace {

const DeviceMapping kOneToOne(254, 254);

class MockUi : public ObjectUi {
public:
    MOCK_METHOD(bool, ChooseLineEnd, (Point, const LineEnd&, LineEnd&), (override));
    MOCK_METHOD(void, EditShapeText, (const Rect&, const std::string&, const TextChanged&),
                (override));
};

int32_t HitCode(CBaseCom& object, Point device)
{
    HitRecord hit;
    hit.map = &kOneToOne;
    hit.devicePoint = device;
    object.OnMessage(OM_SET_CURSOR, &hit);
    return hit.hitCode;
}

TEST(ShapeHandles, OnlyTheInsideOfAClosedOutlineIsTheBody)
{
    CRichGraph ellipse(10);
    ellipse.frame = {0, 0, 200, 100};
    EXPECT_EQ(HitCode(ellipse, {100, 50}), HIT_BODY);
    EXPECT_EQ(HitCode(ellipse, {15, 10}), HIT_MISS); // inside the frame, outside the ellipse

    // An open figure has no inside: its whole frame is the body.
    CRichGraph arc(24);
    arc.frame = {0, 0, 200, 200};
    EXPECT_EQ(HitCode(arc, {150, 150}), HIT_BODY);

    // Inner figures do not make holes for hitting.
    CRichGraph sign(21);
    sign.frame = {0, 0, 100, 100};
    EXPECT_EQ(HitCode(sign, {70, 30}), HIT_BODY);
}

TEST(ShapeHandles, AdjustHandlesStartHandleDrags)
{
    CRichGraph rounded(6); // one structure handle at (1365, 0), pushed above the frame
    rounded.frame = {0, 0, 300, 300};
    HitRecord hit;
    hit.map = &kOneToOne;
    hit.devicePoint = {50, -12};
    EXPECT_EQ(rounded.OnMessage(OM_MOUSE_DOWN, &hit), OM_HANDLE_DRAG);
    EXPECT_EQ(hit.hitCode, 0);
    EXPECT_EQ(hit.kind, HK_STRUCTURE);
}

TEST(ShapeHandles, DraggingAnAdjustHandleReshapesTheOwnProgram)
{
    CRichGraph rounded(6);
    rounded.frame = {0, 0, 8191, 8191}; // one unit per grid step
    const std::vector<uint8_t> before(rounded.GetProgram().begin(), rounded.GetProgram().end());
    HandleDragRecord drag;
    drag.handle = 0;
    rounded.OnMessage(OM_BEGIN_HANDLE_DRAG, &drag);
    drag.dx = 1000;
    rounded.OnMessage(OM_TRACK_HANDLE_DRAG, &drag);
    EXPECT_TRUE(drag.hasOutline);
    // The handle moved along x and the corner radius followed it.
    const Handle handle = HandleList::Decode(rounded.GetProperty(PT_HANDLES)).At(0);
    EXPECT_EQ(handle.kind, HK_STRUCTURE);
    EXPECT_EQ(handle.grid.x, 1365 + 1000);
    const std::span<const uint8_t> after = rounded.GetProgram();
    ASSERT_GE(after.size(), 12u);
    EXPECT_EQ(after[10] | after[11] << 8, 1365 + 1000); // code 8's radius word
    // Dragging far past the centre stops at half a side.
    drag.dx = 9000;
    rounded.OnMessage(OM_TRACK_HANDLE_DRAG, &drag);
    EXPECT_EQ(HandleList::Decode(rounded.GetProperty(PT_HANDLES)).At(0).grid.x, 4095);
    rounded.OnMessage(OM_END_HANDLE_DRAG, &drag);

    rounded.flags |= OF_LOCKED;
    const std::vector<uint8_t> locked(rounded.GetProgram().begin(), rounded.GetProgram().end());
    rounded.OnMessage(OM_BEGIN_HANDLE_DRAG, &drag);
    drag.dx = -3000;
    rounded.OnMessage(OM_TRACK_HANDLE_DRAG, &drag);
    EXPECT_FALSE(drag.hasOutline);
    EXPECT_EQ(std::vector<uint8_t>(rounded.GetProgram().begin(), rounded.GetProgram().end()),
              locked);
    EXPECT_NE(locked, before);
}

// The state of a shape that handle drags change.
struct DraggedShape {
    Rect frame;
    int32_t angle = 0;
    std::vector<uint8_t> program;
    std::vector<uint8_t> handles;
    friend bool operator==(const DraggedShape&, const DraggedShape&) = default;
};

DraggedShape StateOf(const CRichGraph& shape)
{
    const auto program = shape.GetProgram();
    const auto handles = shape.GetProperty(PT_HANDLES);
    return {shape.frame,
            shape.angle,
            {program.begin(), program.end()},
            {handles.begin(), handles.end()}};
}

TEST(ShapeHandles, DragsUnderWayAtOnceKeepTheirOwnStarts)
{
    // Each drag: a shape, a handle (adjust handle index or hit code) and two moves.
    struct Drag {
        int32_t entry;
        Rect frame;
        int32_t handle;
        Point first;
        Point second;
    };
    const Drag drags[] = {
        {6, {0, 0, 8191, 8191}, 0, {1000, 0}, {1500, 300}},       // corner radius
        {16, {500, 500, 4595, 6500}, 0, {0, 700}, {0, 900}},      // cube depth
        {1, {100, 100, 2100, 1100}, 2, {300, -200}, {600, -400}}, // curve point
        {2, {0, 0, 3000, 2000}, HIT_BOTTOM_RIGHT, {400, 100}, {-300, 50}},
        {10, {0, 0, 3000, 2000}, HIT_ROTATE, {1000, -500}, {2500, -1500}},
    };
    constexpr size_t kDrags = std::size(drags);
    const auto begin = [](CRichGraph& shape, HandleDragRecord& record, const Drag& drag) {
        shape.flags |= OF_ROTATE;
        shape.frame = drag.frame;
        record.handle = drag.handle;
        shape.OnMessage(OM_BEGIN_HANDLE_DRAG, &record);
    };
    const auto move = [](CRichGraph& shape, HandleDragRecord& record, Point offset) {
        record.dx = offset.x;
        record.dy = offset.y;
        shape.OnMessage(OM_TRACK_HANDLE_DRAG, &record);
    };
    // One after the other, as a single view drags them.
    std::vector<DraggedShape> alone;
    for (const Drag& drag : drags) {
        CRichGraph shape(drag.entry);
        HandleDragRecord record;
        begin(shape, record, drag);
        const DraggedShape before = StateOf(shape);
        move(shape, record, drag.first);
        move(shape, record, drag.second);
        shape.OnMessage(OM_END_HANDLE_DRAG, &record);
        alone.push_back(StateOf(shape));
        EXPECT_FALSE(alone.back() == before) << "drag " << alone.size() - 1 << " did nothing";
    }
    // All begun before any moves, then the moves interleaved.
    std::vector<std::unique_ptr<CRichGraph>> shapes;
    std::vector<HandleDragRecord> records(kDrags);
    for (size_t i = 0; i < kDrags; ++i) {
        shapes.push_back(std::make_unique<CRichGraph>(drags[i].entry));
        begin(*shapes[i], records[i], drags[i]);
    }
    for (size_t i = 0; i < kDrags; ++i) {
        move(*shapes[i], records[i], drags[i].first);
    }
    for (size_t i = kDrags; i-- > 0;) {
        move(*shapes[i], records[i], drags[i].second);
    }
    for (size_t i = 0; i < kDrags; ++i) {
        shapes[i]->OnMessage(OM_END_HANDLE_DRAG, &records[i]);
        EXPECT_TRUE(StateOf(*shapes[i]) == alone[i]) << "drag " << i;
    }
}

TEST(LineHandles, ThickDiagonalLinesAreHitInsideTheirHexagon)
{
    CRichLine line;
    line.lineWidth = 200; // 71 units: half-width 35
    line.SetEndPoints({0, 0}, {400, 400});
    EXPECT_EQ(HitCode(line, {200, 200}), HIT_BODY);
    EXPECT_EQ(HitCode(line, {200 + 22, 200 - 22}), HIT_BODY); // 31 units off the axis
    EXPECT_EQ(HitCode(line, {200 + 28, 200 - 28}), HIT_MISS); // 40 units off
    EXPECT_EQ(HitCode(line, {380, 20}), HIT_MISS);            // inside the frame, far off

    CRichLine thin;
    thin.SetEndPoints({0, 0}, {400, 400});
    EXPECT_EQ(HitCode(thin, {200 + 2, 200 - 2}), HIT_BODY); // within the handle half-size
    EXPECT_EQ(HitCode(thin, {200 + 5, 200 - 5}), HIT_MISS);
    // No resize handles: the frame's top-right corner is just a miss.
    EXPECT_EQ(HitCode(thin, {400, 0}), HIT_MISS);
    EXPECT_EQ(HitCode(thin, {400, 400}), 1); // the second end point
}

TEST(LineHandles, DraggingTheSecondEndSnapsToTheFirst)
{
    CRichLine line;
    line.SetEndPoints({100, 100}, {300, 400});
    HitRecord hit;
    hit.map = &kOneToOne;
    hit.devicePoint = {300, 400};
    hit.mode = 2;
    line.OnMessage(OM_SET_CURSOR, &hit);
    EXPECT_STREQ(hit.tooltip, "拖动此调节器可改变线条方向与长度");
    ASSERT_EQ(line.OnMessage(OM_MOUSE_DOWN, &hit), OM_HANDLE_DRAG);

    HandleDragRecord drag;
    drag.handle = hit.hitCode;
    line.OnMessage(OM_BEGIN_HANDLE_DRAG, &drag);
    drag.dx = -193; // to x = 107: within 10 of the first end's 100
    drag.dy = 0;
    line.OnMessage(OM_TRACK_HANDLE_DRAG, &drag);
    EXPECT_TRUE(drag.hasOutline);
    Point p1, p2;
    ASSERT_TRUE(line.EndPoints({line.frame.left, line.frame.top}, p1, p2));
    EXPECT_EQ(p1, (Point{100, 100}));
    EXPECT_EQ(p2, (Point{100, 400}));
    EXPECT_EQ(line.frame.Width(), 15);

    // Dragging onto the other end changes nothing.
    drag.dx = -200;
    drag.dy = -300;
    line.OnMessage(OM_TRACK_HANDLE_DRAG, &drag);
    EXPECT_FALSE(drag.hasOutline);
}

TEST(LineHandles, CapButtonsAskForTheEndAndStoreTheChoice)
{
    CRichLine line;
    line.capButtons = CRichLine::BothButtons;
    line.SetEndPoints({100, 100}, {600, 100});
    MockUi ui;
    EXPECT_CALL(ui, ChooseLineEnd(testing::_, testing::_, testing::_))
        .WillOnce([](Point, const LineEnd&, LineEnd& chosen) {
            chosen = {5, 2, 3};
            return true;
        });
    HitRecord hit;
    hit.map = &kOneToOne;
    hit.ui = &ui;
    // Handle 3 is the second end's button; its handle sits on the end point.
    hit.devicePoint = {600, 100};
    line.OnMessage(OM_SET_CURSOR, &hit); // the drag handle of the end comes first in the list
    EXPECT_EQ(hit.hitCode, 1);

    // Put the buttons away from the end points to press one.
    HandleList handles = HandleList::Decode(line.GetProperty(PT_HANDLES));
    HandleList moved;
    moved.Add(HK_DRAG, handles.At(0).grid);
    moved.Add(HK_DRAG, handles.At(1).grid);
    moved.Add(HK_BUTTON, {0, 0});
    moved.Add(HK_BUTTON, {4095, 0});
    line.SetProperty(PT_HANDLES, moved.Bytes());
    hit.devicePoint = {350, 88}; // buttons on the frame's edge sit three half-sizes out
    EXPECT_EQ(line.OnMessage(OM_MOUSE_DOWN, &hit), 0);
    EXPECT_EQ(line.end2Type, 5);
    EXPECT_EQ(line.end2Size, 2);
    EXPECT_EQ(line.end2Length, 3);
    EXPECT_EQ(line.end1Type, 0);
}

TEST(ShapeText, DoubleClickEditsTheBoxInPlace)
{
    CRichGraph rectangle(2);
    rectangle.frame = {0, 0, 400, 200};
    MockUi ui;
    Rect followed;
    EXPECT_CALL(ui, EditShapeText(testing::_, std::string(), testing::_))
        .WillOnce([&](const Rect& box, const std::string&, const ObjectUi::TextChanged& changed) {
            EXPECT_GT(box.Width(), 300);
            followed = changed(ToGbk(QString::fromUtf8("开始")));
        });
    DoubleClickRecord click;
    click.map = &kOneToOne;
    click.devicePoint = {200, 100};
    click.ui = &ui;
    EXPECT_EQ(rectangle.OnMessage(OM_DOUBLE_CLICK, &click), 0);
    EXPECT_FALSE(followed.IsEmpty());
    ASSERT_EQ(ReadBoxTexts(rectangle).size(), 1u);
    EXPECT_EQ(FromGbk(ReadBoxTexts(rectangle)[0].text), QString::fromUtf8("开始"));

    HitRecord hover;
    hover.map = &kOneToOne;
    hover.devicePoint = {200, 100};
    hover.mode = 1;
    rectangle.OnMessage(OM_SET_CURSOR, &hover);
    EXPECT_EQ(hover.cursor, CursorShape::TextBox);

    click.textEditAllowed = false;
    EXPECT_EQ(rectangle.OnMessage(OM_DOUBLE_CLICK, &click), -1);
    click.textEditAllowed = true;
    click.devicePoint = {1000, 1000};
    EXPECT_EQ(rectangle.OnMessage(OM_DOUBLE_CLICK, &click), -1);
}

} // namespace
} // namespace figures
