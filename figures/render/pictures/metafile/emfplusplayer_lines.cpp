// Figures of the newer metafile model given as runs of points: polygons, lines, Bezier
// curves and cardinal splines, their points in any of the forms records store them.
#include "figures/render/pictures/metafile/emfplusplayer.h"

#include "figures/render/pictures/metafile/emfplusfields.h"

namespace figures {

using namespace emfplus;

namespace {

constexpr uint16_t kClosed = 0x2000;  // lines: close the figure
constexpr uint16_t kWinding = 0x2000; // closed curves: fill by the winding rule

// Tensions beyond this bend a spline into loops no drawing means.
constexpr double kMaxTension = 8;

// The Bezier segments of a cardinal spline through points from segment `first` on, count
// segments: each segment's control points lie a third of the tension along the line
// between its neighbours. A closed spline wraps round; an open one takes its end points
// for their own neighbours.
QPainterPath CardinalSpline(const QPolygonF& points, double tension, bool closed, qsizetype first,
                            qsizetype count)
{
    const qsizetype n = points.size();
    const auto at = [&](qsizetype i) {
        if (closed) {
            return points[(i % n + n) % n];
        }
        return points[std::clamp<qsizetype>(i, 0, n - 1)];
    };
    const double k = std::clamp(tension, -kMaxTension, kMaxTension) / 3;
    QPainterPath path;
    path.moveTo(at(first));
    for (qsizetype i = first; i < first + count; ++i) {
        const QPointF c1 = at(i) + (at(i + 1) - at(i - 1)) * k;
        const QPointF c2 = at(i + 1) - (at(i + 2) - at(i)) * k;
        path.cubicTo(c1, c2, at(i + 1));
    }
    if (closed) {
        path.closeSubpath();
    }
    return path;
}

double Tension(RecordReader& r)
{
    const double tension = r.F32();
    return Finite(tension) ? tension : 0.5;
}

} // namespace

void EmfPlusPlayer::FillPolygon(uint16_t flags, RecordReader& r)
{
    const std::optional<Brush> colour = BrushOf(flags, r.U32());
    const uint32_t count = r.U32();
    if (!colour) {
        return;
    }
    if (const auto points = ReadPoints(r, count, PointFormOf(flags))) {
        QPainterPath path;
        path.addPolygon(*points);
        path.closeSubpath();
        Fill(path, *colour);
    }
}

void EmfPlusPlayer::DrawLines(uint16_t flags, RecordReader& r)
{
    const uint32_t count = r.U32();
    if (const auto points = ReadPoints(r, count, PointFormOf(flags))) {
        QPainterPath path;
        path.addPolygon(*points);
        if (flags & kClosed) {
            path.closeSubpath();
        }
        Stroke(path, flags & 0xFF);
    }
}

// A start point, then three points a curve; points left over draw nothing.
void EmfPlusPlayer::DrawBeziers(uint16_t flags, RecordReader& r)
{
    const uint32_t count = r.U32();
    const auto points = ReadPoints(r, count, PointFormOf(flags));
    if (!points || points->size() < 4) {
        return;
    }
    QPainterPath path;
    path.moveTo((*points)[0]);
    for (qsizetype i = 1; i + 2 < points->size(); i += 3) {
        path.cubicTo((*points)[i], (*points)[i + 1], (*points)[i + 2]);
    }
    Stroke(path, flags & 0xFF);
}

void EmfPlusPlayer::DrawCurve(uint16_t flags, RecordReader& r)
{
    const double tension = Tension(r);
    const uint32_t offset = r.U32();
    const uint32_t segments = r.U32();
    const uint32_t count = r.U32();
    const auto points = ReadPoints(r, count, PointFormOf(flags));
    if (!points || points->size() < 2 || offset >= uint32_t(points->size() - 1)) {
        return;
    }
    // The segments asked for, as far as the points reach.
    const qsizetype run = std::min<qsizetype>(segments, points->size() - 1 - offset);
    if (run > 0) {
        Stroke(CardinalSpline(*points, tension, false, offset, run), flags & 0xFF);
    }
}

void EmfPlusPlayer::DrawClosedCurve(uint16_t flags, RecordReader& r)
{
    const double tension = Tension(r);
    const uint32_t count = r.U32();
    const auto points = ReadPoints(r, count, PointFormOf(flags));
    if (points && points->size() >= 2) {
        Stroke(CardinalSpline(*points, tension, true, 0, points->size()), flags & 0xFF);
    }
}

void EmfPlusPlayer::FillClosedCurve(uint16_t flags, RecordReader& r)
{
    const std::optional<Brush> colour = BrushOf(flags, r.U32());
    const double tension = Tension(r);
    const uint32_t count = r.U32();
    const auto points = ReadPoints(r, count, PointFormOf(flags));
    if (!colour || !points || points->size() < 2) {
        return;
    }
    QPainterPath path = CardinalSpline(*points, tension, true, 0, points->size());
    path.setFillRule((flags & kWinding) ? Qt::WindingFill : Qt::OddEvenFill);
    Fill(path, *colour);
}

} // namespace figures
