#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QAction;
class QMenu;
class QPrinter;
class QWidget;

namespace figures {
class FigureWindow;
}

namespace app {

// Told before each page with the pages done and the total; false cancels.
using OutputProgress = std::function<bool(int done, int total)>;

// Prints the canvas as the window shows it: a capture of its client area placed at
// (1, 1) with the canvas's client size, both in document units (0.1 mm), so the picture
// has the size it has on the screen. A canvas that cannot be captured (hidden, minimised)
// gives an empty page. False when the printer could not start or finish the job.
bool PrintCanvasOn(QPrinter& printer, figures::FigureWindow& canvas);

// Prints the views the printer's range names, one per page, as vectors drawn as on the
// screen and fitted to the printable area: every view; for a page range the views whose
// numbers (from 1) it holds; for the current page the current view. False when cancelled
// (the job is aborted) or when the printer could not start.
bool PrintViews(QPrinter& printer, const figures::FigureWindow& canvas,
                const OutputProgress& progress = {});

// The developer's dump: folder/2.bmp receives the shape program of the current view's
// first object and folder/3.bmp the whole document, both as raw bytes despite their
// names. Returns the shape program; error tells which file could not be written (a
// file that could not be written keeps its old contents).
QByteArray DumpDrawingData(const figures::FigureWindow& canvas, const QString& folder,
                           QString& error);

// The main window's output commands on its canvas: printing the window's picture,
// printing and previewing the document, exporting it to a picture file, and the hidden
// dump. Printer choices made in the dialogs are kept from one document print to the next.
class DocumentOutput : public QObject {
    Q_OBJECT

public:
    DocumentOutput(QWidget& window, figures::FigureWindow& canvas);
    ~DocumentOutput() override;

    // Appends "打印文档...", "打印预览...", "导出..." and the hidden "另存" to the menu.
    void AddMenuItems(QMenu& menu);

    // The standard toolbar's "打印": the print dialog on a landscape page, then the canvas's
    // picture (PrintCanvasOn); the canvas is refreshed afterwards either way.
    void PrintCanvas();
    // The print dialog with a range of views, then the views with progress and cancel.
    void PrintDocument();
    void PreviewDocument();
    // Asks for a file and its kind: PNG (with a resolution) or SVG of the current view,
    // PDF of all views.
    void ExportDocument();
    // DumpDrawingData into the desktop folder; a failed write is reported.
    void DumpToDesktop();

signals:
    // The dump read this shape program from the canvas; the window keeps it as its
    // held drawing data.
    void drawingDataDumped(const QByteArray& program);

private:
    bool WithProgress(const QString& label, const std::function<bool(const OutputProgress&)>& run);

    QWidget& window_;
    figures::FigureWindow& canvas_;
    std::unique_ptr<QPrinter> printer_;
    QString lastExport_;
};

} // namespace app
