#pragma once

#include "figures/render/geometry.h"

#include <cstdint>
#include <span>

namespace figures {

// a * b / c with a 64-bit intermediate, rounded to nearest with halves away from
// zero. c == 0 yields -1, as the platform routine this replaces did; results that
// do not fit 32 bits yield -1 too. This and RoundCoord are the only ways reals and
// ratios become coordinates.
int32_t MulDiv(int32_t a, int32_t b, int32_t c);

// Real to coordinate: truncate toward zero, then add 1 when the dropped part is at
// least 0.5. Negative values are thus truncated (-1.7 gives -1, -2.5 gives -2).
// NaN gives 0; values beyond the int32 range saturate.
int32_t RoundCoord(double x);

// Turns p about centre by angle tenths of a degree, clockwise on screen (y down).
// Angle 0 leaves p untouched bit for bit.
Point RotatePoint(Point centre, Point p, int32_t angle);

// The point length units away from `from` in the direction angle (tenths of a
// degree, clockwise on screen from the positive x axis).
Point PolarOffset(Point from, int32_t angle, int32_t length);

// The four corners top-left, top-right, bottom-right, bottom-left, each turned by
// angle about centre, or about the rectangle's own centre when none is given.
struct Corners {
    Point p[4];
};
Corners RotatedCorners(const Rect& rect, int32_t angle);
Corners RotatedCorners(const Rect& rect, int32_t angle, Point centre);

// Smallest rectangle holding the points. Starts from left = top = INT_MAX and
// right = bottom = 0, so it is only meaningful for non-negative coordinates;
// BoundsOfAnyPoints is the general form.
Rect BoundsOfPoints(std::span<const Point> points);
// Smallest rectangle (min x, min y, max x, max y) holding the points, for points of
// any sign; no points gives the empty rectangle at (0, 0).
Rect BoundsOfAnyPoints(std::span<const Point> points);

// Where the ray from the centre of rect toward q meets the ellipse inscribed in rect.
// q at the centre gives the top point of the ellipse.
Point EllipseRayPoint(const Rect& rect, Point q);

// v when |v| >= |m|, else |m| with the sign of v (0 counts as positive).
int32_t AtLeastMagnitude(int32_t v, int32_t m);

// Line width in tenths of a point to document units, capped at 32767.
int32_t LineWidthUnits(int32_t tenthsOfPoint);

} // namespace figures

namespace figures {

// Maps a shape-grid position (0..8191 spans the frame; larger values lie outside) into
// a frame of the given size placed at origin. A flipped axis mirrors v to 8191 - v
// first.
Point GridToFrame(int32_t gx, int32_t gy, Point origin, int32_t width, int32_t height, bool flipH,
                  bool flipV);

// The full extent of the shape grid along each axis.
constexpr int32_t kGridExtent = 8191;

} // namespace figures
