#pragma once

#include "figures/model/objects/objectflags.h"
#include "figures/model/objects/objectgeometry.h"
#include "figures/model/objects/objectmessages.h"
#include "figures/render/devicemapping.h"
#include "figures/render/geometry.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace figures {

class CArchive;
struct Handle;

// The root of the drawing-object classes. An object knows its frame (document units,
// kept normalised), rotation (tenths of a degree about the frame centre), flags, layer
// and jump target; everything of variable length lives in its property record in the
// process-wide data manager, which the object owns by id and releases when it dies.
class CBaseCom {
public:
    static constexpr int32_t kTypeId = TID_BASE;

    CBaseCom();
    virtual ~CBaseCom();
    CBaseCom(const CBaseCom&) = delete;
    CBaseCom& operator=(const CBaseCom&) = delete;

    virtual int32_t TypeId() const { return kTypeId; }
    // The C++ class name, as tools report it.
    virtual std::string_view ClassName() const { return "CBaseCom"; }
    // The type name users see, in UTF-8.
    virtual std::string TypeName() const;

    // Writes the object's record, or reads it: reading releases the old property
    // record and resets the root members first. Raises ArchiveError on bad data.
    virtual void Serialize(CArchive& ar);

    // What a device point hits: a HitCode or the index of an adjust handle (its kind and
    // sub-kind in hit). map is the view's mapping; the object's device frame is its frame
    // mapped with it.
    virtual int32_t HitTest(const DeviceMapping& map, Point devicePoint, HitRecord& hit) const;

    // The message entry point. Classes handle the codes they know and pass every
    // other code to their base class; the root answers OM_UNHANDLED.
    virtual int32_t OnMessage(ObjectMessage code, const MessageArgs& args);

    // What OM_DRAW does: paints the object for the request. Drawing changes nothing, so
    // several threads may draw the same objects at once on their own contexts. The root
    // draws nothing.
    virtual void Draw(const DrawRequest& request) const;
    // What OM_GET_BOUNDS answers: the area the object paints, in document units, grown by
    // the selection margin (see BoundsRequest).
    virtual Rect Bounds(int32_t selectionMargin) const;

    // What Bounds(0) is worked out from beyond CurrentGeometryKey, so that a view's
    // geometry cache can keep the painted area of an object that did not change; false
    // (the default) when a class cannot name it all, and its area is then worked out at
    // every paint. A class that overrides Bounds answers here too.
    virtual bool PaintedAreaFrom(PaintedAreaInputs& inputs) const;

    // What the object's cached geometry must have been built from to be current.
    GeometryKey CurrentGeometryKey() const
    {
        return {serial_, revision_, frame, angle, flags, GeometryVariant()};
    }
    // Fills geometry with the paths the object builds at every paint of its own frame,
    // for a view's geometry cache; false for classes that keep none (the default).
    virtual bool BuildGeometry(ObjectGeometry& geometry) const;

    // The frame, flags and angle as they stand.
    ObjectPose Pose() const { return {frame, flags, angle}; }
    // The pose to draw with for a request: the request's when it places the object (a
    // group member), else the object's own.
    ObjectPose PoseFor(const DrawRequest& request) const
    {
        return request.pose ? *request.pose : Pose();
    }

    // Property record items. SetProperty creates the record on first use; a null
    // source with length 0 removes the item. GetProperty yields an empty span (null
    // data) for a missing item, a flag item or no record.
    bool SetProperty(uint16_t tag, const uint8_t* data, int32_t length);
    bool SetProperty(uint16_t tag, std::span<const uint8_t> data)
    {
        return SetProperty(tag, data.data(), int32_t(data.size()));
    }
    bool RemoveProperty(uint16_t tag) { return SetProperty(tag, nullptr, 0); }
    std::span<const uint8_t> GetProperty(uint16_t tag) const;
    int32_t RecordId() const { return recordId_; }

    bool HasFlag(uint32_t flag) const { return (flags & flag) != 0; }
    int32_t Width() const { return frame.Width(); }
    int32_t Height() const { return frame.Height(); }

    uint32_t flags = 0;
    int32_t reserved = 0; // carried through reading and writing, never interpreted
    Rect frame;
    int32_t layer = 0;
    int32_t angle = 0;
    std::string jumpTarget; // GBK bytes: the name of the view the jump goes to

protected:
    void ReleaseRecord();

    // Where an adjust handle is, in document units: its grid point mapped onto the frame
    // with the flips, turned with the object, and for structure handles and buttons on the
    // frame's boundary pushed outward by three half-sizes (halfSize, document units).
    Point AdjustHandlePoint(const Handle& handle, int32_t halfSize) const;
    // Whether an adjust handle of the kind is shown and hit on this object.
    bool AdjustHandleExists(uint16_t kind, const Rect& deviceFrame) const;
    // Whether standard handle position 0..8 exists on this object.
    virtual bool StandardHandleExists(int position, const Rect& deviceFrame) const;
    // The cursor for a hit (OM_SET_CURSOR mode 1); classes refine it.
    virtual CursorShape CursorFor(const HitRecord& hit) const;
    virtual const char* TooltipFor(const HitRecord& hit) const;
    // Draws the selection handles in device pixels.
    void DrawMarks(const DrawRequest& request) const;
    // The rotation and resize drags every object shares, measured from the pose the
    // drag record noted when the drag began; false for other handles.
    bool TrackStandardHandle(const HandleDragRecord& drag);
    // The area of the rotated frame, grown by the selection margin.
    Rect RootBounds(int32_t selectionMargin) const;
    // What a class builds its cached geometry from beyond the root members and the
    // property record; 0 by default.
    virtual int32_t GeometryVariant() const { return 0; }
    // The geometry drawing may use for the request: the request's cached geometry when it
    // was built for this object as it stands, at its own frame and pose; null otherwise.
    const ObjectGeometry* GeometryFor(const DrawRequest& request) const;

private:
    int32_t recordId_ = 0;
    const uint64_t serial_;
    uint64_t revision_ = 0; // counts changes of the property record
};

} // namespace figures
