#include "app/documentfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace app {

bool HasDocumentMagic(const QByteArray& bytes)
{
    return bytes.startsWith(QByteArrayLiteral("\xAE\xBA\xC2\x0B"));
}

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
