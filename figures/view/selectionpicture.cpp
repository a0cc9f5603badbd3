#include "figures/view/selectionpicture.h"

#include "figures/model/objects/cbasecom.h"
#include "figures/render/drawcontext.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

#include <cmath>

namespace figures {

namespace {

constexpr double kDpi = 96.0;
constexpr int32_t kMarginUnits = 20; // 2 mm of white around the drawing
// Pictures beyond this many pixels a side are not offered: they would take hundreds of
// megabytes for a clipboard nobody may read.
constexpr int kMaxSide = 8000;

struct Page {
    Rect area;  // document units, margin included
    QSize size; // pixels
};

bool PageFor(std::span<const CBaseCom* const> objects, Page& page)
{
    if (objects.empty()) {
        return false;
    }
    // Lines may paint no area at all; the margin still gives a page.
    page.area = PaintedAreaOf(objects).Inflated(kMarginUnits);
    const DeviceMapping map(kDpi, kDpi);
    const int64_t w = int64_t(std::ceil(double(page.area.Width()) * map.ScaleX()));
    const int64_t h = int64_t(std::ceil(double(page.area.Height()) * map.ScaleY()));
    if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide) {
        return false;
    }
    page.size = QSize(int(w), int(h));
    return true;
}

void Paint(QPainter& painter, std::span<const CBaseCom* const> objects, const Page& page)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRect(QPoint(0, 0), page.size), Qt::white);
    const DrawContext dc(painter, kDpi, kDpi, DeviceMapping::kZoomScale, DeviceMapping::kZoomScale,
                         {page.area.left, page.area.top});
    dc.ApplyWorldTransform();
    DrawRequest request;
    request.dc = &dc;
    request.clip = page.area;
    for (const CBaseCom* object : objects) {
        request.target = object->frame;
        object->Draw(request);
    }
}

} // namespace

Rect PaintedAreaOf(std::span<const CBaseCom* const> objects)
{
    Rect area;
    bool any = false;
    for (const CBaseCom* object : objects) {
        const Rect bounds = object->Bounds(0).Normalised();
        area = any ? area.Spanning(bounds) : bounds;
        any = true;
    }
    return area;
}

QImage RenderObjectsImage(std::span<const CBaseCom* const> objects)
{
    Page page;
    if (!PageFor(objects, page)) {
        return {};
    }
    QImage image(page.size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        return {};
    }
    const int dotsPerMetre = int(std::lround(kDpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    QPainter painter(&image);
    Paint(painter, objects, page);
    return image;
}

QByteArray RenderObjectsSvg(std::span<const CBaseCom* const> objects)
{
    Page page;
    if (!PageFor(objects, page)) {
        return {};
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(page.size);
    svg.setViewBox(QRect(QPoint(0, 0), page.size));
    svg.setResolution(int(kDpi));
    svg.setTitle(QStringLiteral("drawing"));
    QPainter painter;
    if (!painter.begin(&svg)) {
        return {};
    }
    Paint(painter, objects, page);
    painter.end();
    return bytes;
}

} // namespace figures
