#include "figures/view/partialpainter.h"

#include "figures/model/geometrycache.h"
#include "figures/model/objects/cbasecom.h"
#include "figures/render/devicemapping.h"
#include "figures/render/drawcontext.h"
#include "figures/view/spatialindex.h"

#include <QPainter>

namespace figures {

namespace {

// Document units added around the area asked of the index: device-to-document rounding
// must never leave out an object the bands would paint. More objects cost nothing but
// their bounds test.
constexpr int32_t kRoundingSlack = 2;

} // namespace

void PartialPainter::Collect(const SpatialIndex& index, const Rect& docArea)
{
    index.ObjectsMeeting(docArea, kRoundingSlack, near_);
    order_.clear();
    for (const CBaseCom* object : near_) {
        // The same area PaintingOrder gives: the right and bottom edges paint too.
        order_.push_back({object, object->Bounds(0).Inflated(1)});
    }
}

void PartialPainter::Paint(const View& view, const SpatialIndex& index, GeometryCache& cache,
                           QImage& picture, const BandedPaint& mapping, const PaintOptions& options)
{
    const DeviceMapping map = MappingOf(mapping);
    // Bands paint the objects reaching into their rows from this far away; the index is
    // asked for the whole grown clip, so that each band finds all of them in the list.
    const int margin = BandCullMargin();
    const Rect& clip = options.deviceClip;
    const Rect docArea = map.ToDocument(
        Rect{clip.left - margin, clip.top - margin, clip.right + margin, clip.bottom + margin});
    Collect(index, docArea);
    cache.PrepareSome(order_, docArea);
    lastCount_ = order_.size();
    PaintViewInBands(view, order_, picture, mapping, options);
}

void PartialPainter::PaintOnTop(const View& view, const CBaseCom& object, GeometryCache& cache,
                                QImage& picture, const BandedPaint& mapping,
                                const PaintOptions& options)
{
    const DeviceMapping map = MappingOf(mapping);
    const Rect& clip = options.deviceClip;
    order_.clear();
    order_.push_back({&object, object.Bounds(0).Inflated(1)});
    cache.PrepareSome(order_, map.ToDocument(clip));
    lastCount_ = 1;

    // The painter is set up as a band's: the same window onto the picture, so that the
    // object's pixels are exactly the ones a repaint of the clip gives it.
    QPainter painter(&picture);
    const QSize size = LogicalSize(picture);
    painter.setWindow(QRect(mapping.imageOffset, size));
    painter.setViewport(QRect(QPoint(0, 0), size));
    painter.setClipRect(QRect(clip.left, clip.top, clip.Width(), clip.Height()));
    painter.setRenderHint(QPainter::Antialiasing, true);
    const DrawContext dc(painter, mapping.dpiX, mapping.dpiY, mapping.zoomX, mapping.zoomY,
                         mapping.origin);
    PaintObjects(view, order_, dc, options);
}

} // namespace figures
