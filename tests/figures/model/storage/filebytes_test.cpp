#include "figures/model/storage/filebytes.h"

#include "figures/model/document.h"
#include "figures/model/objects/crichgraph.h"
#include "figures/model/storage/documentformat.h"
#include "figures/model/storage/mappingguard.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace figures {
namespace {

using Bytes = std::vector<uint8_t>;
using Way = FileBytes::Way;

constexpr uint64_t kNoLimit = uint64_t(1) << 40;
constexpr uint8_t kDocumentStart[] = {0xAE, 0xBA, 0xC2, 0x0B};

void WriteFile(const QString& path, const Bytes& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())),
              qint64(bytes.size()));
}

Bytes Pattern(size_t size)
{
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = uint8_t(i * 7 + i / 251);
    }
    return bytes;
}

Bytes Held(const FileBytes& file)
{
    return Bytes(file.Bytes().begin(), file.Bytes().end());
}

// Feeds bytes into a named pipe from another thread, as a shell pipeline would.
class PipeFeeder {
public:
    PipeFeeder(const QString& path, Bytes bytes)
        : thread_([path, bytes = std::move(bytes)] {
              QFile pipe(path);
              if (pipe.open(QIODevice::WriteOnly)) {
                  pipe.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
              }
          })
    {}
    ~PipeFeeder() { thread_.join(); }

private:
    std::thread thread_;
};

QString MakePipe(const QTemporaryDir& dir)
{
    const QString path = dir.filePath("pipe");
    EXPECT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    return path;
}

TEST(FileBytes, GivesTheSameBytesMappedAndRead)
{
    QTemporaryDir dir;
    const size_t pageSize = size_t(sysconf(_SC_PAGESIZE));
    for (const size_t size : {size_t(1), pageSize - 1, pageSize, pageSize + 1, size_t(300000)}) {
        const QString path = dir.filePath(QString::number(size));
        const Bytes written = Pattern(size);
        WriteFile(path, written);
        const FileBytes mapped(path, kNoLimit);
        const FileBytes read(path, kNoLimit, Way::Read);
        ASSERT_TRUE(mapped.Ok()) << mapped.Error();
        ASSERT_TRUE(read.Ok()) << read.Error();
        EXPECT_TRUE(mapped.Mapped()) << size;
        EXPECT_FALSE(read.Mapped()) << size;
        EXPECT_EQ(Held(mapped), written) << size;
        EXPECT_EQ(Held(read), written) << size;
        EXPECT_FALSE(mapped.Changed()) << size;
        EXPECT_FALSE(read.Changed()) << size;
    }
}

TEST(FileBytes, ReadsWhatCannotBeMappedToItsEnd)
{
    QTemporaryDir dir;
    WriteFile(dir.filePath("empty"), {});
    const FileBytes empty(dir.filePath("empty"), kNoLimit);
    ASSERT_TRUE(empty.Ok()) << empty.Error();
    EXPECT_FALSE(empty.Mapped());
    EXPECT_TRUE(empty.Bytes().empty());

    // Files under /proc say they are empty but are not.
    const FileBytes status(QStringLiteral("/proc/self/status"), kNoLimit);
    ASSERT_TRUE(status.Ok()) << status.Error();
    EXPECT_FALSE(status.Mapped());
    EXPECT_GT(status.Bytes().size(), 100u);
    EXPECT_FALSE(status.Changed());

    const QString pipe = MakePipe(dir);
    const Bytes fed = Pattern(1000000);
    std::unique_ptr<FileBytes> streamed;
    {
        const PipeFeeder feeder(pipe, fed);
        streamed = std::make_unique<FileBytes>(pipe, kNoLimit);
    }
    ASSERT_TRUE(streamed->Ok()) << streamed->Error();
    EXPECT_FALSE(streamed->Mapped());
    EXPECT_EQ(Held(*streamed), fed);
    EXPECT_FALSE(streamed->Changed());
}

TEST(FileBytes, SaysWhyItCannotOpenMissingFilesAndFolders)
{
    QTemporaryDir dir;
    const struct {
        QString path;
        const char* reason;
    } cases[] = {
        {dir.filePath("missing.vkd"), "cannot open"},
        {dir.path(), "it is a folder"},
    };
    for (const auto& c : cases) {
        const FileBytes file(c.path, kNoLimit);
        EXPECT_FALSE(file.Ok()) << c.reason;
        EXPECT_NE(file.Error().find(c.reason), std::string::npos) << file.Error();
        EXPECT_NE(file.Error().find(c.path.toStdString()), std::string::npos) << file.Error();
        EXPECT_TRUE(file.Bytes().empty());
    }
}

TEST(FileBytes, RefusesFilesAndStreamsLongerThanTheLimit)
{
    QTemporaryDir dir;
    WriteFile(dir.filePath("ten"), Pattern(10));
    // A sparse file claims gigabytes without taking any room on the disk.
    QFile sparse(dir.filePath("sparse"));
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly));
    ASSERT_TRUE(sparse.resize(qint64(3) << 30));
    sparse.close();
    const struct {
        QString path;
        uint64_t limit;
        Way way;
        bool ok;
    } cases[] = {
        {dir.filePath("ten"), 10, Way::MapWherePossible, true},
        {dir.filePath("ten"), 9, Way::MapWherePossible, false},
        {dir.filePath("ten"), 9, Way::Read, false},
        {dir.filePath("sparse"), uint64_t(1) << 20, Way::MapWherePossible, false},
        {dir.filePath("sparse"), uint64_t(1) << 20, Way::Read, false},
        {QStringLiteral("/dev/zero"), uint64_t(1) << 20, Way::MapWherePossible, false},
    };
    for (const auto& c : cases) {
        const FileBytes file(c.path, c.limit, c.way);
        EXPECT_EQ(file.Ok(), c.ok) << c.path.toStdString() << " " << c.limit;
        if (!c.ok) {
            EXPECT_NE(file.Error().find("longer than"), std::string::npos) << file.Error();
            EXPECT_TRUE(file.Bytes().empty());
        }
    }
}

TEST(FileBytes, StopsReadingAStreamThatDoesNotBeginWithTheSignature)
{
    const FileBytes zeros(QStringLiteral("/dev/zero"), uint64_t(1) << 26, Way::MapWherePossible,
                          kDocumentStart);
    ASSERT_TRUE(zeros.Ok()) << zeros.Error();
    ASSERT_FALSE(zeros.Bytes().empty());
    EXPECT_LE(zeros.Bytes().size(), 1u << 20);
    EXPECT_EQ(zeros.Bytes()[0], 0);

    // A stream that does begin with it is read whole.
    QTemporaryDir dir;
    const QString pipe = MakePipe(dir);
    Bytes fed(kDocumentStart, kDocumentStart + 4);
    const Bytes rest = Pattern(200000);
    fed.insert(fed.end(), rest.begin(), rest.end());
    std::unique_ptr<FileBytes> streamed;
    {
        const PipeFeeder feeder(pipe, fed);
        streamed =
            std::make_unique<FileBytes>(pipe, kNoLimit, Way::MapWherePossible, kDocumentStart);
    }
    ASSERT_TRUE(streamed->Ok()) << streamed->Error();
    EXPECT_EQ(Held(*streamed), fed);
}

TEST(FileBytes, TurnsPagesCutFromAMappedFileIntoZerosAndReportsTheChange)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("cut");
    const size_t pageSize = size_t(sysconf(_SC_PAGESIZE));
    const Bytes written(3 * pageSize, 0x55);
    WriteFile(path, written);
    const FileBytes file(path, kNoLimit);
    ASSERT_TRUE(file.Mapped());
    // Another program cuts the file to one page while we hold it mapped.
    ASSERT_EQ(truncate(QFile::encodeName(path).constData(), off_t(pageSize)), 0);
    const std::span<const uint8_t> bytes = file.Bytes();
    ASSERT_EQ(bytes.size(), written.size());
    EXPECT_EQ(bytes[pageSize - 1], 0x55);
    EXPECT_EQ(bytes[2 * pageSize + 7], 0);
    EXPECT_EQ(bytes[pageSize], 0);
    EXPECT_EQ(bytes.back(), 0);
    EXPECT_TRUE(file.Changed());
}

TEST(FileBytes, NoticesAFileRewrittenWhileItIsHeld)
{
    QTemporaryDir dir;
    for (const Way way : {Way::MapWherePossible, Way::Read}) {
        const QString path = dir.filePath("rewritten");
        WriteFile(path, Pattern(5000));
        const FileBytes file(path, kNoLimit, way);
        ASSERT_TRUE(file.Ok());
        EXPECT_FALSE(file.Changed());
        // The same length, other bytes, a later modification time.
        struct stat before {};
        ASSERT_EQ(stat(QFile::encodeName(path).constData(), &before), 0);
        do {
            WriteFile(path, Bytes(5000, 1));
            struct stat after {};
            ASSERT_EQ(stat(QFile::encodeName(path).constData(), &after), 0);
            if (after.st_mtim.tv_sec != before.st_mtim.tv_sec ||
                after.st_mtim.tv_nsec != before.st_mtim.tv_nsec) {
                break;
            }
        } while (true);
        EXPECT_TRUE(file.Changed()) << int(way);
    }
}

TEST(FileBytes, ReadsInsteadWhenNoMappingCanBeGuarded)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("plain");
    const Bytes written = Pattern(10000);
    WriteFile(path, written);
    static const std::array<uint8_t, MappingGuard::kMaxGuards> ranges{};
    std::vector<std::unique_ptr<MappingGuard>> taken;
    for (const uint8_t& byte : ranges) {
        taken.push_back(std::make_unique<MappingGuard>(&byte, 1));
        ASSERT_TRUE(taken.back()->Active());
    }
    const FileBytes unguarded(path, kNoLimit);
    ASSERT_TRUE(unguarded.Ok()) << unguarded.Error();
    EXPECT_FALSE(unguarded.Mapped());
    EXPECT_EQ(Held(unguarded), written);

    taken.pop_back();
    const FileBytes guarded(path, kNoLimit);
    EXPECT_TRUE(guarded.Mapped());
    EXPECT_EQ(Held(guarded), written);
}

// Shapes of several catalogue entries, some turned and some with their own program.
Bytes SomeDocument()
{
    Document document;
    View& view = *document.ViewAt(0);
    for (int i = 0; i < 2000; ++i) {
        const int entry = i % 10 == 9 ? CRichGraph::kCustomShape : i % 110;
        view.AddNewShape(entry, nullptr);
        CBaseCom& shape = *view.objects.back();
        shape.frame = {i * 3, i * 2, i * 3 + 100, i * 2 + 80};
        shape.angle = (i * 7) % 3600;
    }
    return WriteDocument(document);
}

TEST(FileBytes, MappedAndReadDocumentsAreTheSame)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("shapes.vkd");
    const Bytes written = SomeDocument();
    WriteFile(path, written);
    std::array<Bytes, 2> again;
    for (const Way way : {Way::MapWherePossible, Way::Read}) {
        const FileBytes file(path, kNoLimit, way, kDocumentStart);
        ASSERT_TRUE(file.Ok()) << file.Error();
        EXPECT_EQ(file.Mapped(), way == Way::MapWherePossible);
        Document document;
        ASSERT_TRUE(ReadDocument(file.Bytes(), document).ok);
        ASSERT_EQ(document.ViewAt(0)->ObjectCount(), 2000);
        again[way == Way::Read] = WriteDocument(document);
    }
    EXPECT_EQ(again[0], written);
    EXPECT_EQ(again[1], written);
}

} // namespace
} // namespace figures
