#include "figures/model/bandedpainter.h"

#include "figures/model/geometrycache.h"
#include "figures/model/poolwork.h"
#include "figures/model/view.h"
#include "figures/render/drawcontext.h"

#include <QPainter>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <cmath>

namespace figures {

namespace {

// Objects paint inside their bounds, except that antialiasing spreads an edge over the
// pixel it falls in and its neighbour, and a band's rows are taken to document units with
// rounding; objects are culled against a band grown by this much, so that every object
// that reaches into a band's rows is painted there.
constexpr int kCullMargin = 3;

// Below this many rows a band costs more in repeated work (objects crossing it are
// built once per band) than it gains.
constexpr int kMinBandRows = 32;

struct Band {
    int top;    // device rows top..bottom - 1
    int bottom;
};

// The band's painter works on the whole image and is clipped to the band's rows: the
// strokers and rasterisers clip geometry against the device, and dash patterns and
// antialiased edges come out the same only when that device is the same for every band.
// The clip keeps each thread's writes inside its own rows.
void PaintBand(const View& view, const std::vector<PaintEntry>& order, uchar* bits,
               const QImage& image, const BandedPaint& mapping, const PaintOptions& options,
               const Band& band)
{
    QImage whole(bits, image.width(), image.height(), image.bytesPerLine(), image.format());
    whole.setDevicePixelRatio(image.devicePixelRatio());
    QPainter painter(&whole);
    // Device pixels stay those of the mapping; the window moves them onto the image, and
    // the image's pixel ratio scales them onto its pixels.
    const QSize size = LogicalSize(image);
    painter.setWindow(QRect(mapping.imageOffset, size));
    painter.setViewport(QRect(QPoint(0, 0), size));
    const Rect& clip = options.deviceClip;
    painter.setClipRect(QRect(clip.left, band.top, clip.Width(), band.bottom - band.top));
    painter.setRenderHint(QPainter::Antialiasing, true);
    const DrawContext dc(painter, mapping.dpiX, mapping.dpiY, mapping.zoomX, mapping.zoomY,
                         mapping.origin);
    PaintOptions bandOptions = options;
    bandOptions.deviceClip.top = band.top - kCullMargin;
    bandOptions.deviceClip.bottom = band.bottom + kCullMargin;
    PaintView(view, order, dc, bandOptions);
}

std::vector<Band> SplitIntoBands(int top, int bottom, int wanted)
{
    const int rows = bottom - top;
    const int count = std::clamp(rows / kMinBandRows, 1, std::max(1, wanted));
    std::vector<Band> bands;
    for (int i = 0; i < count; ++i) {
        bands.push_back({top + int(int64_t(rows) * i / count),
                         top + int(int64_t(rows) * (i + 1) / count)});
    }
    return bands;
}

// The wanted clip, limited to the image's pixels.
Rect ClipInImage(const QImage& image, const BandedPaint& mapping, const Rect& wanted)
{
    const QSize size = LogicalSize(image);
    const Rect imageArea{mapping.imageOffset.x(), mapping.imageOffset.y(),
                         mapping.imageOffset.x() + size.width(),
                         mapping.imageOffset.y() + size.height()};
    return {std::max(wanted.left, imageArea.left), std::max(wanted.top, imageArea.top),
            std::min(wanted.right, imageArea.right), std::min(wanted.bottom, imageArea.bottom)};
}

} // namespace

QSize LogicalSize(const QImage& image)
{
    const qreal ratio = image.devicePixelRatio();
    return {int(std::floor(image.width() / ratio)), int(std::floor(image.height() / ratio))};
}

void PaintViewInBands(const View& view, QImage& image, const BandedPaint& mapping,
                      const PaintOptions& options, GeometryCache* cache)
{
    const Rect clip = ClipInImage(image, mapping, options.deviceClip);
    if (clip.IsEmpty()) {
        return;
    }
    std::vector<PaintEntry> order = PaintingOrder(view, cache);
    if (cache != nullptr) {
        // Every object a band draws, the ones reaching in from beyond its rows included.
        const DeviceMapping map(mapping.dpiX, mapping.dpiY, mapping.zoomX, mapping.zoomY,
                                mapping.origin);
        cache->Prepare(order, map.ToDocument(Rect{clip.left, clip.top - kCullMargin, clip.right,
                                                  clip.bottom + kCullMargin}));
    }
    PaintViewInBands(view, order, image, mapping, options);
}

int BandCullMargin()
{
    return kCullMargin;
}

void PaintViewInBands(const View& view, const std::vector<PaintEntry>& order, QImage& image,
                      const BandedPaint& mapping, const PaintOptions& options)
{
    const Rect clip = ClipInImage(image, mapping, options.deviceClip);
    if (clip.IsEmpty()) {
        return;
    }
    PaintOptions clipped = options;
    clipped.deviceClip = clip;

    const int threads = std::max(1, QThreadPool::globalInstance()->maxThreadCount());
    const std::vector<Band> bands =
        SplitIntoBands(clip.top, clip.bottom, mapping.bands > 0 ? mapping.bands : 2 * threads);

    // Taken before the threads start: asking a shared image for writable bits copies it.
    uchar* const bits = image.bits();
    // Bands are taken in turn by whoever is free, the calling thread included, so that a
    // slow band does not leave a thread idle.
    std::atomic<size_t> next{0};
    const auto work = [&] {
        for (size_t i = next++; i < bands.size(); i = next++) {
            PaintBand(view, order, bits, image, mapping, clipped, bands[i]);
        }
    };
    RunOnPoolAndHere(int(std::min<size_t>(size_t(threads), bands.size())) - 1, work);
}

} // namespace figures
