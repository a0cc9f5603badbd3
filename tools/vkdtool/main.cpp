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
#include "figures/model/storage/filebytes.h"
#include "figures/model/viewrender.h"

#include <QGuiApplication>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <cstdio>
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

// Documents of a hundred thousand shapes take some 25 MB; 2 GiB leaves room for many
// pictures while an endless stream (a device, a pipe that never closes) is refused instead of
// exhausting memory.
constexpr uint64_t kMaxDocumentFileBytes = uint64_t(1) << 31;

// Reads the document file at path, mapped where possible and parsed in place. False (with
// the reason on stderr) when the file cannot be had, or when it changed while it was read:
// what was made of changing bytes is not the document in either version of the file.
bool ReadDocumentFile(const QString& path, figures::Document& document,
                      figures::ReadDocumentResult& read)
{
    // Every document begins with its magic number, least significant byte first.
    static constexpr uint8_t kDocumentStart[] = {0xAE, 0xBA, 0xC2, 0x0B};
    const figures::FileBytes file(path, kMaxDocumentFileBytes,
                                  figures::FileBytes::Way::MapWherePossible, kDocumentStart);
    if (!file.Ok()) {
        Fail(QString::fromStdString(file.Error()));
        return false;
    }
    read = figures::ReadDocument(file.Bytes(), document);
    if (file.Changed()) {
        Fail(QStringLiteral("%1 changed while it was being read").arg(path));
        return false;
    }
    return true;
}

int Info(const QString& path, bool json)
{
    figures::Document document;
    figures::ReadDocumentResult read;
    if (!ReadDocumentFile(path, document, read)) {
        return kExitUnreadable;
    }
    if (json) {
        vkdtool::JsonStream out(stdout);
        vkdtool::WriteDocumentInfoJson(document, read, out);
        out.Flush();
    } else {
        QByteArray line;
        vkdtool::WriteDocumentInfoText(document, read, [&line](const QString& text) {
            line = text.toUtf8();
            line += '\n';
            std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
        });
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
    figures::Document document;
    figures::ReadDocumentResult read;
    if (!ReadDocumentFile(in, document, read)) {
        return kExitUnreadable;
    }
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
    figures::Document document;
    figures::ReadDocumentResult read;
    if (!ReadDocumentFile(parsed.in, document, read)) {
        return kExitUnreadable;
    }
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
