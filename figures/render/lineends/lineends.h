#pragma once

#include "figures/render/lineends/lineendgeometry.h"
#include "figures/render/shapes/shapeinterpreter.h"

#include <cstdint>

namespace figures {

class DrawContext;

// Draws the segment p1 -> p2 (document units) with the pen of lineType and its two end
// decorations, endAtP2 at p2 and endAtP1 at p1. colour is 0x00BBGGRR.
//
// Line type 0 draws nothing at all, decorations included. The decorations are sized by
// widthUnits for the solid types 1 and 2 and by 1 for the cosmetic ones
// (DecorationLineWidth), and that width w is also the width of their outline pen.
// Under an arrowhead (types 1..5) the segment is clipped to ArrowheadClipPolygon, so a
// thick stroke never pokes past the tip. Filled types take the line colour and have no
// outline; the hollow types 2, 5, 7, 9 and 11 are white inside (black on a white line,
// so that they stay visible against the page) and outlined with a solid round pen of
// width w; type 3 is two strokes meeting at the tip; the ellipses 10 and 11 stay
// upright whatever the line's direction. Types above 11 draw no decoration.
void DrawLineWithEnds(const DrawContext& dc, Point p1, Point p2, int32_t lineType,
                      int32_t widthUnits, const LineEnd& endAtP2, const LineEnd& endAtP1,
                      uint32_t colour);

// Draws the arrow-line steps of a shape program's arrow pass: each reported line in the
// given line type, width (document units) and colour, with an arrowhead of type 1 and
// sizes 1, 1 at p1 when bit 0 of the step's arrows is set and at p2 when bit 1 is.
class ArrowStepDrawer : public ArrowLineSink {
public:
    ArrowStepDrawer(const DrawContext& dc, int32_t lineType, int32_t widthUnits, uint32_t colour)
        : dc_(dc), lineType_(lineType), widthUnits_(widthUnits), colour_(colour)
    {}

    void ArrowLine(Point p1, Point p2, uint16_t arrows) override;

private:
    const DrawContext& dc_;
    int32_t lineType_;
    int32_t widthUnits_;
    uint32_t colour_;
};

// Collects the area the arrow lines of a shape program paint with ArrowStepDrawer: the
// lines with their arrowheads, which reach beyond the shape's frame.
class ArrowStepBounds : public ArrowLineSink {
public:
    ArrowStepBounds(int32_t lineType, int32_t widthUnits)
        : lineType_(lineType), widthUnits_(widthUnits)
    {}

    void ArrowLine(Point p1, Point p2, uint16_t arrows) override;

    bool any = false;
    Rect bounds; // valid when any
private:
    int32_t lineType_;
    int32_t widthUnits_;
};

} // namespace figures
