#include "figures/control/figurewindow.h"

#include "figures/control/controltestsupport.h"
#include "figures/view/cviewwnd.h"

#include <functional>
#include <string>
#include <vector>

namespace figures {
namespace {

using controltest::ShownControl;

// The document written afresh from the canvas, bypassing whatever the control keeps.
QByteArray FreshBytes(const FigureWindow& control)
{
    const auto* canvas = control.findChild<CViewWnd*>();
    EXPECT_NE(canvas, nullptr);
    const std::vector<uint8_t> bytes = WriteDocument(const_cast<CViewWnd*>(canvas)->GetDocument());
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

void Drag(QWidget* canvas, QPoint from, QPoint to)
{
    QTest::mousePress(canvas, Qt::LeftButton, {}, from);
    QTest::mouseMove(canvas, (from + to) / 2);
    QTest::mouseMove(canvas, to);
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, to);
    QCoreApplication::processEvents();
}

TEST(FigureWindow, HandsOutTheCurrentDocumentAfterEveryKindOfChange)
{
    auto control = ShownControl();
    QWidget* canvas = control->findChild<CViewWnd*>()->viewport();
    FigureWindow other;
    other.AddShape(5);
    other.AddShape(7);
    const QByteArray otherDocument = other.DocumentContent();

    struct Step {
        std::string name;
        std::function<void()> change;
    };
    const std::vector<Step> steps{
        {"add", [&] { control->AddShape(); }},
        {"add another", [&] { control->AddShape(12); }},
        {"move by drag", [&] { Drag(canvas, QPoint(30, 30), QPoint(90, 70)); }},
        {"angle", [&] { control->GetObjects(0).SetAngle(450); }},
        {"frame", [&] { control->GetObjects(1).SetFrame(40, 50, 200, 80); }},
        {"flip", [&] { control->GetObjects(-1).Flip(1); }},
        {"copy and paste",
         [&] {
             control->GetObjects(0).Copy();
             control->GetObjects(0).Paste();
         }},
        {"delete", [&] { control->GetObjects(0).Delete(); }},
        {"zoom", [&] { control->SetZoom(250); }},
        {"insert a view", [&] { control->InsertView(QStringLiteral("second")); }},
        {"switch view", [&] { control->SetCurrentView(1); }},
        {"add in the other view", [&] { control->AddShape(); }},
        {"document handed in", [&] { control->SetDocumentContent(otherDocument); }},
        {"empty document handed in", [&] { control->SetDocumentContent(QByteArray()); }},
    };
    for (const Step& step : steps) {
        // Asking first lets the control keep the bytes the change has to let go of.
        control->DocumentContent();
        step.change();
        QCoreApplication::processEvents();
        EXPECT_EQ(control->DocumentContent(), FreshBytes(*control)) << step.name;
    }
    EXPECT_EQ(control->ViewCount(), 1);
}

TEST(FigureWindow, WritesTheDocumentOnceForAllWhoAskUntilItChanges)
{
    auto control = ShownControl();
    control->AddShape();
    QCoreApplication::processEvents();
    const QByteArray first = control->DocumentContent();
    EXPECT_EQ(control->DocumentContent().constData(), first.constData()) << "asked again";

    // A click or a key may open a dialog that changes the document without a report.
    QWidget* canvas = control->findChild<CViewWnd*>()->viewport();
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(300, 250));
    // The canvas hands its input to the control from the event loop.
    QCoreApplication::processEvents();
    EXPECT_NE(control->DocumentContent().constData(), first.constData()) << "after a click";
    EXPECT_EQ(control->DocumentContent(), first) << "the click changed nothing";
}

} // namespace
} // namespace figures
