#include "figures/dialogs/viewmanagerdialog.h"
#include "figures/model/view.h"
#include "figures/render/gbk.h"
#include "figures/view/cviewwnd.h"

#include "figures/dialogs/dialogtestsupport.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace figures {
namespace {

using dialogtest::SeenMessage;

std::string Gbk(const char* utf8)
{
    return ToGbk(QString::fromUtf8(utf8));
}

// A view window whose document has views of the given names, the first shown.
std::unique_ptr<CViewWnd> WindowWithViews(std::initializer_list<const char*> names)
{
    auto view = std::make_unique<CViewWnd>();
    Document& document = view->GetDocument();
    while (document.ViewCount() < int(names.size())) {
        document.AddView();
    }
    int i = 0;
    for (const char* name : names) {
        document.ViewAt(i++)->name = Gbk(name);
    }
    document.SetModified(false);
    view->SelectView(0);
    return view;
}

TEST(ViewManagerDialog, AddsAViewWithTheFirstFreeDefaultName)
{
    auto view = WindowWithViews({"文档1", "文档3"});
    ViewManagerDialog d(*view);
    d.AddView();
    ASSERT_EQ(view->GetDocument().ViewCount(), 3);
    EXPECT_EQ(view->GetDocument().ViewAt(2)->name, Gbk("文档2"));
    EXPECT_TRUE(view->GetDocument().IsModified());
    EXPECT_EQ(d.List()->currentRow(), 2);
    EXPECT_EQ(d.NameEdit()->text(), QStringLiteral("文档2"));
}

TEST(ViewManagerDialog, RenamesAsTypedAndAcceptsARepeatedName)
{
    auto view = WindowWithViews({"甲", "乙"});
    ViewManagerDialog d(*view);
    d.List()->setCurrentRow(1);
    EXPECT_FALSE(view->GetDocument().IsModified()); // choosing a view changes nothing
    EXPECT_EQ(d.NameEdit()->text(), QStringLiteral("乙"));
    d.NameEdit()->setText(QStringLiteral("甲"));
    EXPECT_EQ(view->GetDocument().ViewAt(1)->name, Gbk("甲"));
    EXPECT_EQ(d.List()->item(1)->text(), QStringLiteral("甲"));
    EXPECT_EQ(d.List()->currentRow(), 1);
    EXPECT_EQ(view->GetDocument().FindView(Gbk("甲")), 0); // a jump goes to the first
    EXPECT_TRUE(view->GetDocument().IsModified());
}

TEST(ViewManagerDialog, DeletingAsksFirstAndSelectsTheFollowingView)
{
    auto view = WindowWithViews({"一", "二", "三"});
    ViewManagerDialog d(*view);
    d.show();
    d.List()->setCurrentRow(1);

    SeenMessage seen;
    dialogtest::AnswerNextMessage(seen, &d, QMessageBox::No);
    EXPECT_FALSE(d.DeleteSelected());
    EXPECT_EQ(seen.caption, QStringLiteral("询问："));
    EXPECT_EQ(seen.text, QStringLiteral("您确认要删除视图“二”吗？"));
    EXPECT_EQ(view->GetDocument().ViewCount(), 3);

    dialogtest::AnswerNextMessage(seen, &d, QMessageBox::Yes);
    EXPECT_TRUE(d.DeleteSelected());
    ASSERT_EQ(view->GetDocument().ViewCount(), 2);
    EXPECT_EQ(view->GetDocument().ViewAt(1)->name, Gbk("三"));
    EXPECT_EQ(d.List()->currentRow(), 1);
    EXPECT_EQ(d.NameEdit()->text(), QStringLiteral("三"));
    EXPECT_TRUE(view->GetDocument().IsModified());

    dialogtest::AnswerNextMessage(seen, &d, QMessageBox::Yes);
    EXPECT_TRUE(d.DeleteSelected()); // the last of the list
    EXPECT_EQ(d.List()->currentRow(), -1);
    EXPECT_TRUE(d.NameEdit()->text().isEmpty());
}

TEST(ViewManagerDialog, TheWindowNeverKeepsADeletedView)
{
    auto view = WindowWithViews({"一", "二", "三"});
    view->SelectView(1);
    {
        ViewManagerDialog d(*view);
        d.show();
        d.List()->setCurrentRow(1);
        SeenMessage seen;
        dialogtest::AnswerNextMessage(seen, &d, QMessageBox::Yes);
        ASSERT_TRUE(d.DeleteSelected());
        d.reject();
    }
    EXPECT_EQ(view->CurrentView(), nullptr);
    EXPECT_EQ(view->CurrentIndex(), -1);

    // Deleting a view before the shown one keeps the same view shown.
    auto other = WindowWithViews({"一", "二", "三"});
    other->SelectView(2);
    View* shown = other->CurrentView();
    ViewManagerDialog d(*other);
    d.show();
    d.List()->setCurrentRow(0);
    SeenMessage seen;
    dialogtest::AnswerNextMessage(seen, &d, QMessageBox::Yes);
    ASSERT_TRUE(d.DeleteSelected());
    EXPECT_EQ(other->CurrentView(), shown);
    EXPECT_EQ(other->CurrentIndex(), 1);
    EXPECT_EQ(other->GetDocument().CurrentIndex(), 1);
}

TEST(ViewManagerDialog, GoingShowsTheSelectedViewAndCloses)
{
    auto view = WindowWithViews({"一", "二"});
    ViewManagerDialog d(*view);
    d.show();
    d.List()->setCurrentRow(1);
    QTest::keyClick(d.List(), Qt::Key_Return);
    EXPECT_EQ(view->CurrentIndex(), 1);
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

} // namespace
} // namespace figures
