#include "figures/control/figurewindow.h"

#include "figures/model/objects/crichgraph.h"
#include "figures/control/controltestsupport.h"

#include <QSignalSpy>
#include <QWindow>
#include <QtEndian>

#include <string>
#include <vector>

namespace figures {
namespace {

using controltest::FirstView;
using controltest::ReadBack;
using controltest::ShownControl;

QByteArray Block(const std::vector<int32_t>& fields, const QByteArray& document = {})
{
    QByteArray out;
    for (size_t i = 0; i < fields.size(); ++i) {
        char bytes[4];
        qToLittleEndian(fields[i], bytes);
        out.append(bytes, 4);
        if (i == 1) {
            out.append(document);
        }
    }
    return out;
}

TEST(FigureWindow, StartsFromTheDefaultInitialValues)
{
    const QByteArray expected = Block({1, 0, int32_t(0xFF000000), 0, 3, 1, 100, 1, 1, 1});
    EXPECT_EQ(FigureWindow::DefaultInitialValues(), expected);

    FigureWindow control;
    EXPECT_EQ(control.BackColour(), 0xFF000000u);
    EXPECT_EQ(control.CurrentView(), 0);
    EXPECT_EQ(control.ViewCount(), 1);
    EXPECT_EQ(control.ObjectCount(), 0);
    EXPECT_EQ(control.BorderStyle(), 3);
    EXPECT_TRUE(control.ScrollBars());
    EXPECT_EQ(control.Zoom(), 100);
    EXPECT_EQ(control.Reserved(), 1);
    EXPECT_TRUE(control.TextEditing());
    EXPECT_TRUE(control.PopupMenu());
    EXPECT_EQ(control.frameShape(), QFrame::Panel);
}

TEST(FigureWindow, WritesBackTheInitialValuesItWasMadeFrom)
{
    FigureWindow source;
    source.AddShape();
    source.InsertView(QStringLiteral("第二页"));
    source.SetCurrentView(1);
    source.AddShape(5);
    // The block's zoom is applied to the current view after the document is read.
    source.SetZoom(150);
    const QByteArray document = source.DocumentContent();

    const QByteArray block =
        Block({1, int32_t(document.size()), 0x123456, 1, 5, 0, 150, 7, 0, 0}, document);
    FigureWindow control(block);
    EXPECT_EQ(control.InitialValues(), block);
    EXPECT_EQ(control.ViewCount(), 2);
    EXPECT_EQ(control.CurrentView(), 1);
    EXPECT_EQ(control.ObjectCount(), 1);
    EXPECT_EQ(control.BackColour(), 0x123456u);
    EXPECT_EQ(control.BorderStyle(), 5);
    EXPECT_FALSE(control.ScrollBars());
    EXPECT_EQ(control.Zoom(), 150);
    EXPECT_EQ(control.Reserved(), 7);
    EXPECT_FALSE(control.TextEditing());
    EXPECT_FALSE(control.PopupMenu());
}

TEST(FigureWindow, ReadsShortBlocksAndRefusesBrokenOnes)
{
    FigureWindow shortBlock(Block({1, 0, 0x00FF00, 0, 1}));
    EXPECT_EQ(shortBlock.BackColour(), 0x00FF00u);
    EXPECT_EQ(shortBlock.BorderStyle(), 1);
    EXPECT_TRUE(shortBlock.ScrollBars());
    EXPECT_EQ(shortBlock.Zoom(), 100);

    FigureWindow control;
    for (const QByteArray& broken : {Block({2, 0, 0x00FF00}), Block({1, 400, 0x00FF00}),
                                     Block({1, -4, 0x00FF00}), QByteArray("\x01", 1)}) {
        EXPECT_FALSE(control.ApplyInitialValues(broken));
        EXPECT_EQ(control.BackColour(), 0xFF000000u);
    }
}

TEST(FigureWindow, AcceptsDocumentContentOnlyWhenItStartsWithTheMagic)
{
    FigureWindow source;
    source.AddShape();
    source.AddShape();
    const QByteArray twoShapes = source.DocumentContent();
    QByteArray wrongMagic = twoShapes;
    wrongMagic[0] = char(0xAF);

    FigureWindow control;
    control.AddShape();
    EXPECT_FALSE(control.SetDocumentContent(wrongMagic));
    EXPECT_FALSE(control.SetDocumentContent(QByteArray("hello world")));
    EXPECT_FALSE(control.SetProperty(FigureWindow::PropDocument, QByteArray("\xAE\xBA")));
    EXPECT_EQ(control.ObjectCount(), 1);

    EXPECT_TRUE(control.SetDocumentContent(twoShapes));
    EXPECT_EQ(control.ObjectCount(), 2);
    EXPECT_EQ(control.DocumentContent(), twoShapes);

    EXPECT_TRUE(control.SetProperty(FigureWindow::PropDocument, QByteArray()));
    EXPECT_EQ(control.ViewCount(), 1);
    EXPECT_EQ(control.CurrentView(), 0);
    EXPECT_EQ(control.ObjectCount(), 0);
}

TEST(FigureWindow, KeepsTheZoomWhenGivenZeroOrLess)
{
    auto control = ShownControl();
    const int widthAt100 = control->GetClientWidth();
    control->SetZoom(200);
    EXPECT_EQ(control->Zoom(), 200);
    EXPECT_NEAR(control->GetClientWidth(), widthAt100 / 2, 1);
    for (const int keep : {0, -50}) {
        control->SetZoom(keep);
        EXPECT_EQ(control->Zoom(), 200);
        EXPECT_NEAR(control->GetClientWidth(), widthAt100 / 2, 1);
    }
}

TEST(FigureWindow, AddsAWhiteRectangleWithoutAShapeNumber)
{
    FigureWindow control;
    EXPECT_EQ(control.AddShape(7), 0);
    EXPECT_EQ(control.AddShape(), 1);
    EXPECT_EQ(control.AddShape(111), -1);
    const auto document = ReadBack(control);
    const auto* shape = dynamic_cast<const CRichGraph*>(FirstView(*document).ObjectByIndex(1));
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(shape->shapeIndex, 2);
    EXPECT_EQ(shape->frame, (Rect{10, 10, 110, 110}));
    EXPECT_EQ(shape->fillColour, 0xFFFFFFu);
    EXPECT_EQ(control.GetAllIndexes(), (QList<int>{0, 1}));

    control.SetCurrentView(5);
    EXPECT_EQ(control.CurrentView(), -1);
    EXPECT_EQ(control.AddShape(), -1);
    EXPECT_TRUE(control.GetAllIndexes().isEmpty());
    EXPECT_EQ(control.ObjectCount(), 0);
}

TEST(FigureWindow, InsertsViewsByPositionAndReportsViewChanges)
{
    FigureWindow control;
    QSignalSpy shown(&control, &FigureWindow::viewChanged);
    EXPECT_EQ(control.InsertView(QStringLiteral("last")), 1);
    EXPECT_EQ(control.InsertView(QStringLiteral("first"), 0), 0);
    EXPECT_EQ(control.InsertView(std::nullopt, 99), 3);
    EXPECT_EQ(control.ViewCount(), 4);
    EXPECT_EQ(control.CurrentView(), 1);
    EXPECT_EQ(shown.count(), 0);
    control.SetProperty(FigureWindow::PropCurrentView, 3);
    ASSERT_EQ(shown.count(), 1);
    EXPECT_EQ(shown.at(0).at(0).toInt(), 3);
    EXPECT_FALSE(control.SetProperty(FigureWindow::PropViewCount, 9));
}

struct Recorder {
    std::vector<std::string> events;
    explicit Recorder(FigureWindow& control)
    {
        const auto record = [this](const char* name) {
            return [this, name](int index) { events.push_back(name + std::to_string(index)); };
        };
        QObject::connect(&control, &FigureWindow::mouseOverObject, record("over"));
        QObject::connect(&control, &FigureWindow::mouseEnteredObject, record("enter"));
        QObject::connect(&control, &FigureWindow::mouseLeftObject, record("leave"));
        QObject::connect(&control, &FigureWindow::leftButtonPressedOnObject, record("down"));
        QObject::connect(&control, &FigureWindow::leftButtonReleasedOnObject, record("up"));
    }
};

// The rectangle AddShape makes lies at (10, 10)-(110, 110), about 4..41 pixels at 100 %.
TEST(FigureWindow, ReportsThePointerEnteringMovingOverAndLeavingAnObject)
{
    auto control = ShownControl();
    control->AddShape();
    control->AddShape(); // the upper one, index 1
    QWidget* canvas = control->childAt(20, 20);
    ASSERT_NE(canvas, nullptr);
    Recorder recorder(*control);

    QTest::mouseMove(canvas, QPoint(200, 200));
    QTest::mouseMove(canvas, QPoint(20, 20));
    EXPECT_TRUE(recorder.events.empty()) << "hover news is queued";
    QCoreApplication::processEvents();
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"enter1", "over1"}));

    recorder.events.clear();
    QTest::mouseMove(canvas, QPoint(25, 25));
    QTest::mouseMove(canvas, QPoint(300, 200));
    QCoreApplication::processEvents();
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"over1", "leave1"}));
}

TEST(FigureWindow, ReportsButtonsOnObjectsWhileTheMouseEventIsHandled)
{
    auto control = ShownControl();
    control->AddShape();
    QWidget* canvas = control->childAt(20, 20);
    ASSERT_NE(canvas, nullptr);
    Recorder recorder(*control);
    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"down0"}));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"down0", "up0"}));
    EXPECT_EQ(control->GetSelectedIndexes(), (QList<int>{0}));

    recorder.events.clear();
    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(300, 200));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(300, 200));
    QCoreApplication::processEvents();
    EXPECT_TRUE(recorder.events.empty());
    EXPECT_TRUE(control->GetSelectedIndexes().isEmpty());
}

TEST(FigureWindow, ReportsOneDocumentChangePerCompletedAction)
{
    auto control = ShownControl();
    control->AddShape();
    QSignalSpy changed(control.get(), &FigureWindow::documentChanged);
    QCoreApplication::processEvents();
    EXPECT_EQ(changed.count(), 1) << "adding a shape";

    QWidget* canvas = control->childAt(20, 20);
    ASSERT_NE(canvas, nullptr);
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(20, 20));
    QCoreApplication::processEvents();
    EXPECT_EQ(changed.count(), 1) << "a click that moves nothing";
    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(20, 20));
    for (int x = 24; x <= 80; x += 4) {
        QTest::mouseMove(canvas, QPoint(x, 30));
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(changed.count(), 1) << "nothing during the drag";
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(80, 30));
    QCoreApplication::processEvents();
    EXPECT_EQ(changed.count(), 2) << "the move";
    EXPECT_GT(ReadBack(*control)->ViewAt(0)->ObjectByIndex(0)->frame.left, 10);

    control->GetObjects(-1).Flip(1);
    control->SetZoom(300);
    QCoreApplication::processEvents();
    EXPECT_EQ(changed.count(), 3) << "the flip, but not the zoom";
}

TEST(FigureWindow, PassesCanvasInputOnAsItsOwnEvents)
{
    auto control = ShownControl();
    control->SetBorderStyle(1);
    struct Filter : QObject {
        std::vector<std::pair<QEvent::Type, QPoint>> seen;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::MouseButtonPress) {
                seen.emplace_back(event->type(),
                                  static_cast<QMouseEvent*>(event)->position().toPoint());
            } else if (event->type() == QEvent::KeyPress) {
                seen.emplace_back(event->type(), QPoint());
            }
            return false;
        }
    } filter;
    control->installEventFilter(&filter);
    QWidget* canvas = control->childAt(100, 100);
    ASSERT_NE(canvas, nullptr);
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(50, 60));
    QTest::keyClick(canvas, Qt::Key_A);
    QCoreApplication::processEvents();
    ASSERT_EQ(filter.seen.size(), 2u);
    EXPECT_EQ(filter.seen[0].second, QPoint(52, 62)) << "in the control's coordinates";
    EXPECT_EQ(filter.seen[1].first, QEvent::KeyPress);
}

// A left click as the window system reports it, at the given time in milliseconds, with the
// event loop running afterwards as it does between a person's clicks.
void ClickThroughWindow(QWindow& window, QPoint at, int time)
{
    const QPointF global = window.mapToGlobal(QPointF(at));
    qt_handleMouseEvent(&window, at, global, Qt::LeftButton, Qt::LeftButton,
                        QEvent::MouseButtonPress, {}, time);
    qt_handleMouseEvent(&window, at, global, Qt::NoButton, Qt::LeftButton,
                        QEvent::MouseButtonRelease, {}, time + 1);
    QCoreApplication::processEvents();
}

// The platform forms a double-click from two presses close in time, and it keeps the last
// press with the pointing device, where the control's copies of the canvas events also
// leave their mark: copies without the original's time made every second press look long
// after the first, so no double-click ever reached the canvas or the control's filters.
TEST(FigureWindow, PassesADoubleClickOnBetweenTheCopiesOfItsClicks)
{
    auto control = ShownControl();
    struct Filter : QObject {
        std::vector<QEvent::Type> seen;
        bool eventFilter(QObject*, QEvent* event) override
        {
            const QEvent::Type type = event->type();
            if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
                type == QEvent::MouseButtonDblClick) {
                seen.push_back(type);
            }
            return false;
        }
    } filter;
    control->installEventFilter(&filter);
    QWindow* window = control->windowHandle();
    ASSERT_NE(window, nullptr);
    const int start = QTest::lastMouseTimestamp + 2 * QTest::mouseDoubleClickInterval;
    ClickThroughWindow(*window, QPoint(200, 150), start);
    ClickThroughWindow(*window, QPoint(200, 150), start + 100);
    QTest::lastMouseTimestamp = start + 100 + 2 * QTest::mouseDoubleClickInterval;
    const std::vector<QEvent::Type> expected = {
        QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
        QEvent::MouseButtonRelease};
    EXPECT_EQ(filter.seen, expected);
}

} // namespace
} // namespace figures

namespace figures {
namespace {

TEST(FigureWindow, SnapsMovesToTheGridWhenAsked)
{
    auto control = controltest::ShownControl();
    EXPECT_EQ(control->GridSpacing(), 0);
    EXPECT_FALSE(control->AlignmentGuides());
    control->SetProperty(FigureWindow::PropGridSpacing, 50);
    control->SetProperty(FigureWindow::PropAlignmentGuides, true);
    EXPECT_EQ(control->Property(FigureWindow::PropGridSpacing).toInt(), 50);
    EXPECT_TRUE(control->Property(FigureWindow::PropAlignmentGuides).toBool());
    control->SetAlignmentGuides(false);

    control->AddShape();
    QWidget* canvas = control->childAt(20, 20);
    ASSERT_NE(canvas, nullptr);
    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseMove(canvas, QPoint(40, 30));
    QTest::mouseMove(canvas, QPoint(67, 43));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(67, 43));
    const Rect frame = controltest::ReadBack(*control)->ViewAt(0)->ObjectByIndex(0)->frame;
    EXPECT_EQ(frame.left % 50, 0);
    EXPECT_EQ(frame.top % 50, 0);
    EXPECT_GT(frame.left, 10);
    EXPECT_EQ(frame.Width(), 100);
}

} // namespace
} // namespace figures

namespace figures {
namespace {

TEST(FigureWindow, ReadsAndWritesPropertiesByNumber)
{
    struct Row {
        int id;
        QVariant written;
        QVariant read;
    };
    const std::vector<Row> rows{
        {FigureWindow::PropBackColour, 0x00FF8040u, 0x00FF8040u},
        {FigureWindow::PropBorderStyle, 4, 4},
        {FigureWindow::PropBorderStyle, 9, 9},
        {FigureWindow::PropScrollBars, false, false},
        {FigureWindow::PropZoom, 250, 250},
        {FigureWindow::PropZoom, -3, 250},
        {FigureWindow::PropReserved, 42, 42},
        {FigureWindow::PropTextEditing, false, false},
        {FigureWindow::PropPopupMenu, false, false},
        {FigureWindow::PropCurrentView, 7, -1},
    };
    FigureWindow control;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        EXPECT_TRUE(control.SetProperty(row.id, row.written));
        EXPECT_EQ(control.Property(row.id), row.read);
    }
    EXPECT_EQ(control.frameShape(), QFrame::NoFrame) << "an unknown border style draws none";
    EXPECT_FALSE(control.SetProperty(FigureWindow::PropObjectCount, 3));
    EXPECT_FALSE(control.SetProperty(FigureWindow::PropZoom, QStringLiteral("large")));
    EXPECT_FALSE(control.Property(99).isValid());
    EXPECT_EQ(control.Property(FigureWindow::PropObjectCount).toInt(), 0);
    EXPECT_EQ(control.Property(FigureWindow::PropViewCount).toInt(), 1);
}

} // namespace
} // namespace figures
