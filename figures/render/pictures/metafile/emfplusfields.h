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

// count points, or nothing when the record lacks them or they are not finite.
inline std::optional<QPolygonF> ReadPoints(RecordReader& r, uint32_t count, bool compressed)
{
    if (!r.Has(count, compressed ? 4 : 8)) {
        return std::nullopt;
    }
    QPolygonF points;
    points.reserve(qsizetype(count));
    for (uint32_t i = 0; i < count; ++i) {
        const QPointF p = ReadPoint(r, compressed);
        if (!Finite(p.x()) || !Finite(p.y())) {
            return std::nullopt;
        }
        points.append(p);
    }
    return points;
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

// A path object's figures: nothing when its points or types run past the record, or its
// points are relative or run-length coded.
std::optional<QPainterPath> ReadPath(RecordReader& r);

} // namespace figures::emfplus
