#pragma once

#include "figures/render/geometry.h"

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace figures {

class CBaseCom;
class View;

// The objects of one view in painting order, with a uniform grid over their painted
// bounds, so that "which objects may be under this point" and "which objects may meet
// this strip" are answered from a few grid cells instead of a walk over every object.
//
// The answers are candidates: every object whose bounds (as last read, grown by the
// margin asked for) contain the point is among them, in painting order, and the caller
// makes the exact test. The index must be told of every change of an object's frame,
// angle or line (Update) and of every change of the object list or of layers (Rebuild).
class SpatialIndex {
public:
    // Reads the view's objects: painting order is ascending layer, equal layers in list
    // order.
    void Rebuild(const View& view);
    void Clear();
    // Reads one object's bounds again; false when the object is not indexed.
    bool Update(const CBaseCom* object);
    // Takes in the object just appended to the view's list. One that paints on top of
    // everything indexed (its layer is not below the topmost's) is added in place, in
    // time independent of the drawing's size; otherwise, or when the drawing has grown
    // well past what the grid was laid out for, the index is rebuilt from the view.
    void Added(const View& view, const CBaseCom* object);

    // Objects whose bounds grown by margin contain the point, topmost first.
    void ObjectsAt(Point doc, int32_t margin, std::vector<CBaseCom*>& out) const;
    // Objects whose bounds grown by margin meet the rectangle, bottom to top.
    void ObjectsMeeting(const Rect& area, int32_t margin, std::vector<CBaseCom*>& out) const;

    const std::vector<CBaseCom*>& ZOrder() const { return order_; }
    // Position in painting order, -1 for an object not in the view.
    int Rank(const CBaseCom* object) const;
    int Count() const { return int(order_.size()); }

private:
    struct CellRange {
        int x0 = 0, y0 = 0, x1 = -1, y1 = -1; // inclusive; empty when x1 < x0
    };
    struct Entry {
        Rect bounds;
        CellRange cells;
        bool large = false; // kept in large_ instead of the cells
    };

    CellRange CellsOf(const Rect& r) const;
    void Insert(int rank);
    void Remove(int rank);
    // Ranks of candidates in the cells of area, sorted ascending and unique.
    void Gather(const Rect& area, std::vector<int>& ranks) const;

    std::vector<CBaseCom*> order_;
    std::vector<Entry> entries_;
    std::unordered_map<const CBaseCom*, int> ranks_;
    std::vector<std::vector<int>> cells_;
    std::vector<int> large_;
    Point origin_;
    int32_t cellSize_ = 1;
    int columns_ = 0;
    int rows_ = 0;
    size_t laidOutFor_ = 0; // object count the grid's cell size was chosen for
    mutable std::vector<int> scratch_;
};

} // namespace figures
