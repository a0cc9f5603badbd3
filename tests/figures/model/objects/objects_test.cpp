#include "figures/model/objects/ccmbobj.h"
#include "figures/model/objects/cgraphcom.h"
#include "figures/model/objects/clinegraph.h"
#include "figures/model/objects/cnptextbox.h"
#include "figures/model/objects/cpcxpicturebox.h"
#include "figures/model/objects/cpicturebox.h"
#include "figures/model/objects/crichgraph.h"
#include "figures/model/objects/crichline.h"
#include "figures/model/handles/handlelist.h"
#include "figures/model/objects/objectregistry.h"
#include "figures/render/shapes/catalogue.h"
#include "figures/render/shapes/shapeprogram.h"

#include <gtest/gtest.h>

namespace figures {
namespace {

using Bytes = std::vector<uint8_t>;

// Gives every root and rectangle member a value other than its default.
void SetNonDefaultRoot(CBaseCom& o)
{
    o.flags = 0x0C000155;
    o.reserved = 77;
    o.frame = {-20, 30, 480, 230};
    o.layer = 5;
    o.angle = 1234;
    o.jumpTarget = "\xC1\xF7\xB3\xCC"; // GBK text
    o.SetProperty(9, Bytes{1, 2, 3});
    o.SetProperty(11, nullptr, 1); // flag item
}

void SetNonDefaultRect(CRectCom& r)
{
    SetNonDefaultRoot(r);
    r.edgeMask = 0xA;
    r.lineStyle = 3;
    r.lineWidth = 25;
    r.lineColour = 0x0000FF;
    r.shadowDirection = 7;
    r.shadowOffset = 33;
    r.shadowColour = 0x404040;
    r.fillKind = FillKind::Pattern;
    r.fillColour = 0x00FF00;
    r.hatchStyle = 17;
    r.picturePlacement = 4;
    r.fillPicture.SetBytes({'G', 'I', 'F', '8', '9', 'a'});
    r.gradientKind = -3;
    r.gradientCount = 8;
    for (size_t i = 0; i < 8; ++i) {
        r.gradientColours[i] = uint32_t(0x010101 * (i + 1));
    }
    r.font.SetHeight(-48);
    r.font.SetWeight(700);
    r.font.SetItalic(1);
    r.font.SetFaceName("\xBA\xDA\xCC\xE5"); // 黑体
    r.textColour = 0x808000;
    r.textHAlign = 2;
    r.textVAlign = -1;
}

std::vector<std::unique_ptr<CBaseCom>> EveryClassWithNonDefaultValues()
{
    std::vector<std::unique_ptr<CBaseCom>> all;
    auto base = std::make_unique<CBaseCom>();
    SetNonDefaultRoot(*base);
    all.push_back(std::move(base));

    auto rect = std::make_unique<CRectCom>();
    SetNonDefaultRect(*rect);
    all.push_back(std::move(rect));

    auto graph = std::make_unique<CGraphCom>();
    SetNonDefaultRoot(*graph);
    graph->frameShape = CGraphCom::Diamond;
    all.push_back(std::move(graph));

    auto picture = std::make_unique<CPictureBox>();
    SetNonDefaultRect(*picture);
    picture->placement = 12;
    picture->picture.SetBytes({'B', 'M', 0, 1, 2});
    all.push_back(std::move(picture));

    auto pcx = std::make_unique<CPCXPictureBox>();
    SetNonDefaultRect(*pcx);
    pcx->pcxPicture.Set(16, 2, {0xF0, 0x0F, 0xAA, 0x55});
    all.push_back(std::move(pcx));

    auto text = std::make_unique<CNPTextBox>();
    SetNonDefaultRect(*text);
    text->margins = {1, 2, 3, 4};
    text->lines = {"first", "", "\xB5\xDA\xC8\xFD"};
    all.push_back(std::move(text));

    auto line = std::make_unique<CRichLine>();
    SetNonDefaultRect(*line);
    line->end2Size = 2;
    line->end1Size = 3;
    line->end2Length = 3;
    line->end1Length = 2;
    line->end2Type = 5;
    line->end1Type = 11;
    line->capButtons = CRichLine::BothButtons;
    line->SetEndPoints({0, 0}, {300, 200});
    all.push_back(std::move(line));

    auto custom = std::make_unique<CRichGraph>(CRichGraph::kCustomShape);
    SetNonDefaultRect(*custom);
    const uint16_t program[] = {3, 0, 0, 4, 8191, 8191, 0};
    EXPECT_TRUE(custom->SetProgram(reinterpret_cast<const uint8_t*>(program), sizeof program));
    all.push_back(std::move(custom));

    auto preset = std::make_unique<CRichGraph>(64);
    SetNonDefaultRect(*preset);
    all.push_back(std::move(preset));

    auto polyline = std::make_unique<CLineGraph>();
    SetNonDefaultRect(*polyline);
    polyline->closed = 1;
    polyline->layoutWidth = 500;
    polyline->layoutHeight = 200;
    polyline->SetPoints({{0, 0}, {500, 200}, {250, -10}});
    all.push_back(std::move(polyline));

    std::vector<std::unique_ptr<CBaseCom>> members;
    members.push_back(std::make_unique<CRichGraph>(10));
    members.back()->frame = {0, 0, 100, 100};
    auto inner = std::make_unique<CCmbObj>();
    inner->children.push_back(std::make_unique<CRichLine>());
    members.push_back(std::move(inner));
    auto group = CCmbObj::Group(std::move(members));
    SetNonDefaultRect(*group);
    group->layoutWidth = 480;
    all.push_back(std::move(group));
    return all;
}

TEST(ObjectRecords, EveryClassReadsBackWhatItWrote)
{
    const auto all = EveryClassWithNonDefaultValues();
    ASSERT_EQ(all.size(), 11u);
    for (const auto& object : all) {
        SCOPED_TRACE(std::string(object->ClassName()));
        const Bytes written = WriteObject(*object);
        CArchive ar(written);
        const ReadObjectResult read = ReadObject(ar);
        ASSERT_NE(read.object, nullptr) << read.error;
        EXPECT_EQ(ar.Remaining(), 0u);
        EXPECT_EQ(read.object->TypeId(), object->TypeId());
        EXPECT_EQ(read.object->ClassName(), object->ClassName());
        EXPECT_EQ(read.object->frame, object->frame);
        EXPECT_EQ(read.object->flags, object->flags);
        EXPECT_EQ(read.object->jumpTarget, object->jumpTarget);
        EXPECT_EQ(read.object->reserved, 77);
        EXPECT_EQ(read.object->GetProperty(9).size(), 3u);
        EXPECT_EQ(WriteObject(*read.object), written);
    }
}

TEST(ObjectRecords, ClassPartsSurviveTheRecord)
{
    const auto all = EveryClassWithNonDefaultValues();
    std::vector<std::unique_ptr<CBaseCom>> back;
    for (const auto& object : all) {
        const Bytes written = WriteObject(*object);
        CArchive ar(written);
        back.push_back(ReadObject(ar).object);
        ASSERT_NE(back.back(), nullptr);
    }
    const auto& rect = static_cast<const CRectCom&>(*back[1]);
    EXPECT_EQ(rect.hatchStyle, 17);
    EXPECT_EQ(rect.gradientColours[7], 0x080808u);
    EXPECT_EQ(rect.font.Weight(), 700);
    EXPECT_EQ(rect.font.FaceName(), "\xBA\xDA\xCC\xE5");
    EXPECT_EQ(rect.textVAlign, -1);
    EXPECT_EQ(rect.fillPicture.Bytes().size(), 6u);
    EXPECT_EQ(static_cast<const CGraphCom&>(*back[2]).frameShape, CGraphCom::Diamond);
    EXPECT_EQ(static_cast<const CPictureBox&>(*back[3]).placement, 12);
    EXPECT_EQ(static_cast<const CPCXPictureBox&>(*back[4]).pcxPicture.Width(), 16);
    EXPECT_EQ(static_cast<const CNPTextBox&>(*back[5]).lines[2], "\xB5\xDA\xC8\xFD");
    EXPECT_EQ(static_cast<const CNPTextBox&>(*back[5]).margins, (Rect{1, 2, 3, 4}));
    const auto& line = static_cast<const CRichLine&>(*back[6]);
    EXPECT_EQ(line.end1Type, 11);
    EXPECT_EQ(line.end2Length, 3);
    EXPECT_EQ(static_cast<const CRichGraph&>(*back[7]).GetProgram().size(), 14u);
    EXPECT_EQ(static_cast<const CRichGraph&>(*back[8]).shapeIndex, 64);
    EXPECT_EQ(static_cast<const CLineGraph&>(*back[9]).Points().size(), 3u);
    const auto& group = static_cast<const CCmbObj&>(*back[10]);
    ASSERT_EQ(group.children.size(), 2u);
    EXPECT_EQ(group.children[1]->TypeId(), TID_COMBINED);
    EXPECT_EQ(group.layoutWidth, 480);
}

TEST(ObjectRecords, TruncatedRecordsAreRefusedAtEveryLength)
{
    for (const auto& object : EveryClassWithNonDefaultValues()) {
        const Bytes written = WriteObject(*object);
        for (size_t n = 0; n < written.size(); ++n) {
            CArchive ar(std::span<const uint8_t>(written).first(n));
            ASSERT_EQ(ReadObject(ar).object, nullptr) << object->ClassName() << " cut at " << n;
        }
    }
}

TEST(ObjectRecords, CopyObjectRestoresABackup)
{
    CRichGraph shape(64);
    shape.frame = {0, 0, 200, 100};
    CRichGraph backup;
    ASSERT_TRUE(CopyObject(backup, shape));
    shape.frame = {5, 5, 10, 10};
    shape.SetProgram(nullptr, 0);
    ASSERT_TRUE(CopyObject(shape, backup));
    EXPECT_EQ(shape.frame, (Rect{0, 0, 200, 100}));
    EXPECT_EQ(shape.shapeIndex, 64);
    EXPECT_EQ(shape.GetProperty(PT_HANDLES).size(), 8u);

    CRectCom other;
    EXPECT_FALSE(CopyObject(other, shape));
}

TEST(ObjectRegistry, MapsEveryTypeIdAndOnlyThose)
{
    for (int32_t id = -1; id <= 12; ++id) {
        const auto object = ClassFromTypeId(id);
        const bool registered = id >= 1 && id <= 11 && id != 3;
        ASSERT_EQ(object != nullptr, registered) << id;
        if (object) {
            EXPECT_EQ(object->TypeId(), id);
        }
    }
    EXPECT_EQ(ClassFromTypeId(TID_RECT)->flags, 0x3Fu);
    EXPECT_EQ(ClassFromTypeId(TID_GRAPH)->flags, 0u);
    EXPECT_EQ(ClassFromTypeId(TID_PICTURE_BOX)->flags, 0x35u);
    EXPECT_EQ(ClassFromTypeId(TID_TEXT_BOX)->flags, 0x3Eu);
    EXPECT_EQ(ClassFromTypeId(TID_RICH_LINE)->flags, 0x157u);
    EXPECT_EQ(ClassFromTypeId(TID_RICH_GRAPH)->flags, 0x7Fu);
    EXPECT_EQ(ClassFromTypeId(TID_COMBINED)->flags, 0x171u);
    EXPECT_EQ(ClassFromTypeId(TID_LINE_GRAPH)->flags, 0x17Fu);
}

TEST(Properties, FlagItemsAndMissingItemsReadAsNothing)
{
    CBaseCom object;
    EXPECT_TRUE(object.GetProperty(2).empty());
    EXPECT_EQ(object.RecordId(), 0);
    ASSERT_TRUE(object.SetProperty(7, nullptr, 1));
    EXPECT_NE(object.RecordId(), 0);
    EXPECT_EQ(object.GetProperty(7).data(), nullptr);
    ASSERT_TRUE(object.SetProperty(8, Bytes{4, 5}));
    EXPECT_EQ(Bytes(object.GetProperty(8).begin(), object.GetProperty(8).end()), (Bytes{4, 5}));
    ASSERT_TRUE(object.RemoveProperty(8));
    EXPECT_TRUE(object.GetProperty(8).empty());
}

TEST(ShapeObjects, CatalogueAttributesShapeTheNewObject)
{
    CRichGraph curve(1);
    EXPECT_EQ(curve.fillKind, FillKind::None);
    EXPECT_EQ(HandleList::Decode(curve.GetProperty(PT_HANDLES)).Count(), 4u);
    EXPECT_EQ(HandleList::Decode(curve.GetProperty(PT_HANDLES)).At(2).grid, (Point{8191, 4095}));

    CRichGraph rectangle(2);
    EXPECT_EQ(rectangle.flags, 0x1FFu); // text box adds OF_TEXT
    EXPECT_TRUE(rectangle.GetProperty(PT_PROGRAM).empty());
    EXPECT_EQ(rectangle.GetProgram().data(), CatalogueEntry(2)->program.data());

    CRichGraph arc(24);
    EXPECT_FALSE(arc.HasFlag(OF_FILL));
    EXPECT_EQ(arc.TypeName(), "弧");

    CRichGraph beyond(110);
    EXPECT_TRUE(beyond.GetProgram().empty());
}

TEST(ShapeObjects, SetProgramKeepsOnlyValidPrograms)
{
    CRichGraph shape(64);
    const uint16_t good[] = {3, 0, 0, 4, 8191, 8191, 0};
    EXPECT_TRUE(shape.SetProgram(reinterpret_cast<const uint8_t*>(good), sizeof good));
    EXPECT_EQ(shape.shapeIndex, -1);
    EXPECT_TRUE(shape.GetProperty(PT_HANDLES).empty());
    EXPECT_EQ(shape.TypeName(), "自定义图形");

    const uint16_t unknownOpcode[] = {26, 0};
    EXPECT_FALSE(shape.SetProgram(reinterpret_cast<const uint8_t*>(unknownOpcode), 4));
    EXPECT_EQ(Bytes(shape.GetProgram().begin(), shape.GetProgram().end()), (Bytes{0, 0}));
    EXPECT_FALSE(shape.SetProgram(reinterpret_cast<const uint8_t*>(good), 5));

    // Too long to store: the shape keeps the empty program.
    std::vector<uint16_t> huge(kMaxProgramBytes / 2 + 2, 0);
    EXPECT_FALSE(shape.SetProgram(reinterpret_cast<const uint8_t*>(huge.data()), huge.size() * 2));
    EXPECT_EQ(shape.GetProgram().size(), 2u);

    shape.SetShapeIndex(64);
    EXPECT_EQ(shape.shapeIndex, 64);
    EXPECT_EQ(HandleList::Decode(shape.GetProperty(PT_HANDLES)).Count(), 2u);
    shape.SetShapeIndex(-5);
    EXPECT_EQ(shape.shapeIndex, -1);
}

TEST(ShapeObjects, CreationTrackingKeepsFifteenUnitsAndCopiesTheProgram)
{
    struct Case {
        int32_t dx, dy;
        Rect frame;
    } cases[] = {
        {0, 0, {100, 200, 115, 215}},   // a click
        {-5, 30, {85, 200, 100, 230}},  // too narrow to the left
        {300, -200, {100, 0, 400, 200}}, // up and right
        {14, -14, {100, 185, 115, 200}},
    };
    for (const Case& c : cases) {
        CRichGraph shape(64);
        shape.RemoveProperty(PT_PROGRAM);
        BeginCreateArgs begin{{100, 200}};
        EXPECT_EQ(shape.OnMessage(OM_BEGIN_CREATE, &begin), 0);
        TrackCreateArgs move{TrackEvent::MouseMove, c.dx, c.dy};
        EXPECT_EQ(shape.OnMessage(OM_TRACK_CREATE, &move), OM_CONTINUE);
        EXPECT_EQ(shape.frame, c.frame) << c.dx << ", " << c.dy;
        EXPECT_FALSE(shape.GetProperty(PT_PROGRAM).empty());
        TrackCreateArgs up{TrackEvent::LeftButtonUp, c.dx, c.dy};
        EXPECT_EQ(shape.OnMessage(OM_TRACK_CREATE, &up), 0);
        TrackCreateArgs other{TrackEvent::Other, 0, 0};
        EXPECT_EQ(shape.OnMessage(OM_TRACK_CREATE, &other), OM_NOT_TRACKED);
    }
    CRichGraph shape(2);
    EXPECT_EQ(shape.OnMessage(OM_DRAW_MARKS, {}), OM_UNHANDLED);
}

TEST(LineObjects, EndPointsLayTheFrameAndTheGrid)
{
    CRichLine vertical;
    vertical.SetEndPoints({100, 100}, {100, 400});
    EXPECT_EQ(vertical.frame, (Rect{100, 100, 115, 400}));
    Point g1, g2;
    ASSERT_TRUE(vertical.GridEndPoints(g1, g2));
    EXPECT_EQ(g1, (Point{0, 0}));
    EXPECT_EQ(g2, (Point{0, 8191}));
    EXPECT_EQ(vertical.GetProperty(PT_PROGRAM).size(), 10u);

    CRichLine backwards;
    backwards.SetEndPoints({400, 300}, {100, 100});
    ASSERT_TRUE(backwards.GridEndPoints(g1, g2));
    EXPECT_EQ(g1, (Point{8191, 8191}));
    EXPECT_EQ(g2, (Point{0, 0}));
    Point p1, p2;
    ASSERT_TRUE(backwards.EndPoints({backwards.frame.left, backwards.frame.top}, p1, p2));
    EXPECT_EQ(p1, (Point{400, 300}));
    EXPECT_EQ(p2, (Point{100, 100}));
}

TEST(LineObjects, CapButtonsFollowTheHandles)
{
    struct Case {
        uint8_t buttons;
        size_t bytes;
        Point lastButton;
    } cases[] = {{0, 8, {}}, {1, 12, {8191, 8191}}, {2, 12, {0, 0}}, {3, 16, {8191, 8191}}};
    for (const Case& c : cases) {
        CRichLine line;
        line.capButtons = c.buttons;
        line.SetEndPoints({0, 0}, {300, 300});
        const HandleList handles = HandleList::Decode(line.GetProperty(PT_HANDLES));
        ASSERT_EQ(handles.Bytes().size(), c.bytes);
        EXPECT_EQ(handles.At(0).kind, HK_DRAG);
        if (c.buttons != 0) {
            EXPECT_EQ(handles.At(handles.Count() - 1).kind, HK_BUTTON);
            EXPECT_EQ(handles.At(handles.Count() - 1).grid, c.lastButton);
        }
    }
}

TEST(Bounds, GrowForRotationLineWidthShadowAndSelection)
{
    CBaseCom base;
    base.frame = {0, 0, 100, 100};
    base.angle = 450;
    BoundsRequest request;
    base.OnMessage(OM_GET_BOUNDS, &request);
    // Rounding truncates negative offsets toward the centre, so the box leans right.
    EXPECT_EQ(request.bounds, (Rect{-20, -20, 121, 121}));

    CRectCom rect;
    rect.frame = {0, 0, 100, 50};
    rect.lineWidth = 30;
    BoundsRequest selected{{}, 8};
    rect.OnMessage(OM_GET_BOUNDS, &selected);
    EXPECT_EQ(selected.bounds, (Rect{-24, -24, 124, 74}));

    rect.lineStyle = 3; // dashed lines are one pixel wide
    rect.shadowDirection = 7;
    rect.shadowOffset = 20;
    BoundsRequest shadowed;
    rect.OnMessage(OM_GET_BOUNDS, &shadowed);
    EXPECT_EQ(shadowed.bounds, (Rect{-20, 0, 100, 70}));
}

TEST(Bounds, LineIncludesItsArrowheads)
{
    CRichLine line;
    line.end2Type = 1;
    line.SetEndPoints({0, 100}, {1000, 100});
    BoundsRequest request;
    line.OnMessage(OM_GET_BOUNDS, &request);
    // 0.5 pt line: w = 2 units, arrowhead half-width H = 11 at the right end.
    EXPECT_EQ(request.bounds.left, -3);
    EXPECT_EQ(request.bounds.right, 1003);
    EXPECT_EQ(request.bounds.top, 100 - 11);
    EXPECT_EQ(request.bounds.bottom, 115 + 3);
}

} // namespace
} // namespace figures
