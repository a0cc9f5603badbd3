#pragma once

namespace figures {

class CViewWnd;

// Gives a view window its dialogs: the properties command and the view manager of its
// popup menu and keys, and the line-end and text-input dialogs its objects ask for.
void InstallViewDialogs(CViewWnd& view);

} // namespace figures
