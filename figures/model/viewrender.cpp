#include "figures/model/viewrender.h"

#include "figures/model/bandedpainter.h"
#include "figures/model/svggroupfilter.h"
#include "figures/model/view.h"
#include "figures/model/viewpainter.h"
#include "figures/render/drawcontext.h"
#include "figures/render/pngwriter.h"
#include "figures/render/styles/svgpatternfills.h"

#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

namespace figures {

namespace {

// Space around the drawing, in document units (5 mm).
constexpr int32_t kMargin = 50;
// An empty view still renders as a small blank page.
constexpr Rect kEmptyArea{0, 0, 500, 500};
// Larger images would need gigabytes; ask for a lower zoom or resolution instead.
constexpr int kMaxPixels = 20000;

struct Output {
    Rect area;  // document units
    QSize size; // device pixels
    int32_t zoom = 1000;
};

Rect OutputArea(const View& view)
{
    return view.objects.empty() ? kEmptyArea : PaintedArea(view).Inflated(kMargin);
}

// The area, pixel size and zoom of one view's output; false with the reason in error
// when the settings make no sense or the picture would be too large.
bool PlanOutput(const View& view, const RenderSettings& settings, Output& out, QString& error)
{
    out.zoom = settings.zoom > 0 ? settings.zoom : view.zoomX;
    if (out.zoom <= 0 || settings.dpi <= 0) {
        error = QStringLiteral("zoom and resolution must be positive");
        return false;
    }
    out.area = OutputArea(view);
    const double scale = settings.dpi / 254.0 * out.zoom / 1000.0;
    const double width = std::ceil(out.area.Width() * scale);
    const double height = std::ceil(out.area.Height() * scale);
    if (width > kMaxPixels || height > kMaxPixels) {
        error = QStringLiteral("the drawing is %1 x %2 pixels at this zoom; lower --zoom or --dpi")
                    .arg(width)
                    .arg(height);
        return false;
    }
    out.size = QSize(std::max(1, int(width)), std::max(1, int(height)));
    return true;
}

void PaintOutput(QPainter& painter, const View& view, const Output& out, double dpi,
                 SvgPatternFills* svgPatterns = nullptr)
{
    painter.setRenderHint(QPainter::Antialiasing);
    DrawContext dc(painter, dpi, dpi, out.zoom, out.zoom, {out.area.left, out.area.top});
    dc.SetSvgPatternFills(svgPatterns);
    PaintOptions options;
    options.deviceClip = {0, 0, out.size.width(), out.size.height()};
    PaintView(view, dc, options);
}

bool Paint(QPaintDevice& device, const View& view, const Output& out, double dpi,
           SvgPatternFills* svgPatterns = nullptr)
{
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    PaintOutput(painter, view, out, dpi, svgPatterns);
    return painter.end();
}

// The canvas is painted under everything, so the picture is opaque and is written as
// RGB without an alpha channel (see WriteOpaquePng for the compression chosen).
bool WritePng(const View& view, QFileDevice& file, const Output& out, double dpi,
              QString& error)
{
    QImage image(out.size, QImage::Format_RGB32);
    const int dotsPerMetre = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    // The image is painted in bands on every core; files paint through one painter.
    BandedPaint mapping;
    mapping.dpiX = mapping.dpiY = dpi;
    mapping.zoomX = mapping.zoomY = out.zoom;
    mapping.origin = {out.area.left, out.area.top};
    PaintOptions options;
    options.deviceClip = {0, 0, out.size.width(), out.size.height()};
    PaintViewInBands(view, image, mapping, options);
    QString reason;
    if (WriteOpaquePng(image, file, reason)) {
        return true;
    }
    error = QStringLiteral("cannot write %1: %2").arg(file.fileName(), reason);
    return false;
}

bool WriteSvg(const View& view, QIODevice& file, const Output& out, double dpi)
{
    // The generator opens a group at every change of the painter's state, drawn into or
    // not; the empty ones made nearly half of a large drawing's file.
    // Pattern fills go through the filter too: see SvgPatternFills.
    SvgPatternFills patterns;
    SvgGroupFilter filter(file, &patterns);
    QSvgGenerator svg;
    svg.setOutputDevice(&filter);
    svg.setSize(out.size);
    svg.setViewBox(QRect(QPoint(0, 0), out.size));
    svg.setResolution(int(std::lround(dpi)));
    svg.setTitle(QString::fromUtf8(view.name.empty() ? "drawing" : "view"));
    const bool painted = Paint(svg, view, out, dpi, &patterns);
    filter.close();
    return painted; // write errors fail the commit
}

QPageSize PageOf(const Output& out, double dpi)
{
    const QSizeF points(out.size.width() * 72.0 / dpi, out.size.height() * 72.0 / dpi);
    return QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch);
}

// One page per view; every page is planned before the first is drawn, so a view that
// cannot be rendered stops the output before anything is written.
bool WritePdf(const std::vector<const View*>& views, QIODevice& file,
              const RenderSettings& settings, QString& error, const RenderProgress& progress)
{
    std::vector<Output> pages(views.size());
    for (size_t i = 0; i < views.size(); ++i) {
        if (!PlanOutput(*views[i], settings, pages[i], error)) {
            return false;
        }
    }
    QPdfWriter pdf(&file);
    pdf.setResolution(int(std::lround(settings.dpi)));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setPageSize(PageOf(pages.front(), settings.dpi));
    QPainter painter;
    if (!painter.begin(&pdf)) {
        error = QStringLiteral("cannot start the PDF output");
        return false;
    }
    const int total = int(views.size());
    for (int i = 0; i < total; ++i) {
        if (progress && !progress(i, total)) {
            painter.end();
            error = QStringLiteral("cancelled");
            return false;
        }
        if (i > 0) {
            pdf.setPageSize(PageOf(pages[i], settings.dpi));
            pdf.newPage();
        }
        PaintOutput(painter, *views[i], pages[i], settings.dpi);
    }
    return painter.end();
}

bool Commit(QSaveFile& file, bool written, QString& error)
{
    if (written && file.commit()) {
        return true;
    }
    if (error.isEmpty()) {
        error = QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString());
    }
    file.cancelWriting();
    return false;
}

} // namespace

bool RenderViewToFile(const View& view, const QString& path, const RenderSettings& settings,
                      QString& error)
{
    const QString suffix = path.section(QLatin1Char('.'), -1).toLower();
    if (suffix == QLatin1String("pdf")) {
        return RenderViewsToPdf({&view}, path, settings, error);
    }
    if (suffix != QLatin1String("png") && suffix != QLatin1String("svg")) {
        error = QStringLiteral("unknown output format \"%1\" (use .png, .svg or .pdf)").arg(suffix);
        return false;
    }
    Output out;
    if (!PlanOutput(view, settings, out, error)) {
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    const bool written = suffix == QLatin1String("png")
                             ? WritePng(view, file, out, settings.dpi, error)
                             : WriteSvg(view, file, out, settings.dpi);
    return Commit(file, written, error);
}

bool RenderViewsToPdf(const std::vector<const View*>& views, const QString& path,
                      const RenderSettings& settings, QString& error,
                      const RenderProgress& progress)
{
    if (views.empty() || std::find(views.begin(), views.end(), nullptr) != views.end()) {
        error = QStringLiteral("no view to render");
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return Commit(file, WritePdf(views, file, settings, error, progress), error);
}

void PaintViewFitted(const View& view, QPainter& painter, double dpi, const QRect& target)
{
    if (target.isEmpty() || dpi <= 0) {
        return;
    }
    const Rect area = OutputArea(view);
    // Device pixels per document unit at 100 %, then the largest whole per mille zoom at
    // which the area fits both ways.
    const double unit = dpi / 254.0;
    const double fit =
        std::min(target.width() / (area.Width() * unit), target.height() / (area.Height() * unit));
    const int32_t zoom = int32_t(std::clamp(std::floor(fit * 1000.0), 1.0, 1.0e9));
    const double scale = unit * zoom / 1000.0;
    // The document point at device (0, 0) that puts the area's centre on target's centre.
    const double left =
        area.left - (target.x() + (target.width() - area.Width() * scale) / 2) / scale;
    const double top =
        area.top - (target.y() + (target.height() - area.Height() * scale) / 2) / scale;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const DrawContext dc(painter, dpi, dpi, zoom, zoom,
                         {int32_t(std::lround(left)), int32_t(std::lround(top))});
    PaintOptions options;
    options.deviceClip = {target.left(), target.top(), target.left() + target.width(),
                          target.top() + target.height()};
    PaintView(view, dc, options);
    painter.restore();
}

} // namespace figures
