#include "figures/render/numeric.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace figures {

namespace {

constexpr double kRadiansPerTenth = 0.0017453292519943335;
constexpr double kFullTurn = 6.2831853071796;
// One point is this many document units (1 mm = 2.8368 points).
constexpr double kUnitsPerPoint = 3.5250987027636778;

} // namespace

int32_t MulDiv(int32_t a, int32_t b, int32_t c)
{
    if (c == 0) {
        return -1;
    }
    const int64_t product = int64_t(a) * int64_t(b);
    const uint64_t magnitude = uint64_t(product < 0 ? -product : product);
    const uint64_t divisor = uint64_t(c < 0 ? -int64_t(c) : int64_t(c));
    const uint64_t quotient = (magnitude + divisor / 2) / divisor;
    const bool negative = (product < 0) != (c < 0);
    if (quotient > uint64_t(INT32_MAX) + (negative ? 1 : 0)) {
        return -1;
    }
    return negative ? int32_t(-int64_t(quotient)) : int32_t(quotient);
}

int32_t RoundCoord(double x)
{
    if (std::isnan(x)) {
        return 0;
    }
    if (x >= double(INT32_MAX)) {
        return INT32_MAX;
    }
    if (x <= double(INT32_MIN)) {
        return INT32_MIN;
    }
    const double t = std::trunc(x);
    return int32_t(t) + (x - t >= 0.5 ? 1 : 0);
}

Point RotatePoint(Point centre, Point p, int32_t angle)
{
    if (angle == 0) {
        return p;
    }
    double r = angle * kRadiansPerTenth;
    if (r > kFullTurn) {
        r -= kFullTurn;
    }
    if (r == 0.0) {
        return p;
    }
    const double dx = double(p.x) - centre.x;
    const double dy = double(p.y) - centre.y;
    const double d = std::sqrt(dx * dx + dy * dy);
    double e = r + std::atan2(dy, dx);
    if (e > kFullTurn) {
        e -= kFullTurn;
    }
    return {RoundCoord(d * std::cos(e)) + centre.x, RoundCoord(d * std::sin(e)) + centre.y};
}

Point PolarOffset(Point from, int32_t angle, int32_t length)
{
    if (length == 0) {
        return from;
    }
    const double a = angle * kRadiansPerTenth;
    return {from.x + RoundCoord(length * std::cos(a)), from.y + RoundCoord(length * std::sin(a))};
}

Corners RotatedCorners(const Rect& rect, int32_t angle)
{
    return RotatedCorners(rect, angle, rect.Centre());
}

Corners RotatedCorners(const Rect& rect, int32_t angle, Point centre)
{
    return {{RotatePoint(centre, {rect.left, rect.top}, angle),
             RotatePoint(centre, {rect.right, rect.top}, angle),
             RotatePoint(centre, {rect.right, rect.bottom}, angle),
             RotatePoint(centre, {rect.left, rect.bottom}, angle)}};
}

Rect BoundsOfPoints(std::span<const Point> points)
{
    Rect r{INT32_MAX, INT32_MAX, 0, 0};
    for (const Point& p : points) {
        r.left = std::min(r.left, p.x);
        r.top = std::min(r.top, p.y);
        r.right = std::max(r.right, p.x);
        r.bottom = std::max(r.bottom, p.y);
    }
    return r;
}

Rect BoundsOfAnyPoints(std::span<const Point> points)
{
    if (points.empty()) {
        return {};
    }
    Rect r{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const Point& p : points.subspan(1)) {
        r.left = std::min(r.left, p.x);
        r.top = std::min(r.top, p.y);
        r.right = std::max(r.right, p.x);
        r.bottom = std::max(r.bottom, p.y);
    }
    return r;
}

Point EllipseRayPoint(const Rect& rect, Point q)
{
    const int32_t a = (rect.right - rect.left) / 2;
    const int32_t b = (rect.bottom - rect.top) / 2;
    const Point c = rect.Centre();
    const double u = double(q.x) - c.x;
    const double v = double(c.y) - q.y; // y taken upward
    if (u == 0) {
        return {c.x, v >= 0 ? c.y - b : c.y + b};
    }
    if (v == 0) {
        return {u > 0 ? c.x + a : c.x - a, c.y};
    }
    const double k = v / u;
    const double s = 1.0 / std::sqrt(k * k / (double(b) * b) + 1.0 / (double(a) * a));
    const double sign = u > 0 ? 1.0 : -1.0;
    const int32_t x = RoundCoord(sign * s);
    const int32_t y = RoundCoord(sign * k * s);
    return {c.x + x, c.y - y};
}

int32_t AtLeastMagnitude(int32_t v, int32_t m)
{
    const int64_t magnitude = std::llabs(int64_t(m));
    if (std::llabs(int64_t(v)) >= magnitude) {
        return v;
    }
    // |INT32_MIN| only exists on the negative side; the positive side saturates.
    return v < 0 ? int32_t(-magnitude) : int32_t(std::min<int64_t>(magnitude, INT32_MAX));
}

int32_t LineWidthUnits(int32_t tenthsOfPoint)
{
    const int32_t units = RoundCoord(tenthsOfPoint * 0.1 * kUnitsPerPoint);
    return units > 0x7FFF ? 0x7FFF : units;
}

} // namespace figures

namespace figures {

Point GridToFrame(int32_t gx, int32_t gy, Point origin, int32_t width, int32_t height, bool flipH,
                  bool flipV)
{
    const int32_t x = flipH ? kGridExtent - gx : gx;
    const int32_t y = flipV ? kGridExtent - gy : gy;
    return {origin.x + MulDiv(x, width, kGridExtent), origin.y + MulDiv(y, height, kGridExtent)};
}

} // namespace figures
