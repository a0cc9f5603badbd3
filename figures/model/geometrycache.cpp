#include "figures/model/geometrycache.h"

#include "figures/model/objects/cbasecom.h"
#include "figures/model/poolwork.h"
#include "figures/model/view.h"

#include <QImage>
#include <QPainter>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <unordered_set>

namespace figures {

namespace {

// Below this many stale entries the pool's start-up costs more than it saves.
constexpr size_t kParallelFrom = 256;

// Qt works out some of a path's derived data on first use and keeps it in the path's
// shared data: its bounds, and the vertex arrays with their control-point box that the
// paint engines read. Bands paint one cached path from several threads at once, so each
// path is filled and stroked once here, by the one thread that built it, on a one-pixel
// image under a scaling transform as the bands use: afterwards painting only reads it.
class PathSettler {
public:
    PathSettler() : image_(1, 1, QImage::Format_RGB32), painter_(&image_)
    {
        painter_.setRenderHint(QPainter::Antialiasing, true);
        painter_.setWorldTransform(QTransform::fromScale(0.5, 0.5));
        painter_.setPen(QPen(Qt::black, 0));
    }

    void Settle(const QPainterPath& path)
    {
        if (path.isEmpty()) {
            return;
        }
        path.boundingRect();
        path.controlPointRect();
        painter_.fillPath(path, brush_);
        painter_.strokePath(path, painter_.pen());
    }

private:
    QImage image_;
    QPainter painter_;
    QBrush brush_{Qt::black};
};

void Build(ObjectGeometry& entry, PathSettler& settler)
{
    entry.built = entry.object->BuildGeometry(entry);
    entry.key = entry.object->CurrentGeometryKey();
    if (entry.built) {
        settler.Settle(entry.outline);
        settler.Settle(entry.silhouette);
    }
}

// Builds the entries on the global thread pool and the calling thread; each entry is built
// by exactly one of them.
void BuildAll(const std::vector<ObjectGeometry*>& stale)
{
    const int threads = std::max(1, QThreadPool::globalInstance()->maxThreadCount());
    if (stale.size() < kParallelFrom || threads == 1) {
        PathSettler settler;
        for (ObjectGeometry* entry : stale) {
            Build(*entry, settler);
        }
        return;
    }
    constexpr size_t kChunk = 64;
    std::atomic<size_t> next{0};
    const auto work = [&] {
        PathSettler settler;
        for (size_t from = next.fetch_add(kChunk); from < stale.size();
             from = next.fetch_add(kChunk)) {
            const size_t to = std::min(stale.size(), from + kChunk);
            for (size_t i = from; i < to; ++i) {
                Build(*stale[i], settler);
            }
        }
    };
    RunOnPoolAndHere(threads - 1, work);
}

} // namespace

ObjectGeometry& GeometryCache::EntryFor(const CBaseCom* object, size_t position)
{
    if (position < byPosition_.size() && byPosition_[position] != nullptr &&
        byPosition_[position]->object == object) {
        return *byPosition_[position];
    }
    ObjectGeometry& entry = SlotFor(object);
    if (position >= byPosition_.size()) {
        byPosition_.resize(position + 1, nullptr);
    }
    byPosition_[position] = &entry;
    return entry;
}

ObjectGeometry& GeometryCache::SlotFor(const CBaseCom* object)
{
    std::unique_ptr<ObjectGeometry>& slot = entries_[object];
    if (!slot) {
        slot = std::make_unique<ObjectGeometry>();
        slot->object = object;
    }
    return *slot;
}

Rect GeometryCache::PaintedArea(ObjectGeometry& entry, const GeometryKey& key)
{
    PaintedAreaInputs inputs{};
    if (!entry.object->PaintedAreaFrom(inputs)) {
        return entry.object->Bounds(0);
    }
    if (!entry.areaKnown || entry.areaKey != key || entry.areaInputs != inputs) {
        entry.area = entry.object->Bounds(0);
        entry.areaKey = key;
        entry.areaInputs = inputs;
        entry.areaKnown = true;
    }
    return entry.area;
}

std::vector<PaintEntry> GeometryCache::PaintingOrder(const View& view, const Rect& docClip)
{
    std::vector<PaintEntry> order;
    order.reserve(view.objects.size());
    std::vector<ObjectGeometry*> stale;
    LayerOrderCheck layers;
    for (const auto& object : view.objects) {
        ObjectGeometry& entry = EntryFor(object.get(), order.size());
        // One key for the area and the geometry: working it out reads the object, which a
        // large drawing has long pushed out of the processor's caches.
        const GeometryKey key = object->CurrentGeometryKey();
        PaintEntry& paint = order.emplace_back(object.get(), PaintedArea(entry, key).Inflated(1));
        if (paint.bounds.Intersects(docClip)) {
            // A new key means a changed object or a new one at a deleted one's address.
            if (entry.key != key) {
                stale.push_back(&entry);
            }
            paint.geometry = &entry;
        }
        layers.Note(object->layer);
    }
    byPosition_.resize(order.size(), nullptr);
    BuildAll(stale);
    builtLastTime_ = stale.size();
    if (entries_.size() > order.size()) {
        DropDeparted(order);
    }
    if (!layers.InOrder()) {
        SortByLayer(order);
    }
    return order;
}

void GeometryCache::PrepareSome(std::vector<PaintEntry>& some, const Rect& docClip)
{
    std::vector<ObjectGeometry*> stale;
    for (PaintEntry& paint : some) {
        paint.geometry = nullptr;
        if (!paint.bounds.Intersects(docClip)) {
            continue;
        }
        ObjectGeometry& entry = SlotFor(paint.object);
        if (entry.key != paint.object->CurrentGeometryKey()) {
            stale.push_back(&entry);
        }
        paint.geometry = &entry;
    }
    BuildAll(stale);
    builtLastTime_ = stale.size();
}

void GeometryCache::DropAllBut(const std::vector<CBaseCom*>& objects)
{
    KeepOnly({objects.begin(), objects.end()});
}

// Only objects of the view can have entries, so more entries than objects means some
// objects left it.
void GeometryCache::DropDeparted(const std::vector<PaintEntry>& order)
{
    std::unordered_set<const CBaseCom*> present;
    present.reserve(order.size());
    for (const PaintEntry& paint : order) {
        present.insert(paint.object);
    }
    KeepOnly(present);
}

void GeometryCache::KeepOnly(const std::unordered_set<const CBaseCom*>& present)
{
    std::erase_if(entries_, [&](const auto& item) { return !present.contains(item.first); });
    // Positions may point at dropped entries; they are found again by object.
    std::fill(byPosition_.begin(), byPosition_.end(), nullptr);
}

void GeometryCache::Clear()
{
    entries_.clear();
    byPosition_.clear();
    builtLastTime_ = 0;
}

} // namespace figures
