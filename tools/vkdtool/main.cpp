// vkdtool: inspect and convert drawing documents from the command line.
//   vkdtool info [--json] FILE    print the document's structure
//   vkdtool roundtrip IN OUT      read IN and write it again to OUT
// Exit codes: 0 success, 1 unreadable input (reason on stderr), 2 usage.
#include "tools/vkdtool/documentinfo.h"

#include "figures/model/document.h"
#include "figures/model/documentformat.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>

#include <cstdio>
#include <optional>
#include <vector>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitUnreadable = 1;
constexpr int kExitUsage = 2;

int Usage()
{
    std::fputs("usage: vkdtool info [--json] FILE\n"
               "       vkdtool roundtrip IN OUT\n",
               stderr);
    return kExitUsage;
}

void Fail(const QString& message)
{
    std::fprintf(stderr, "vkdtool: %s\n", qPrintable(message));
}

std::optional<std::vector<uint8_t>> ReadFileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Fail(QStringLiteral("cannot open %1: %2").arg(path, file.errorString()));
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        Fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        return std::nullopt;
    }
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

int Info(const QString& path, bool json)
{
    const auto bytes = ReadFileBytes(path);
    if (!bytes) {
        return kExitUnreadable;
    }
    figures::Document document;
    const figures::ReadDocumentResult read = figures::ReadDocument(*bytes, document);
    const QByteArray text = json ? QJsonDocument(vkdtool::DocumentInfoJson(document, read))
                                       .toJson(QJsonDocument::Indented)
                                 : vkdtool::DocumentInfoText(document, read).toUtf8();
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    if (!read.ok) {
        Fail(QStringLiteral("%1: %2").arg(path, QString::fromStdString(read.error)));
        return kExitUnreadable;
    }
    return kExitOk;
}

// Writes through a temporary file in the target's folder and renames it over the
// target only when everything was written, so a failure never destroys the old file.
bool WriteFileBytes(const QString& path, const std::vector<uint8_t>& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) !=
            qint64(bytes.size()) ||
        !file.commit()) {
        Fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

int Roundtrip(const QString& in, const QString& out)
{
    const auto bytes = ReadFileBytes(in);
    if (!bytes) {
        return kExitUnreadable;
    }
    figures::Document document;
    const figures::ReadDocumentResult read = figures::ReadDocument(*bytes, document);
    if (!read.ok) {
        Fail(QStringLiteral("%1: %2").arg(in, QString::fromStdString(read.error)));
        return kExitUnreadable;
    }
    return WriteFileBytes(out, figures::WriteDocument(document)) ? kExitOk : kExitUnreadable;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("info")) {
        return Info(args[1], false);
    }
    if (args.size() == 3 && args[0] == QLatin1String("info") &&
        args[1] == QLatin1String("--json")) {
        return Info(args[2], true);
    }
    if (args.size() == 3 && args[0] == QLatin1String("roundtrip")) {
        return Roundtrip(args[1], args[2]);
    }
    return Usage();
}
