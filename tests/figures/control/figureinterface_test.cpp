#include "figures/control/figureinterface.h"

#include "figures/control/controltestsupport.h"
#include "figures/model/objects/crichgraph.h"
#include "figures/render/gbk.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>

#include <functional>
#include <string>

namespace figures {
namespace {

using controltest::ReadBack;
using controltest::ShownControl;

// Three shapes of the catalogue side by side: a rectangle, an ellipse and a triangle.
void AddThree(FigureWindow& control)
{
    for (const int number : {3, 11, 6}) {
        control.AddShape(number);
    }
    control.GetObjects(1).SetFrame(200, 20, 100, 150);
    control.GetObjects(2).SetFrame(400, 30, 120, 80);
}

const CBaseCom& Object(const Document& document, int index)
{
    const CBaseCom* object = document.ViewAt(0)->ObjectByIndex(index);
    EXPECT_NE(object, nullptr);
    static const CBaseCom none;
    return object != nullptr ? *object : none;
}

const CRichGraph& Shape(const Document& document, int index)
{
    return dynamic_cast<const CRichGraph&>(Object(document, index));
}

TEST(FigureInterface, TakesObjectsByIndexInListOrderSkippingOthers)
{
    FigureWindow control;
    AddThree(control);
    control.GetObjects(0).SetAngle(100);
    control.GetObjects(2).SetAngle(300);
    const FigureInterface set = control.GetObjects(QList<int>{2, 99, 0});
    EXPECT_EQ(set.Count(), 2);
    int angle = -1;
    EXPECT_TRUE(set.GetAngle(&angle));
    EXPECT_EQ(angle, 300) << "the third object comes first";

    EXPECT_EQ(control.GetObjects(-1).Count(), 3);
    EXPECT_EQ(control.GetObjects(-2).Count(), 0);
    EXPECT_EQ(control.GetObjects(3).Count(), 0);
    EXPECT_EQ(control.GetObjects(1).Count(), 1);
}

TEST(FigureInterface, AnswersNeutrallyWhenEmpty)
{
    FigureWindow control;
    AddThree(control);
    const QByteArray before = control.DocumentContent();
    for (const FigureInterface& empty : {FigureInterface(), control.GetObjects(-5)}) {
        int angle = 77;
        EXPECT_TRUE(empty.GetAngle(&angle));
        EXPECT_EQ(angle, 0);
        EXPECT_TRUE(empty.GetAngle());
        FigureInterface set = empty;
        EXPECT_FALSE(set.SetShape(5));
        EXPECT_FALSE(set.SetDrawingData(QByteArray(4, '\0')));
        EXPECT_TRUE(set.GetDrawingData().isEmpty());
        EXPECT_FALSE(set.SetPixelFrame(1, 2, 3, 4));
        set.Delete();
        set.Group();
        set.Align(3);
    }
    EXPECT_EQ(control.DocumentContent(), before);
}

TEST(FigureInterface, RefusesShapeNumbersOutsideTheCatalogue)
{
    FigureWindow control;
    AddThree(control);
    const QByteArray before = control.DocumentContent();
    FigureInterface all = control.GetObjects(-1);
    EXPECT_FALSE(all.SetShape(111));
    EXPECT_FALSE(all.SetShape(-1));
    EXPECT_EQ(control.DocumentContent(), before);

    EXPECT_TRUE(all.SetShape(20));
    EXPECT_EQ(Shape(*ReadBack(control), 2).shapeIndex, 19);
    EXPECT_FALSE(all.SetShape(0)) << "the empty program counts as rejected";
    EXPECT_EQ(Shape(*ReadBack(control), 0).shapeIndex, CRichGraph::kCustomShape);
}

TEST(FigureInterface, StoresAnglesAsGivenAndDrawsThemModuloAFullTurn)
{
    auto turned = ShownControl(300, 200);
    auto plain = ShownControl(300, 200);
    for (FigureWindow* control : {turned.get(), plain.get()}) {
        control->SetBackColour(0xFFFFFF);
        control->AddShape();
        control->GetObjects(0).SetFrame(100, 50, 300, 150);
    }
    EXPECT_TRUE(turned->GetObjects(0).SetAngle(4000));
    EXPECT_TRUE(plain->GetObjects(0).SetAngle(400));
    EXPECT_EQ(Object(*ReadBack(*turned), 0).angle, 4000);
    int angle = 0;
    turned->GetObjects(0).GetAngle(&angle);
    EXPECT_EQ(angle, 4000);

    const QImage turnedPicture = turned->grab().toImage();
    EXPECT_EQ(turnedPicture, plain->grab().toImage());
    plain->GetObjects(0).SetAngle(0);
    EXPECT_NE(turnedPicture, plain->grab().toImage()) << "the turn shows";
}

TEST(FigureInterface, NeverReachesObjectsDeletedThroughAnotherSet)
{
    FigureWindow control;
    AddThree(control);
    FigureInterface firstTwo = control.GetObjects(QList<int>{0, 1});
    FigureInterface everything = control.GetObjects(-1);
    FigureInterface copy = everything;

    control.GetObjects(0).Delete();
    EXPECT_EQ(firstTwo.Count(), 1);
    EXPECT_TRUE(firstTwo.SetAngle(450));
    firstTwo.Flip(1);
    const auto document = ReadBack(control);
    ASSERT_EQ(document->ViewAt(0)->ObjectCount(), 2);
    EXPECT_EQ(Object(*document, 0).angle, 450) << "the ellipse, now first";
    EXPECT_EQ(Object(*document, 1).angle, 0);

    everything.Delete();
    EXPECT_EQ(copy.Count(), 0) << "copies share the emptied list";
    EXPECT_EQ(control.ObjectCount(), 0);
    EXPECT_EQ(firstTwo.Count(), 0);
    EXPECT_FALSE(firstTwo.SetShape(4));
    EXPECT_TRUE(firstTwo.GetDrawingData().isEmpty());

    FigureInterface orphan;
    {
        FigureWindow shortLived;
        shortLived.AddShape();
        orphan = shortLived.GetObjects(-1);
    }
    EXPECT_EQ(orphan.Count(), 0);
    EXPECT_TRUE(orphan.SetAngle(10));
    orphan.Copy();
}

struct CommandCase {
    const char* name;
    std::function<void(FigureWindow&)> command;
    std::function<void(const Document&, FigureWindow&)> check;
};

void ExpectFrame(const Document& document, int index, Rect frame)
{
    EXPECT_EQ(Object(document, index).frame, frame);
}

const std::vector<CommandCase>& CommandCases()
{
    static const std::vector<CommandCase> cases{
        {"DeleteEmptiesTheSet",
         [](FigureWindow& c) {
             FigureInterface set = c.GetObjects(QList<int>{0, 2});
             set.Delete();
             EXPECT_EQ(set.Count(), 0);
         },
         [](const Document& d, FigureWindow&) {
             ASSERT_EQ(d.ViewAt(0)->ObjectCount(), 1);
             EXPECT_EQ(Shape(d, 0).shapeIndex, 10);
         }},
        {"CutLeavesTheObjectsOnTheClipboard", [](FigureWindow& c) { c.GetObjects(1).Cut(); },
         [](const Document& d, FigureWindow& c) {
             EXPECT_EQ(d.ViewAt(0)->ObjectCount(), 2);
             c.GetObjects(-1).Paste();
             EXPECT_EQ(c.ObjectCount(), 3);
             EXPECT_EQ(Shape(*ReadBack(c), 2).shapeIndex, 10);
         }},
        {"CopyThenPasteAddsCopies",
         [](FigureWindow& c) {
             QTest::mouseClick(c.childAt(95, 40), Qt::LeftButton, {}, QPoint(95, 40));
             EXPECT_EQ(c.GetSelectedIndexes(), (QList<int>{1}));
             c.GetObjects(QList<int>{0, 2}).Copy();
             c.GetObjects(0).Paste();
         },
         [](const Document& d, FigureWindow& c) {
             EXPECT_EQ(d.ViewAt(0)->ObjectCount(), 5);
             EXPECT_EQ(c.GetSelectedIndexes(), (QList<int>{1})) << "the selection comes back";
         }},
        {"SetLayerBringsToTheTop", [](FigureWindow& c) { c.GetObjects(0).SetLayer(1); },
         [](const Document& d, FigureWindow&) {
             EXPECT_EQ(Shape(d, 2).shapeIndex, 2) << "the rectangle is drawn last";
             EXPECT_GT(Object(d, 2).layer, Object(d, 1).layer);
         }},
        {"SetLayerIgnoresOtherValues", [](FigureWindow& c) { c.GetObjects(0).SetLayer(3); },
         [](const Document& d, FigureWindow&) { EXPECT_EQ(Object(d, 0).layer, 0); }},
        {"FlipVertically", [](FigureWindow& c) { c.GetObjects(2).Flip(2); },
         [](const Document& d, FigureWindow&) {
             EXPECT_TRUE(Object(d, 2).HasFlag(OF_FLIPPED_V));
             EXPECT_FALSE(Object(d, 1).HasFlag(OF_FLIPPED_V));
         }},
        {"AlignLeftEdgesToTheLastObject",
         [](FigureWindow& c) {
             c.GetObjects(QList<int>{0, 1}).Align(3);
         },
         [](const Document& d, FigureWindow&) {
             ExpectFrame(d, 0, {200, 10, 300, 110});
         }},
        {"AlignSameHeight",
         [](FigureWindow& c) {
             c.GetObjects(QList<int>{2, 1}).Align(6);
         },
         [](const Document& d, FigureWindow&) { EXPECT_EQ(Object(d, 2).frame.Height(), 150); }},
        {"NudgeRightByOnePixel", [](FigureWindow& c) { c.GetObjects(0).Nudge(4); },
         [](const Document& d, FigureWindow&) {
             EXPECT_GT(Object(d, 0).frame.left, 10);
             EXPECT_EQ(Object(d, 0).frame.Width(), 100);
         }},
        {"NudgeIgnoresOtherValues", [](FigureWindow& c) { c.GetObjects(0).Nudge(9); },
         [](const Document& d, FigureWindow&) {
             ExpectFrame(d, 0, {10, 10, 110, 110});
         }},
        {"LockThenUnlock",
         [](FigureWindow& c) {
             c.GetObjects(-1).Lock();
             c.GetObjects(1).Unlock();
         },
         [](const Document& d, FigureWindow&) {
             EXPECT_TRUE(Object(d, 0).HasFlag(OF_LOCKED));
             EXPECT_FALSE(Object(d, 1).HasFlag(OF_LOCKED));
         }},
        {"GroupMakesOneObject",
         [](FigureWindow& c) {
             FigureInterface set = c.GetObjects(QList<int>{0, 1});
             set.Group();
             EXPECT_EQ(set.Count(), 0);
             EXPECT_TRUE(c.GetSelectedIndexes().isEmpty());
         },
         [](const Document& d, FigureWindow&) {
             ASSERT_EQ(d.ViewAt(0)->ObjectCount(), 2);
             EXPECT_EQ(Object(d, 1).TypeId(), TID_COMBINED);
         }},
        {"UngroupGivesTheMembersBack",
         [](FigureWindow& c) {
             c.GetObjects(QList<int>{0, 1}).Group();
             c.GetObjects(1).Ungroup();
             EXPECT_TRUE(c.GetSelectedIndexes().isEmpty());
         },
         [](const Document& d, FigureWindow&) {
             ASSERT_EQ(d.ViewAt(0)->ObjectCount(), 3);
             for (int i = 0; i < 3; ++i) {
                 EXPECT_EQ(Object(d, i).TypeId(), TID_RICH_GRAPH);
             }
         }},
        {"SetFontChangesOnlyTheGivenParts",
         [](FigureWindow& c) {
             FigureInterface::FontParts parts;
             parts.face = QStringLiteral("黑体");
             parts.size = 12;
             parts.bold = true;
             parts.colour = 0x0000FF;
             EXPECT_TRUE(c.GetObjects(1).SetFont(parts));
         },
         [](const Document& d, FigureWindow&) {
             const CRichGraph& shape = Shape(d, 1);
             const int dpi = qRound(QGuiApplication::primaryScreen()->logicalDotsPerInchY());
             EXPECT_EQ(shape.font.FaceName(), ToGbk(QStringLiteral("黑体")));
             EXPECT_EQ(shape.font.Height(), -qRound(12.0 * dpi / 72));
             EXPECT_EQ(shape.font.Weight(), 700);
             EXPECT_EQ(shape.font.Italic(), 0);
             EXPECT_EQ(shape.textColour, 0x0000FFu);
             EXPECT_EQ(Shape(d, 0).font, LogFont());
         }},
        {"SetDrawingDataMakesCustomShapes",
         [](FigureWindow& c) {
             const QByteArray rectangle = c.GetObjects(0).GetDrawingData();
             EXPECT_FALSE(rectangle.isEmpty());
             EXPECT_TRUE(c.GetObjects(2).SetDrawingData(rectangle));
             EXPECT_EQ(c.GetObjects(2).GetDrawingData(), rectangle);
             EXPECT_FALSE(c.GetObjects(1).SetDrawingData(QByteArray("\x07", 1)));
         },
         [](const Document& d, FigureWindow&) {
             EXPECT_EQ(Shape(d, 2).shapeIndex, CRichGraph::kCustomShape);
             EXPECT_EQ(Shape(d, 1).shapeIndex, CRichGraph::kCustomShape);
             EXPECT_EQ(Shape(d, 2).GetProgram().size(), Shape(d, 0).GetProgram().size());
         }},
        {"SetFrameMovesAndSizes",
         [](FigureWindow& c) {
             EXPECT_TRUE(c.GetObjects(1).SetFrame(50, std::nullopt, std::nullopt, 40));
         },
         [](const Document& d, FigureWindow&) {
             ExpectFrame(d, 1, {50, 20, 150, 60});
         }},
        {"SetPixelFrameStartsFromTheFirstObject",
         [](FigureWindow& c) {
             EXPECT_TRUE(c.GetObjects(QList<int>{0, 2})
                             .SetPixelFrame(std::nullopt, std::nullopt, 100, std::nullopt));
         },
         [](const Document& d, FigureWindow&) {
             for (const int i : {0, 2}) {
                 EXPECT_EQ(Object(d, i).frame.left, 10);
                 EXPECT_NEAR(Object(d, i).frame.Width(), 265, 3) << "100 px at 96 dpi";
                 EXPECT_EQ(Object(d, i).frame.bottom, 110);
             }
         }},
    };
    return cases;
}

TEST(FigureInterface, RunsEveryCommandOnASmallDocument)
{
    for (const CommandCase& row : CommandCases()) {
        SCOPED_TRACE(row.name);
        auto control = ShownControl(600, 400);
        AddThree(*control);
        control->GetObjects(1).SetFrame(200, 20, 100, 150);
        row.command(*control);
        row.check(*ReadBack(*control), *control);
    }
}

} // namespace
} // namespace figures
