#pragma once

#include "figures/model/objects/objectgeometry.h"
#include "figures/model/viewpainter.h"
#include "figures/render/geometry.h"

#include <cstddef>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace figures {

class CBaseCom;
class View;

// The geometry of a view's objects kept between paints by whoever paints the view again
// and again (an editing view, a benchmark), so that an unchanged object does not run its
// shape program at every frame.
//
// Entries are checked against their object at every paint (CBaseCom::CurrentGeometryKey):
// a moved, resized, turned, flipped, adjusted, reprogrammed or re-read object, or a new
// object at a deleted one's address, is built again; an entry whose object left the view is
// dropped. Geometry is in document units, so zoom and scrolling keep it.
//
// Not thread-safe itself: PaintingOrder runs before the paint's threads start, and during the
// paint the entries are only read.
class GeometryCache {
public:
    GeometryCache() = default;
    GeometryCache(const GeometryCache&) = delete;
    GeometryCache& operator=(const GeometryCache&) = delete;

    // The view's objects in painting order, as figures::PaintingOrder gives them, with the
    // painted areas of unchanged objects taken from their entries. The entries of the
    // objects whose area meets docClip are brought up to date and their paint entries
    // point at them (the others get none); stale entries are rebuilt on the global thread
    // pool when there are many. Every path is settled before this returns (see the .cpp),
    // so several painters may then read them at once. Entries of objects that left the
    // view are dropped.
    //
    // One pass over the objects does it all: a repaint of a large unchanged drawing is
    // this walk and the painting, and the walk runs before the painting threads start.
    std::vector<PaintEntry> PaintingOrder(const View& view, const Rect& docClip);

    // The same for some of the view's objects (those a repaint of part of the picture
    // draws, in painting order): the other objects keep their entries, and so do objects
    // that have left the view until DropAllBut or a PaintingOrder of the whole view.
    void PrepareSome(std::vector<PaintEntry>& some, const Rect& docClip);
    // Drops the entries of objects that are not among objects (the view's, in any order).
    void DropAllBut(const std::vector<CBaseCom*>& objects);

    // Entries held, and how many objects the last PaintingOrder or PrepareSome had to build.
    size_t Size() const { return entries_.size(); }
    size_t BuiltLastTime() const { return builtLastTime_; }

    void Clear();

private:
    // The entry of an object, found first at the position it had in the list before.
    ObjectGeometry& EntryFor(const CBaseCom* object, size_t position);
    ObjectGeometry& SlotFor(const CBaseCom* object);
    // The object's painted area (Bounds(0)), kept in its entry while the object stays as
    // it was (key: the object's current key); worked out afresh for classes that cannot
    // say what it depends on.
    static Rect PaintedArea(ObjectGeometry& entry, const GeometryKey& key);
    void DropDeparted(const std::vector<PaintEntry>& order);
    void KeepOnly(const std::unordered_set<const CBaseCom*>& present);

    std::unordered_map<const CBaseCom*, std::unique_ptr<ObjectGeometry>> entries_;
    // The entry of each list position at the last PaintingOrder: an unchanged view finds its
    // entries without hashing.
    std::vector<ObjectGeometry*> byPosition_;
    size_t builtLastTime_ = 0;
};

} // namespace figures
