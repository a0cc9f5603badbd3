#include "figures/model/viewpainter.h"

#include "figures/model/geometrycache.h"
#include "figures/model/objects/crectcom.h"
#include "figures/model/view.h"
#include "figures/render/colour.h"
#include "figures/render/drawcontext.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace figures {

std::vector<PaintEntry> PaintingOrder(const View& view)
{
    std::vector<PaintEntry> order;
    order.reserve(view.objects.size());
    LayerOrderCheck layers;
    for (const auto& object : view.objects) {
        order.emplace_back(object.get(), object->Bounds(0).Inflated(1));
        layers.Note(object->layer);
    }
    if (!layers.InOrder()) {
        SortByLayer(order);
    }
    return order;
}

void SortByLayer(std::vector<PaintEntry>& order)
{
    std::stable_sort(order.begin(), order.end(), [](const PaintEntry& a, const PaintEntry& b) {
        return a.object->layer < b.object->layer;
    });
}

namespace {

// Below two device pixels each way an object's outline, fill and decorations cannot be
// told apart, yet building them costs as much as for a large object.
constexpr double kDetailPixels = 2.0;

// The one colour a tiny object shows: its fill where it has one, else its line.
std::optional<Colour> DotColour(const CBaseCom& object, const DrawRequest& request)
{
    const auto* rect = dynamic_cast<const CRectCom*>(&object);
    if (rect == nullptr) {
        return std::nullopt;
    }
    const CRectCom::Paint paint = rect->PaintFor(request);
    if (object.HasFlag(OF_FILL) && paint.fillKind == FillKind::White) {
        return 0xFFFFFF;
    }
    if (object.HasFlag(OF_FILL) &&
        (paint.fillKind == FillKind::Colour || paint.fillKind == FillKind::Pattern) &&
        paint.fillColour != kNoColour) {
        return paint.fillColour;
    }
    return paint.lineColour;
}

// Paints an object smaller than two device pixels as a block of its colour over its
// painted area; false when it is larger or has no single colour.
bool PaintAsDot(const PaintEntry& entry, const DrawRequest& request)
{
    const DrawContext& dc = *request.dc;
    const Rect& area = entry.bounds;
    if (area.Width() * dc.ScaleX() >= kDetailPixels ||
        area.Height() * dc.ScaleY() >= kDetailPixels) {
        return false;
    }
    const std::optional<Colour> colour = DotColour(*entry.object, request);
    if (!colour) {
        return false;
    }
    dc.Painter().fillRect(QRectF(area.left, area.top, area.Width(), area.Height()),
                          ToQColor(*colour));
    return true;
}

} // namespace

void PaintView(const View& view, const DrawContext& dc, const PaintOptions& options,
               GeometryCache* cache)
{
    // One list per paint, so that paints on several threads share nothing.
    const std::vector<PaintEntry> order =
        cache != nullptr ? cache->PaintingOrder(view, dc.ToDocument(options.deviceClip))
                         : PaintingOrder(view);
    PaintView(view, order, dc, options);
}

void PaintView(const View& view, const std::vector<PaintEntry>& order, const DrawContext& dc,
               const PaintOptions& options)
{
    QPainter& painter = dc.Painter();
    const Rect& clip = options.deviceClip;
    // Painting is double-buffered (widgets, images, files), so the canvas is filled once
    // under everything instead of around the objects' fill regions: the picture is the
    // same and no region arithmetic is needed.
    painter.save();
    painter.setWorldTransform(QTransform());
    // Without smoothing the fill covers the clip's pixels and no others, also where a
    // fractional pixel ratio puts its edges inside screen pixels.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(clip.left, clip.top, clip.Width(), clip.Height()),
                     ToQColor(options.background));
    painter.restore();
    PaintObjects(view, order, dc, options);
}

void PaintObjects(const View& view, const std::vector<PaintEntry>& order, const DrawContext& dc,
                  const PaintOptions& options)
{
    QPainter& painter = dc.Painter();
    const Rect& clip = options.deviceClip;
    // The raster engine writes thin lines straight into the pixels only under a clip
    // rectangle of the painter's own; without one each run of a line's pixels goes
    // through its general span filling, which costs several times as much. Clipping to
    // the pixels being painted changes none of them. Vector devices keep their output
    // free of clips.
    const bool clipHere = dc.PaintsRaster() && !painter.hasClipping();
    if (clipHere) {
        painter.setWorldTransform(QTransform());
        painter.setClipRect(QRect(clip.left, clip.top, clip.Width(), clip.Height()));
    }
    dc.ApplyWorldTransform();
    const Rect docClip = dc.ToDocument(clip);
    DrawRequest request;
    request.dc = &dc;
    request.scaleX = view.zoomX;
    request.scaleY = view.zoomY;
    request.clip = docClip;
    request.background = options.background;
    request.fromView = options.fromView;
    for (const PaintEntry& entry : order) {
        if (!entry.bounds.Intersects(docClip)) {
            continue;
        }
        request.target = entry.object->frame;
        request.geometry = entry.geometry;
        if (!PaintAsDot(entry, request)) {
            entry.object->Draw(request);
        }
    }
    if (clipHere) {
        painter.setClipping(false);
    }
}

Rect PaintedArea(const View& view)
{
    Rect area;
    bool any = false;
    for (const auto& object : view.objects) {
        const Rect bounds = object->Bounds(0);
        area = any ? area.Spanning(bounds) : bounds;
        any = true;
    }
    return area;
}

} // namespace figures
