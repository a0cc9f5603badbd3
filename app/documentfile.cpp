#include "app/documentfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace app {

bool HasDocumentMagic(const QByteArray& bytes)
{
    return bytes.startsWith(QByteArrayLiteral("\xAE\xBA\xC2\x0B"));
}

namespace {

// Documents of a hundred thousand shapes take some 25 MB; 2 GiB leaves room for many
// pictures while a file or stream beyond any drawing is refused instead of exhausting memory.
constexpr qint64 kMostDocumentBytes = qint64(1) << 31;

// A pipe or a device is read to its end, but its first bytes are looked at before anything
// else, so that an endless stream of something else (a device of zeros) is turned down at
// once.
void ReadStream(QFile& file, DocumentFileRead& result)
{
    result.bytes = file.read(4);
    if (!result.bytes.isEmpty() && !HasDocumentMagic(result.bytes)) {
        result.status = DocumentFileRead::NotADocument;
        result.bytes.clear();
        return;
    }
    while (file.error() == QFileDevice::NoError && result.bytes.size() <= kMostDocumentBytes) {
        const QByteArray piece = file.read(1 << 20);
        if (piece.isEmpty()) {
            break;
        }
        result.bytes += piece;
    }
    if (file.error() != QFileDevice::NoError || result.bytes.size() > kMostDocumentBytes) {
        result.status = DocumentFileRead::Unreadable;
        result.error =
            file.error() != QFileDevice::NoError ? file.errorString() : QStringLiteral("文件太大");
        result.bytes.clear();
    }
}

} // namespace

// The editor reads a document into memory of its own rather than mapping it: documents are
// opened from network shares and removable drives, where a mapped page fails whenever the
// share or the drive goes away, ending the program with every unsaved change, and the canvas
// copies the bytes into its objects and its saved-state baseline anyway, so a mapping would
// spare one copy of the file at the price of that risk.
DocumentFileRead ReadDocumentFile(const QString& path)
{
    DocumentFileRead result;
    const QFileInfo info(path);
    if (info.isDir()) {
        result.status = DocumentFileRead::Unreadable;
        result.error = QStringLiteral("这是一个文件夹");
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.status = DocumentFileRead::Unreadable;
        result.error = file.errorString();
        return result;
    }
    if (file.isSequential()) {
        ReadStream(file, result);
        return result;
    }
    if (file.size() > kMostDocumentBytes) {
        result.status = DocumentFileRead::Unreadable;
        result.error = QStringLiteral("文件太大");
        return result;
    }
    result.bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.status = DocumentFileRead::Unreadable;
        result.error = file.errorString();
        result.bytes.clear();
    } else if (!result.bytes.isEmpty() && !HasDocumentMagic(result.bytes)) {
        result.status = DocumentFileRead::NotADocument;
        result.bytes.clear();
    }
    return result;
}

QString WriteDocumentFile(const QString& path, const QByteArray& bytes)
{
    if (QFileInfo(path).isDir()) {
        return QStringLiteral("同名的文件夹已经存在");
    }
    QSaveFile file(path);
    // Unbuffered: a buffered write that the system cuts short at the flush (a full disk, a
    // file-size limit) is not reported by the commit, which would then put a cut file in
    // place of the old one. Written directly, the short count shows here.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return file.errorString();
    }
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit()) {
        return file.errorString();
    }
    return {};
}

QString WithDocumentExtension(const QString& name)
{
    // ".vkd" is plain ASCII, so a case-sensitive comparison of the text's end is the same
    // as comparing the last four bytes of its UTF-8 form.
    if (name.endsWith(QLatin1String(".vkd"), Qt::CaseSensitive)) {
        return name;
    }
    return name + QLatin1String(".vkd");
}

} // namespace app
