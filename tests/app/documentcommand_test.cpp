#include "app/documentcommand.h"

#include "figures/control/figurewindow.h"
#include "savefailures.h"
#include "scriptedprompts.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Choice = app::DocumentPrompts::Choice;

const QString kOverwrite = QStringLiteral("原文件将被覆盖,是否继续保存");

// A document of two views with two shapes each, made by a canvas of its own.
QByteArray TwoViewDocument()
{
    figures::FigureWindow maker;
    maker.AddShape(3);
    maker.AddShape(11);
    maker.SetCurrentView(maker.InsertView(QStringLiteral("第二页")));
    maker.AddShape(5);
    maker.AddShape(7);
    return maker.DocumentContent();
}

struct Editor {
    QTemporaryDir dir;
    figures::FigureWindow canvas;
    ScriptedPrompts prompts;
    int loads = 0;
    app::DocumentCommand documents{canvas, prompts, [this](const QByteArray& bytes) {
                                       ++loads;
                                       return canvas.SetDocumentContent(bytes);
                                   }};

    QString Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    void Edit()
    {
        canvas.AddShape(3);
        documents.Reassess();
    }
};

TEST(DocumentCommand, SavesUnderTheChosenNameAndAsksBeforeOverwritingTheCurrentFile)
{
    const struct {
        const char* chosen;
        const char* written;
    } names[] = {{"plan", "plan.vkd"}, {"plan.VKD", "plan.VKD.vkd"}, {"plan.vkd", "plan.vkd"}};
    for (const auto& name : names) {
        Editor e;
        e.Edit();
        e.prompts.chosenFiles = {e.Path(name.chosen)};
        e.documents.Run(app::DocumentCommand::kSave);
        EXPECT_TRUE(e.prompts.asked.empty()) << "no name yet: straight to the dialog";
        EXPECT_EQ(e.documents.FileName(), e.Path(name.written));
        EXPECT_EQ(ReadBytes(e.Path(name.written)), e.canvas.DocumentContent());
        EXPECT_FALSE(e.documents.IsModified());
        EXPECT_EQ(QDir(e.dir.path()).entryList(QDir::Files).size(), 1) << name.chosen;
    }

    // Yes writes the current file without the dialog; No shows the dialog.
    Editor e;
    e.prompts.chosenFiles = {e.Path("plan")};
    e.documents.Save();
    e.Edit();
    e.prompts.answers = {Choice::Yes};
    EXPECT_TRUE(e.documents.Save());
    EXPECT_EQ(e.prompts.LastQuestion(), kOverwrite);
    EXPECT_EQ(e.prompts.saveDialogs, 1);
    EXPECT_EQ(ReadBytes(e.Path("plan.vkd")), e.canvas.DocumentContent());

    e.prompts.answers = {Choice::No};
    e.prompts.chosenFiles = {e.Path("other")};
    EXPECT_TRUE(e.documents.Save());
    EXPECT_EQ(e.prompts.saveDialogs, 2);
    EXPECT_EQ(e.documents.FileName(), e.Path("other.vkd"));

    // A chosen name whose file exists is replaced only when the user agrees.
    e.prompts.chosenFiles = {e.Path("plan")};
    e.prompts.answers = {Choice::No};
    EXPECT_FALSE(e.documents.SaveAs());
    EXPECT_EQ(e.documents.FileName(), e.Path("other.vkd"));
}

TEST(DocumentCommand, NewEmptiesTheViewAndKeepsTheFileName)
{
    Editor e;
    WriteBytes(e.Path("plan.vkd"), TwoViewDocument());
    ASSERT_TRUE(e.documents.OpenFile(e.Path("plan.vkd")));
    ASSERT_GT(e.canvas.ObjectCount(), 0);
    e.documents.Run(app::DocumentCommand::kNew);
    EXPECT_EQ(e.canvas.ObjectCount(), 0);
    EXPECT_EQ(e.documents.FileName(), e.Path("plan.vkd"));
    EXPECT_FALSE(e.documents.IsModified()) << "nothing to save right after new";
    EXPECT_EQ(ReadBytes(e.Path("plan.vkd")), TwoViewDocument()) << "the file is untouched";

    e.prompts.answers = {Choice::Yes};
    EXPECT_TRUE(e.documents.Save());
    EXPECT_EQ(e.prompts.LastQuestion(), kOverwrite);
    EXPECT_EQ(e.prompts.saveDialogs, 0);
}

TEST(DocumentCommand, OffersToSaveUnsavedChangesBeforeNewAndOpen)
{
    Editor e;
    WriteBytes(e.Path("other.vkd"), TwoViewDocument());
    e.Edit();
    const QByteArray edited = e.canvas.DocumentContent();

    e.prompts.answers = {Choice::Cancel};
    EXPECT_FALSE(e.documents.New());
    EXPECT_EQ(e.canvas.DocumentContent(), edited);
    EXPECT_TRUE(e.prompts.LastQuestion().contains(QStringLiteral("是否保存修改")));
    EXPECT_EQ(e.prompts.asked.back().cancel, QStringLiteral("取消"));

    e.prompts.answers = {Choice::Cancel};
    EXPECT_FALSE(e.documents.OpenFile(e.Path("other.vkd")));
    EXPECT_EQ(e.canvas.DocumentContent(), edited);

    // Save, and the save itself cancelled in its dialog: nothing happens.
    e.prompts.answers = {Choice::Yes};
    e.prompts.chosenFiles = {QString()};
    EXPECT_FALSE(e.documents.Open());
    EXPECT_EQ(e.prompts.openDialogs, 0);
    EXPECT_EQ(e.canvas.DocumentContent(), edited);

    // Save, then open.
    e.prompts.answers = {Choice::Yes};
    e.prompts.chosenFiles = {e.Path("mine"), e.Path("other.vkd")};
    EXPECT_TRUE(e.documents.Open());
    EXPECT_EQ(ReadBytes(e.Path("mine.vkd")), edited);
    EXPECT_EQ(e.documents.FileName(), e.Path("other.vkd"));

    // Discard, then new.
    e.Edit();
    e.prompts.answers = {Choice::No};
    EXPECT_TRUE(e.documents.New());
    EXPECT_EQ(e.canvas.ObjectCount(), 0);
    EXPECT_EQ(ReadBytes(e.Path("other.vkd")), TwoViewDocument());
    EXPECT_TRUE(e.prompts.answers.empty());
}

TEST(DocumentCommand, ReportsAFailedSaveAndKeepsTheOldFileAndTheChanges)
{
    for (const SaveFailure& failure : SaveFailures()) {
        Editor e;
        e.Edit();
        e.Edit();
        const QByteArray old = QByteArrayLiteral("\xAE\xBA\xC2\x0B old drawing");
        const QString target = failure.prepare(QDir(e.dir.path()), old);
        e.prompts.chosenFiles = {target};
        e.prompts.answers = {Choice::Yes}; // replace the existing file
        bool saved = true;
        failure.within([&] { saved = e.documents.SaveAs(); });
        EXPECT_FALSE(saved) << failure.name;
        EXPECT_TRUE(e.documents.IsModified()) << failure.name;
        EXPECT_EQ(e.documents.FileName(), QString()) << failure.name;
        ASSERT_EQ(e.prompts.reports.size(), 1) << failure.name;
        const QString report = e.prompts.reports.first();
        EXPECT_TRUE(report.contains(target)) << report.toStdString();
        EXPECT_TRUE(report.contains(QStringLiteral("无法保存"))) << report.toStdString();
        // The reason follows the name.
        EXPECT_GT(report.section(QStringLiteral("”："), 1).section('\n', 0, 0).size(), 0)
            << report.toStdString();
        if (!QFileInfo(target).isDir()) {
            EXPECT_EQ(ReadBytes(target), old) << failure.name;
        }
        QFile::setPermissions(QFileInfo(target).path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

TEST(DocumentCommand, ReportsFilesThatCannotBeOpened)
{
    Editor e;
    e.Edit();
    e.prompts.chosenFiles = {e.Path("plan")};
    e.documents.Save();
    const QByteArray shown = e.canvas.DocumentContent();

    // Not a document, or not there: reported, the canvas and the current file stay.
    WriteBytes(e.Path("notes.vkd"), "a shopping list");
    for (const char* name : {"notes.vkd", "missing.vkd"}) {
        e.prompts.reports.clear();
        EXPECT_FALSE(e.documents.OpenFile(e.Path(name))) << name;
        EXPECT_EQ(e.canvas.DocumentContent(), shown) << name;
        EXPECT_EQ(e.documents.FileName(), e.Path("plan.vkd")) << name;
        ASSERT_EQ(e.prompts.reports.size(), 1) << name;
        EXPECT_TRUE(e.prompts.reports.first().contains(e.Path(name)));
    }
    EXPECT_TRUE(e.prompts.reports.first().contains(QStringLiteral("无法打开")));

    // An empty file is an empty document.
    WriteBytes(e.Path("empty.vkd"), {});
    e.prompts.reports.clear();
    EXPECT_TRUE(e.documents.OpenFile(e.Path("empty.vkd")));
    EXPECT_EQ(e.canvas.ViewCount(), 1);
    EXPECT_EQ(e.canvas.ObjectCount(), 0);
    EXPECT_TRUE(e.prompts.reports.isEmpty());

    // A truncated document: the views before the damage, the user told, and a save over
    // it asks, with No as the default, before anything is written.
    const QByteArray whole = TwoViewDocument();
    WriteBytes(e.Path("cut.vkd"), whole.left(whole.size() - 8));
    EXPECT_TRUE(e.documents.OpenFile(e.Path("cut.vkd")));
    EXPECT_GE(e.canvas.ViewCount(), 1);
    EXPECT_NE(e.canvas.DocumentContent(), whole);
    EXPECT_FALSE(e.documents.IsModified());
    ASSERT_EQ(e.prompts.reports.size(), 1);
    EXPECT_TRUE(e.prompts.reports.first().contains(QStringLiteral("不完整")));
    EXPECT_EQ(e.documents.FileName(), e.Path("cut.vkd"));
    e.prompts.answers = {Choice::No};
    e.prompts.chosenFiles = {QString()};
    EXPECT_FALSE(e.documents.Save());
    EXPECT_TRUE(e.prompts.LastQuestion().contains(QStringLiteral("不完整")));
    EXPECT_TRUE(e.prompts.LastQuestion().contains(kOverwrite));
    EXPECT_EQ(e.prompts.asked.back().preferred, Choice::No);
    EXPECT_EQ(ReadBytes(e.Path("cut.vkd")), whole.left(whole.size() - 8));
}

} // namespace
