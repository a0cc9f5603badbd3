#pragma once

#include <QUrl>

class QWidget;

namespace app {

// The question asked when the editor window closes: whether to read about the program,
// with "是" for its README, "否" for its user guide and "取消" for neither; the window
// closes whatever the answer. A "不再询问" box lets the user stop the question for good.
// Tests answer it instead of a person.
class ClosingQuestion {
public:
    enum class Answer { Readme, UserGuide, Nothing };

    virtual ~ClosingQuestion() = default;

    // dontAskAgain: the state of the "不再询问" box when the question was answered.
    virtual Answer Ask(QWidget* parent, bool& dontAskAgain);
    // Shows a page in the desktop's browser; a missing page or a browser that cannot be
    // started is reported over parent.
    virtual void OpenPage(QWidget* parent, const QUrl& page);
};

// The project's two pages in the installed documentation, "share/doc/velkor" beside the
// program's folder: README.md and userguide.html. The build tree holds copies in the same
// place, so an uninstalled build finds them too.
QUrl ReadmePage();
QUrl UserGuidePage();

} // namespace app
