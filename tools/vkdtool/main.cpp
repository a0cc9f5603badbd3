// vkdtool: inspect and convert drawing documents from the command line.
//   vkdtool info [--json] FILE    print the document's structure
//   vkdtool roundtrip IN OUT      read IN and write it again to OUT
//   vkdtool render FILE OUT [--view N|all] [--zoom PERCENT] [--dpi D]
//                                 draw one view to PNG, SVG or PDF (by OUT's extension);
//                                 "all" draws every view as a page of a PDF
//   vkdtool catalogue OUT.png [--zoom PERCENT]
//                                 draw every preset shape on a contact sheet
//   vkdtool shapes ...            the shape designer's database (see shapelibrary.h)
// Exit codes: 0 success, 1 unreadable input (reason on stderr), 2 usage.
#include "tools/vkdtool/contactsheet.h"
#include "tools/vkdtool/documentinfo.h"
#include "tools/vkdtool/documentinfojson.h"
#include "tools/vkdtool/exitcodes.h"
#include "tools/vkdtool/jsonstream.h"
#include "tools/vkdtool/shapelibrary.h"

#include "figures/model/document.h"
#include "figures/model/storage/documentformat.h"
#include "figures/model/viewrender.h"

#include <QGuiApplication>
#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

using vkdtool::kExitOk;
using vkdtool::kExitUnreadable;
using vkdtool::kExitUsage;

int Usage()
{
    std::fputs("usage: vkdtool info [--json] FILE\n"
               "       vkdtool roundtrip IN OUT\n"
               "       vkdtool render FILE OUT.png|OUT.svg|OUT.pdf [--view N|all] [--zoom PERCENT] "
               "[--dpi D]\n"
               "       vkdtool catalogue OUT.png [--zoom PERCENT]\n"
               "       vkdtool shapes list|program|bytetext|export|import|sheet ...\n",
               stderr);
    return kExitUsage;
}

void Fail(const QString& message)
{
    std::fprintf(stderr, "vkdtool: %s\n", qPrintable(message));
}

// The whole file in one read into a buffer of its size, which the reader then parses in
// place.
std::optional<std::vector<uint8_t>> ReadFileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Fail(QStringLiteral("cannot open %1: %2").arg(path, file.errorString()));
        return std::nullopt;
    }
    std::vector<uint8_t> bytes;
    // A file whose size the system does not know (a pipe) is read in pieces instead.
    const qint64 size = file.size();
    if (size > 0) {
        bytes.resize(size_t(size));
        const qint64 got = file.read(reinterpret_cast<char*>(bytes.data()), size);
        bytes.resize(size_t(std::max<qint64>(got, 0)));
    }
    if (file.error() == QFileDevice::NoError && !file.atEnd()) {
        const QByteArray rest = file.readAll();
        bytes.insert(bytes.end(), rest.begin(), rest.end());
    }
    if (file.error() != QFileDevice::NoError) {
        Fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        return std::nullopt;
    }
    return bytes;
}

int Info(const QString& path, bool json)
{
    const auto bytes = ReadFileBytes(path);
    if (!bytes) {
        return kExitUnreadable;
    }
    figures::Document document;
    const figures::ReadDocumentResult read = figures::ReadDocument(*bytes, document);
    if (json) {
        vkdtool::JsonStream out(stdout);
        vkdtool::WriteDocumentInfoJson(document, read, out);
        out.Flush();
    } else {
        const QByteArray text = vkdtool::DocumentInfoText(document, read).toUtf8();
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    }
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

struct RenderArguments {
    QString in;
    QString out;
    int view = 0;
    bool allViews = false; // every view, as the pages of a PDF
    figures::RenderSettings settings;
};

// Parses "FILE OUT [--view N|all] [--zoom PERCENT] [--dpi D]"; false on any mistake.
bool ParseRender(const QStringList& args, RenderArguments& parsed)
{
    if (args.size() < 2) {
        return false;
    }
    parsed.in = args[0];
    parsed.out = args[1];
    for (qsizetype i = 2; i < args.size(); i += 2) {
        if (i + 1 >= args.size()) {
            return false;
        }
        bool ok = false;
        const QString& option = args[i];
        if (option == QLatin1String("--view") && args[i + 1] == QLatin1String("all")) {
            parsed.allViews = true;
            ok = parsed.out.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
        } else if (option == QLatin1String("--view")) {
            parsed.view = args[i + 1].toInt(&ok);
        } else if (option == QLatin1String("--zoom")) {
            const double percent = args[i + 1].toDouble(&ok);
            ok = ok && percent > 0 && percent <= 10000;
            parsed.settings.zoom = int32_t(std::lround(percent * 10));
        } else if (option == QLatin1String("--dpi")) {
            parsed.settings.dpi = args[i + 1].toDouble(&ok);
            ok = ok && parsed.settings.dpi > 0 && parsed.settings.dpi <= 2400;
        }
        if (!ok) {
            return false;
        }
    }
    return true;
}

int Render(const QStringList& args)
{
    RenderArguments parsed;
    if (!ParseRender(args, parsed)) {
        return Usage();
    }
    const auto bytes = ReadFileBytes(parsed.in);
    if (!bytes) {
        return kExitUnreadable;
    }
    figures::Document document;
    const figures::ReadDocumentResult read = figures::ReadDocument(*bytes, document);
    if (!read.ok) {
        Fail(QStringLiteral("%1: %2").arg(parsed.in, QString::fromStdString(read.error)));
        return kExitUnreadable;
    }
    QString error;
    if (parsed.allViews) {
        std::vector<const figures::View*> views;
        for (int i = 0; i < document.ViewCount(); ++i) {
            views.push_back(document.ViewAt(i));
        }
        if (!figures::RenderViewsToPdf(views, parsed.out, parsed.settings, error)) {
            Fail(error);
            return kExitUnreadable;
        }
        return kExitOk;
    }
    const figures::View* view = document.ViewAt(parsed.view);
    if (view == nullptr) {
        Fail(QStringLiteral("%1 has no view %2 (it has %3)")
                 .arg(parsed.in)
                 .arg(parsed.view)
                 .arg(document.ViewCount()));
        return kExitUnreadable;
    }
    if (!figures::RenderViewToFile(*view, parsed.out, parsed.settings, error)) {
        Fail(error);
        return kExitUnreadable;
    }
    return kExitOk;
}

// Parses "OUT [--zoom PERCENT]" and draws the sheet; 300 % already makes 40 megapixels.
int Catalogue(const QStringList& args)
{
    int32_t zoom = vkdtool::kContactSheetZoom;
    if (args.size() == 3 && args[1] == QLatin1String("--zoom")) {
        bool ok = false;
        const double percent = args[2].toDouble(&ok);
        if (!ok || percent <= 0 || percent > 300) {
            return Usage();
        }
        zoom = int32_t(std::lround(percent * 10));
    } else if (args.size() != 1) {
        return Usage();
    }
    QString error;
    if (!vkdtool::WriteContactSheet(args[0], zoom, error)) {
        Fail(error);
        return kExitUnreadable;
    }
    return kExitOk;
}

} // namespace

int main(int argc, char* argv[])
{
    // Rendering needs a GUI application for fonts and painting, but never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (!args.isEmpty() && args[0] == QLatin1String("render")) {
        return Render(args.mid(1));
    }
    // "info --json" without a file is a usage mistake, not a file called --json.
    if (args.size() == 2 && args[0] == QLatin1String("info") &&
        args[1] != QLatin1String("--json")) {
        return Info(args[1], false);
    }
    if (args.size() == 3 && args[0] == QLatin1String("info") &&
        args[1] == QLatin1String("--json")) {
        return Info(args[2], true);
    }
    if (args.size() == 3 && args[0] == QLatin1String("roundtrip")) {
        return Roundtrip(args[1], args[2]);
    }
    if (!args.isEmpty() && args[0] == QLatin1String("catalogue")) {
        return Catalogue(args.mid(1));
    }
    if (!args.isEmpty() && args[0] == QLatin1String("shapes")) {
        return vkdtool::ShapesCommand(args.mid(1));
    }
    return Usage();
}
