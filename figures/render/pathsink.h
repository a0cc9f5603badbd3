#pragma once

#include "figures/render/geometry.h"

namespace figures {

// Receives the geometry a shape program or an object outline produces, in document
// units (already placed, flipped and turned). One producer drives several back ends:
// a QPainterPath for stroking, filling and regions, a recorder for tests and drag
// outlines. A figure starts with MoveTo; LineTo and BezierTo continue it from the
// current point.
class PathSink {
public:
    virtual ~PathSink() = default;
    virtual void MoveTo(Point p) = 0;
    virtual void LineTo(Point p) = 0;
    // A cubic segment from the current point through controls c1, c2 to end.
    virtual void BezierTo(Point c1, Point c2, Point end) = 0;
};

} // namespace figures
