#include "figures/view/spatialindex.h"

#include "figures/model/objects/cbasecom.h"
#include "figures/model/view.h"

#include <algorithm>
#include <cmath>

namespace figures {

namespace {

// An object covering more cells than this is kept in one list that every question
// walks: a page-sized background then costs one entry instead of thousands.
constexpr int kMaxCellsPerObject = 64;
// About this many objects share a cell on average, and the grid never gets more cells
// than this, whatever the spread of the drawing.
constexpr double kObjectsPerCell = 2.0;
constexpr int64_t kMaxCells = 1 << 20;

Rect PaintedBounds(const CBaseCom& object)
{
    BoundsRequest request;
    const_cast<CBaseCom&>(object).OnMessage(OM_GET_BOUNDS, &request);
    // Thin lines paint on their right and bottom edge too.
    return request.bounds.Normalised().Inflated(1);
}

int Clamp(int64_t v, int hi)
{
    return int(std::clamp<int64_t>(v, 0, hi));
}

} // namespace

void SpatialIndex::Clear()
{
    order_.clear();
    entries_.clear();
    ranks_.clear();
    cells_.clear();
    large_.clear();
    columns_ = rows_ = 0;
    laidOutFor_ = 0;
}

void SpatialIndex::Rebuild(const View& view)
{
    Clear();
    order_.reserve(view.objects.size());
    for (const auto& object : view.objects) {
        order_.push_back(object.get());
    }
    std::stable_sort(order_.begin(), order_.end(),
                     [](const CBaseCom* a, const CBaseCom* b) { return a->layer < b->layer; });
    entries_.resize(order_.size());
    Rect extent;
    bool any = false;
    for (size_t i = 0; i < order_.size(); ++i) {
        ranks_[order_[i]] = int(i);
        entries_[i].bounds = PaintedBounds(*order_[i]);
        extent = any ? extent.Spanning(entries_[i].bounds) : entries_[i].bounds;
        any = true;
    }
    // Cells are squares sized so that the drawing's area holds about one cell per
    // kObjectsPerCell objects. Cells at the border reach to infinity (CellsOf clamps), so
    // objects moved outside the extent later stay findable.
    const double width = std::max<int64_t>(1, int64_t(extent.right) - extent.left);
    const double height = std::max<int64_t>(1, int64_t(extent.bottom) - extent.top);
    const double wanted =
        std::clamp(double(order_.size()) / kObjectsPerCell, 1.0, double(kMaxCells));
    cellSize_ = int32_t(std::clamp(std::ceil(std::sqrt(width * height / wanted)), 16.0, 1e9));
    origin_ = {extent.left, extent.top};
    columns_ = int(std::min<int64_t>(kMaxCells, int64_t(width / cellSize_) + 1));
    rows_ = int(std::clamp<int64_t>(int64_t(height / cellSize_) + 1, 1, kMaxCells / columns_));
    cells_.assign(size_t(columns_) * size_t(rows_), {});
    laidOutFor_ = order_.size();
    for (size_t i = 0; i < order_.size(); ++i) {
        Insert(int(i));
    }
}

SpatialIndex::CellRange SpatialIndex::CellsOf(const Rect& r) const
{
    if (columns_ == 0) {
        return {};
    }
    const auto column = [&](int32_t x) {
        return Clamp((int64_t(x) - origin_.x) / cellSize_ - (x < origin_.x ? 1 : 0), columns_ - 1);
    };
    const auto row = [&](int32_t y) {
        return Clamp((int64_t(y) - origin_.y) / cellSize_ - (y < origin_.y ? 1 : 0), rows_ - 1);
    };
    return {column(r.left), row(r.top), column(r.right), row(r.bottom)};
}

void SpatialIndex::Insert(int rank)
{
    Entry& entry = entries_[size_t(rank)];
    entry.cells = CellsOf(entry.bounds);
    const CellRange& c = entry.cells;
    const int64_t count = int64_t(c.x1 - c.x0 + 1) * (c.y1 - c.y0 + 1);
    entry.large = count > kMaxCellsPerObject;
    if (entry.large) {
        large_.push_back(rank);
        return;
    }
    for (int y = c.y0; y <= c.y1; ++y) {
        for (int x = c.x0; x <= c.x1; ++x) {
            cells_[size_t(y) * size_t(columns_) + size_t(x)].push_back(rank);
        }
    }
}

void SpatialIndex::Remove(int rank)
{
    const Entry& entry = entries_[size_t(rank)];
    const auto drop = [rank](std::vector<int>& list) {
        list.erase(std::remove(list.begin(), list.end(), rank), list.end());
    };
    if (entry.large) {
        drop(large_);
        return;
    }
    const CellRange& c = entry.cells;
    for (int y = c.y0; y <= c.y1; ++y) {
        for (int x = c.x0; x <= c.x1; ++x) {
            drop(cells_[size_t(y) * size_t(columns_) + size_t(x)]);
        }
    }
}

bool SpatialIndex::Update(const CBaseCom* object)
{
    const int rank = Rank(object);
    if (rank < 0) {
        return false;
    }
    Remove(rank);
    entries_[size_t(rank)].bounds = PaintedBounds(*object);
    Insert(rank);
    return true;
}

// A grid laid out for n objects stays good up to about 2n: the cells then hold twice
// their intended share. Beyond that, and for an object that would take a rank below
// others, a rebuild costs no more in the long run than the adds that led to it.
void SpatialIndex::Added(const View& view, const CBaseCom* object)
{
    CBaseCom* appended = view.objects.empty() ? nullptr : view.objects.back().get();
    const bool last = appended != nullptr && appended == object;
    const bool onTop = order_.empty() || order_.back()->layer <= object->layer;
    const bool gridFits = columns_ > 0 && order_.size() < 2 * laidOutFor_ + 16;
    if (!onTop || !last || !gridFits || Rank(object) >= 0 ||
        order_.size() + 1 != view.objects.size()) {
        Rebuild(view);
        return;
    }
    const int rank = int(order_.size());
    order_.push_back(appended);
    entries_.push_back({PaintedBounds(*object), {}, false});
    ranks_[object] = rank;
    Insert(rank);
}

int SpatialIndex::Rank(const CBaseCom* object) const
{
    const auto it = ranks_.find(object);
    return it == ranks_.end() ? -1 : it->second;
}

void SpatialIndex::Gather(const Rect& area, std::vector<int>& ranks) const
{
    ranks.clear();
    ranks.insert(ranks.end(), large_.begin(), large_.end());
    const CellRange c = CellsOf(area);
    for (int y = c.y0; y <= c.y1; ++y) {
        for (int x = c.x0; x <= c.x1; ++x) {
            const auto& cell = cells_[size_t(y) * size_t(columns_) + size_t(x)];
            ranks.insert(ranks.end(), cell.begin(), cell.end());
        }
    }
    std::sort(ranks.begin(), ranks.end());
    ranks.erase(std::unique(ranks.begin(), ranks.end()), ranks.end());
}

void SpatialIndex::ObjectsAt(Point doc, int32_t margin, std::vector<CBaseCom*>& out) const
{
    out.clear();
    Gather(Rect{doc.x - margin, doc.y - margin, doc.x + margin + 1, doc.y + margin + 1}, scratch_);
    for (auto it = scratch_.rbegin(); it != scratch_.rend(); ++it) {
        if (entries_[size_t(*it)].bounds.Inflated(margin).Contains(doc)) {
            out.push_back(order_[size_t(*it)]);
        }
    }
}

void SpatialIndex::ObjectsMeeting(const Rect& area, int32_t margin,
                                  std::vector<CBaseCom*>& out) const
{
    out.clear();
    Gather(area.Inflated(margin), scratch_);
    for (int rank : scratch_) {
        if (entries_[size_t(rank)].bounds.Inflated(margin).Intersects(area)) {
            out.push_back(order_[size_t(rank)]);
        }
    }
}

} // namespace figures
