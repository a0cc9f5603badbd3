#include "tools/vkdtool/viewrender.h"

#include "figures/model/view.h"
#include "figures/model/viewpainter.h"
#include "figures/render/drawcontext.h"

#include <QImage>
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

bool WritePng(const View& view, const QString& path, const Output& out, double dpi)
{
    QImage image(out.size, QImage::Format_ARGB32_Premultiplied);
    const int dotsPerMetre = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    return Paint(image, view, out, dpi) && image.save(path, "PNG");
}

bool WriteSvg(const View& view, const QString& path, const Output& out, double dpi)
{
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(out.size);
    svg.setViewBox(QRect(QPoint(0, 0), out.size));
    svg.setResolution(int(std::lround(dpi)));
    svg.setTitle(QString::fromUtf8(view.name.empty() ? "drawing" : "view"));
    return Paint(svg, view, out, dpi);
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
