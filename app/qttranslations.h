#pragma once

#include <QString>

namespace app {

// Qt's own dialogs and buttons (file, colour, font and print dialogs, the standard buttons
// of message boxes) speak the program's Chinese when Qt's Chinese translations are
// installed in folder (Qt's translations folder when none is given). The program's own
// texts are Chinese whatever the desktop's language, so the translations do not follow
// the locale either. Without them Qt's texts stay English, which is no error: false then,
// and nothing is installed.
bool InstallQtTranslations(const QString& folder = QString());

} // namespace app
