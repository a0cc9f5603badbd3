#include "app/documentoutput.h"

#include "app/windowcapture.h"
#include "figures/control/figurewindow.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QIcon>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QSaveFile>
#include <QStandardPaths>

#include <vector>

namespace app {

namespace {

// Outputs shorter than this finish without a progress window.
constexpr int kProgressDelayMs = 500;

// The views a print job covers, in order, by the printer's range.
std::vector<int> ViewsToPrint(const QPrinter& printer, const figures::FigureWindow& canvas)
{
    const int count = canvas.ViewCount();
    std::vector<int> views;
    if (printer.printRange() == QPrinter::CurrentPage) {
        views.push_back(std::max(0, canvas.CurrentView()));
        return views;
    }
    const bool ranged =
        printer.printRange() == QPrinter::PageRange && !printer.pageRanges().isEmpty();
    for (int i = 0; i < count; ++i) {
        if (!ranged || printer.pageRanges().contains(i + 1)) {
            views.push_back(i);
        }
    }
    return views;
}

bool WriteWhole(const QString& path, const QByteArray& bytes, QString& error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) {
        return true;
    }
    error = QStringLiteral("无法写入文件 %1：%2")
                .arg(QDir::toNativeSeparators(path), file.errorString());
    return false;
}

struct ExportKind {
    QString filter;
    QString suffix;
};

const ExportKind kExportKinds[] = {
    {QStringLiteral("PNG 图像 (*.png)"), QStringLiteral("png")},
    {QStringLiteral("SVG 矢量图 (*.svg)"), QStringLiteral("svg")},
    {QStringLiteral("PDF 文档，全部视图 (*.pdf)"), QStringLiteral("pdf")},
};

// The name with the chosen kind's extension unless it already ends in one of the three.
QString WithExportSuffix(const QString& name, const QString& filter)
{
    for (const ExportKind& kind : kExportKinds) {
        if (name.endsWith(QLatin1Char('.') + kind.suffix, Qt::CaseInsensitive)) {
            return name;
        }
    }
    for (const ExportKind& kind : kExportKinds) {
        if (kind.filter == filter) {
            return name + QLatin1Char('.') + kind.suffix;
        }
    }
    return name + QStringLiteral(".png");
}

} // namespace

bool PrintCanvasOn(QPrinter& printer, figures::FigureWindow& canvas)
{
    const QImage picture =
        LoadBmpPicture(CaptureWindowAsBmp(&canvas, 0, 0, kToEdge, kToEdge, true));
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    // The printer is addressed in document units (0.1 mm) from the printable area's corner.
    const double pixelsPerUnit = printer.resolution() / 254.0;
    painter.scale(pixelsPerUnit, pixelsPerUnit);
    if (!picture.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(1, 1, canvas.GetClientWidth(), canvas.GetClientHeight()), picture);
    }
    return painter.end();
}

bool PrintViews(QPrinter& printer, const figures::FigureWindow& canvas,
                const OutputProgress& progress)
{
    const std::vector<int> views = ViewsToPrint(printer, canvas);
    QPainter painter;
    if (views.empty() || !painter.begin(&printer)) {
        return false;
    }
    const QRect page(QPoint(0, 0),
                     printer.pageLayout().paintRectPixels(printer.resolution()).size());
    const int total = int(views.size());
    for (int i = 0; i < total; ++i) {
        if (progress && !progress(i, total)) {
            printer.abort();
            painter.end();
            return false;
        }
        if (i > 0) {
            printer.newPage();
        }
        canvas.PaintViewFitted(views[size_t(i)], painter, printer.resolution(), page);
    }
    return painter.end();
}

QByteArray DumpDrawingData(const figures::FigureWindow& canvas, const QString& folder,
                           QString& error)
{
    const QByteArray program = canvas.GetObjects(canvas.GetAllIndexes()).GetDrawingData();
    const QDir dir(folder);
    error.clear();
    QString failed;
    if (!WriteWhole(dir.filePath(QStringLiteral("2.bmp")), program, failed)) {
        error = failed;
    }
    if (!WriteWhole(dir.filePath(QStringLiteral("3.bmp")), canvas.DocumentContent(), failed)) {
        error = error.isEmpty() ? failed : error + QLatin1Char('\n') + failed;
    }
    return program;
}

DocumentOutput::DocumentOutput(QWidget& window, figures::FigureWindow& canvas)
    : QObject(&window), window_(window), canvas_(canvas),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution))
{}

DocumentOutput::~DocumentOutput() = default;

void DocumentOutput::AddMenuItems(QMenu& menu)
{
    QAction* print =
        menu.addAction(QIcon::fromTheme(QStringLiteral("document-print")),
                       QStringLiteral("打印文档..."), this, &DocumentOutput::PrintDocument);
    print->setShortcut(QKeySequence::Print);
    menu.addAction(QIcon::fromTheme(QStringLiteral("document-print-preview")),
                   QStringLiteral("打印预览..."), this, &DocumentOutput::PreviewDocument);
    menu.addAction(QIcon::fromTheme(QStringLiteral("document-export")), QStringLiteral("导出..."),
                   this, &DocumentOutput::ExportDocument);
    // The developer's dump exists but is not shown.
    QAction* dump = menu.addAction(QStringLiteral("另存"), this, &DocumentOutput::DumpToDesktop);
    dump->setVisible(false);
}

bool DocumentOutput::WithProgress(const QString& label,
                                  const std::function<bool(const OutputProgress&)>& run)
{
    QProgressDialog dialog(label, QStringLiteral("取消"), 0, 1, &window_);
    dialog.setWindowTitle(window_.windowTitle());
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(kProgressDelayMs);
    dialog.setAutoReset(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool done = run([&dialog](int pagesDone, int total) {
        dialog.setMaximum(total);
        dialog.setValue(pagesDone);
        return !dialog.wasCanceled();
    });
    QApplication::restoreOverrideCursor();
    return done;
}

void DocumentOutput::PrintCanvas()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, &window_);
    if (dialog.exec() == QDialog::Accepted && !PrintCanvasOn(printer, canvas_)) {
        QMessageBox::warning(&window_, window_.windowTitle(), QStringLiteral("打印失败。"));
    }
    canvas_.Refresh();
}

void DocumentOutput::PrintDocument()
{
    QPrintDialog dialog(printer_.get(), &window_);
    dialog.setWindowTitle(QStringLiteral("打印文档"));
    dialog.setMinMax(1, std::max(1, canvas_.ViewCount()));
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintCurrentPage | QAbstractPrintDialog::PrintToFile |
                      QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    bool cancelled = false;
    const bool printed =
        WithProgress(QStringLiteral("正在打印..."), [&](const OutputProgress& step) {
            return PrintViews(*printer_, canvas_, [&](int done, int total) {
                cancelled = !step(done, total);
                return !cancelled;
            });
        });
    if (!printed && !cancelled) {
        QMessageBox::warning(&window_, window_.windowTitle(), QStringLiteral("打印失败。"));
    }
}

void DocumentOutput::PreviewDocument()
{
    QPrintPreviewDialog preview(printer_.get(), &window_);
    preview.setWindowTitle(QStringLiteral("打印预览"));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { PrintViews(*printer, canvas_); });
    preview.exec();
}

void DocumentOutput::ExportDocument()
{
    QStringList filters;
    for (const ExportKind& kind : kExportKinds) {
        filters << kind.filter;
    }
    QString filter = filters.first();
    const QString start =
        lastExport_.isEmpty()
            ? QDir(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation))
                  .filePath(QStringLiteral("图形.png"))
            : lastExport_;
    QString path = QFileDialog::getSaveFileName(&window_, QStringLiteral("导出"), start,
                                                filters.join(QStringLiteral(";;")), &filter);
    if (path.isEmpty()) {
        return;
    }
    path = WithExportSuffix(path, filter);
    const bool pdf = path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
    double dpi = 96;
    if (path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) {
        const QStringList choices = {QStringLiteral("96 dpi（屏幕）"), QStringLiteral("150 dpi"),
                                     QStringLiteral("300 dpi（打印）"), QStringLiteral("600 dpi")};
        bool ok = false;
        const QString choice =
            QInputDialog::getItem(&window_, QStringLiteral("导出图片"),
                                  QStringLiteral("图像分辨率："), choices, 0, false, &ok);
        if (!ok) {
            return;
        }
        dpi = choice.section(QLatin1Char(' '), 0, 0).toDouble();
    }
    QList<int> views;
    if (pdf) {
        for (int i = 0; i < canvas_.ViewCount(); ++i) {
            views.append(i);
        }
    } else {
        views.append(std::max(0, canvas_.CurrentView()));
    }
    lastExport_ = path;
    QString error;
    bool cancelled = false;
    const bool written =
        WithProgress(QStringLiteral("正在导出..."), [&](const OutputProgress& step) {
            return canvas_.ExportViews(views, path, dpi, error, [&](int done, int total) {
                cancelled = !step(done, total);
                return !cancelled;
            });
        });
    if (!written && !cancelled) {
        QMessageBox::warning(
            &window_, window_.windowTitle(),
            QStringLiteral("无法导出到 %1：%2").arg(QDir::toNativeSeparators(path), error));
    }
}

void DocumentOutput::DumpToDesktop()
{
    QString error;
    const QByteArray program = DumpDrawingData(
        canvas_, QStandardPaths::writableLocation(QStandardPaths::DesktopLocation), error);
    emit drawingDataDumped(program);
    if (!error.isEmpty()) {
        QMessageBox::warning(&window_, window_.windowTitle(), error);
    }
}

} // namespace app
