#include "tests/figures/view/viewtestsupport.h"

#include "figures/view/pickerpanel.h"
#include "figures/view/viewcursors.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace figures {
namespace {

using namespace viewtest;

void Click(CViewWnd& view, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
           Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mousePress(Canvas(view), button, modifiers, at);
    QTest::mouseRelease(Canvas(view), button, modifiers, at);
}

void Band(CViewWnd& view, QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = {})
{
    QTest::mousePress(Canvas(view), Qt::LeftButton, modifiers, from);
    QTest::mouseMove(Canvas(view), to);
    QTest::mouseRelease(Canvas(view), Qt::LeftButton, modifiers, to);
}

TEST(ViewHitTest, TheHigherLayerWinsUnlessItMissesThePoint)
{
    auto view = ShownView(400, 300);
    // The ellipse is first in the list but on a higher layer.
    CRichGraph* ellipse = AddShape(*view, kEllipse, {100, 100, 500, 500});
    CRichGraph* rectangle = AddShape(*view, kRectangle, {100, 100, 500, 500});
    ellipse->layer = 1;
    view->ObjectsChanged();
    EXPECT_EQ(view->ObjectAt({ClientOf(*view, {300, 300}).x(), ClientOf(*view, {300, 300}).y()}),
              ellipse);
    // Inside the ellipse's frame but outside the ellipse: the rectangle below answers.
    const QPoint corner = ClientOf(*view, {115, 115});
    EXPECT_EQ(view->ObjectAt({corner.x(), corner.y()}), rectangle);
    Click(*view, corner);
    EXPECT_EQ(view->Selection(), std::vector<CBaseCom*>{rectangle});
    const QPoint outside = ClientOf(*view, {700, 700});
    EXPECT_EQ(view->ObjectAt({outside.x(), outside.y()}), nullptr);
}

TEST(ViewSelection, ShiftClickAddsAndRemovesAndAPlainClickKeepsTheSelection)
{
    auto view = ShownView(400, 300);
    CRichGraph* a = AddShape(*view, kRectangle, {100, 100, 300, 300});
    CRichGraph* b = AddShape(*view, kRectangle, {400, 100, 600, 300});
    int downs = 0;
    QObject::connect(view.get(), &CViewWnd::leftButtonDown,
                     [&](const ViewMouseEvent&) { ++downs; });
    Click(*view, CentreOf(*view, *a));
    Click(*view, CentreOf(*view, *b), Qt::ShiftModifier);
    EXPECT_EQ(view->Selection(), (std::vector<CBaseCom*>{a, b}));
    EXPECT_EQ(downs, 2);
    // A plain click on a selected object keeps the others for a following move.
    Click(*view, CentreOf(*view, *a));
    EXPECT_EQ(view->Selection(), (std::vector<CBaseCom*>{a, b}));
    EXPECT_EQ(downs, 3);
    // Shift-click on a selected object removes it without any notification or move.
    view->CurrentView()->modified = false;
    Click(*view, CentreOf(*view, *a), Qt::ShiftModifier);
    EXPECT_EQ(view->Selection(), std::vector<CBaseCom*>{b});
    EXPECT_EQ(downs, 3);
    EXPECT_FALSE(view->CurrentView()->modified);
    // A click on empty canvas clears; with Shift it keeps.
    const QPoint empty = ClientOf(*view, {900, 600});
    Click(*view, empty, Qt::ShiftModifier);
    EXPECT_EQ(view->Selection(), std::vector<CBaseCom*>{b});
    Click(*view, empty);
    EXPECT_TRUE(view->Selection().empty());
}

TEST(ViewRubberBand, TakesObjectsWhoseTurnedBoxLiesInsideExcludingTheRightEdge)
{
    auto view = ShownView(400, 300);
    const QPoint from(10, 10);
    const QPoint to(300, 250);
    const Point start = view->ClientToDocument({from.x(), from.y()});
    const Point end = view->ClientToDocument({to.x(), to.y()});
    struct Case {
        const char* name;
        Rect frame;
        int32_t angle;
        bool taken;
    };
    const int32_t midX = (start.x + end.x) / 2;
    const int32_t midY = (start.y + end.y) / 2;
    const Case cases[] = {
        {"inside", {start.x + 20, start.y + 20, midX, midY}, 0, true},
        {"touching the right edge", {midX, start.y + 20, end.x, midY}, 0, false},
        {"one unit inside the right edge", {midX, start.y + 20, end.x - 1, midY}, 0, true},
        {"touching the bottom edge", {start.x + 20, midY, midX, end.y}, 0, false},
        {"frame inside, turned box not",
         {start.x + 40, midY - 300, start.x + 640, midY + 300},
         450,
         false},
        {"turned box inside, frame smaller",
         {midX - 100, midY - 60, midX + 100, midY + 60},
         450,
         true},
    };
    for (const Case& c : cases) {
        view->CurrentView()->objects.clear();
        CRichGraph* shape = AddShape(*view, kRectangle, c.frame);
        shape->angle = c.angle;
        view->ObjectsChanged();
        Band(*view, from, to);
        EXPECT_EQ(view->IsSelected(shape), c.taken) << c.name;
    }
}

TEST(ViewRubberBand, ShiftTogglesAndCancellingLeavesTheSelectionAlone)
{
    auto view = ShownView(400, 300);
    CRichGraph* a = AddShape(*view, kRectangle, {100, 100, 200, 200});
    CRichGraph* b = AddShape(*view, kRectangle, {300, 100, 400, 200});
    CRichGraph* far = AddShape(*view, kRectangle, {900, 600, 1000, 700});
    view->Select(a, false);
    view->Select(far, true);
    const QPoint from = ClientOf(*view, {50, 50});
    const QPoint to = ClientOf(*view, {500, 300});
    Band(*view, from, to, Qt::ShiftModifier);
    EXPECT_EQ(view->Selection(), (std::vector<CBaseCom*>{far, b}));
    // Esc and a right press both cancel.
    QTest::mousePress(Canvas(*view), Qt::LeftButton, {}, from);
    QTest::mouseMove(Canvas(*view), to);
    QTest::keyClick(view.get(), Qt::Key_Escape);
    EXPECT_FALSE(view->IsDragging());
    QTest::mouseRelease(Canvas(*view), Qt::LeftButton, {}, to);
    EXPECT_EQ(view->Selection(), (std::vector<CBaseCom*>{far, b}));
    QTest::mousePress(Canvas(*view), Qt::LeftButton, {}, from);
    QTest::mouseMove(Canvas(*view), to);
    QTest::mousePress(Canvas(*view), Qt::RightButton, {}, to);
    EXPECT_FALSE(view->IsDragging());
    EXPECT_EQ(view->Selection(), (std::vector<CBaseCom*>{far, b}));
}

TEST(ViewRightButton, SelectsOrClearsBeforeAskingForThePopup)
{
    auto view = ShownView(400, 300);
    CRichGraph* a = AddShape(*view, kRectangle, {100, 100, 200, 200});
    CRichGraph* b = AddShape(*view, kRectangle, {300, 100, 400, 200});
    std::vector<size_t> selectedAtPopup;
    QObject::connect(view.get(), &CViewWnd::popupRequested,
                     [&](QPoint) { selectedAtPopup.push_back(view->Selection().size()); });
    view->Select(a, false);
    view->Select(b, true);
    QTest::mousePress(Canvas(*view), Qt::RightButton, {}, CentreOf(*view, *b));
    EXPECT_EQ(view->Selection().size(), 2u); // an already selected object keeps them all
    QTest::mousePress(Canvas(*view), Qt::RightButton, {}, ClientOf(*view, {900, 600}));
    EXPECT_TRUE(view->Selection().empty());
    EXPECT_EQ(selectedAtPopup, (std::vector<size_t>{2, 0}));
    EXPECT_TRUE(view->PopupShown());
    EXPECT_EQ(Canvas(*view)->cursor().shape(), Qt::ArrowCursor);
    // Without the popup nothing is asked.
    view->SetPopupEnabled(false);
    QTest::mousePress(Canvas(*view), Qt::RightButton, {}, CentreOf(*view, *a));
    EXPECT_EQ(selectedAtPopup.size(), 2u);
    EXPECT_EQ(view->Selection(), std::vector<CBaseCom*>{a});
}

// Delivers a pointer move straight to the canvas, without running the event loop the way
// QTest's own mouse moves do, so that posted news can be told from sent news.
void SendMove(QWidget* canvas, QPoint at)
{
    QMouseEvent move(QEvent::MouseMove, at, canvas->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(canvas, &move);
}

TEST(ViewHover, ReportsLeaveThenEnterThenOverAndNothingForDeletedObjects)
{
    auto view = ShownView(400, 300);
    CRichGraph* a = AddShape(*view, kRectangle, {100, 100, 300, 300});
    CRichGraph* b = AddShape(*view, kRectangle, {400, 100, 600, 300});
    std::vector<std::string> heard;
    const auto record = [&](const char* what, CBaseCom* object) {
        heard.push_back(std::string(what) + (object == a ? " a" : object == b ? " b" : " ?"));
    };
    QObject::connect(view.get(), &CViewWnd::mouseLeave, [&](CBaseCom* o) { record("leave", o); });
    QObject::connect(view.get(), &CViewWnd::mouseEnter, [&](CBaseCom* o) { record("enter", o); });
    QObject::connect(view.get(), &CViewWnd::mouseOver, [&](CBaseCom* o) { record("over", o); });
    SendMove(Canvas(*view), CentreOf(*view, *a));
    SendMove(Canvas(*view), CentreOf(*view, *b));
    // Hover news is posted: nothing arrives before the event loop runs.
    EXPECT_TRUE(heard.empty());
    QApplication::processEvents();
    EXPECT_EQ(heard,
              (std::vector<std::string>{"enter a", "over a", "leave a", "enter b", "over b"}));
    heard.clear();
    SendMove(Canvas(*view), ClientOf(*view, {900, 600}));
    CBaseCom* doomed[] = {b};
    view->DeleteObjects(doomed);
    QApplication::processEvents();
    EXPECT_TRUE(heard.empty());
}

// A parent that keeps the input its view forwards.
class ListeningParent : public QWidget {
public:
    std::vector<QEvent::Type> heard;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == ForwardedInputEvent::EventType()) {
            heard.push_back(static_cast<ForwardedInputEvent*>(event)->Input().type());
            return true;
        }
        return QWidget::event(event);
    }
};

TEST(ViewInput, MouseAndKeysReachTheParentButNotTheRightButton)
{
    ListeningParent parent;
    auto* view = new CViewWnd(&parent);
    view->resize(300, 200);
    parent.resize(300, 200);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    QTest::mousePress(view->viewport(), Qt::RightButton, {}, {50, 50});
    QTest::mouseRelease(view->viewport(), Qt::RightButton, {}, {50, 50});
    QApplication::processEvents();
    EXPECT_TRUE(std::find(parent.heard.begin(), parent.heard.end(), QEvent::MouseButtonPress) ==
                parent.heard.end());
    parent.heard.clear();
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, {50, 50});
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, {50, 50});
    QTest::keyClick(view, Qt::Key_A);
    QApplication::processEvents();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                    QEvent::KeyPress, QEvent::KeyRelease}) {
        EXPECT_TRUE(std::find(parent.heard.begin(), parent.heard.end(), type) != parent.heard.end())
            << type;
    }
}

TEST(ViewCursor, CrossForThePickersShapeTheObjectsOwnOtherwise)
{
    auto view = ShownView(400, 300);
    CRichGraph* a = AddShape(*view, kRectangle, {100, 100, 300, 300});
    QTest::mouseMove(Canvas(*view), CentreOf(*view, *a));
    // The cursor is the one the object asks for at that point.
    const DeviceMapping map = view->Mapping();
    HitRecord hit;
    hit.map = &map;
    const QPoint centre = CentreOf(*view, *a) + view->ScrollOffset();
    hit.devicePoint = {centre.x(), centre.y()};
    hit.mode = 1;
    ASSERT_EQ(a->OnMessage(OM_SET_CURSOR, &hit), 0);
    ASSERT_NE(hit.cursor, CursorShape::Arrow);
    const QCursor expected = CursorForShape(hit.cursor);
    EXPECT_EQ(Canvas(*view)->cursor().shape(), expected.shape());
    EXPECT_EQ(Canvas(*view)->cursor().pixmap().toImage(), expected.pixmap().toImage());
    a->flags |= OF_LOCKED;
    QTest::mouseMove(Canvas(*view), CentreOf(*view, *a) + QPoint(1, 0));
    EXPECT_EQ(Canvas(*view)->cursor().shape(), Qt::ArrowCursor);
    OneShapePicker picker;
    view->SetPickerPanel(&picker);
    QTest::mouseMove(Canvas(*view), CentreOf(*view, *a));
    EXPECT_EQ(Canvas(*view)->cursor().shape(), Qt::CrossCursor);
    view->SetPickerPanel(nullptr);
}

} // namespace
} // namespace figures
