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

// The geometry of a view's objects kept between paints by whoever paints the view again
// and again (an editing view, a benchmark), so that an unchanged object does not run its
// shape program at every frame.
//
// Entries are checked against their object at every paint (CBaseCom::CurrentGeometryKey):
// a moved, resized, turned, flipped, adjusted, reprogrammed or re-read object, or a new
// object at a deleted one's address, is built again; an entry whose object left the view is
// dropped. Geometry is in document units, so zoom and scrolling keep it.
//
// Not thread-safe itself: Prepare runs before the paint's threads start, and during the
// paint the entries are only read.
class GeometryCache {
public:
    GeometryCache() = default;
    GeometryCache(const GeometryCache&) = delete;
    GeometryCache& operator=(const GeometryCache&) = delete;

    // Brings the entries of the objects in order whose bounds meet docClip up to date and
    // points their paint entries at them (the others get none). Stale entries are rebuilt
    // on the global thread pool when there are many. Every path is settled before this
    // returns (see the .cpp), so several painters may then read them at once.
    void Prepare(std::vector<PaintEntry>& order, const Rect& docClip);

    // Prepare for some of the view's objects (those a repaint of part of the picture
    // draws, in painting order): the other objects keep their entries, and so do objects
    // that have left the view until DropAllBut or a Prepare of the whole view.
    void PrepareSome(std::vector<PaintEntry>& some, const Rect& docClip);
    // Drops the entries of objects that are not among objects (the view's, in any order).
    void DropAllBut(const std::vector<CBaseCom*>& objects);

    // The entry of an object, found first at the position it had in the list before.
    ObjectGeometry& EntryFor(const CBaseCom* object, size_t position);
    // The object's painted area (Bounds(0)), kept in its entry while the object stays as
    // it was; worked out afresh for classes that cannot say what it depends on.
    static Rect PaintedArea(ObjectGeometry& entry);

    // Entries held, and how many objects the last Prepare had to build.
    size_t Size() const { return entries_.size(); }
    size_t BuiltLastTime() const { return builtLastTime_; }

    void Clear();

private:
    ObjectGeometry& SlotFor(const CBaseCom* object);
    void DropDeparted(const std::vector<PaintEntry>& order);
    void KeepOnly(const std::unordered_set<const CBaseCom*>& present);

    std::unordered_map<const CBaseCom*, std::unique_ptr<ObjectGeometry>> entries_;
    // The entry of each painting position at the last Prepare: an unchanged view finds its
    // entries without hashing.
    std::vector<ObjectGeometry*> byPosition_;
    size_t builtLastTime_ = 0;
};

} // namespace figures
