#include "app/documentoutput.h"

#include "app/mainwindow.h"
#include "figures/control/figurewindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QInputDialog>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray SampleBytes()
{
    return ReadAll(QStringLiteral(VELKOR_SAMPLE));
}

// The pages of a PDF file as images at dpi, drawn by the system's PDF renderer.
QList<QImage> RasterisePdf(const QString& pdf, int dpi)
{
    const QString prefix = pdf + QStringLiteral("-page");
    const int exit =
        QProcess::execute(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi),
                                                       QStringLiteral("-png"), pdf, prefix});
    EXPECT_EQ(exit, 0) << "pdftoppm (poppler-utils) draws the printed pages";
    QList<QImage> pages;
    const QFileInfo info(pdf);
    const QStringList names =
        QDir(info.absolutePath())
            .entryList({info.fileName() + QStringLiteral("-page*.png")}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        pages.append(
            QImage(info.absoluteDir().filePath(name)).convertToFormat(QImage::Format_RGB32));
    }
    return pages;
}

bool IsInk(QRgb pixel)
{
    return qRed(pixel) < 240 || qGreen(pixel) < 240 || qBlue(pixel) < 240;
}

// The smallest rectangle holding every pixel that is not (nearly) white.
QRect InkBounds(const QImage& image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (IsInk(image.pixel(x, y))) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

// The mean difference per channel of two images of one size, 0..255.
double MeanDifference(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

struct Canvas {
    QTemporaryDir dir;
    figures::FigureWindow canvas;

    Canvas()
    {
        canvas.SetBackColour(0x00FFFFFF);
        canvas.resize(352, 296);
        EXPECT_TRUE(canvas.SetDocumentContent(SampleBytes()));
    }

    void Show()
    {
        canvas.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&canvas));
    }

    void PdfPrinter(QPrinter& printer, const QString& name)
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(name));
        printer.setResolution(300);
    }
};

TEST(DocumentOutput, PrintsTheCanvasPictureAtItsClientSizeInTheCornerOfThePage)
{
    Canvas c;
    c.Show();
    QPrinter printer;
    c.PdfPrinter(printer, QStringLiteral("canvas.pdf"));
    printer.setPageOrientation(QPageLayout::Landscape);
    ASSERT_TRUE(app::PrintCanvasOn(printer, c.canvas));

    // At 254 dots per inch one printed pixel is one document unit (0.1 mm).
    const QList<QImage> pages = RasterisePdf(printer.outputFileName(), 254);
    ASSERT_EQ(pages.size(), 1);
    const QImage& page = pages.first();
    EXPECT_GT(page.width(), page.height()); // landscape
    const QRectF printable = printer.pageLayout().paintRect(QPageLayout::Millimeter);
    const QRect picture(int(std::lround(printable.left() * 10)) + 1,
                        int(std::lround(printable.top() * 10)) + 1, c.canvas.GetClientWidth(),
                        c.canvas.GetClientHeight());
    ASSERT_TRUE(page.rect().contains(picture));
    // The printed picture is the window's own picture, scaled to the client size.
    const QImage shown =
        c.canvas.grab()
            .toImage()
            .convertToFormat(QImage::Format_RGB32)
            .scaled(picture.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_LT(MeanDifference(page.copy(picture), shown), 8.0);
    EXPECT_TRUE(IsInk(page.pixel(picture.topLeft() + QPoint(2, 2)))); // the canvas's border
    // Nothing else is on the page.
    EXPECT_TRUE(picture.adjusted(-2, -2, 2, 2).contains(InkBounds(page)));

    // A canvas that cannot be captured prints an empty page, not a wrong one.
    c.canvas.hide();
    QPrinter empty;
    c.PdfPrinter(empty, QStringLiteral("hidden.pdf"));
    ASSERT_TRUE(app::PrintCanvasOn(empty, c.canvas));
    EXPECT_TRUE(InkBounds(RasterisePdf(empty.outputFileName(), 50).value(0)).isEmpty());
}

// The ink of view at index fitted into a page like printer's, drawn straight into an image.
QRect ExpectedInk(const figures::FigureWindow& canvas, int index, const QPrinter& printer, int dpi)
{
    const QSize pageSize = printer.pageLayout().fullRectPixels(dpi).size();
    const QRect printable = printer.pageLayout().paintRectPixels(dpi);
    QImage image(pageSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(printable.topLeft());
    EXPECT_TRUE(
        canvas.PaintViewFitted(index, painter, dpi, QRect(printable.topLeft(), printable.size())));
    painter.end();
    return InkBounds(image);
}

TEST(DocumentOutput, PrintsEachViewOfTheRangeOnItsOwnPageFittedAndCentred)
{
    Canvas c;
    struct Row {
        const char* name;
        QPrinter::PrintRange range;
        int from, to;
        QList<int> views;
    };
    c.canvas.SetCurrentView(1);
    const Row rows[] = {
        {"all views", QPrinter::AllPages, 0, 0, {0, 1}},
        {"the second only", QPrinter::PageRange, 2, 2, {1}},
        {"a range past the end", QPrinter::PageRange, 1, 9, {0, 1}},
        {"the current view", QPrinter::CurrentPage, 0, 0, {1}},
    };
    constexpr int kDpi = 50;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QPrinter printer;
        c.PdfPrinter(printer, QString::fromUtf8(row.name) + QStringLiteral(".pdf"));
        printer.setPrintRange(row.range);
        if (row.range == QPrinter::PageRange) {
            printer.setFromTo(row.from, row.to);
        }
        ASSERT_TRUE(app::PrintViews(printer, c.canvas));
        const QList<QImage> pages = RasterisePdf(printer.outputFileName(), kDpi);
        ASSERT_EQ(pages.size(), row.views.size());
        for (int i = 0; i < pages.size(); ++i) {
            const QRect expected = ExpectedInk(c.canvas, row.views[i], printer, kDpi);
            const QRect printed = InkBounds(pages[i]);
            ASSERT_FALSE(expected.isEmpty());
            // The same drawing in the same place, within a pixel or two of rounding.
            EXPECT_LE(std::abs(printed.left() - expected.left()), 2) << i;
            EXPECT_LE(std::abs(printed.top() - expected.top()), 2) << i;
            EXPECT_LE(std::abs(printed.right() - expected.right()), 2) << i;
            EXPECT_LE(std::abs(printed.bottom() - expected.bottom()), 2) << i;
            // Fitted: the drawing spans the printable width or height, less the margin
            // around it, and sits in the middle both ways.
            const QRect printable = printer.pageLayout().paintRectPixels(kDpi);
            const int spareX = printable.width() - printed.width();
            const int spareY = printable.height() - printed.height();
            EXPECT_LT(std::min(spareX, spareY), printable.width() / 8) << i;
            // (The ink need not fill the objects' bounds evenly: a twentieth of the page.)
            EXPECT_LE(std::abs((printed.left() - printable.left()) -
                               (printable.right() - printed.right())),
                      printable.width() / 20)
                << i;
            EXPECT_LE(std::abs((printed.top() - printable.top()) -
                               (printable.bottom() - printed.bottom())),
                      printable.height() / 20)
                << i;
        }
    }

    // Cancelling stops the job at once.
    QPrinter printer;
    c.PdfPrinter(printer, QStringLiteral("cancelled.pdf"));
    int asked = 0;
    EXPECT_FALSE(app::PrintViews(printer, c.canvas, [&](int done, int) {
        ++asked;
        return done < 1;
    }));
    EXPECT_EQ(asked, 2);
}

// The bytes of a file the command-line renderer wrote from the sample.
QByteArray RenderedByTool(const QTemporaryDir& dir, const QString& name, const QStringList& options)
{
    const QString out = dir.filePath(QStringLiteral("tool-") + name);
    const int exit = QProcess::execute(
        QStringLiteral(VELKOR_VKDTOOL),
        QStringList{QStringLiteral("render"), QStringLiteral(VELKOR_SAMPLE), out} + options);
    EXPECT_EQ(exit, 0);
    return ReadAll(out);
}

// A PDF's bytes without the time it was made.
QByteArray Timeless(QByteArray pdf)
{
    static const QRegularExpression date(QStringLiteral("/CreationDate \\(D:[0-9Z+'-]*\\)"));
    return QString::fromLatin1(pdf).remove(date).toLatin1();
}

TEST(DocumentOutput, ExportsTheSampleExactlyAsTheCommandLineRendererDoes)
{
    Canvas c;
    struct Row {
        const char* name;
        QList<int> views;
        double dpi;
        QStringList options;
    };
    const Row rows[] = {
        {"view.png", {1}, 120, {"--view", "1", "--dpi", "120"}},
        {"first.png", {0}, 96, {}},
        {"view.svg", {1}, 96, {"--view", "1"}},
        {"one.pdf", {0}, 96, {}},
        {"all.pdf", {0, 1}, 96, {"--view", "all"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = c.dir.filePath(QString::fromUtf8(row.name));
        QString error;
        int pages = 0;
        ASSERT_TRUE(c.canvas.ExportViews(row.views, path, row.dpi, error, [&](int, int total) {
            pages = total;
            return true;
        })) << error.toStdString();
        const QByteArray exported = ReadAll(path);
        const QByteArray tool = RenderedByTool(c.dir, QString::fromUtf8(row.name), row.options);
        ASSERT_GT(exported.size(), 200);
        EXPECT_EQ(Timeless(exported), Timeless(tool));
        EXPECT_EQ(pages, path.endsWith(QLatin1String(".pdf")) ? row.views.size() : 1);
    }
}

TEST(DocumentOutput, AnExportThatIsCancelledOrFailsKeepsTheOldFile)
{
    Canvas c;
    const QString path = c.dir.filePath(QStringLiteral("kept.pdf"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("keep me");
    old.close();
    QString error;
    EXPECT_FALSE(
        c.canvas.ExportViews({0, 1}, path, 96, error, [](int done, int) { return done == 0; }));
    EXPECT_EQ(ReadAll(path), QByteArray("keep me"));
    EXPECT_FALSE(c.canvas.ExportViews({7}, path, 96, error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(c.canvas.ExportViews({0}, c.dir.filePath(QStringLiteral("x.bmp")), 96, error));
    EXPECT_FALSE(c.canvas.ExportViews({0}, c.dir.filePath(QStringLiteral("no/x.png")), 96, error));
    EXPECT_EQ(ReadAll(path), QByteArray("keep me"));
}

TEST(DocumentOutput, DumpsTheFirstShapeProgramAndTheDocumentAsRawBytes)
{
    Canvas c;
    c.canvas.SetDocumentContent(QByteArray());
    // A line to the centre, an arrow line on to a corner, the end: 16-bit words.
    const QByteArray program =
        QByteArray::fromHex("010000000000ff0fff0f0200ff0fff0f0000ff1f03000000");
    const int index = c.canvas.AddShape(0);
    ASSERT_TRUE(c.canvas.GetObjects(index).SetDrawingData(program));
    c.canvas.AddShape(3);
    QString error;
    EXPECT_EQ(app::DumpDrawingData(c.canvas, c.dir.path(), error), program);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(ReadAll(c.dir.filePath(QStringLiteral("2.bmp"))), program);
    EXPECT_EQ(ReadAll(c.dir.filePath(QStringLiteral("3.bmp"))), c.canvas.DocumentContent());

    // A folder that is not there: both failures are told, the program still comes back.
    const QString nowhere = c.dir.filePath(QStringLiteral("no-such-folder"));
    EXPECT_EQ(app::DumpDrawingData(c.canvas, nowhere, error), program);
    EXPECT_TRUE(error.contains(QStringLiteral("2.bmp")));
    EXPECT_TRUE(error.contains(QStringLiteral("3.bmp")));
}

TEST(DocumentOutput, TheFileMenuOffersPrintingAndExportAndHidesTheDump)
{
    QTemporaryDir dir;
    app::MainWindow window(dir.filePath(QStringLiteral("vkl.ini")), QString());
    QStringList shown;
    QStringList hidden;
    for (QAction* action : window.FileMenu().actions()) {
        if (!action->isSeparator()) {
            (action->isVisible() ? shown : hidden) << action->text();
        }
    }
    for (const char* text : {"打印文档...", "打印预览...", "导出..."}) {
        EXPECT_TRUE(shown.contains(QString::fromUtf8(text))) << text;
    }
    EXPECT_EQ(hidden, QStringList{QStringLiteral("另存")});
    // The toolbar's print button asks for a printer first; cancelling prints nothing.
    QAction* print = window.StandardButton(QStringLiteral("打印"));
    ASSERT_NE(print, nullptr);
    QString asked;
    QTimer::singleShot(0, [&asked] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            asked = QString::fromLatin1(dialog->metaObject()->className());
            dialog->close();
        }
    });
    print->trigger();
    EXPECT_EQ(asked, QStringLiteral("QPrintDialog"));
}

TEST(DocumentOutput, ExportFromTheMenuAsksForAPicturesResolutionUnderItsOwnTitle)
{
    QTemporaryDir dir;
    app::MainWindow window(dir.filePath(QStringLiteral("vkl.ini")), QStringLiteral(VELKOR_SAMPLE));
    window.show();
    const QString path = dir.filePath(QStringLiteral("menu.png"));
    QAction* exportItem = nullptr;
    for (QAction* action : window.FileMenu().actions()) {
        exportItem = action->text() == QStringLiteral("导出...") ? action : exportItem;
    }
    ASSERT_NE(exportItem, nullptr);

    QString fileTitle;
    QString resolutionTitle;
    QTimer::singleShot(0, [&] {
        auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(files, nullptr);
        fileTitle = files->windowTitle();
        QTimer::singleShot(0, [&] {
            auto* resolution = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(resolution, nullptr);
            resolutionTitle = resolution->windowTitle();
            resolution->setTextValue(QStringLiteral("150 dpi"));
            resolution->accept();
        });
        files->selectFile(path);
        static_cast<QDialog*>(files)->accept();
    });
    exportItem->trigger();
    EXPECT_EQ(fileTitle, QStringLiteral("导出"));
    EXPECT_EQ(resolutionTitle, QStringLiteral("导出图片"));

    const QString expected = dir.filePath(QStringLiteral("expected.png"));
    QString error;
    ASSERT_TRUE(window.Canvas().ExportViews({window.Canvas().CurrentView()}, expected, 150, error));
    EXPECT_EQ(ReadAll(path), ReadAll(expected));
}

} // namespace
