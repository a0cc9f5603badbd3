#include "figures/model/viewpainter.h"

#include "figures/model/view.h"
#include "figures/render/colour.h"
#include "figures/render/drawcontext.h"

#include <algorithm>
#include <vector>

namespace figures {

namespace {

// The objects in painting order. The list is kept between paints so that painting does
// not allocate once it has grown to the view's size.
const std::vector<CBaseCom*>& ZOrder(const View& view)
{
    static std::vector<CBaseCom*> order;
    order.clear();
    for (const auto& object : view.objects) {
        order.push_back(object.get());
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const CBaseCom* a, const CBaseCom* b) { return a->layer < b->layer; });
    return order;
}

Rect BoundsOf(CBaseCom& object)
{
    BoundsRequest bounds;
    object.OnMessage(OM_GET_BOUNDS, &bounds);
    return bounds.bounds;
}

} // namespace

void PaintView(const View& view, const DrawContext& dc, const PaintOptions& options)
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
    for (CBaseCom* object : ZOrder(view)) {
        // Bounds are inclusive of their right and bottom edge for thin lines, so grow by
        // one unit before testing.
        if (!BoundsOf(*object).Inflated(1).Intersects(docClip)) {
            continue;
        }
        request.target = object->frame;
        object->OnMessage(OM_DRAW, &request);
    }
}

Rect PaintedArea(const View& view)
{
    Rect area;
    bool any = false;
    for (const auto& object : view.objects) {
        const Rect bounds = BoundsOf(*object);
        area = any ? area.Spanning(bounds) : bounds;
        any = true;
    }
    return area;
}

} // namespace figures
