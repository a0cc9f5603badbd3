#pragma once

#include "figures/render/geometry.h"

#include <cstdint>
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
struct TrackCreateArgs {
    TrackEvent event = TrackEvent::MouseMove;
    int32_t dx = 0;
    int32_t dy = 0;
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

// The typed record that travels with a message. Each message code has its own record
// type; a class reads the alternative its message defines and passes anything else on
// to its base class.
using MessageArgs = std::variant<std::monostate, BeginCreateArgs*, TrackCreateArgs*, EndCreateArgs*,
                                 BoundsRequest*>;

// The record of type T carried by args, or null when args holds another one.
template <class T> T* MessageRecord(const MessageArgs& args)
{
    T* const* record = std::get_if<T*>(&args);
    return record ? *record : nullptr;
}

} // namespace figures
