#include "figures/model/objects/crichgraph.h"
#include "figures/model/document.h"

#include <gtest/gtest.h>

namespace figures {
namespace {

// "文档" in GBK.
const std::string kPrefix = "\xCE\xC4\xB5\xB5";

TEST(Views, DefaultNameTakesTheSmallestFreeNumber)
{
    Document document;
    EXPECT_EQ(document.ViewAt(0)->name, kPrefix + "1");
    document.InsertView(nullptr, -1);
    document.ViewAt(1)->name = kPrefix + "3";
    EXPECT_EQ(document.AddView()->name, kPrefix + "2");
    EXPECT_EQ(document.AddView()->name, kPrefix + "4");

    Document renamed;
    renamed.ViewAt(0)->name = "plan";
    EXPECT_EQ(renamed.DefaultViewName(), kPrefix + "1");
}

TEST(Views, DefaultNamesIgnoreCaseButFindViewDoesNot)
{
    Document document;
    document.InsertView(nullptr, -1);
    EXPECT_EQ(document.DefaultViewName(), kPrefix + "3");

    EXPECT_TRUE(EqualIgnoringCase("ABC" + kPrefix, "abc" + kPrefix));
    // 0xB5 0x41 and 0xB5 0x61 are two different characters, not 'A' and 'a'.
    EXPECT_FALSE(EqualIgnoringCase("\xB5\x41", "\xB5\x61"));
    EXPECT_FALSE(EqualIgnoringCase("ab", "abc"));

    document.ViewAt(1)->name = "Plan";
    EXPECT_EQ(document.FindView("Plan"), 1);
    EXPECT_EQ(document.FindView("plan"), -1);
}

TEST(Views, InsertKeepsTheCurrentViewFollowingItsView)
{
    Document document;
    document.AddView();
    document.SelectView(0);
    View* current = document.CurrentView();
    const std::string name = "front";
    EXPECT_EQ(document.InsertView(&name, 0), 0);
    EXPECT_EQ(document.ViewAt(0)->name, "front");
    EXPECT_EQ(document.CurrentIndex(), 1);
    EXPECT_EQ(document.CurrentView(), current);

    EXPECT_EQ(document.InsertView(nullptr, 7), 3);
    EXPECT_EQ(document.ViewCount(), 4);
    EXPECT_TRUE(document.IsModified());
}

TEST(Views, RemovingViewsMovesOrClearsTheCurrentView)
{
    Document document;
    document.AddView();
    document.AddView();
    document.SelectView(2);
    View* current = document.CurrentView();
    EXPECT_FALSE(document.RemoveView(3));
    EXPECT_FALSE(document.RemoveView(-1));
    EXPECT_TRUE(document.RemoveView(0));
    EXPECT_EQ(document.CurrentIndex(), 1);
    EXPECT_EQ(document.CurrentView(), current);
    EXPECT_TRUE(document.RemoveView(1));
    EXPECT_EQ(document.CurrentIndex(), -1);
    EXPECT_EQ(document.CurrentView(), nullptr);
    document.SelectView(5);
    EXPECT_EQ(document.CurrentIndex(), -1);
    document.SelectView(0);
    EXPECT_EQ(document.CurrentIndex(), 0);
}

TEST(Views, ClearingModifiedClearsEveryView)
{
    Document document;
    EXPECT_FALSE(document.IsModified());
    document.AddView();
    document.ViewAt(0)->modified = true;
    document.ViewAt(1)->modified = true;
    document.SetModified(false);
    EXPECT_FALSE(document.ViewAt(0)->modified);
    EXPECT_FALSE(document.ViewAt(1)->modified);
    document.ViewAt(1)->modified = true;
    document.SetModified(true);
    EXPECT_TRUE(document.ViewAt(1)->modified);
}

TEST(Views, ExtentUnitesFramesAndLeavesRoomOnTheRight)
{
    View view;
    EXPECT_EQ(view.Extent(), Rect{});
    const Rect a{100, 50, 300, 200};
    const Rect b{250, 10, 500, 90};
    view.AddNewShape(2, &a);
    view.AddNewShape(10, &b);
    const Rect empty{700, 700, 700, 900};
    view.AddNewShape(2, &empty);
    EXPECT_EQ(view.Extent(), (Rect{100, 10, 900, 200}));

    View left;
    const Rect negative{-500, 0, -100, 100};
    left.AddNewShape(2, &negative);
    EXPECT_EQ(left.Extent(), negative);
}

TEST(Views, ExtentWithAnAppendedFrameIsTheExtentOfTheLongerList)
{
    // Frames left of the origin, across it, empty ones and ones that reach further right.
    const Rect frames[] = {{-500, 0, -100, 100}, {-50, -20, 30, 40}, {700, 700, 700, 900},
                           {100, 50, 300, 200},  {-900, 5, -800, 6},  {250, 10, 500, 90},
                           {0, 0, 0, 0},         {-10, 400, 0, 500}};
    View view;
    Rect extent = view.Extent();
    for (const Rect& frame : frames) {
        view.AddNewShape(2, &frame);
        extent = View::ExtentWith(extent, frame);
        EXPECT_EQ(extent, view.Extent()) << frame.left << "," << frame.top;
    }
}

TEST(Views, AddNewShapeMakesAWhiteFilledShape)
{
    View view;
    EXPECT_EQ(view.AddNewShape(5), 0);
    EXPECT_TRUE(view.modified);
    const auto& shape = static_cast<const CRichGraph&>(*view.ObjectByIndex(0));
    EXPECT_EQ(shape.frame, (Rect{10, 10, 110, 110}));
    EXPECT_EQ(shape.fillKind, FillKind::Colour);
    EXPECT_EQ(shape.fillColour, 0xFFFFFFu);
    EXPECT_EQ(shape.shapeIndex, 5);

    EXPECT_EQ(view.AddNewShape(-1), 1);
    EXPECT_EQ(static_cast<const CRichGraph&>(*view.ObjectByIndex(1)).GetProgram().size(), 2u);
    EXPECT_EQ(view.ObjectByIndex(2), nullptr);
    EXPECT_EQ(view.ObjectByIndex(-1), nullptr);
    EXPECT_EQ(view.IndexOf(view.ObjectByIndex(1)), 1);
    EXPECT_EQ(view.IndexOf(nullptr), -1);

    view.ResetView();
    EXPECT_EQ(view.ObjectCount(), 0);
    EXPECT_FALSE(view.modified);
}

} // namespace
} // namespace figures
