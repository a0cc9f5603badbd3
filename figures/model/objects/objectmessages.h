#pragma once

#include "figures/model/handles/objecthandles.h"
#include "figures/model/objects/objectgeometry.h"
#include "figures/render/geometry.h"
#include "figures/render/shapes/adjust/adjustroutines.h"

#include <QPainterPath>

#include <array>
#include <cstdint>
#include <optional>
#include <variant>

namespace figures {

// The numbered messages through which the view creates, draws, hit-tests and drags
// objects. The numbers are part of the component's documented protocol.
enum ObjectMessage : int32_t {
    OM_CREATE_CURSOR = 10001,
    OM_BEGIN_CREATE = 10002,
    OM_TRACK_CREATE = 10003,
    OM_END_CREATE = 10004,
    OM_DRAW = 10005,
    OM_MOUSE_DOWN = 10006,
    OM_SET_CURSOR = 10007,
    OM_GET_BOUNDS = 10008,
    OM_DRAW_MARKS = 10009,
    OM_MAKE_OUTLINE = 10010,
    OM_BEGIN_HANDLE_DRAG = 10011,
    OM_END_HANDLE_DRAG = 10012,
    OM_TRACK_HANDLE_DRAG = 10013,
    OM_FILL_HOOK = 10014,
    OM_AFTER_FILL = 10015,
    OM_GET_REGION = 10016,
    OM_DOUBLE_CLICK = 10017,
};

// Results beyond plain 0 and -1.
enum ObjectMessageResult : int32_t {
    OM_CONTINUE = 11001,    // creation goes on
    OM_NOT_TRACKED = 11002, // the mouse message is not one creation tracks
    OM_UNHANDLED = 13002,   // no class on the way to the root knows the message
    OM_CAPTURE = 13006,
    OM_MOVE = 13007,
    OM_HANDLE_DRAG = 13008,
};

// OM_BEGIN_CREATE: the pressed point in document units.
struct BeginCreateArgs {
    Point start;
};

// The mouse events that creation tracking distinguishes.
enum class TrackEvent { MouseMove, TimerTick, LeftButtonUp, Other };

// OM_TRACK_CREATE: the event and the drag offset from the start point, in document units.
// The object answers with the outline to show (document units, frame at (0, 0)), or none
// while it has no extent yet.
struct TrackCreateArgs {
    TrackCreateArgs(TrackEvent e = TrackEvent::MouseMove, int32_t x = 0, int32_t y = 0)
        : event(e), dx(x), dy(y)
    {}
    TrackEvent event = TrackEvent::MouseMove;
    int32_t dx = 0;
    int32_t dy = 0;
    QPainterPath outline;
    bool hasOutline = false;
};

// OM_END_CREATE.
struct EndCreateArgs {
    bool success = true;
};

// OM_GET_BOUNDS: receives the area the object paints, in document units.
// selectionMargin is the document length of 20 device pixels when the object is
// selected in a view (its handles paint beyond the frame), else 0.
struct BoundsRequest {
    Rect bounds;
    int32_t selectionMargin = 0;
};

class DrawContext;
class DeviceMapping;
class ObjectUi;

// How an object lies: its frame (document units), its flags (drawing reads the flips)
// and its angle (tenths of a degree).
struct ObjectPose {
    Rect frame;
    uint32_t flags = 0;
    int32_t angle = 0;
    friend bool operator==(const ObjectPose&, const ObjectPose&) = default;
};

// OM_DRAW, OM_DRAW_MARKS, OM_AFTER_FILL: where and how an object draws. The object
// draws its frame at target (document units; moving target moves the drawing: shadows,
// previews and group members use this) with its own width, height, flips and angle, or
// those of pose when it is set.
//
// Everything that differs between passes travels here, so that drawing is a const
// operation of the object: a group places its members through pose instead of moving
// them, and an object painting its own shadow says so through monochrome.
struct DrawRequest {
    const DrawContext* dc = nullptr;
    Rect target;
    int32_t scaleX = 1000; // per mille, passed on to picture drawing
    int32_t scaleY = 1000;
    Rect clip;                      // the area that needs painting, document units
    uint32_t background = 0xFFFFFF; // canvas colour behind the objects
    bool fromView = false;          // painted by an editing view (not a preview or export)
    // The frame size, flips and angle to draw with instead of the object's own: a group
    // member drawn where its group puts it. Unset, the object draws as it is.
    std::optional<ObjectPose> pose;
    // Set while an object draws itself again as its own shadow: every colour it paints
    // is this one, its fill is a solid fill, and it casts no shadow of its own.
    std::optional<uint32_t> monochrome;
    // The object's geometry kept by the painter between paints, or null: objects use it
    // only when it was built for them as they stand (CBaseCom::GeometryFor).
    const ObjectGeometry* geometry = nullptr;
};

// OM_FILL_HOOK and OM_GET_REGION: the object's fill region or silhouette for the request,
// in device pixels. The result is 0 with found set, or -1 when the object has none.
struct RegionRequest {
    const DrawRequest* request = nullptr;
    QPainterPath region;
    bool found = false;
};

// OM_MAKE_OUTLINE: the outline shown while the object is dragged, in document units
// with the frame's top-left corner at (0, 0).
struct OutlineRequest {
    QPainterPath outline;
    bool found = false;
};

// OM_SET_CURSOR and OM_MOUSE_DOWN: a mouse point in device pixels of the view whose
// mapping is given. The object fills in what the point hits and, by mode, the cursor and
// the tooltip; objects that need a dialog (a line's cap buttons) ask ui.
struct HitRecord {
    const DeviceMapping* map = nullptr;
    Point devicePoint;
    int32_t mode = 0; // OM_SET_CURSOR: 0 hit test only, 1 also the cursor, 2 also the tooltip
    ObjectUi* ui = nullptr;
    int32_t hitCode = -1; // out: a HitCode, or the index of an adjust handle
    uint16_t kind = 0;    // out: the adjust handle's kind and cursor sub-kind
    uint16_t subKind = 0;
    CursorShape cursor = CursorShape::None; // out
    const char* tooltip = "";               // out: UTF-8, empty for none
};

// OM_BEGIN_HANDLE_DRAG, OM_TRACK_HANDLE_DRAG, OM_END_HANDLE_DRAG: the handle (hit code or
// adjust handle index) and the total mouse offset since the press, in document units.
// Tracking returns the new drag outline (document units, frame at (0, 0)).
//
// The caller keeps one record for the whole drag and passes it to all three messages:
// the object notes in it what the drag started from, so that every move is measured
// against the same start and two drags never share anything.
struct HandleDragRecord {
    int32_t handle = 0;
    int32_t dx = 0;
    int32_t dy = 0;
    QPainterPath outline;
    bool hasOutline = false;
    bool success = true;         // OM_END_HANDLE_DRAG: false when the drag was cancelled
    ObjectPose start;            // set by OM_BEGIN_HANDLE_DRAG: the object as it was
    AdjustDragState adjust;      // a shape's adjust routine between begin and end
    std::array<Point, 2> ends{}; // a line's end points when the drag began
};

// OM_DOUBLE_CLICK: where the double click happened and whether text may be edited in
// place; ui runs the editing.
struct DoubleClickRecord {
    const DeviceMapping* map = nullptr;
    Point devicePoint;
    bool textEditAllowed = true;
    ObjectUi* ui = nullptr;
};

// The typed record that travels with a message. Each message code has its own record
// type; a class reads the alternative its message defines and passes anything else on
// to its base class.
using MessageArgs = std::variant<std::monostate, BeginCreateArgs*, TrackCreateArgs*, EndCreateArgs*,
                                 BoundsRequest*, DrawRequest*, RegionRequest*, OutlineRequest*,
                                 HitRecord*, HandleDragRecord*, DoubleClickRecord*>;

// The record of type T carried by args, or null when args holds another one.
template <class T> T* MessageRecord(const MessageArgs& args)
{
    T* const* record = std::get_if<T*>(&args);
    return record ? *record : nullptr;
}

} // namespace figures
