#include "figures/model/view.h"

#include "figures/model/objects/crichgraph.h"

#include <algorithm>

namespace figures {

namespace {
// Room beyond the rightmost object so that the user can draw past it.
constexpr int32_t kExtentMargin = 400;
constexpr uint32_t kWhite = 0xFFFFFF;
} // namespace

void View::ResetView()
{
    objects.clear();
    zoomX = kDefaultZoom;
    zoomY = kDefaultZoom;
    name.clear();
    modified = false;
}

CBaseCom* View::ObjectByIndex(int index) const
{
    if (index < 0 || index >= ObjectCount()) {
        return nullptr;
    }
    return objects[size_t(index)].get();
}

int View::IndexOf(const CBaseCom* object) const
{
    const auto it = std::find_if(objects.begin(), objects.end(),
                                 [object](const auto& o) { return o.get() == object; });
    return it == objects.end() ? -1 : int(it - objects.begin());
}

int View::AddNewShape(int32_t catalogueIndex, const Rect* frame)
{
    auto shape = std::make_unique<CRichGraph>(catalogueIndex);
    shape->frame = frame ? *frame : Rect{10, 10, 110, 110};
    shape->fillKind = FillKind::Colour;
    shape->fillColour = kWhite;
    objects.push_back(std::move(shape));
    modified = true;
    return ObjectCount() - 1;
}

Rect View::Extent() const
{
    Rect extent;
    for (const auto& object : objects) {
        extent = extent.United(object->frame);
    }
    if (extent.right > 0) {
        extent.right += kExtentMargin;
    }
    return extent;
}

Rect View::ExtentWith(const Rect& extent, const Rect& frame)
{
    // Only a positive right edge carries the margin, so the frames' union is recovered
    // exactly.
    Rect frames = extent;
    if (frames.right > 0) {
        frames.right -= kExtentMargin;
    }
    frames = frames.United(frame);
    if (frames.right > 0) {
        frames.right += kExtentMargin;
    }
    return frames;
}

} // namespace figures
