#include "tests/figures/view/viewtestsupport.h"

#include "figures/model/objects/objectui.h"

#include <QApplication>
#include <QFocusEvent>

#include <gtest/gtest.h>

namespace figures {
namespace {

using namespace viewtest;

// Records what objects ask of the user; text editing types "改" and ends.
class RecordingUi : public ObjectUi {
public:
    int textEdits = 0;
    bool ChooseLineEnd(Point, const LineEnd&, LineEnd&) override { return false; }
    void EditShapeText(const Rect&, const std::string&, const TextChanged& changed) override
    {
        ++textEdits;
        changed("\xB8\xC4"); // GBK for 改
    }
};

TEST(ViewDoubleClick, EditsAShapesTextOnlyWhenTextEditingIsEnabled)
{
    auto view = ShownView(400, 300);
    CRichGraph* shape = AddShape(*view, kRectangle, {100, 100, 600, 500});
    RecordingUi ui;
    view->SetObjectUi(&ui);
    const QPoint centre = CentreOf(*view, *shape);
    view->SetTextEditEnabled(false);
    view->CurrentView()->modified = false;
    QTest::mouseDClick(Canvas(*view), Qt::LeftButton, {}, centre);
    EXPECT_EQ(ui.textEdits, 0);
    EXPECT_FALSE(view->CurrentView()->modified);
    view->SetTextEditEnabled(true);
    QTest::mouseDClick(Canvas(*view), Qt::LeftButton, {}, centre);
    EXPECT_EQ(ui.textEdits, 1);
    EXPECT_TRUE(view->CurrentView()->modified);
    view->SetObjectUi(nullptr);
}

TEST(ViewDrag, LosingTheFocusOrTheGrabCancelsLikeEsc)
{
    auto view = ShownView(400, 300);
    CRichGraph* a = AddShape(*view, kRectangle, {100, 100, 300, 300});
    view->Select(a, false);
    const QPoint from = CentreOf(*view, *a);
    QTest::mousePress(Canvas(*view), Qt::LeftButton, {}, from);
    QTest::mouseMove(Canvas(*view), from + QPoint(30, 30));
    ASSERT_TRUE(view->IsDragging());
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(view.get(), &out);
    EXPECT_FALSE(view->IsDragging());
    QTest::mouseRelease(Canvas(*view), Qt::LeftButton, {}, from + QPoint(30, 30));
    EXPECT_EQ(a->frame, (Rect{100, 100, 300, 300}));

    // Another widget taking the mouse ends the drag at the next pointer move.
    QWidget other;
    other.show();
    QTest::mousePress(Canvas(*view), Qt::LeftButton, {}, from);
    ASSERT_TRUE(view->IsDragging());
    other.grabMouse();
    QTest::mouseMove(Canvas(*view), from + QPoint(40, 10));
    other.releaseMouse();
    EXPECT_FALSE(view->IsDragging());
    EXPECT_EQ(a->frame, (Rect{100, 100, 300, 300}));
}

TEST(ViewInput, AHostDeletingThePressedObjectStopsThePress)
{
    auto view = ShownView(400, 300);
    CRichGraph* a = AddShape(*view, kRectangle, {100, 100, 300, 300});
    QObject::connect(view.get(), &CViewWnd::leftButtonDown, [&](const ViewMouseEvent& event) {
        CBaseCom* doomed[] = {event.object};
        view->DeleteObjects(doomed);
    });
    const QPoint centre = CentreOf(*view, *a);
    QTest::mousePress(Canvas(*view), Qt::LeftButton, {}, centre);
    EXPECT_FALSE(view->IsDragging());
    EXPECT_TRUE(view->Selection().empty());
    QTest::mouseRelease(Canvas(*view), Qt::LeftButton, {}, centre);
    EXPECT_EQ(view->CurrentView()->ObjectCount(), 0);
}

TEST(ViewWindow, AViewWithAnUnusableZoomIsShownAtOneHundredPercent)
{
    auto view = ShownView(400, 300);
    const double normal = view->Mapping().ScaleX();
    for (const int32_t zoom : {0, -1000, 5, 2000000}) {
        view->CurrentView()->zoomX = zoom;
        view->CurrentView()->zoomY = zoom;
        EXPECT_DOUBLE_EQ(view->Mapping().ScaleX(), normal) << zoom;
        view->viewport()->grab(); // painting must not divide by zero either
    }
}

} // namespace
} // namespace figures
