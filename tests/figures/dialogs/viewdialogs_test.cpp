#include "tests/figures/view/viewtestsupport.h"

#include "figures/dialogs/installviewdialogs.h"
#include "figures/dialogs/objectpropertiesdialog.h"
#include "figures/dialogs/tenthsspinbox.h"
#include "figures/dialogs/textinputdialog.h"
#include "figures/dialogs/viewmanagerdialog.h"
#include "figures/model/objects/crichline.h"
#include "figures/view/viewcommandids.h"
#include "figures/view/viewcommands.h"

#include "figures/dialogs/dialogtestsupport.h"

#include <QPlainTextEdit>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

namespace figures {
namespace {

using namespace viewtest;

// Runs the properties command; act gets the dialog it opened (null when none opened).
void RunProperties(CViewWnd& view, const std::function<void(ObjectPropertiesDialog*)>& act)
{
    bool opened = false;
    dialogtest::WhenModal([&](QWidget* w) {
        opened = true;
        act(qobject_cast<ObjectPropertiesDialog*>(w));
    });
    view.Commands().Execute(ID_PROPERTIES);
    if (!opened) {
        act(nullptr);
    }
}

TEST(ViewDialogs, SeveralObjectsShareOutTheFilledValuesAsOneChange)
{
    auto view = ShownView(400, 300);
    InstallViewDialogs(*view);
    CRichGraph* a = AddShape(*view, kRectangle, {100, 100, 300, 200});
    CRichGraph* b = AddShape(*view, kRectangle, {400, 50, 500, 450});
    view->Select(a, false);
    view->Select(b, true);
    int modified = 0;
    QObject::connect(view.get(), &CViewWnd::modified, [&modified] { ++modified; });
    QString caption;
    RunProperties(*view, [&caption](ObjectPropertiesDialog* d) {
        ASSERT_NE(d, nullptr);
        caption = d->windowTitle();
        d->findChild<TenthsSpinBox*>(QStringLiteral("height"))->SetText(QStringLiteral("25"));
        d->findChild<QPushButton*>(QStringLiteral("ok"))->click();
    });
    EXPECT_EQ(caption, QStringLiteral("多对象属性设置对话框"));
    EXPECT_EQ(a->frame, (Rect{100, 100, 300, 350}));
    EXPECT_EQ(b->frame, (Rect{400, 50, 500, 300}));
    EXPECT_EQ(modified, 1);
    EXPECT_TRUE(view->GetDocument().IsModified());
}

TEST(ViewDialogs, OneEligibleObjectIsEditedWhole)
{
    auto view = ShownView(400, 300);
    InstallViewDialogs(*view);
    CRichGraph* shape = AddShape(*view, kRectangle, {100, 100, 300, 200});
    auto line = std::make_unique<CRichLine>();
    line->flags &= ~uint32_t(OF_DIALOG);
    line->frame = {0, 0, 50, 50};
    CBaseCom* plain = line.get();
    view->CurrentView()->objects.push_back(std::move(line));
    view->ObjectsChanged();
    view->Select(plain, false);
    view->Select(shape, true);
    RunProperties(*view, [](ObjectPropertiesDialog* d) {
        ASSERT_NE(d, nullptr);
        EXPECT_NE(d->windowTitle(), QStringLiteral("多对象属性设置对话框"));
        d->findChild<TenthsSpinBox*>(QStringLiteral("x"))->SetText(QStringLiteral("5"));
        d->accept();
    });
    EXPECT_EQ(shape->frame, (Rect{50, 100, 250, 200}));
    EXPECT_EQ(plain->frame, (Rect{0, 0, 50, 50}));

    // Cancel changes nothing and marks nothing.
    view->GetDocument().SetModified(false);
    view->Select(shape, false);
    RunProperties(*view, [](ObjectPropertiesDialog* d) {
        ASSERT_NE(d, nullptr);
        d->findChild<TenthsSpinBox*>(QStringLiteral("x"))->SetText(QStringLiteral("90"));
        d->reject();
    });
    EXPECT_EQ(shape->frame, (Rect{50, 100, 250, 200}));
    EXPECT_FALSE(view->GetDocument().IsModified());
}

TEST(ViewDialogs, SharedAngleAndFontGoOnlyToObjectsThatTakeThem)
{
    auto view = ShownView(400, 300);
    InstallViewDialogs(*view);
    CRichGraph* shape = AddShape(*view, kRectangle, {100, 100, 300, 200});
    shape->flags &= ~uint32_t(OF_TEXT);
    auto rect = std::make_unique<CRectCom>(); // no rotation
    rect->frame = {400, 400, 500, 500};
    rect->flags |= OF_TEXT;
    CRectCom* plain = rect.get();
    view->CurrentView()->objects.push_back(std::move(rect));
    view->ObjectsChanged();
    view->Select(shape, false);
    view->Select(plain, true);
    LogFont font;
    font.SetHeight(-70);
    RunProperties(*view, [&font](ObjectPropertiesDialog* d) {
        ASSERT_NE(d, nullptr);
        d->findChild<TenthsSpinBox*>(QStringLiteral("angle"))->SetText(QStringLiteral("45"));
        d->findChild<TenthsSpinBox*>(QStringLiteral("x"))->SetText(QStringLiteral("1"));
        d->SetChosenFont(font, 0x0000FF);
        d->accept();
    });
    EXPECT_EQ(shape->angle, 450);
    EXPECT_EQ(plain->angle, 0);
    EXPECT_EQ(shape->frame, (Rect{10, 100, 210, 200}));
    EXPECT_EQ(plain->frame, (Rect{10, 400, 110, 500}));
    EXPECT_EQ(plain->font, font);
    EXPECT_EQ(plain->textColour, 0x0000FFu);
    EXPECT_FALSE(shape->font == font);
}

TEST(ViewDialogs, TypedTextIsStoredAndGrowsTheShape)
{
    auto view = ShownView(400, 300);
    InstallViewDialogs(*view);
    view->SetTextEditEnabled(true);
    CRichGraph* shape = AddShape(*view, kRectangle, {100, 100, 200, 160});
    const Rect before = shape->frame;
    dialogtest::WhenModal([](QWidget* w) {
        auto* input = qobject_cast<TextInputDialog*>(w);
        ASSERT_NE(input, nullptr);
        EXPECT_EQ(input->windowTitle(), QStringLiteral("请输入文本(Esc键退出):"));
        input->Editor()->insertPlainText(QStringLiteral("一段相当长的文字"));
        QTest::keyClick(input->Editor(), Qt::Key_Return);
        input->Editor()->insertPlainText(QStringLiteral("第二行"));
        input->reject();
    });
    QTest::mouseDClick(Canvas(*view), Qt::LeftButton, {}, CentreOf(*view, *shape));
    EXPECT_EQ(shape->frame.left, before.left);
    EXPECT_EQ(shape->frame.top, before.top);
    EXPECT_GT(shape->frame.right, before.right);
    EXPECT_GT(shape->frame.bottom, before.bottom);
    EXPECT_TRUE(view->CurrentView()->modified);
}

TEST(ViewDialogs, TheViewCommandOpensTheViewManager)
{
    auto view = ShownView(400, 300);
    InstallViewDialogs(*view);
    view->GetDocument().AddView();
    QString caption;
    dialogtest::WhenModal([&caption](QWidget* w) {
        auto* manager = qobject_cast<ViewManagerDialog*>(w);
        ASSERT_NE(manager, nullptr);
        caption = manager->windowTitle();
        manager->List()->setCurrentRow(1);
        manager->GoToSelected();
    });
    view->Commands().Execute(ID_VIEW_MANAGER);
    EXPECT_EQ(caption, QStringLiteral("文档管理"));
    EXPECT_EQ(view->CurrentIndex(), 1);
}

} // namespace
} // namespace figures
