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
#include <cstring>
#include <limits>
#include <mutex>
#include <optional>

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

// An image the size of the picture for a thread's bands, taken from those kept between
// paints: a fresh one would have its pages handed out by the system again at every frame.
class ScratchImage {
public:
    explicit ScratchImage(const QImage& like) : image_(Take(like)) {}
    ~ScratchImage()
    {
        const std::lock_guard lock(mutex_);
        const auto most = size_t(std::max(1, QThreadPool::globalInstance()->maxThreadCount()));
        if (!image_.isNull() && kept_.size() < most) {
            kept_.push_back(std::move(image_));
        }
    }
    ScratchImage(const ScratchImage&) = delete;
    ScratchImage& operator=(const ScratchImage&) = delete;

    QImage& Image() { return image_; }

    // As when memory runs out: every picture comes out null.
    static inline std::atomic<bool> withheld{false};

private:
    static QImage Take(const QImage& like)
    {
        if (withheld.load()) {
            return {};
        }
        QImage image = Kept(like);
        if (image.isNull()) {
            image = QImage(like.size(), like.format());
        }
        image.setDevicePixelRatio(like.devicePixelRatio());
        return image;
    }

    // A kept image of like's size and format, or none; those of other sizes are let go.
    static QImage Kept(const QImage& like)
    {
        const std::lock_guard lock(mutex_);
        while (!kept_.empty()) {
            QImage image = std::move(kept_.back());
            kept_.pop_back();
            if (image.size() == like.size() && image.format() == like.format()) {
                return image;
            }
        }
        return {};
    }

    QImage image_;
    // No more than a paint in as many bands as threads needs, of the last picture's size.
    static inline std::mutex mutex_;
    static inline std::vector<QImage> kept_;
};

// The rows of the clip, grown by the cull margin, within which objects are drawn for a band.
Rect CullRows(const Rect& clip, const Band& band)
{
    return {clip.left, band.top - kCullMargin, clip.right, band.bottom + kCullMargin};
}

// A band's painter works on a picture the size of the whole image and is clipped to the
// whole paint's clip, exactly as one painter over the clip would be: Qt's rasterisers cut
// geometry at the clip, and a line cut there comes out a level or two different all along
// its length (a dashed one by up to a whole pixel at the cut). So a band draws everything
// that reaches its rows, also beyond them, and only its own rows are kept.
void PaintBand(const View& view, const std::vector<PaintEntry>& order, QImage& target,
               const BandedPaint& mapping, const PaintOptions& options, const Band& band,
               const Rect& painterClip)
{
    QPainter painter(&target);
    // Device pixels stay those of the mapping; the window moves them onto the image, and
    // the image's pixel ratio scales them onto its pixels.
    const QSize size = LogicalSize(target);
    painter.setWindow(QRect(mapping.imageOffset, size));
    painter.setViewport(QRect(QPoint(0, 0), size));
    painter.setClipRect(
        QRect(painterClip.left, painterClip.top, painterClip.Width(), painterClip.Height()));
    painter.setRenderHint(QPainter::Antialiasing, true);
    const DrawContext dc(painter, mapping.dpiX, mapping.dpiY, mapping.zoomX, mapping.zoomY,
                         mapping.origin);
    PaintOptions bandOptions = options;
    bandOptions.deviceClip = CullRows(options.deviceClip, band);
    PaintView(view, order, dc, bandOptions);
}

// The image pixels (x: columns, y: rows) of a band of a paint of clip, at a whole pixel
// ratio: the band's rows and the clip's columns, each device pixel ratio x ratio of them.
QRect BandPixels(const QImage& image, const BandedPaint& mapping, const Rect& clip,
                 const Band& band)
{
    const int ratio = int(image.devicePixelRatio());
    const QRect device(clip.left, band.top, clip.Width(), band.bottom - band.top);
    const QRect pixels(device.topLeft() - mapping.imageOffset, device.size());
    return QRect(pixels.topLeft() * ratio, pixels.size() * ratio).intersected(image.rect());
}

void CopyPixels(const QImage& from, uchar* toBits, qsizetype toBytesPerLine, const QRect& area)
{
    const int bytesPerPixel = from.depth() / 8;
    const size_t bytes = size_t(area.width()) * size_t(bytesPerPixel);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        std::memcpy(toBits + y * toBytesPerLine + area.left() * bytesPerPixel,
                    from.constScanLine(y) + area.left() * bytesPerPixel, bytes);
    }
}

// Objects whose rows are counted when the bands are split; larger drawings are sampled.
constexpr size_t kWorkSamples = 4096;
// The canvas under the objects costs something to fill even where none lie: spread over
// the rows, it weighs as much as this share of the objects.
constexpr double kCanvasShare = 0.1;

// How many objects to draw each row of the clip holds, by the row of each object's centre
// (objects beyond the clip's first or last row count there), with the canvas spread over
// every row.
std::vector<double> WorkPerRow(const std::vector<PaintEntry>& order, const DeviceMapping& map,
                               const Rect& clip)
{
    const int rows = clip.Height();
    std::vector<double> work(size_t(rows), 0.0);
    const Rect docClip = map.ToDocument(clip);
    const size_t step = std::max<size_t>(1, order.size() / kWorkSamples);
    double objects = 0;
    for (size_t i = 0; i < order.size(); i += step) {
        const Rect& area = order[i].bounds;
        if (!area.Intersects(docClip)) {
            continue;
        }
        const double centre = ((area.top + area.bottom) / 2.0 - map.Origin().y) * map.ScaleY();
        const int row = std::clamp(int(std::floor(centre)) - clip.top, 0, rows - 1);
        work[size_t(row)] += 1;
        objects += 1;
    }
    const double canvas = std::max(objects, 1.0) * kCanvasShare / rows;
    for (double& w : work) {
        w += canvas;
    }
    return work;
}

} // namespace

std::vector<Band> SplitIntoBands(const std::vector<PaintEntry>& order, const DeviceMapping& map,
                                 const Rect& clip, int wanted)
{
    const int rows = clip.Height();
    const int count = std::clamp(rows / kMinBandRows, 1, std::max(1, wanted));
    if (count == 1) {
        return {{clip.top, clip.bottom}};
    }
    const std::vector<double> work = WorkPerRow(order, map, clip);
    double total = 0;
    for (const double w : work) {
        total += w;
    }
    std::vector<Band> bands;
    int edge = 0; // rows from clip.top
    double done = 0;
    for (int i = 1; i < count; ++i) {
        // Less a hair, so that rounding does not push an edge a row further.
        const double target = total * i / count - total * 1e-9;
        const int first = edge + kMinBandRows;
        const int last = rows - (count - i) * kMinBandRows;
        int next = edge;
        while (next < first || (next < last && done < target)) {
            done += work[size_t(next++)];
        }
        bands.push_back({clip.top + edge, clip.top + next});
        edge = next;
    }
    bands.push_back({clip.top + edge, clip.bottom});
    return bands;
}

int RowsReachedBy(const std::vector<PaintEntry>& order, const DeviceMapping& map,
                  const Rect& clip, const Band& band)
{
    // The cull rectangle in document units is the one the band's painter culls with.
    const Rect drawn = map.ToDocument(CullRows(clip, band));
    int32_t lowest = std::numeric_limits<int32_t>::min();
    for (const PaintEntry& entry : order) {
        if (entry.bounds.Intersects(drawn)) {
            lowest = std::max(lowest, entry.bounds.bottom);
        }
    }
    int reach = band.bottom;
    if (lowest != std::numeric_limits<int32_t>::min()) {
        reach = std::max(reach, map.ToDevice(Point{0, lowest}).y);
    }
    return reach + kCullMargin;
}

namespace {

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

DeviceMapping MappingOf(const BandedPaint& mapping)
{
    return DeviceMapping(mapping.dpiX, mapping.dpiY, mapping.zoomX, mapping.zoomY, mapping.origin);
}

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
    // Every object a band draws, the ones reaching in from beyond its rows included.
    const Rect drawn{clip.left, clip.top - kCullMargin, clip.right, clip.bottom + kCullMargin};
    const std::vector<PaintEntry> order =
        cache != nullptr ? cache->PaintingOrder(view, MappingOf(mapping).ToDocument(drawn))
                         : PaintingOrder(view);
    PaintViewInBands(view, order, image, mapping, options);
}

void WithholdBandPicturesForTesting(bool withhold)
{
    ScratchImage::withheld.store(withhold);
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

    // At a fractional pixel ratio the clip's edges fall inside image pixels, and which of
    // those the painter's clip lets through is Qt's rounding: one painter paints them all.
    const qreal ratio = image.devicePixelRatio();
    const int threads = std::max(1, QThreadPool::globalInstance()->maxThreadCount());
    const int wanted = ratio != std::round(ratio) ? 1 : mapping.bands > 0 ? mapping.bands : threads;
    const std::vector<Band> bands = SplitIntoBands(order, MappingOf(mapping), clip, wanted);

    // Taken before the threads start: asking a shared image for writable bits copies it.
    uchar* const bits = image.bits();
    QImage inPlace(bits, image.width(), image.height(), image.bytesPerLine(), image.format());
    inPlace.setDevicePixelRatio(image.devicePixelRatio());
    if (bands.size() == 1) {
        PaintBand(view, order, inPlace, mapping, clipped, bands.front(), clip);
        return;
    }
    // The first band paints on the image itself, the others each on a picture of their
    // own; their rows replace what the first band drew beyond its own. No band waits for
    // another while painting: Qt's raster engine may itself hand work to the global pool
    // and wait for it.
    std::vector<std::optional<ScratchImage>> scratch(bands.size());
    // A band done before the first one hands over at once the rows the first one never
    // writes, and the rest once every band is done: the copying mostly overlaps painting.
    std::vector<int> handedFrom(bands.size());
    std::atomic<bool> firstDone{false};
    std::once_flag reachKnown;
    int firstReach = 0;
    const auto handOver = [&](size_t i, int from) {
        handedFrom[i] = std::clamp(from, bands[i].top, bands[i].bottom);
        const Band rows{handedFrom[i], bands[i].bottom};
        CopyPixels(scratch[i]->Image(), bits, image.bytesPerLine(),
                   BandPixels(image, mapping, clip, rows));
    };
    // Bands are taken in turn by whoever is free, the calling thread included, so that a
    // slow band does not leave a thread idle.
    std::atomic<size_t> next{0};
    const auto work = [&] {
        for (size_t i = next++; i < bands.size(); i = next++) {
            if (i == 0) {
                PaintBand(view, order, inPlace, mapping, clipped, bands[i], clip);
                firstDone.store(true, std::memory_order_release);
                continue;
            }
            scratch[i].emplace(image);
            handedFrom[i] = bands[i].bottom;
            if (scratch[i]->Image().isNull()) {
                continue;
            }
            PaintBand(view, order, scratch[i]->Image(), mapping, clipped, bands[i], clip);
            if (firstDone.load(std::memory_order_acquire)) {
                handOver(i, bands[i].top);
                continue;
            }
            std::call_once(reachKnown, [&] {
                firstReach = RowsReachedBy(order, MappingOf(mapping), clip, bands.front());
            });
            handOver(i, firstReach);
        }
    };
    RunOnPoolAndHere(int(std::min<size_t>(size_t(threads), bands.size())) - 1, work);
    for (size_t i = 1; i < bands.size(); ++i) {
        if (!scratch[i]->Image().isNull()) {
            CopyPixels(scratch[i]->Image(), bits, image.bytesPerLine(),
                       BandPixels(image, mapping, clip, Band{bands[i].top, handedFrom[i]}));
            continue;
        }
        // Out of memory for a picture of its own: the band paints in place, clipped to its
        // rows (lines cut at its edges may come out a level different).
        const Rect rows{clip.left, bands[i].top, clip.right, bands[i].bottom};
        PaintBand(view, order, inPlace, mapping, clipped, bands[i], rows);
    }
}

} // namespace figures
