#include "app/documentrecovery.h"

#include "savefailures.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QByteArray kDocument = QByteArrayLiteral("\xAE\xBA\xC2\x0B unsaved work");

struct Work {
    app::DocumentRecovery::State state{true, kDocument, QStringLiteral("/home/u/计划.vkd")};
};

// A process id that no running process has: one of a process that has ended.
qint64 EndedProcessId()
{
    QProcess process;
    process.start(QStringLiteral("true"), {});
    process.waitForFinished();
    return process.processId() > 0 ? process.processId() : 999999;
}

TEST(DocumentRecovery, WritesUnsavedWorkAfterTheIntervalAndRemovesItOnceSaved)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("recovery");
    Work work;
    auto recovery = std::make_unique<app::DocumentRecovery>(folder, 50, [&] { return work.state; });

    recovery->NoteChange(true);
    EXPECT_FALSE(recovery->HasRecoveryFile()) << "written only after the interval";
    EXPECT_TRUE(QTest::qWaitFor([&] { return recovery->HasRecoveryFile(); }, 5000));
    EXPECT_EQ(ReadBytes(recovery->RecoveryFilePath()), kDocument);

    // Saved: the recovery file goes at once.
    work.state.modified = false;
    recovery->NoteChange(false);
    EXPECT_FALSE(QFile::exists(recovery->RecoveryFilePath()));

    // A clean exit removes it as well.
    work.state.modified = true;
    ASSERT_TRUE(recovery->WriteNow());
    const QString path = recovery->RecoveryFilePath();
    ASSERT_TRUE(QFile::exists(path));
    recovery.reset();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList());
}

TEST(DocumentRecovery, OffersOnlyTheWorkOfEditorsThatHaveEnded)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("recovery");
    Work work;
    app::DocumentRecovery running(folder, 60000, [&] { return work.state; });
    ASSERT_TRUE(running.WriteNow());

    // An editor that was killed: its recovery file, its name and a lock of a process that
    // is gone.
    WriteBytes(QDir(folder).filePath("killed.vkd"), kDocument + "2");
    WriteBytes(QDir(folder).filePath("killed.name"), QByteArray("/home/u/旧.vkd"));
    WriteBytes(QDir(folder).filePath("killed.lock"),
               QByteArray::number(EndedProcessId()) + '\n' +
                   QCoreApplication::applicationName().toUtf8() + '\n' +
                   QSysInfo::machineHostName().toUtf8() + '\n');

    app::DocumentRecovery starting(folder, 60000, [&] { return work.state; });
    std::vector<app::DocumentRecovery::Leftover> leftovers = starting.TakeLeftovers();
    ASSERT_EQ(leftovers.size(), 1u) << "the running editor's work is not offered";
    EXPECT_EQ(leftovers[0].bytes, kDocument + "2");
    EXPECT_EQ(leftovers[0].fileName, QStringLiteral("/home/u/旧.vkd"));
    EXPECT_TRUE(starting.TakeLeftovers().empty()) << "offered once";

    starting.Forget(leftovers[0]);
    EXPECT_FALSE(QFile::exists(QDir(folder).filePath("killed.vkd")));
    EXPECT_FALSE(QFile::exists(QDir(folder).filePath("killed.lock")));
    EXPECT_TRUE(QFile::exists(running.RecoveryFilePath()));
}

TEST(DocumentRecovery, KeepsAnOfferThatWasNotAnsweredForTheNextStart)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("recovery");
    QDir().mkpath(folder);
    WriteBytes(QDir(folder).filePath("killed.vkd"), kDocument);
    Work work;
    {
        app::DocumentRecovery first(folder, 60000, [&] { return work.state; });
        EXPECT_EQ(first.TakeLeftovers().size(), 1u);
    }
    app::DocumentRecovery second(folder, 60000, [&] { return work.state; });
    EXPECT_EQ(second.TakeLeftovers().size(), 1u);
}

} // namespace
