#pragma once

#include <cstdint>
#include <functional>
#include <span>

class QAction;
class QMenu;
class QWidget;

namespace figures {

// One line of the view's popup menu: a command, a separator, or the start or end of a
// submenu. Texts are UTF-8 and carry their shortcut texts after a tab.
struct PopupEntry {
    enum Kind : uint8_t { Command, Separator, SubmenuStart, SubmenuEnd };
    Kind kind = Command;
    int32_t id = 0; // Command: the command id; SubmenuStart: the id whose rule it follows
    const char* text = "";
    bool checkable = false;
};

// The popup menu of the editing view, entry by entry.
std::span<const PopupEntry> ViewPopupTable();

// The menu built from the table. Whenever it or one of its submenus opens, each entry is
// enabled by enabled(id) and checkable ones checked by checked(id); a chosen entry calls
// run(id). A submenu is greyed when the rule of its first command is false.
QMenu* BuildViewPopupMenu(QWidget* parent, std::function<bool(int32_t)> enabled,
                          std::function<bool(int32_t)> checked, std::function<void(int32_t)> run);

// The command id an action of the menu runs, 0 for others.
int32_t PopupCommandOf(const QAction* action);

} // namespace figures
