#pragma once

// Fields that records of the newer metafile model share: points and rectangles as 32-bit
// reals or, compressed, 16-bit integers, and the finiteness every coordinate is checked for.

#include "figures/render/pictures/metafile/recordreader.h"

#include <QColor>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <QTransform>

#include <cmath>
#include <optional>

namespace figures::emfplus {

inline bool Finite(double v)
{
    return std::isfinite(v) && std::abs(v) < 1e9;
}

inline QPointF ReadPoint(RecordReader& r, bool compressed)
{
    if (compressed) {
        const int16_t x = r.I16();
        const int16_t y = r.I16();
        return QPointF(x, y);
    }
    const float x = r.F32();
    const float y = r.F32();
    return QPointF(x, y);
}

inline QRectF ReadRect(RecordReader& r, bool compressed)
{
    const QPointF at = ReadPoint(r, compressed);
    const QPointF size = ReadPoint(r, compressed);
    return QRectF(at.x(), at.y(), size.x(), size.y());
}

inline bool Finite(const QRectF& rect)
{
    return Finite(rect.x()) && Finite(rect.y()) && Finite(rect.width()) && Finite(rect.height());
}

// How a record stores its points: as 32-bit reals, as 16-bit integers, or each as a
// small integer offset from the point before it (the first from the origin).
enum class PointForm { Real, Compressed, Relative };

// The form that a drawing record's or a path's flags announce; relative points win over
// compressed ones when both bits are set.
inline PointForm PointFormOf(uint32_t flags)
{
    if (flags & 0x0800) {
        return PointForm::Relative;
    }
    return (flags & 0x4000) ? PointForm::Compressed : PointForm::Real;
}

// count points in form, or nothing when the record lacks them or they are not finite.
std::optional<QPolygonF> ReadPoints(RecordReader& r, uint32_t count, PointForm form);

inline std::optional<QPolygonF> ReadPoints(RecordReader& r, uint32_t count, bool compressed)
{
    return ReadPoints(r, count, compressed ? PointForm::Compressed : PointForm::Real);
}

inline QColor Argb(uint32_t v)
{
    return QColor::fromRgba(QRgb(v));
}

// Six reals of an affine matrix; a part that is not finite counts as zero.
inline QTransform ReadMatrix(RecordReader& r)
{
    double m[6];
    for (double& v : m) {
        v = r.F32();
        if (!Finite(v)) {
            v = 0;
        }
    }
    return QTransform(m[0], m[1], m[2], m[3], m[4], m[5]);
}

// A path object's figures, its points in any form and its point types plain or run-length
// coded: nothing when its points or types run past the record.
std::optional<QPainterPath> ReadPath(RecordReader& r);

} // namespace figures::emfplus
