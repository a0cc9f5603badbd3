#include "tests/figures/view/viewtestsupport.h"

#include "figures/model/objects/ccmbobj.h"
#include "figures/view/arrangecommands.h"
#include "figures/view/viewcommandids.h"

#include <gtest/gtest.h>

#include <vector>

namespace figures {
namespace {

using namespace viewtest;
using Align = ArrangeCommands::AlignKind;
using Nudge = ArrangeCommands::NudgeKind;

void SelectOnly(CViewWnd& view, std::vector<CBaseCom*> objects)
{
    view.SetSelection(objects, false);
}

void ClearModified(CViewWnd& view)
{
    view.CurrentView()->modified = false;
    view.GetDocument().SetModified(false);
}

TEST(ArrangeAlign, MovesEveryUnlockedObjectAgainstTheLastSelected)
{
    struct Case {
        const char* name;
        Align kind;
        Rect expected; // of the free object, which starts at (100, 100, 300, 250)
    };
    // The reference is (1000, 2000, 1400, 2600): width 400, height 600.
    const Case cases[] = {
        {"top", Align::Top, {100, 2000, 300, 2150}},
        {"left", Align::Left, {1000, 100, 1200, 250}},
        {"bottom", Align::Bottom, {100, 2450, 300, 2600}},
        {"right", Align::Right, {1200, 100, 1400, 250}},
        {"same width", Align::SameWidth, {100, 100, 500, 250}},
        {"same height", Align::SameHeight, {100, 100, 300, 700}},
    };
    for (const Case& c : cases) {
        auto view = ShownView();
        CRichGraph* free = AddShape(*view, kRectangle, {100, 100, 300, 250});
        CRichGraph* locked = AddShape(*view, kRectangle, {50, 60, 70, 80});
        CRichGraph* reference = AddShape(*view, kRectangle, {1000, 2000, 1400, 2600});
        locked->flags |= OF_LOCKED;
        SelectOnly(*view, {free, locked, reference});
        ClearModified(*view);
        ArrangeCommands(*view).AlignSelection(c.kind);
        EXPECT_EQ(free->frame, c.expected) << c.name;
        EXPECT_EQ(locked->frame, (Rect{50, 60, 70, 80})) << c.name;
        EXPECT_EQ(reference->frame, (Rect{1000, 2000, 1400, 2600})) << c.name;
        EXPECT_TRUE(view->CurrentView()->modified) << c.name;
    }
}

TEST(ArrangeAlign, NeedsTwoObjectsAndCopiesAZeroWidth)
{
    auto view = ShownView();
    CRichGraph* a = AddShape(*view, kRectangle, {100, 100, 300, 250});
    CRichGraph* b = AddShape(*view, kRectangle, {400, 100, 800, 250});
    CRichGraph* zero = AddShape(*view, kRectangle, {900, 100, 900, 400});
    SelectOnly(*view, {a});
    ClearModified(*view);
    ArrangeCommands(*view).AlignSelection(Align::Left);
    EXPECT_EQ(a->frame, (Rect{100, 100, 300, 250}));
    EXPECT_FALSE(view->CurrentView()->modified);

    SelectOnly(*view, {a, b, zero});
    ArrangeCommands(*view).AlignSelection(Align::SameWidth);
    EXPECT_EQ(a->frame, (Rect{100, 100, 100, 250}));
    EXPECT_EQ(b->frame, (Rect{400, 100, 400, 250}));
    // A locked reference still serves as the reference; an unchanged frame still marks.
    zero->flags |= OF_LOCKED;
    ClearModified(*view);
    ArrangeCommands(*view).AlignSelection(Align::SameWidth);
    EXPECT_TRUE(view->CurrentView()->modified);
}

TEST(ArrangeNudge, StepsOneClientPixelAtTheZoomWithoutALowerLimit)
{
    auto view = ShownView();
    // At 96 dpi one pixel at 100 % is 254 / 96 = 2.65 units: 3.
    struct ZoomCase {
        int percent;
        int32_t step;
    };
    for (const ZoomCase z : {ZoomCase{10, 26}, ZoomCase{100, 3}, ZoomCase{300, 1}}) {
        view->CurrentView()->objects.clear();
        view->ObjectsChanged();
        view->SetZoom(z.percent);
        const int32_t s = z.step;
        struct Case {
            Nudge kind;
            Rect expected;
        };
        const Rect f{1000, 1000, 1500, 1300};
        const Case cases[] = {
            {Nudge::Up, {1000, 1000 - s, 1500, 1300 - s}},
            {Nudge::Down, {1000, 1000 + s, 1500, 1300 + s}},
            {Nudge::Left, {1000 - s, 1000, 1500 - s, 1300}},
            {Nudge::Right, {1000 + s, 1000, 1500 + s, 1300}},
            {Nudge::BottomEdgeUp, {1000, 1000, 1500, 1300 - s}},
            {Nudge::BottomEdgeDown, {1000, 1000, 1500, 1300 + s}},
            {Nudge::RightEdgeLeft, {1000, 1000, 1500 - s, 1300}},
            {Nudge::RightEdgeRight, {1000, 1000, 1500 + s, 1300}},
        };
        for (const Case& c : cases) {
            CRichGraph* shape = AddShape(*view, kRectangle, f);
            shape->flags |= OF_LOCKED; // locked objects are nudged too
            SelectOnly(*view, {shape});
            ClearModified(*view);
            ArrangeCommands(*view).NudgeSelection(c.kind);
            EXPECT_EQ(shape->frame, c.expected) << z.percent << "% kind " << int(c.kind);
            EXPECT_TRUE(view->CurrentView()->modified);
        }
    }
    view->SetZoom(100);
    CRichGraph* thin = AddShape(*view, kRectangle, {0, 100, 50, 106});
    SelectOnly(*view, {thin});
    for (int i = 0; i < 4; ++i) {
        ArrangeCommands(*view).NudgeSelection(Nudge::BottomEdgeUp);
    }
    EXPECT_EQ(thin->frame.bottom, 94); // past the top: nothing holds it back
}

TEST(ArrangeTurns, QuarterTurnsStayWithinOneTurnAndSkipObjectsThatCannotRotate)
{
    struct Case {
        int32_t angle;
        bool clockwise;
        int32_t expected;
    };
    const Case cases[] = {
        {0, false, 2700},   {2700, true, 0},       {900, true, 1800},  {3599, true, 899},
        {100, false, 2800}, {-5000, false, -2300}, {9000, true, 6300},
    };
    auto view = ShownView();
    for (const Case& c : cases) {
        CRichGraph* shape = AddShape(*view, kRectangle, {100, 100, 300, 200});
        CRichGraph* fixed = AddShape(*view, kRectangle, {400, 100, 600, 200});
        fixed->flags &= ~OF_ROTATE;
        shape->angle = fixed->angle = c.angle;
        SelectOnly(*view, {shape, fixed});
        ArrangeCommands(*view).RotateSelection(c.clockwise);
        EXPECT_EQ(shape->angle, c.expected) << c.angle << (c.clockwise ? " cw" : " ccw");
        EXPECT_EQ(fixed->angle, c.angle);
    }
}

TEST(ArrangeFlips, ToggleOnlyFlippableObjectsButAlwaysMarkTheView)
{
    auto view = ShownView();
    CRichGraph* shape = AddShape(*view, kRectangle, {100, 100, 300, 200});
    CRichGraph* fixed = AddShape(*view, kRectangle, {400, 100, 600, 200});
    fixed->flags &= ~OF_FLIP;
    SelectOnly(*view, {shape, fixed});
    ArrangeCommands(*view).FlipSelection(true);
    EXPECT_TRUE(shape->HasFlag(OF_FLIPPED_H));
    EXPECT_FALSE(shape->HasFlag(OF_FLIPPED_V));
    ArrangeCommands(*view).FlipSelection(false);
    ArrangeCommands(*view).FlipSelection(true);
    EXPECT_EQ(shape->flags & (OF_FLIPPED_H | OF_FLIPPED_V), uint32_t(OF_FLIPPED_V));
    SelectOnly(*view, {fixed});
    ClearModified(*view);
    ArrangeCommands(*view).FlipSelection(true);
    EXPECT_FALSE(fixed->HasFlag(OF_FLIPPED_H));
    EXPECT_TRUE(view->CurrentView()->modified);
}

TEST(ArrangeLayers, BringToTopKeepsDifferencesAndSendToBottomGoesFirstAtLayerZero)
{
    auto view = ShownView();
    CRichGraph* a = AddShape(*view, kRectangle, {0, 0, 100, 100});
    CRichGraph* b = AddShape(*view, kRectangle, {0, 0, 100, 100});
    CRichGraph* c = AddShape(*view, kRectangle, {0, 0, 100, 100});
    CRichGraph* d = AddShape(*view, kRectangle, {0, 0, 100, 100});
    a->layer = 3;
    b->layer = 1;
    c->layer = 5;
    d->layer = 2;
    view->ObjectsChanged();
    // Selected c-less: the list is sorted by layer (b 1, a 3) and lifted above c (5).
    SelectOnly(*view, {a, b});
    ArrangeCommands(*view).ReorderSelection(true);
    EXPECT_EQ(b->layer, 6);
    EXPECT_EQ(a->layer, 8);
    EXPECT_EQ(view->ObjectIndex(b), 2);
    EXPECT_EQ(view->ObjectIndex(a), 3);
    EXPECT_EQ(view->Selection(), (std::vector<CBaseCom*>{a, b}));
    EXPECT_TRUE(view->CurrentView()->modified);

    // The topmost object sent to the bottom of objects that all lie at layer 0.
    for (CRichGraph* o : {a, b, c, d}) {
        o->layer = 0;
    }
    view->ObjectsChanged();
    SelectOnly(*view, {d});
    ArrangeCommands(*view).ReorderSelection(false);
    EXPECT_EQ(view->ObjectIndex(d), 0);
    EXPECT_EQ(d->layer, 0);
    const QPoint centre = ClientOf(*view, {50, 50});
    EXPECT_NE(view->ObjectAt({centre.x(), centre.y()}), d);

    // A negative layer stays below the objects sent to the bottom.
    c->layer = -1;
    view->ObjectsChanged();
    SelectOnly(*view, {a});
    ArrangeCommands(*view).ReorderSelection(false);
    EXPECT_EQ(view->ObjectIndex(a), 0);
    const std::vector<CBaseCom*> others{b, d};
    view->DeleteObjects(others);
    SelectOnly(*view, {});
    EXPECT_EQ(view->ObjectIndex(c), 1);
    EXPECT_EQ(view->ObjectAt({centre.x(), centre.y()}), a);
}

TEST(ArrangeGroups, AGroupOfOneTurnedObjectSpansItsTurnedBoxAndUngroupsExactly)
{
    struct Case {
        const char* name;
        Rect frame;
        int32_t angle;
        uint32_t flips;
    };
    const Case cases[] = {
        {"turned 30 degrees", {1000, 1000, 1600, 1400}, 300, 0},
        {"odd size turned 45 degrees", {1001, 999, 1602, 1398}, 450, 0},
        {"flipped and turned", {500, 700, 900, 1300}, 1200, OF_FLIPPED_H},
        {"not turned", {200, 300, 201, 700}, 0, OF_FLIPPED_V},
    };
    for (const Case& c : cases) {
        auto view = ShownView();
        CRichGraph* shape = AddShape(*view, kRectangle, c.frame);
        shape->angle = c.angle;
        shape->flags |= c.flips;
        shape->layer = 4;
        SelectOnly(*view, {shape});
        ArrangeCommands(*view).GroupSelection();
        ASSERT_EQ(view->Selection().size(), 1u) << c.name;
        auto* group = dynamic_cast<CCmbObj*>(view->Selection().front());
        ASSERT_NE(group, nullptr) << c.name;
        const Corners corners = RotatedCorners(c.frame, c.angle);
        EXPECT_EQ(group->frame, BoundsOfAnyPoints(corners.p)) << c.name;
        EXPECT_EQ(group->layer, 0);
        EXPECT_EQ(view->CurrentView()->ObjectCount(), 1);

        ArrangeCommands(*view).UngroupSelection();
        EXPECT_EQ(view->Selection(), std::vector<CBaseCom*>{shape}) << c.name;
        EXPECT_EQ(shape->frame, c.frame) << c.name;
        EXPECT_EQ(shape->angle, c.angle) << c.name;
        EXPECT_EQ(shape->flags & (OF_FLIPPED_H | OF_FLIPPED_V), c.flips) << c.name;
        EXPECT_EQ(view->CurrentView()->ObjectCount(), 1);
    }
}

TEST(ArrangeGroups, UngroupFollowsTheGroupsSizeFlipsAndAngleAndLiftsMembersOnTop)
{
    auto view = ShownView();
    CRichGraph* a = AddShape(*view, kRectangle, {1000, 1000, 1100, 1200});
    CRichGraph* b = AddShape(*view, kRectangle, {1300, 1000, 1500, 1200});
    CRichGraph* other = AddShape(*view, kRectangle, {3000, 3000, 3100, 3100});
    other->layer = 7;
    b->layer = 2;
    SelectOnly(*view, {b, a});
    ArrangeCommands(*view).GroupSelection();
    auto* group = static_cast<CCmbObj*>(view->Selection().front());
    // Members in layer order, their layers kept.
    ASSERT_EQ(group->children.size(), 2u);
    EXPECT_EQ(group->children[0].get(), a);
    EXPECT_EQ(b->layer, 2);
    EXPECT_EQ(group->frame, (Rect{1000, 1000, 1500, 1200}));

    // Scaled to twice its width: widths and horizontal distances double.
    group->frame.right = group->frame.left + 1000;
    view->ObjectChanged(group);
    ArrangeCommands(*view).UngroupSelection();
    EXPECT_EQ(a->frame, (Rect{1000, 1000, 1200, 1200}));
    EXPECT_EQ(b->frame, (Rect{1600, 1000, 2000, 1200}));
    // Above everything (other is at 7), in the order placed.
    EXPECT_EQ(a->layer, 8);
    EXPECT_EQ(b->layer, 9);
    EXPECT_EQ(view->Selection(), (std::vector<CBaseCom*>{a, b}));

    // A flipped, turned group hands its flips and angle on to the members.
    SelectOnly(*view, {a, b});
    ArrangeCommands(*view).GroupSelection();
    group = static_cast<CCmbObj*>(view->Selection().front());
    const Rect g = group->frame; // (1000, 1000, 2000, 1200), centre (1500, 1100)
    group->flags |= OF_FLIPPED_H;
    group->angle = 900;
    a->angle = 3500;
    b->flags &= ~OF_ROTATE;
    view->ObjectChanged(group);
    ArrangeCommands(*view).UngroupSelection();
    EXPECT_EQ(g, (Rect{1000, 1000, 2000, 1200}));
    // a's centre (1100, 1100) mirrors to (1900, 1100) and turns a quarter about (1500, 1100).
    EXPECT_EQ(a->frame.Centre(), (Point{1500, 1500}));
    EXPECT_EQ(a->angle, 4400); // not brought back into one turn
    EXPECT_TRUE(a->HasFlag(OF_FLIPPED_H));
    EXPECT_EQ(b->angle, 0);
    EXPECT_TRUE(b->HasFlag(OF_FLIPPED_H));
    EXPECT_TRUE(view->CurrentView()->modified);
}

TEST(ArrangeGroups, AGroupIsLockedOnlyWhenAllMembersAreAndHandsItsLockOn)
{
    auto view = ShownView();
    CRichGraph* a = AddShape(*view, kRectangle, {0, 0, 100, 100});
    CRichGraph* b = AddShape(*view, kRectangle, {200, 0, 300, 100});
    a->flags |= OF_LOCKED;
    b->flags &= ~OF_FLIP;
    SelectOnly(*view, {a, b});
    ArrangeCommands(*view).GroupSelection();
    CBaseCom* group = view->Selection().front();
    EXPECT_FALSE(group->HasFlag(OF_LOCKED));
    EXPECT_FALSE(group->HasFlag(OF_FLIP));
    EXPECT_TRUE(group->HasFlag(OF_ROTATE));
    // Ungrouping an unlocked group unlocks its members.
    ArrangeCommands(*view).UngroupSelection();
    EXPECT_FALSE(a->HasFlag(OF_LOCKED));

    a->flags |= OF_LOCKED;
    b->flags |= OF_LOCKED;
    SelectOnly(*view, {a, b});
    ArrangeCommands(*view).GroupSelection();
    group = view->Selection().front();
    EXPECT_TRUE(group->HasFlag(OF_LOCKED));
    b->flags &= ~OF_LOCKED;
    ArrangeCommands(*view).UngroupSelection();
    EXPECT_TRUE(a->HasFlag(OF_LOCKED));
    EXPECT_TRUE(b->HasFlag(OF_LOCKED));

    // Ungrouping plain objects only deselects them.
    SelectOnly(*view, {a});
    ClearModified(*view);
    ArrangeCommands(*view).UngroupSelection();
    EXPECT_TRUE(view->Selection().empty());
    EXPECT_EQ(view->CurrentView()->ObjectCount(), 2);
    EXPECT_FALSE(view->CurrentView()->modified);
}

TEST(ArrangeLockAndDelete, LockTogglesAndDeleteEmptiesTheSelection)
{
    auto view = ShownView();
    CRichGraph* a = AddShape(*view, kRectangle, {0, 0, 100, 100});
    CRichGraph* b = AddShape(*view, kRectangle, {200, 0, 300, 100});
    AddShape(*view, kRectangle, {400, 0, 500, 100});
    ClearModified(*view);
    ArrangeCommands(*view).DeleteSelection();
    ArrangeCommands(*view).LockSelection(true);
    EXPECT_EQ(view->CurrentView()->ObjectCount(), 3);
    EXPECT_FALSE(view->CurrentView()->modified);

    SelectOnly(*view, {a, b});
    EXPECT_TRUE(ArrangeCommands(*view).Run(ID_LOCK));
    EXPECT_TRUE(a->HasFlag(OF_LOCKED) && b->HasFlag(OF_LOCKED));
    EXPECT_TRUE(view->CurrentView()->modified);
    SelectOnly(*view, {b});
    ArrangeCommands(*view).Run(ID_UNLOCK);
    EXPECT_TRUE(a->HasFlag(OF_LOCKED));
    EXPECT_FALSE(b->HasFlag(OF_LOCKED));

    SelectOnly(*view, {a, b});
    ArrangeCommands(*view).Run(ID_EDIT_DELETE);
    EXPECT_EQ(view->CurrentView()->ObjectCount(), 1);
    EXPECT_TRUE(view->Selection().empty());
    EXPECT_FALSE(ArrangeCommands(*view).Run(ID_EDIT_COPY));
}

} // namespace
} // namespace figures
