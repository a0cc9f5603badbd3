#include "figures/control/figurewindow.h"

#include "figures/control/controltestsupport.h"
#include "figures/dialogs/dialogtestsupport.h"
#include "figures/dialogs/viewmanagerdialog.h"
#include "figures/render/gbk.h"
#include "figures/view/cviewwnd.h"
#include "tools/makesample/sampledocument.h"

#include <QLineEdit>
#include <QSignalSpy>

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

    // Every edit reports itself, so input that edits nothing keeps the bytes written.
    QWidget* canvas = control->findChild<CViewWnd*>()->viewport();
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(300, 250));
    QTest::keyClick(canvas, Qt::Key_Escape);
    // The canvas hands its input to the control from the event loop.
    QCoreApplication::processEvents();
    EXPECT_EQ(control->DocumentContent().constData(), first.constData()) << "after input";
}

TEST(FigureWindow, ReportsEachViewManagerSessionThatEditedTheDocumentOnce)
{
    struct Case {
        std::string name;
        std::function<void(ViewManagerDialog&)> session;
        int reports;
        QStringList views;
    };
    const QString first = QStringLiteral("文档1");
    const std::vector<Case> cases{
        {"nothing done", [](ViewManagerDialog&) {}, 0, {first}},
        {"renamed", [](ViewManagerDialog& m) { m.NameEdit()->setText(QStringLiteral("总图")); },
         1, {QStringLiteral("总图")}},
        {"renamed letter by letter",
         [](ViewManagerDialog& m) {
             m.NameEdit()->clear();
             QTest::keyClicks(m.NameEdit(), QStringLiteral("Plan"));
         },
         1, {QStringLiteral("Plan")}},
        {"renamed and named back",
         [first](ViewManagerDialog& m) {
             m.NameEdit()->setText(QStringLiteral("草稿"));
             m.NameEdit()->setText(first);
         },
         0, {first}},
        {"a view added", [](ViewManagerDialog& m) { m.AddView(); }, 1,
         {first, QStringLiteral("文档2")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto control = ShownControl();
        control->AddShape();
        QCoreApplication::processEvents();
        const QByteArray before = control->DocumentContent();
        QSignalSpy changed(control.get(), &FigureWindow::documentChanged);
        dialogtest::WhenModal([&c](QWidget* modal) {
            auto* manager = qobject_cast<ViewManagerDialog*>(modal);
            ASSERT_NE(manager, nullptr);
            c.session(*manager);
            manager->reject();
        });
        QTest::keyClick(control->findChild<CViewWnd*>()->viewport(), Qt::Key_F9);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        EXPECT_EQ(changed.count(), c.reports);
        EXPECT_EQ(control->DocumentContent(), FreshBytes(*control));
        const auto document = controltest::ReadBack(*control);
        QStringList views;
        for (int i = 0; i < document->ViewCount(); ++i) {
            views << FromGbk(document->ViewAt(i)->name);
        }
        EXPECT_EQ(views, c.views);
        if (c.reports == 0) {
            EXPECT_EQ(control->DocumentContent(), before);
        }
    }
}

TEST(FigureWindow, KeepsTheBytesOfARestoredDocumentAsItsOwnWriting)
{
    Document sample;
    makesample::BuildSampleDocument(sample);
    const std::vector<uint8_t> sampleBytes = WriteDocument(sample);
    FigureWindow several;
    several.AddShape(5);
    several.InsertView(QStringLiteral("第二页"));
    several.SetCurrentView(1);
    several.AddShape(0);
    several.GetObjects(0).SetAngle(300);
    FigureWindow empty;
    struct Case {
        std::string name;
        QByteArray written;
    };
    const std::vector<Case> cases{
        {"the sample", QByteArray(reinterpret_cast<const char*>(sampleBytes.data()),
                                  qsizetype(sampleBytes.size()))},
        {"two views", several.DocumentContent()},
        {"an empty document", empty.DocumentContent()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto control = ShownControl();
        QSignalSpy changed(control.get(), &FigureWindow::documentChanged);
        ASSERT_TRUE(control->RestoreDocumentContent(c.written));
        EXPECT_EQ(control->DocumentContent().constData(), c.written.constData()) << "not written";
        EXPECT_EQ(control->DocumentContent(), FreshBytes(*control));

        // A click that edits nothing is no change; an edit is one, and lets go of the bytes.
        QWidget* canvas = control->findChild<CViewWnd*>()->viewport();
        QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(40, 40));
        QCoreApplication::processEvents();
        EXPECT_EQ(changed.count(), 0);
        control->AddShape();
        QCoreApplication::processEvents();
        EXPECT_EQ(changed.count(), 1);
        EXPECT_EQ(control->DocumentContent(), FreshBytes(*control));
    }
}

} // namespace
} // namespace figures
