#pragma once

#include "figures/render/geometry.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace figures {

// Adjust handles of the catalogue shapes: dragging a yellow handle reshapes a shape
// inside its frame (the radius of a rounded rectangle, the head of an arrow, the depth of
// a cube), or, for the curve and the two callouts, moves a point the frame then follows.
//
// The routines work on the object's own copies of its program (property tag 3) and its
// handle list (tag 2, 4 bytes per handle: kind << 13 | x, then y), which the caller
// stores back afterwards. Handle values are grid positions 0..8191 in program space, the
// grid before flips; a drag keeps the top three (kind) bits of every descriptor word it
// rewrites.
//
// A drag is AdjustBegin, any number of AdjustDrag calls each with the total mouse
// displacement since the press, then AdjustEnd. Every AdjustDrag recomputes from the
// values AdjustBegin remembered, so rounding never accumulates. What a drag remembers
// lives in an AdjustDragState that the caller keeps for the drag, so drags of different
// shapes never share anything.

// Where the shape lies and how it is turned and flipped.
struct AdjustShape {
    Rect frame;        // document units, normalised
    int32_t angle = 0; // tenths of a degree, clockwise on screen about the frame centre
    bool flipH = false;
    bool flipV = false;
};

struct AdjustResult {
    bool changed = false;      // the program and the handle list were rewritten
    bool frameChanged = false; // the curve and the callouts: the object takes `frame`
    Rect frame;                // the new frame in document units when frameChanged
};

// What a drag remembers between its begin and its moves. Points are in display space:
// grid positions as the user sees them (start), or document positions of the unturned
// frame (points), for the routines that move the frame.
struct AdjustDragState {
    bool active = false;
    int entry = -1;
    int handle = -1;
    Point start;
    std::array<Point, 4> points{};
};

// True for the entries whose handles reshape them: those with a default handle list.
bool HasAdjustRoutine(int entry);

// Remembers where handle `handle` of the object's handle list starts, in display space
// (a flipped axis reads 8191 - v), and for the curve and the callouts the document
// positions of the points they are built from. False, and nothing remembered, when the
// entry has no adjust routine, the handle is not one of its draggable handles or the list
// does not hold it. drag receives what is remembered (it is reset either way).
bool AdjustBegin(AdjustDragState& drag, int entry, int handle, std::span<const uint8_t> handles,
                 const AdjustShape& shape);

// Applies the total mouse displacement (document units, as the mouse moved on screen,
// not yet turned) since the begin of the same handle's drag. The routine turns it by
// the shape's -angle and scales it to the grid by the frame's size itself; the value is
// clamped to the handle's range, mirrored back to program space on flipped axes, and
// written into the handle and the program. Nothing changes (changed false) unless drag
// was begun for the same entry and handle, or when program or handles do not have the
// layout the routine patches.
AdjustResult AdjustDrag(const AdjustDragState& drag, int entry, int handle, Point displacement,
                        const AdjustShape& shape, std::vector<uint8_t>& program,
                        std::vector<uint8_t>& handles);

// Ends the drag; a later AdjustDrag with drag changes nothing until the next AdjustBegin.
void AdjustEnd(AdjustDragState& drag);

} // namespace figures
