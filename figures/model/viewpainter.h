#pragma once

#include "figures/render/geometry.h"

#include <cstdint>
#include <limits>
#include <vector>

namespace figures {

class CBaseCom;
class DrawContext;
class GeometryCache;
class View;
struct ObjectGeometry;

struct PaintOptions {
    Rect deviceClip;                // the pixels to paint
    uint32_t background = 0xFFFFFF; // canvas colour
    bool fromView = false;          // painting for an editing view
};

// Paints one view into dc for a clip rectangle: the canvas, then the objects whose
// bounds meet the clip, bottom to top in ascending layer order (equal layers keep their
// list order). The editing view, previews, printing and exports all paint through here.
// Painting changes neither the view nor its objects: threads may paint the same view at
// once, each into its own context. With a cache the objects' geometry is taken from it
// and kept there for the next paint (one thread at a time per cache).
void PaintView(const View& view, const DrawContext& dc, const PaintOptions& options,
               GeometryCache* cache = nullptr);

// An object with the area it paints, in painting order.
struct PaintEntry {
    const CBaseCom* object;
    Rect bounds; // Bounds(0) grown by one unit: the right and bottom edges paint too
    const ObjectGeometry* geometry = nullptr; // its cached geometry, if any
};

// The view's objects in painting order with their painted areas, worked out once for
// several paints of the same unchanged view (the bands of one picture). With a cache, see
// GeometryCache::PaintingOrder.
std::vector<PaintEntry> PaintingOrder(const View& view);

// Painting order is by layer, in list order within a layer. Most drawings keep every
// object on one layer, so the list is checked while it is walked and sorted only when
// needed.
class LayerOrderCheck {
public:
    void Note(int32_t layer)
    {
        inOrder_ = inOrder_ && layer >= last_;
        last_ = layer;
    }
    bool InOrder() const { return inOrder_; }

private:
    int32_t last_ = std::numeric_limits<int32_t>::min();
    bool inOrder_ = true;
};
// Puts entries made in list order into painting order.
void SortByLayer(std::vector<PaintEntry>& order);

// PaintView with the order worked out beforehand.
void PaintView(const View& view, const std::vector<PaintEntry>& order, const DrawContext& dc,
               const PaintOptions& options);

// The objects of order whose areas meet the clip, over what dc already shows: PaintView
// without the canvas fill. Painting an object that is on top of everything in the clip
// over a picture of the rest gives the picture PaintView would.
void PaintObjects(const View& view, const std::vector<PaintEntry>& order, const DrawContext& dc,
                  const PaintOptions& options);

// The area all objects of the view paint (rotation, line widths and shadows included),
// or the empty rectangle when there are none.
Rect PaintedArea(const View& view);

} // namespace figures
