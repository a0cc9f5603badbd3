#pragma once

// Records of the newer model for pens with dashes and caps, runs of points in each stored
// form, curves, images with attributes, metafiles inside metafiles and string formats.

#include "tests/figures/render/pictures/metafile/emfplusscenes.h"

#include <functional>

namespace figures::metafiletest::plus {

// The optional fields of a pen.
constexpr uint32_t kStartCapField = 0x0002, kEndCapField = 0x0004, kStyleField = 0x0020,
                   kDashOffsetField = 0x0080, kDashesField = 0x0100, kCustomStartField = 0x0800,
                   kCustomEndField = 0x1000;
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
                              const std::vector<std::pair<uint8_t, uint8_t>>& typeRuns, bool runs)
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

inline EmfPlusRecords& DrawImageWith(EmfPlusRecords& p, int id, uint32_t attributes, QRectF source,
                                     QRectF dest)
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

// A picture of the records add writes after a header of the newer model, played on
// 384 x 288 pixels.
inline QImage PlusPicture(const std::function<void(EmfPlusRecords&)>& add)
{
    EmfPlusRecords p;
    p.Header(false);
    add(p);
    return Played(Emf().Comment(p.EndOfFile().TakeComment()).Finish());
}

// Pens of each dash style and cap kind, a Bezier curve and splines with relative and
// compressed points, and a path of run-length coded types: a fuzzing seed and a picture
// to look at.
inline Bytes EmfPlusStrokes()
{
    constexpr uint32_t kInk = 0xFF203080;
    EmfPlusRecords p;
    p.Header(false);
    for (uint32_t style = 1; style <= 4; ++style) {
        p.Record(0x4008, uint16_t(0x0200 | style), PenData(3, kInk, kStyleField, Words({style})));
        p.DrawLines(int(style), false, {{20, 10.0 * style}, {180, 10.0 * style}});
    }
    p.Record(0x4008, 0x0205,
             PenData(3, kInk, kStyleField | kDashOffsetField | kDashesField,
                     Words({5}) + Reals({1}) + Words({4}) + Reals({4, 1, 1, 2})));
    p.DrawLines(5, false, {{20, 50}, {180, 50}});
    const Bytes arrow = Words({0xDBC01002u, 1}) + Reals({3, 3, 1}) + Words({1, 0, 0, 0}) +
                        Reals({10, 1, 0, 0, 0, 0});
    p.Record(0x4008, 0x0206,
             PenData(6, kInk, kStartCapField | kEndCapField | kCustomEndField,
                     Words({0x12, 0xFF, uint32_t(arrow.size())}) + arrow));
    p.Record(0x400D, 0x0806,
             Words({3}) + PointsIn(Form::Relative, {{30, 80}, {100, 130}, {180, 80}}));
    p.Record(0x4008, 0x0207,
             PenData(4, 0xFFC03000, kStartCapField | kEndCapField, Words({3, 0x13})));
    p.Record(0x4019, 0x4007,
             Words({4}) +
                 PointsIn(Form::Compressed, {{220, 20}, {260, 120}, {330, 0}, {370, 110}}));
    p.Record(0x4018, 0x0807,
             Reals({0.5}) + Words({0, 3, 4}) +
                 PointsIn(Form::Relative, {{20, 160}, {80, 200}, {140, 160}, {200, 200}}));
    p.Record(0x4016, 0xC000,
             Words({0xFF40A040}) + Reals({0.7f}) + Words({4}) +
                 PointsIn(Form::Compressed, {{240, 150}, {300, 130}, {360, 170}, {290, 220}}));
    PathIn(p, 8, Form::Relative, {{20, 230}, {200, 230}, {200, 270}, {20, 270}},
           {{1, 0}, {2, 1}, {1, 0x81}}, true);
    p.FillPath(8, 0xFFE0C020);
    return Emf().Comment(p.EndOfFile().TakeComment()).Finish();
}

// A metafile drawn twice inside another, once in part, and one nested seven deep; an
// image tiled, mirrored and clamped beyond its edges; strings right to left and vertical.
inline Bytes EmfPlusNested()
{
    const Bytes inner = SquarePicture(96, 0xFFFF0000, [](EmfPlusRecords& p) {
        p.FillEllipse(0xFF0000FF, QRectF(24, 24, 48, 48));
    });
    EmfPlusRecords p;
    p.Header(false);
    MetafileImage(p, 1, inner);
    p.DrawImage(1, QRectF(0, 0, 96, 96), QRectF(10, 10, 96, 96));
    p.DrawImage(1, QRectF(0, 0, 48, 96), QRectF(120, 10, 48, 96));
    Bytes nested = inner;
    for (int level = 0; level < 6; ++level) {
        nested = SquarePicture(96, 0xFF00A000 + uint32_t(level * 0x28), [&](EmfPlusRecords& q) {
            MetafileImage(q, 1, nested);
            q.DrawImage(1, QRectF(0, 0, 96, 96), QRectF(12, 12, 72, 72));
        });
    }
    MetafileImage(p, 2, nested);
    p.DrawImage(2, QRectF(0, 0, 96, 96), QRectF(180, 10, 96, 96));
    p.Image(3, Quarters(8, 8), false);
    for (uint32_t wrap = 0; wrap <= 4; ++wrap) {
        ImageAttributes(p, int(4 + wrap), wrap, 0xFF00FFFF);
        DrawImageWith(p, 3, 4 + wrap, QRectF(-4, -4, 16, 16), QRectF(10 + 56 * wrap, 120, 48, 48));
    }
    p.Font(10, 16, 2, 0, u"DejaVu Sans");
    p.StringFormat(11, 0, 0, 0x0001).StringFormat(12, 1, 0, 0x0002);
    p.DrawString(10, 0xFF000000, 11, QRectF(10, 180, 260, 24), u"Right to left");
    p.DrawString(10, 0xFF000000, 12, QRectF(300, 120, 40, 160), u"Vertical text");
    return Emf().Comment(p.EndOfFile().TakeComment()).Finish();
}

} // namespace figures::metafiletest::plus
