#include "bench/benchscene.h"

#include "figures/model/objects/crichgraph.h"
#include "figures/model/objects/crichline.h"

#include <cmath>

namespace bench {

using namespace figures;

namespace {

constexpr int32_t kSceneWidth = 5080;
constexpr int32_t kSceneHeight = 2857;

void AddShape(View& view, int i, const Rect& cell)
{
    static constexpr int32_t kEntries[] = {kRectangleEntry, kEllipseEntry, kStarEntry,
                                           kArrowEntry};
    view.AddNewShape(kEntries[size_t(i % 5)], &cell);
    auto& shape = static_cast<CRichGraph&>(*view.objects.back());
    shape.fillKind = i % 3 == 0 ? FillKind::Pattern : FillKind::Colour;
    shape.hatchStyle = i % 54;
    shape.fillColour = uint32_t(0x102030 * (i % 7));
    shape.lineColour = uint32_t(0x400000 * (i % 3));
    shape.angle = (i / 5) % 5 == 0 ? (i * 37) % 3600 : 0;
}

void AddLine(View& view, const Rect& cell)
{
    auto line = std::make_unique<CRichLine>();
    line->SetEndPoints({cell.left, cell.bottom}, {cell.right, cell.top});
    view.Append(std::move(line));
}

} // namespace

void FillMixedScene(View& view, int count)
{
    // Square-ish cells whose number covers count at the window's aspect ratio.
    const int columns = std::max(1, int(std::ceil(std::sqrt(count * double(kSceneWidth) /
                                                            kSceneHeight))));
    const int rows = (count + columns - 1) / columns;
    const int32_t cellWidth = kSceneWidth / columns;
    const int32_t cellHeight = std::max(1, kSceneHeight / std::max(1, rows));
    view.objects.reserve(view.objects.size() + size_t(count));
    for (int i = 0; i < count; ++i) {
        const int32_t x = (i % columns) * cellWidth;
        const int32_t y = (i / columns) * cellHeight;
        // A tenth of the cell stays free, so neighbours touch only when turned.
        const Rect cell{x, y, x + std::max(1, cellWidth * 9 / 10),
                        y + std::max(1, cellHeight * 9 / 10)};
        if (i % 5 == 4) {
            AddLine(view, cell);
        } else {
            AddShape(view, i, cell);
        }
    }
}

} // namespace bench
