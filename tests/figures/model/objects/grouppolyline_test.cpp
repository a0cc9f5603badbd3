#include "figures/model/objects/ccmbobj.h"
#include "figures/model/objects/clinegraph.h"
#include "figures/model/objects/crichgraph.h"

#include <gtest/gtest.h>

namespace figures {
namespace {

std::unique_ptr<CBaseCom> ShapeAt(Rect frame, int32_t layer = 0)
{
    auto shape = std::make_unique<CRichGraph>(2);
    shape->frame = frame;
    shape->layer = layer;
    return shape;
}

TEST(Groups, FormingAGroupMakesMemberFramesRelative)
{
    std::vector<std::unique_ptr<CBaseCom>> members;
    members.push_back(ShapeAt({100, 100, 200, 150}));
    members.push_back(ShapeAt({300, 50, 400, 120}));
    members.back()->angle = 900; // stands upright: 70 wide, 100 high about (350, 85)
    const auto group = CCmbObj::Group(std::move(members));
    EXPECT_EQ(group->frame, (Rect{100, 35, 385, 150}));
    EXPECT_EQ(group->layoutWidth, 285);
    EXPECT_EQ(group->layoutHeight, 115);
    EXPECT_EQ(group->children[0]->frame, (Rect{0, 65, 100, 115}));
    EXPECT_EQ(group->flags, CCmbObj::kInitialFlags);
}

TEST(Groups, CapabilitiesAreThoseEveryMemberShares)
{
    std::vector<std::unique_ptr<CBaseCom>> members;
    members.push_back(ShapeAt({0, 0, 10, 10}));
    members.push_back(ShapeAt({20, 0, 30, 10}));
    members.back()->flags = (members.back()->flags & ~OF_ROTATE) | OF_LOCKED;
    auto mixed = CCmbObj::Group(std::move(members));
    EXPECT_FALSE(mixed->HasFlag(OF_ROTATE));
    EXPECT_TRUE(mixed->HasFlag(OF_FLIP));
    EXPECT_FALSE(mixed->HasFlag(OF_LOCKED));

    std::vector<std::unique_ptr<CBaseCom>> lockedMembers;
    lockedMembers.push_back(ShapeAt({0, 0, 10, 10}));
    lockedMembers.push_back(ShapeAt({20, 0, 30, 10}));
    for (auto& m : lockedMembers) {
        m->flags |= OF_LOCKED;
    }
    EXPECT_TRUE(CCmbObj::Group(std::move(lockedMembers))->HasFlag(OF_LOCKED));
}

TEST(Groups, PlacementScalesFlipsAndTurnsMembers)
{
    CCmbObj group;
    group.frame = {1000, 1000, 1200, 1100};
    group.layoutWidth = 200;
    group.layoutHeight = 100;
    group.children.push_back(ShapeAt({20, 10, 60, 50}));
    const CBaseCom& child = *group.children[0];
    const Rect target{0, 0, 200, 100};

    ChildPlacement same = group.PlaceChild(child, target);
    EXPECT_EQ(same.frame, (Rect{1020, 1010, 1060, 1050}));
    EXPECT_EQ(same.target, (Rect{20, 10, 60, 50}));

    // Twice as wide: width and distance from the left edge double.
    group.frame.right = 1400;
    ChildPlacement wide = group.PlaceChild(child, target);
    EXPECT_EQ(wide.frame, (Rect{1040, 1010, 1120, 1050}));

    group.frame.right = 1200;
    group.flags |= OF_FLIPPED_H;
    ChildPlacement flipped = group.PlaceChild(child, target);
    EXPECT_EQ(flipped.frame, (Rect{1140, 1010, 1180, 1050}));
    EXPECT_TRUE(flipped.flags & OF_FLIPPED_H);

    group.flags &= ~OF_FLIPPED_H;
    group.angle = 1800;
    ChildPlacement turned = group.PlaceChild(child, target);
    EXPECT_EQ(turned.frame, (Rect{1140, 1050, 1180, 1090}));
    EXPECT_EQ(turned.angle, 1800);
    group.children[0]->flags &= ~OF_ROTATE;
    EXPECT_EQ(group.PlaceChild(child, target).angle, 0);
}

TEST(Groups, UnsetLayoutUsesStoredFramesShiftedByTheGroup)
{
    CCmbObj group;
    group.frame = {500, 500, 900, 900};
    group.children.push_back(ShapeAt({10, 20, 110, 70}));
    const ChildPlacement p = group.PlaceChild(*group.children[0], group.frame);
    EXPECT_EQ(p.frame, (Rect{510, 520, 610, 570}));
    EXPECT_EQ(p.target, (Rect{510, 520, 610, 570}));

    // A zero layout extent cannot scale; it must not divide by zero either.
    group.layoutWidth = 0;
    group.layoutHeight = 0;
    EXPECT_EQ(group.PlaceChild(*group.children[0], group.frame).frame, p.frame);
}

TEST(Groups, DrawOrderFollowsLayersThenListOrder)
{
    CCmbObj group;
    group.children.push_back(ShapeAt({}, 2));
    group.children.push_back(ShapeAt({}, 1));
    group.children.push_back(ShapeAt({}, 2));
    group.children.push_back(ShapeAt({}, 0));
    const std::vector<CBaseCom*> order = group.ChildrenInDrawOrder();
    const std::vector<CBaseCom*> expected = {group.children[3].get(), group.children[1].get(),
                                             group.children[0].get(), group.children[2].get()};
    EXPECT_EQ(order, expected);
}

TEST(Polylines, PointsAreScaledFlippedTurnedAndClosedOnce)
{
    CLineGraph polyline;
    polyline.SetPoints({{0, 0}, {100, 0}, {100, 50}});
    polyline.layoutWidth = 100;
    polyline.layoutHeight = 50;
    const std::vector<Point> doubled = polyline.PolylinePoints({10, 10, 210, 110});
    EXPECT_EQ(doubled, (std::vector<Point>{{10, 10}, {210, 10}, {210, 110}}));

    polyline.closed = 1;
    EXPECT_EQ(polyline.PolylinePoints({0, 0, 100, 50}).size(), 4u);
    EXPECT_EQ(polyline.PolylinePoints({0, 0, 100, 50}).back(), (Point{0, 0}));

    // Already closed by its own last point: no second closing segment.
    polyline.SetPoints({{0, 0}, {100, 0}, {100, 50}, {0, 0}});
    EXPECT_EQ(polyline.PolylinePoints({0, 0, 100, 50}).size(), 4u);

    polyline.flags |= OF_FLIPPED_H;
    polyline.closed = 0;
    EXPECT_EQ(polyline.PolylinePoints({0, 0, 100, 50})[1], (Point{0, 0}));

    polyline.flags &= ~OF_FLIPPED_H;
    polyline.angle = 1800;
    EXPECT_EQ(polyline.PolylinePoints({0, 0, 100, 50})[0], (Point{100, 50}));

    polyline.layoutWidth = CLineGraph::kNotSet;
    polyline.angle = 0;
    EXPECT_EQ(polyline.PolylinePoints({0, 0, 500, 500})[2], (Point{100, 50}));

    polyline.SetPoints({{5, 5}});
    EXPECT_TRUE(polyline.PolylinePoints({0, 0, 100, 50}).empty());
}

} // namespace
} // namespace figures
