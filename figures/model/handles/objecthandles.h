#pragma once

#include "figures/render/geometry.h"

#include <cstdint>

namespace figures {

// Every handle is a square of this half-size in device pixels.
constexpr int32_t kHandleHalfSize = 4;
// A frame is large when its device width or height reaches this many pixels; only large
// frames show edge, rotation and structure handles.
constexpr int32_t kLargeFramePixels = 20;
// Resizing never makes a frame narrower or lower than this (document units).
constexpr int32_t kMinFrameExtent = 15;

// What a point hits on an object: an adjust handle index (0 and above) or one of these.
enum HitCode : int32_t {
    HIT_MISS = -1,
    HIT_BODY = -2,
    HIT_TOP_LEFT = -3,
    HIT_TOP_RIGHT = -4,
    HIT_BOTTOM_LEFT = -5,
    HIT_BOTTOM_RIGHT = -6,
    HIT_TOP = -7,
    HIT_BOTTOM = -8,
    HIT_LEFT = -9,
    HIT_RIGHT = -10,
    HIT_ROTATE = -11,
};

inline bool IsResizeHit(int32_t code)
{
    return code <= HIT_TOP_LEFT && code >= HIT_RIGHT;
}

// The cursors objects ask for; the view turns them into QCursors.
enum class CursorShape {
    None, // not handled: the view keeps its own
    Arrow,
    Cross,
    SizeAll,
    SizeWE,
    SizeNS,
    SizeNWSE,
    SizeNESW,
    MoveResizer, // adjust handle of kind 0
    MoveHandler, // structure handle
    Hand,        // button handle
    Rotate,
    TextBox,
};

// The nine standard handle positions: 0..7 clockwise from the top-left corner, 8 the
// rotation handle left of the bottom-left corner.
constexpr int kStandardHandleCount = 9;
constexpr int32_t kStandardHitCodes[kStandardHandleCount] = {
    HIT_TOP_LEFT, HIT_TOP,         HIT_TOP_RIGHT, HIT_RIGHT, HIT_BOTTOM_RIGHT,
    HIT_BOTTOM,   HIT_BOTTOM_LEFT, HIT_LEFT,      HIT_ROTATE};

bool IsLargeFrame(const Rect& deviceFrame);
inline bool IsEdgePosition(int position)
{
    return position == 1 || position == 3 || position == 5 || position == 7;
}

// Standard handle `position` of a frame (device or document units alike) turned by
// angle about the frame's centre; the rotation handle lies three half-sizes left of the
// bottom-left corner.
Point StandardHandlePoint(const Rect& frame, int position, int32_t angle, int32_t halfSize);

// The two-headed arrow of a resize handle for an object turned by angle (tenths of a
// degree, 0..3599).
CursorShape ResizeCursor(int32_t hitCode, int32_t angle);

// The tooltip of a handle (UTF-8), empty for the body and misses. Line objects have
// their own texts for end points and cap buttons.
const char* HandleTooltip(int32_t hitCode, uint16_t kind);
const char* LineHandleTooltip(uint16_t kind);

} // namespace figures
