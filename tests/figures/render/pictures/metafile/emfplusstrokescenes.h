#pragma once

// Records of the newer model for pens with dashes and caps, runs of points in each stored
// form, curves, images with attributes, metafiles inside metafiles and string formats.

#include "tests/figures/render/pictures/metafile/emfplusscenes.h"

namespace figures::metafiletest::plus {

// The optional fields of a pen.
constexpr uint32_t kStartCapField = 0x0002, kEndCapField = 0x0004, kStyleField = 0x0020,
                   kDashOffsetField = 0x0080, kDashesField = 0x0100,
                   kCustomStartField = 0x0800, kCustomEndField = 0x1000;
// How a record stores its points.
enum class Form { Real, Compressed, Relative };

inline Bytes Words(std::initializer_list<uint32_t> values)
{
    Bytes d;
    for (uint32_t v : values) {
        Put32(d, v);
    }
    return d;
}

inline Bytes Reals(std::initializer_list<float> values)
{
    Bytes d;
    for (float v : values) {
        PutF32(d, v);
    }
    return d;
}

inline Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A pen of width (world units) in a solid colour, with the optional fields flags announces
// already written out in their order.
inline Bytes PenData(float width, uint32_t argb, uint32_t flags, const Bytes& fields)
{
    return Words({0xDBC01002u, 0, flags, 0}) + Reals({width}) + fields +
           Words({0xDBC01002u, 0, argb});
}

inline void PutPacked(Bytes& d, int v)
{
    if (v >= -64 && v <= 63) {
        d.push_back(uint8_t(v & 0x7F));
        return;
    }
    const uint32_t bits = uint32_t(v) & 0x7FFF;
    d.push_back(uint8_t(0x80 | (bits >> 8)));
    d.push_back(uint8_t(bits & 0xFF));
}

// Points in form: reals, 16-bit integers, or offsets from the point before (the first
// from the origin) of one or two bytes each.
inline Bytes PointsIn(Form form, const std::vector<QPoint>& points)
{
    Bytes d;
    QPoint last(0, 0);
    for (const QPoint& p : points) {
        if (form == Form::Real) {
            PutF32(d, float(p.x()));
            PutF32(d, float(p.y()));
        } else if (form == Form::Compressed) {
            Put16(d, uint32_t(p.x()));
            Put16(d, uint32_t(p.y()));
        } else {
            PutPacked(d, p.x() - last.x());
            PutPacked(d, p.y() - last.y());
        }
        last = p;
    }
    return d;
}

inline uint16_t FormFlags(Form form)
{
    return form == Form::Real ? 0 : form == Form::Compressed ? 0x4000 : 0x0800;
}

// A path object of points in form, its types one a byte or, with runs, as runs of equal
// types (each type given with the count of points it covers).
inline EmfPlusRecords& PathIn(EmfPlusRecords& p, int id, Form form,
                              const std::vector<QPoint>& points,
                              const std::vector<std::pair<uint8_t, uint8_t>>& typeRuns,
                              bool runs)
{
    const uint32_t flags = FormFlags(form) | (runs ? 0x1000 : 0);
    Bytes d = Words({0xDBC01002u, uint32_t(points.size()), flags}) + PointsIn(form, points);
    for (const auto& [count, type] : typeRuns) {
        if (runs) {
            d.push_back(count);
            d.push_back(type);
        } else {
            d.insert(d.end(), count, type);
        }
    }
    return p.Record(0x4008, uint16_t(0x0300 | id), d);
}

// A metafile as an image object.
inline EmfPlusRecords& MetafileImage(EmfPlusRecords& p, int id, const Bytes& metafile)
{
    Bytes d = Words({0xDBC01002u, 2, 3, uint32_t(metafile.size())}) + metafile;
    return p.Record(0x4008, uint16_t(0x0500 | id), d);
}

// wrap: 0 tile, 1 mirrored across x, 2 across y, 3 both, 4 clamp.
inline EmfPlusRecords& ImageAttributes(EmfPlusRecords& p, int id, uint32_t wrap, uint32_t clamp)
{
    return p.Record(0x4008, uint16_t(0x0800 | id), Words({0xDBC01002u, 0, wrap, clamp, 0, 0}));
}

inline EmfPlusRecords& DrawImageWith(EmfPlusRecords& p, int id, uint32_t attributes,
                                     QRectF source, QRectF dest)
{
    return p.Record(0x401A, uint16_t(id),
                    Words({attributes, 2}) + EmfPlusRecords::Rects({source, dest}));
}

// A picture of size pixels at 96 an inch that fills itself with argb through the newer
// records, then draws what more adds.
inline Bytes SquarePicture(int size, uint32_t argb,
                           const std::function<void(EmfPlusRecords&)>& more = {})
{
    EmfPlusRecords p;
    p.Header(false).FillRects(argb, true, {QRectF(0, 0, size, size)});
    if (more) {
        more(p);
    }
    const int himetric = size * 2540 / 96;
    return EmfBuilder(QRect(0, 0, size + 1, size + 1), QRect(0, 0, himetric + 1, himetric + 1))
        .Comment(p.EndOfFile().TakeComment())
        .Finish();
}

} // namespace figures::metafiletest::plus
