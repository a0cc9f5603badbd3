#include "tests/figures/view/viewtestsupport.h"

#include "figures/view/popupmenu.h"
#include "figures/view/viewcommandids.h"
#include "figures/view/viewcommands.h"
#include "figures/view/viewkeyboard.h"
#include "figures/view/viewnotify.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace figures {
namespace {

using namespace viewtest;

// A host window around the view that records the keys the view forwards to it.
class Host : public QWidget {
public:
    Host()
    {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        view = new CViewWnd(this);
        view->SetScrollBarsShown(false);
        layout->addWidget(view);
        resize(400, 300);
        show();
        activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(this));
        view->setFocus();
    }

    bool event(QEvent* e) override
    {
        if (e->type() == ForwardedInputEvent::EventType()) {
            const QEvent& input = static_cast<ForwardedInputEvent*>(e)->Input();
            if (input.type() == QEvent::KeyPress) {
                const auto& key = static_cast<const QKeyEvent&>(input);
                // The modifier keys pressed before a combination arrive too; not needed here.
                if (key.key() != Qt::Key_Control && key.key() != Qt::Key_Shift) {
                    keys.push_back(QKeySequence(key.keyCombination()).toString());
                }
            }
            return true;
        }
        return QWidget::event(e);
    }

    // Presses a key on the view and lets the forwarded copy arrive.
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(view, key, modifiers);
        QCoreApplication::sendPostedEvents(this);
    }

    CViewWnd* view = nullptr;
    std::vector<QString> keys;
};

QAction* EntryOf(QMenu* menu, int32_t id)
{
    for (QAction* action : menu->actions()) {
        if (PopupCommandOf(action) == id) {
            return action;
        }
        if (action->menu() != nullptr) {
            if (QAction* found = EntryOf(action->menu(), id)) {
                return found;
            }
        }
    }
    return nullptr;
}

std::vector<std::string> Texts(QMenu* menu)
{
    std::vector<std::string> texts;
    for (QAction* action : menu->actions()) {
        texts.push_back(action->isSeparator() ? "-" : action->text().toStdString());
    }
    return texts;
}

TEST(ViewPopupMenu, ShowsTheEntriesInOrderWithTheirShortcutTexts)
{
    auto view = ShownView();
    std::unique_ptr<QMenu> menu(view->Commands().BuildPopupMenu(nullptr));
    EXPECT_EQ(Texts(menu.get()), (std::vector<std::string>{"属性(&E)...",
                                                           "-",
                                                           "剪切(&T)",
                                                           "复制(&C)",
                                                           "粘贴(&P)",
                                                           "粘贴外部内容\tCtrl-Shift-V",
                                                           "删除(&D)",
                                                           "全选(&S)",
                                                           "-",
                                                           "层次(&L)",
                                                           "对齐(&A)",
                                                           "位置(&M)",
                                                           "旋转(&R)",
                                                           "组合(&O)",
                                                           "分解(&U)",
                                                           "锁定(&K)",
                                                           "解除锁定(&N)",
                                                           "-",
                                                           "视图比例(&B)",
                                                           "视图(&V)",
                                                           "跳转(&J)"}));
    EXPECT_EQ(EntryOf(menu.get(), ID_ALIGN_BOTTOM)->text().toStdString(), "底边对齐(&B)\tCtrl-B");
    EXPECT_EQ(EntryOf(menu.get(), ID_RIGHT_EDGE_RIGHT)->text().toStdString(),
              "右边右移(&I)\tShift-Right");
    QMenu* turns = nullptr;
    for (QAction* action : menu->actions()) {
        if (action->text() == QString::fromUtf8("旋转(&R)")) {
            turns = action->menu();
        }
    }
    ASSERT_NE(turns, nullptr);
    EXPECT_EQ(Texts(turns), (std::vector<std::string>{"逆时针旋转90度(&L)", "顺时针旋转90度(&R)",
                                                      "-", "水平翻转(&H)", "垂直翻转(&V)"}));
}

TEST(ViewPopupMenu, EnablesEntriesByTheSelectionTheClipboardAndJumpTargets)
{
    auto view = ShownView();
    view->GetDocument().InsertView(nullptr, 1);
    const std::string second = view->GetDocument().ViewAt(1)->name;
    CRichGraph* a = AddShape(*view, kRectangle, {100, 100, 300, 300});
    CRichGraph* b = AddShape(*view, kRectangle, {400, 100, 600, 300});
    a->jumpTarget = second;
    b->jumpTarget = second;
    QApplication::clipboard()->setText("plain text");

    struct Case {
        const char* name;
        std::vector<CBaseCom*> selection;
        std::vector<int32_t> enabled;
        std::vector<int32_t> disabled;
    };
    const Case cases[] = {
        {"nothing selected",
         {},
         {ID_SELECT_ALL, ID_VIEW_MANAGER, ID_ZOOM_150, ID_PASTE_EXTERNAL},
         {ID_PROPERTIES, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_DELETE, ID_GROUP,
          ID_BRING_TO_TOP, ID_MOVE_UP, ID_ROTATE_LEFT, ID_ALIGN_TOP, ID_JUMP}},
        {"one selected",
         {a},
         {ID_PROPERTIES, ID_EDIT_COPY, ID_UNLOCK, ID_SEND_TO_BOTTOM, ID_RIGHT_EDGE_LEFT,
          ID_FLIP_VERTICAL, ID_JUMP},
         {ID_ALIGN_TOP, ID_SAME_WIDTH, ID_EDIT_PASTE}},
        {"two selected, both with jumps", {a, b}, {ID_ALIGN_TOP, ID_SAME_HEIGHT}, {ID_JUMP}},
    };
    for (const Case& c : cases) {
        view->SetSelection(c.selection, false);
        std::unique_ptr<QMenu> menu(view->Commands().BuildPopupMenu(nullptr));
        for (const int32_t id : c.enabled) {
            EXPECT_TRUE(EntryOf(menu.get(), id)->isEnabled()) << c.name << " " << id;
        }
        for (const int32_t id : c.disabled) {
            EXPECT_FALSE(EntryOf(menu.get(), id)->isEnabled()) << c.name << " " << id;
            EXPECT_FALSE(view->Commands().Execute(id)) << c.name << " " << id;
        }
    }
    // A jump target that names no view, byte for byte, disables the jump.
    a->jumpTarget = second + " ";
    view->SetSelection(std::vector<CBaseCom*>{a}, false);
    EXPECT_FALSE(view->Commands().IsEnabled(ID_JUMP));
    a->jumpTarget = second;
    EXPECT_TRUE(view->Commands().Execute(ID_JUMP));
    EXPECT_EQ(view->CurrentIndex(), 1);

    // The component's data on the clipboard turns paste on and the outside paste off.
    view->SelectView(0);
    view->SetSelection(std::vector<CBaseCom*>{b}, false);
    ASSERT_TRUE(view->Commands().Execute(ID_EDIT_COPY));
    std::unique_ptr<QMenu> menu(view->Commands().BuildPopupMenu(nullptr));
    EXPECT_TRUE(EntryOf(menu.get(), ID_EDIT_PASTE)->isEnabled());
    EXPECT_FALSE(EntryOf(menu.get(), ID_PASTE_EXTERNAL)->isEnabled());
}

TEST(ViewPopupMenu, ChecksTheZoomEntryOnlyOnItsExactZoom)
{
    auto view = ShownView();
    const int32_t zooms[] = {ID_ZOOM_10,  ID_ZOOM_25,  ID_ZOOM_50, ID_ZOOM_100,
                             ID_ZOOM_150, ID_ZOOM_200, ID_ZOOM_300};
    struct Case {
        int32_t zoomX;
        int32_t checked; // 0: none
    };
    for (const Case c : {Case{100, ID_ZOOM_10}, Case{1000, ID_ZOOM_100}, Case{3000, ID_ZOOM_300},
                         Case{1200, 0}, Case{999, 0}, Case{1050, 0}}) {
        view->CurrentView()->zoomX = c.zoomX;
        std::unique_ptr<QMenu> menu(view->Commands().BuildPopupMenu(nullptr));
        for (const int32_t id : zooms) {
            EXPECT_EQ(EntryOf(menu.get(), id)->isChecked(), id == c.checked)
                << c.zoomX << " " << id;
        }
    }
    EXPECT_TRUE(view->Commands().Execute(ID_ZOOM_25));
    EXPECT_EQ(view->CurrentView()->zoomX, 250);
    EXPECT_EQ(view->CurrentView()->zoomY, 250);
}

TEST(ViewPopupMenu, ARightPressOpensItAndAnEntryRunsItsCommand)
{
    auto view = ShownView();
    CRichGraph* a = AddShape(*view, kRectangle, {100, 100, 300, 300});
    QTest::mouseClick(Canvas(*view), Qt::RightButton, Qt::NoModifier, CentreOf(*view, *a));
    QMenu* menu = view->Commands().OpenPopup();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_TRUE(view->PopupShown());
    EXPECT_EQ(view->Selection(), std::vector<CBaseCom*>{a});
    EntryOf(menu, ID_LOCK)->trigger();
    EXPECT_TRUE(a->HasFlag(OF_LOCKED));
    menu->close();
    EXPECT_EQ(view->Commands().OpenPopup(), nullptr);

    // With the popup switched off, a right press only selects.
    view->SetPopupEnabled(false);
    QTest::mouseClick(Canvas(*view), Qt::RightButton, Qt::NoModifier, CentreOf(*view, *a));
    EXPECT_EQ(view->Commands().OpenPopup(), nullptr);
}

TEST(ViewKeyboard, BindsExactlyTheComponentsKeys)
{
    auto view = ShownView();
    std::set<std::string> bound;
    for (const QAction* action : view->Commands().Keyboard().Actions()) {
        for (const QKeySequence& key : action->shortcuts()) {
            bound.insert(key.toString().toStdString() + "=" +
                         std::to_string(action->data().toInt()));
        }
    }
    EXPECT_EQ(bound, (std::set<std::string>{"Ctrl+A=32798", "Ctrl+B=32785",      "Ctrl+C=57634",
                                            "Ctrl+H=170",   "Ctrl+J=32797",      "Ctrl+L=166",
                                            "Ctrl+R=32786", "Ctrl+T=165",        "Ctrl+V=57637",
                                            "Del=57632",    "Down=172",          "Shift+Down=176",
                                            "F9=32796",     "Ctrl+Ins=57634",    "Shift+Ins=57637",
                                            "Left=173",     "Shift+Left=177",    "Return=32773",
                                            "Enter=32773",  "Right=174",         "Shift+Right=178",
                                            "Up=171",       "Shift+Up=175",      "Ctrl+W=169",
                                            "Ctrl+X=57635", "Ctrl+Shift+V=32800"}));
}

TEST(ViewKeyboard, KeysRunEnabledCommandsAndAllReachTheHost)
{
    Host host;
    CViewWnd& view = *host.view;
    ASSERT_TRUE(view.hasFocus() || view.viewport()->hasFocus());
    CRichGraph* a = AddShape(view, kRectangle, {100, 100, 300, 300});
    CRichGraph* b = AddShape(view, kRectangle, {400, 500, 600, 700});
    int propertiesShown = 0;
    view.Commands().SetDialogs({[&](CViewWnd&) { ++propertiesShown; }, nullptr});

    host.Press(Qt::Key_Delete); // nothing selected: the key only reaches the host
    EXPECT_EQ(view.CurrentView()->ObjectCount(), 2);
    host.Press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(view.Selection().size(), 2u);
    host.Press(Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(a->frame.top, 500);
    host.Press(Qt::Key_Up);
    EXPECT_EQ(a->frame, (Rect{100, 497, 300, 697})); // one pixel: 3 units at 100 %
    EXPECT_EQ(b->frame.top, 497);
    host.Press(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(b->frame.right, 603);
    host.Press(Qt::Key_Return);
    host.Press(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(propertiesShown, 2);
    host.Press(Qt::Key_Escape); // the host's: cancels nothing here, runs nothing
    host.Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(view.Selection().size(), 2u);
    host.Press(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(view.CurrentView()->ObjectCount(), 0);
    host.Press(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(view.CurrentView()->ObjectCount(), 2);
    EXPECT_EQ(view.Selection().size(), 2u);

    EXPECT_EQ(host.keys,
              (std::vector<QString>{"Del", "Ctrl+A", "Ctrl+T", "Up", "Shift+Right", "Return",
                                    "Num+Enter", "Esc", "Ctrl+Z", "Ctrl+X", "Shift+Ins"}));
}

TEST(ViewKeyboard, CommandsWaitWhileADragHoldsTheObjects)
{
    Host host;
    CViewWnd& view = *host.view;
    CRichGraph* a = AddShape(view, kRectangle, {100, 100, 300, 300});
    const QPoint centre = CentreOf(view, *a);
    QTest::mousePress(Canvas(view), Qt::LeftButton, {}, centre);
    QTest::mouseMove(Canvas(view), centre + QPoint(30, 20));
    ASSERT_TRUE(view.IsDragging());
    EXPECT_FALSE(view.Commands().Execute(ID_EDIT_DELETE));
    host.Press(Qt::Key_Delete);
    host.Press(Qt::Key_Right);
    EXPECT_EQ(view.CurrentView()->ObjectCount(), 1);
    EXPECT_EQ(a->frame, (Rect{100, 100, 300, 300}));
    // Esc belongs to the drag: it cancels, and the key still reaches the host.
    host.Press(Qt::Key_Escape);
    EXPECT_FALSE(view.IsDragging());
    QTest::mouseRelease(Canvas(view), Qt::LeftButton, {}, centre + QPoint(30, 20));
    EXPECT_EQ(a->frame, (Rect{100, 100, 300, 300}));
    EXPECT_TRUE(view.Commands().Execute(ID_EDIT_DELETE));
    EXPECT_EQ(view.CurrentView()->ObjectCount(), 0);
    EXPECT_EQ(host.keys, (std::vector<QString>{"Del", "Right", "Esc"}));
}

TEST(ViewKeyboard, BoundKeysWinOverTheHostsShortcutsOnlyWhileTheirCommandIsOn)
{
    Host host;
    CViewWnd& view = *host.view;
    CRichGraph* a = AddShape(view, kRectangle, {100, 100, 300, 300});
    int hostCopies = 0;
    QAction hostCopy(&host);
    hostCopy.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    host.addAction(&hostCopy);
    QObject::connect(&hostCopy, &QAction::triggered, [&] { ++hostCopies; });
    QApplication::clipboard()->clear();

    host.Press(Qt::Key_C, Qt::ControlModifier); // nothing selected: the host's copy
    EXPECT_EQ(hostCopies, 1);
    view.SetSelection(std::vector<CBaseCom*>{a}, false);
    host.Press(Qt::Key_C, Qt::ControlModifier); // the view's copy
    EXPECT_EQ(hostCopies, 1);
    EXPECT_TRUE(view.Commands().Clipboard().HasData());

    // A host that handles the keys itself switches the view's bindings off.
    view.Commands().Keyboard().SetEnabled(false);
    host.Press(Qt::Key_Right);
    host.Press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(a->frame, (Rect{100, 100, 300, 300}));
    EXPECT_EQ(hostCopies, 2);
    view.Commands().Keyboard().SetEnabled(true);
    host.Press(Qt::Key_Right);
    EXPECT_EQ(a->frame.left, 103);
}

} // namespace
} // namespace figures
