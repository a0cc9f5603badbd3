#include "figures/dialogs/documentdesigndialog.h"

#include "figures/control/figurewindow.h"
#include "figures/dialogs/shapepicker.h"
#include "figures/dialogs/shapepreview.h"
#include "figures/dialogs/viewmanagerdialog.h"
#include "figures/model/objects/crichgraph.h"
#include "figures/view/cviewwnd.h"

#include "figures/control/controltestsupport.h"
#include "figures/dialogs/dialogtestsupport.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace figures {
namespace {

using controltest::ReadBack;
using controltest::ShownControl;
using dialogtest::WhenModal;

CViewWnd& CanvasOf(FigureWindow& control)
{
    return *control.findChild<CViewWnd*>(QString(), Qt::FindDirectChildrenOnly);
}

// A host control with two views, a rectangle on the first, the first current.
std::unique_ptr<FigureWindow> HostWithTwoViews()
{
    auto host = ShownControl(400, 300);
    host->AddShape();
    host->InsertView(QStringLiteral("第二页"));
    host->SetCurrentView(0);
    QCoreApplication::processEvents(); // the set-up's own change reports go out now
    return host;
}

// In the open design dialog: picks the ellipse in the picker and presses on the canvas
// to create it, then shows the second view.
void EditInDialog(DocumentDesignDialog& dialog)
{
    ShapePicker& picker = *dialog.Picker();
    picker.Categories()->setCurrentIndex(picker.Categories()->findText(QStringLiteral("基本图形")));
    QListWidget& shapes = *picker.Shapes();
    const QList<QListWidgetItem*> found = shapes.findItems(QStringLiteral("椭圆"), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    shapes.setCurrentItem(found.front());
    ASSERT_TRUE(picker.HasShape());
    CViewWnd& canvas = CanvasOf(*dialog.Editor());
    QTest::mouseClick(canvas.viewport(), Qt::LeftButton, {}, {120, 100});
    EXPECT_EQ(dialog.Editor()->ObjectCount(), 2);
    EXPECT_FALSE(picker.HasShape());
    dialog.Editor()->SetCurrentView(1);
}

// Opens the host's document-content editor, edits as above and ends the dialog with the
// named button; the host's bytes are checked untouched while the dialog is still open.
void EditAndClose(FigureWindow& host, const char* button, bool& openedAndEdited)
{
    const QByteArray before = host.DocumentContent();
    WhenModal([&host, &openedAndEdited, before, button](QWidget* modal) {
        auto* dialog = qobject_cast<DocumentDesignDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("设置“图形窗口.文档内容”"));
        EXPECT_EQ(dialog->Content(), before);
        EditInDialog(*dialog);
        EXPECT_EQ(host.DocumentContent(), before);
        EXPECT_EQ(host.CurrentView(), 0);
        openedAndEdited = true;
        dialog->findChild<QPushButton*>(QString::fromLatin1(button))->click();
    });
    host.EditDocumentContent();
}

TEST(DocumentDesignDialog, EditsReachTheHostControlOnlyOnOk)
{
    auto host = HostWithTwoViews();
    QSignalSpy changes(host.get(), &FigureWindow::documentChanged);
    bool edited = false;
    EditAndClose(*host, "ok", edited);
    ASSERT_TRUE(edited);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(host->CurrentView(), 1);
    const auto document = ReadBack(*host);
    ASSERT_EQ(document->ViewCount(), 2);
    const View& first = *document->ViewAt(0);
    ASSERT_EQ(first.ObjectCount(), 2);
    const auto* made = dynamic_cast<const CRichGraph*>(first.ObjectByIndex(1));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->TypeName(), "椭圆");
    QCoreApplication::processEvents();
    EXPECT_EQ(changes.count(), 1); // handed over once, not reported again from the queue
}

TEST(DocumentDesignDialog, CancelLeavesTheHostControlByteIdentical)
{
    auto host = HostWithTwoViews();
    const QByteArray before = host->DocumentContent();
    QSignalSpy changes(host.get(), &FigureWindow::documentChanged);
    bool edited = false;
    EditAndClose(*host, "cancel", edited);
    ASSERT_TRUE(edited);
    QCoreApplication::processEvents();
    EXPECT_EQ(host->DocumentContent(), before);
    EXPECT_EQ(host->CurrentView(), 0);
    EXPECT_EQ(changes.count(), 0);
}

TEST(DocumentDesignDialog, OkWithoutEditsReportsNoChange)
{
    auto host = HostWithTwoViews();
    const QByteArray before = host->DocumentContent();
    QSignalSpy changes(host.get(), &FigureWindow::documentChanged);
    WhenModal([](QWidget* modal) { static_cast<QDialog*>(modal)->accept(); });
    EXPECT_TRUE(host->EditDocumentContent());
    QCoreApplication::processEvents();
    EXPECT_EQ(host->DocumentContent(), before);
    EXPECT_EQ(changes.count(), 0);
}

TEST(DocumentDesignDialog, StartsOnTheHostsCurrentViewOnAWhiteCanvas)
{
    auto host = HostWithTwoViews();
    host->SetCurrentView(1);
    DocumentDesignDialog dialog(*host);
    EXPECT_EQ(dialog.ResultView(), 1);
    EXPECT_EQ(dialog.Editor()->BackColour(), 0xFFFFFFu);
    EXPECT_EQ(dialog.Editor()->ViewCount(), 2);
}

TEST(DocumentDesignDialog, TheViewManagerWorksOnTheDialogsCopy)
{
    auto host = HostWithTwoViews();
    DocumentDesignDialog dialog(*host);
    dialog.show();
    QCoreApplication::processEvents();
    ASSERT_EQ(dialog.Content(), host->DocumentContent());
    WhenModal(
        [](QWidget* modal) {
            auto* manager = qobject_cast<ViewManagerDialog*>(modal);
            ASSERT_NE(manager, nullptr);
            manager->AddView();
            manager->reject();
        },
        &dialog);
    dialog.ViewManagerButton()->click();
    EXPECT_EQ(dialog.Editor()->ViewCount(), 3);
    EXPECT_EQ(host->ViewCount(), 2);
    // What OK would take over holds the added view.
    FigureWindow taken;
    taken.SetDocumentContent(dialog.Content());
    EXPECT_EQ(taken.ViewCount(), 3);
}

TEST(DocumentDesignDialog, ResizingGrowsTheDrawingAndSplitsThePickerByTheGoldenRatio)
{
    auto host = HostWithTwoViews();
    DocumentDesignDialog dialog(*host);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    struct Case {
        int width, height;
    };
    int pickerWidth = -1;
    for (const Case c : {Case{900, 600}, Case{1200, 800}, Case{900, 700}}) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        dialog.resize(c.width, c.height);
        QCoreApplication::processEvents();
        const ShapePicker& picker = *dialog.Picker();
        const QRect editor = dialog.Editor()->geometry();
        // The picker keeps its width, the drawing takes the rest of the dialog.
        if (pickerWidth < 0) {
            pickerWidth = picker.width();
        }
        EXPECT_EQ(picker.width(), pickerWidth);
        EXPECT_GT(editor.left(), picker.geometry().right());
        EXPECT_GT(editor.right(), c.width - 30);
        EXPECT_GT(editor.height(), c.height - 80);
        EXPECT_EQ(picker.height(), editor.height());
        const int w = picker.width() - 10;
        const int a = int(w * 0.618);
        EXPECT_EQ(picker.Preview()->geometry(), QRect(5, picker.height() - a - 5, w, a));
        EXPECT_EQ(picker.Shapes()->geometry().bottom() + 1, picker.height() - a - 10);
    }
}

} // namespace
} // namespace figures
