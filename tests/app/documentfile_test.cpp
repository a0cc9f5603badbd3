#include "app/documentfile.h"

#include "savefailures.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

#include <sys/stat.h>

namespace {

const QByteArray kDocument = QByteArrayLiteral("\xAE\xBA\xC2\x0B the rest of a document");

TEST(DocumentFile, AppendsTheExtensionUnlessTheNameEndsInExactlyVkd)
{
    const struct {
        const char* chosen;
        const char* saved;
    } cases[] = {
        {"/home/u/plan", "/home/u/plan.vkd"},
        {"/home/u/plan.VKD", "/home/u/plan.VKD.vkd"},
        {"/home/u/plan.vkd", "/home/u/plan.vkd"},
        {"/home/u/plan.vkd.bak", "/home/u/plan.vkd.bak.vkd"},
        {"/home/u/计划.Vkd", "/home/u/计划.Vkd.vkd"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(app::WithDocumentExtension(QString::fromUtf8(c.chosen)),
                  QString::fromUtf8(c.saved))
            << c.chosen;
    }
}

TEST(DocumentFile, ReadsEmptyFilesAsEmptyDocumentsAndTellsWhatElseItFound)
{
    QTemporaryDir dir;
    WriteBytes(dir.filePath("empty.vkd"), {});
    WriteBytes(dir.filePath("text.vkd"), "just some text");
    WriteBytes(dir.filePath("short.vkd"), "\xAE\xBA");
    WriteBytes(dir.filePath("plan.vkd"), kDocument);
    QDir(dir.path()).mkdir("folder.vkd");
    const struct {
        const char* name;
        app::DocumentFileRead::Status status;
        QByteArray bytes;
    } cases[] = {
        {"empty.vkd", app::DocumentFileRead::Read, {}},
        {"plan.vkd", app::DocumentFileRead::Read, kDocument},
        {"text.vkd", app::DocumentFileRead::NotADocument, {}},
        {"short.vkd", app::DocumentFileRead::NotADocument, {}},
        {"missing.vkd", app::DocumentFileRead::Unreadable, {}},
        {"folder.vkd", app::DocumentFileRead::Unreadable, {}},
        // Devices are streamed: an empty one is an empty document, an endless one is turned
        // down at its first bytes.
        {"/dev/null", app::DocumentFileRead::Read, {}},
        {"/dev/zero", app::DocumentFileRead::NotADocument, {}},
    };
    for (const auto& c : cases) {
        const app::DocumentFileRead read = app::ReadDocumentFile(
            c.name[0] == '/' ? QString::fromUtf8(c.name) : dir.filePath(c.name));
        EXPECT_EQ(read.status, c.status) << c.name;
        EXPECT_EQ(read.bytes, c.bytes) << c.name;
        EXPECT_EQ(read.error.isEmpty(), c.status != app::DocumentFileRead::Unreadable) << c.name;
    }
}

TEST(DocumentFile, ReadsADocumentStreamedThroughAPipeToItsEnd)
{
    QTemporaryDir dir;
    const QString pipe = dir.filePath("pipe.vkd");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    // More than one piece of the stream, so that the pieces are joined in order.
    QByteArray document = kDocument;
    for (int i = 0; document.size() < 3 << 20; ++i) {
        document += QByteArray::number(i);
    }
    std::thread writer([&] { WriteBytes(pipe, document); });
    const app::DocumentFileRead read = app::ReadDocumentFile(pipe);
    writer.join();
    EXPECT_EQ(read.status, app::DocumentFileRead::Read);
    EXPECT_TRUE(read.bytes == document);
}

TEST(DocumentFile, ReplacesAFileOnlyWhenTheNewOneIsCompletelyWritten)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("plan.vkd");
    WriteBytes(target, "old");
    EXPECT_EQ(app::WriteDocumentFile(target, kDocument), QString());
    EXPECT_EQ(ReadBytes(target), kDocument);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"plan.vkd"});

    const QByteArray big(4096, 'x');
    for (const SaveFailure& failure : SaveFailures()) {
        QTemporaryDir caseDir;
        caseDir.setAutoRemove(true);
        const QString path = failure.prepare(QDir(caseDir.path()), kDocument);
        QString reason;
        failure.within([&] { reason = app::WriteDocumentFile(path, big); });
        EXPECT_FALSE(reason.isEmpty()) << failure.name;
        if (!QFileInfo(path).isDir()) {
            EXPECT_EQ(ReadBytes(path), kDocument) << failure.name;
        }
        // No temporary file is left beside the target.
        EXPECT_EQ(QFileInfo(path).dir().entryList(QDir::Files).size(),
                  QFileInfo(path).isDir() ? 0 : 1)
            << failure.name;
        QFile::setPermissions(QFileInfo(path).path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

} // namespace
