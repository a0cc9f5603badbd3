#include "tools/vkdtool/viewrender.h"

#include "tools/vkdtool/svggroupfilter.h"

#include "figures/model/bandedpainter.h"
#include "figures/model/view.h"
#include "figures/model/viewpainter.h"
#include "figures/render/drawcontext.h"

#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <cmath>

namespace vkdtool {

using namespace figures;

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

bool Paint(QPaintDevice& device, const View& view, const Output& out, double dpi)
{
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    const DrawContext dc(painter, dpi, dpi, out.zoom, out.zoom, {out.area.left, out.area.top});
    PaintOptions options;
    options.deviceClip = {0, 0, out.size.width(), out.size.height()};
    PaintView(view, dc, options);
    return painter.end();
}

// The canvas is painted under everything, so the picture is opaque and is written as
// RGB without an alpha channel. Qt maps PNG quality 80 to zlib level 1: on a full-HD
// drawing of 10 000 shapes that encodes in about 60 % of the time of the default level 6
// and the file comes out slightly smaller; quality 90 and above store without
// compressing, about 2.6 times larger, for half the time again.
constexpr int kPngQuality = 80;

bool WritePng(const View& view, const QString& path, const Output& out, double dpi)
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
    QImageWriter writer(path, "png");
    writer.setQuality(kPngQuality);
    return writer.write(image);
}

bool WriteSvg(const View& view, const QString& path, const Output& out, double dpi)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    // The generator opens a group at every change of the painter's state, drawn into or
    // not; the empty ones made nearly half of a large drawing's file.
    SvgGroupFilter filter(file);
    QSvgGenerator svg;
    svg.setOutputDevice(&filter);
    svg.setSize(out.size);
    svg.setViewBox(QRect(QPoint(0, 0), out.size));
    svg.setResolution(int(std::lround(dpi)));
    svg.setTitle(QString::fromUtf8(view.name.empty() ? "drawing" : "view"));
    const bool painted = Paint(svg, view, out, dpi);
    filter.close();
    return painted && file.error() == QFileDevice::NoError && file.flush();
}

bool WritePdf(const View& view, const QString& path, const Output& out, double dpi)
{
    QPdfWriter pdf(path);
    pdf.setResolution(int(std::lround(dpi)));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    const QSizeF points(out.size.width() * 72.0 / dpi, out.size.height() * 72.0 / dpi);
    pdf.setPageSize(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch));
    return Paint(pdf, view, out, dpi);
}

} // namespace

bool RenderViewToFile(const View& view, const QString& path, const RenderSettings& settings,
                      QString& error)
{
    Output out;
    out.zoom = settings.zoom > 0 ? settings.zoom : view.zoomX;
    if (out.zoom <= 0 || settings.dpi <= 0) {
        error = QStringLiteral("zoom and resolution must be positive");
        return false;
    }
    const Rect painted = PaintedArea(view);
    out.area = view.objects.empty() ? kEmptyArea : painted.Inflated(kMargin);
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

    const QString suffix = path.section(QLatin1Char('.'), -1).toLower();
    bool written = false;
    if (suffix == QLatin1String("png")) {
        written = WritePng(view, path, out, settings.dpi);
    } else if (suffix == QLatin1String("svg")) {
        written = WriteSvg(view, path, out, settings.dpi);
    } else if (suffix == QLatin1String("pdf")) {
        written = WritePdf(view, path, out, settings.dpi);
    } else {
        error = QStringLiteral("unknown output format \"%1\" (use .png, .svg or .pdf)").arg(suffix);
        return false;
    }
    if (!written) {
        error = QStringLiteral("cannot write %1").arg(path);
    }
    return written;
}

} // namespace vkdtool
