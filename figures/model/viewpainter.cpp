#include "figures/model/viewpainter.h"

#include "figures/model/view.h"
#include "figures/render/colour.h"
#include "figures/render/drawcontext.h"

#include <algorithm>
#include <vector>

namespace figures {

std::vector<PaintEntry> PaintingOrder(const View& view)
{
    std::vector<PaintEntry> order;
    order.reserve(view.objects.size());
    for (const auto& object : view.objects) {
        // Bounds are inclusive of their right and bottom edge for thin lines, so grow by
        // one unit before testing.
        order.push_back({object.get(), object->Bounds(0).Inflated(1)});
    }
    std::stable_sort(order.begin(), order.end(), [](const PaintEntry& a, const PaintEntry& b) {
        return a.object->layer < b.object->layer;
    });
    return order;
}

void PaintView(const View& view, const DrawContext& dc, const PaintOptions& options)
{
    // One list per paint, so that paints on several threads share nothing.
    PaintView(view, PaintingOrder(view), dc, options);
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
    painter.fillRect(QRect(clip.left, clip.top, clip.Width(), clip.Height()),
                     ToQColor(options.background));
    painter.restore();
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
        entry.object->Draw(request);
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
