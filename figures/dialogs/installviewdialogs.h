#pragma once

#include <functional>

namespace figures {

class CViewWnd;

// Gives a view window its dialogs: the properties command and the view manager of its
// popup menu and keys, and the line-end and text-input dialogs its objects ask for.
//
// documentEdited is called once after a view-manager session that added, renamed or
// deleted a view: those edits change the document but none of the window's objects, so
// the window itself does not report them.
void InstallViewDialogs(CViewWnd& view, std::function<void()> documentEdited = {});

} // namespace figures
