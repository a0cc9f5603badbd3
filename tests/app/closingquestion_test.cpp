#include "app/closingquestion.h"
#include "app/mainwindow.h"

#include "scriptedclosingquestion.h"

#include <QFile>
#include <QMenuBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Answer = app::ClosingQuestion::Answer;

struct Window {
    QTemporaryDir dir;
    std::shared_ptr<ClosingScript> closing = std::make_shared<ClosingScript>();
    std::unique_ptr<app::MainWindow> window;

    Window() { Start(); }
    void Start()
    {
        window =
            std::make_unique<app::MainWindow>(dir.filePath("vkl.ini"), dir.filePath("none.vkd"));
        window->SetClosingQuestion(std::make_unique<ScriptedClosingQuestion>(closing));
        window->show();
    }
};

TEST(ClosingQuestion, OffersTheReadmeOrTheGuideAndClosesWhateverTheAnswer)
{
    const std::pair<Answer, QList<QUrl>> rows[] = {
        {Answer::Readme, {app::ReadmePage()}},
        {Answer::UserGuide, {app::UserGuidePage()}},
        {Answer::Nothing, {}},
    };
    for (const auto& [answer, pages] : rows) {
        Window w;
        w.closing->answer = answer;
        EXPECT_TRUE(w.window->close());
        EXPECT_EQ(w.closing->asked, 1);
        EXPECT_EQ(w.closing->opened, pages);
    }
}

TEST(ClosingQuestion, DontAskAgainIsRememberedBesideTheSixCanvasKeys)
{
    Window w;
    w.closing->dontAskAgain = true;
    ASSERT_TRUE(w.window->close());
    EXPECT_EQ(w.closing->asked, 1);
    QFile ini(w.dir.filePath("vkl.ini"));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    // "不再询问=真" in GBK.
    EXPECT_TRUE(ini.readAll().contains("\xB2\xBB\xD4\xD9\xD1\xAF\xCE\xCA=\xD5\xE6"));

    w.Start();
    EXPECT_TRUE(w.window->close());
    EXPECT_EQ(w.closing->asked, 1);
}

TEST(ClosingQuestion, TheProjectPagesAreInTheDocumentationBesideTheProgram)
{
    EXPECT_TRUE(app::ReadmePage().toLocalFile().endsWith("/share/doc/velkor/README.md"));
    EXPECT_TRUE(app::UserGuidePage().toLocalFile().endsWith("/share/doc/velkor/userguide.html"));

    // The help menu opens the guide.
    Window w;
    for (QAction* top : w.window->menuBar()->actions()) {
        if (top->text() == QStringLiteral("&H.帮助")) {
            top->menu()->actions().front()->trigger();
        }
    }
    EXPECT_EQ(w.closing->opened, QList<QUrl>{app::UserGuidePage()});
}

} // namespace
