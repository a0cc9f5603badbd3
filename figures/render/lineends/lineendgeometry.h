#pragma once

#include "figures/render/geometry.h"

#include <cstdint>

namespace figures {

// The decoration types at the ends of a line, by the value objects store (end1Type,
// end2Type). Types above kEndHollowEllipse draw nothing.
enum EndType : uint8_t {
    kEndNone = 0,
    kEndArrowhead = 1,
    kEndHollowArrowhead = 2,
    kEndOpenArrowhead = 3, // two strokes meeting at the tip
    kEndNotchedArrowhead = 4,
    kEndHollowNotchedArrowhead = 5,
    kEndDiamond = 6,
    kEndHollowDiamond = 7,
    kEndSquare = 8,
    kEndHollowSquare = 9,
    kEndEllipse = 10, // upright whatever the line's direction
    kEndHollowEllipse = 11,
};

// The decoration at one end of a line: an EndType (1..5 arrowheads, 6, 7 diamonds, 8, 9
// squares, 10, 11 ellipses; the hollow ones are white inside and outlined) and two
// sizes 1..3.
struct LineEnd {
    uint8_t type = 0;
    uint8_t size1 = 1; // along the line
    uint8_t size2 = 1; // across the line
};

// Length L (along the line) and half-width H (across it) of a decoration for a line
// width w in document units. Callers pass w = 1 for every line type but the solid ones.
struct DecorationSize {
    int32_t length = 0;
    int32_t halfWidth = 0;
};
DecorationSize DecorationSizeFor(int32_t w, const LineEnd& end);

// The outline points of the decoration at tip for the line coming from `from`: up to
// four points (types 1..3 three, types 4, 5 four with the notch last, 6..9 four, and
// for 10, 11 the two opposite corners of the ellipse's axis-parallel rectangle).
struct DecorationShape {
    Point p[4];
    int count = 0;
};
DecorationShape DecorationPoints(Point from, Point tip, const LineEnd& end, int32_t w);

// The area a line is clipped to under an arrowhead (types 1..5) at tip, so that a thick
// stroke ends inside the head instead of poking past its point: the base corner, the tip,
// the other base corner, then the two points halfWidth to either side of the line at w
// beyond its other end `from` (far enough to keep that end's round cap). The polygon does
// not cross itself unless the head is longer than the line. Empty (count 0) for the other
// types.
struct ArrowheadClip {
    Point p[5];
    int count = 0;
};
ArrowheadClip ArrowheadClipPolygon(Point from, Point tip, const LineEnd& end, int32_t w);

// True for the decorations painted white inside with an outline (and the open
// arrowhead), whose stroke reaches half a line width beyond their points.
bool IsOutlinedDecoration(uint8_t type);

// The width decorations are sized by: the line width in document units for the solid
// line types, which scale with the drawing, and 1 for the cosmetic ones.
int32_t DecorationLineWidth(int32_t lineType, int32_t widthUnits);

// The area a line p1 -> p2 of the given line type and width (document units) paints
// together with its decorations at p2 and p1.
Rect LineWithEndsBounds(Point p1, Point p2, int32_t lineType, int32_t widthUnits,
                        const LineEnd& endAtP2, const LineEnd& endAtP1);

} // namespace figures
