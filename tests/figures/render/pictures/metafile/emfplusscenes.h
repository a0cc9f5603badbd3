#pragma once

// Enhanced metafiles that draw through the newer model's records in comments: a writer
// of those records and a picture using each kind the player plays.

#include "figures/render/pictures/metafile/metafileplayer.h"
#include "tests/figures/render/pictures/metafile/metafilescenes.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <string>

namespace figures::metafiletest {

// Records of the newer model, gathered into comment records of an enhanced metafile.
class EmfPlusRecords {
public:
    EmfPlusRecords& Record(uint16_t type, uint16_t flags, const Bytes& data)
    {
        Bytes padded = data;
        while (padded.size() % 4) {
            padded.push_back(0);
        }
        return RecordExact(type, flags, padded);
    }
    // A record whose data size is exactly data's, padding after it.
    EmfPlusRecords& RecordExact(uint16_t type, uint16_t flags, const Bytes& data)
    {
        const size_t padding = (4 - data.size() % 4) % 4;
        Put16(bytes_, type);
        Put16(bytes_, flags);
        Put32(bytes_, uint32_t(12 + data.size() + padding));
        Put32(bytes_, uint32_t(data.size()));
        bytes_.insert(bytes_.end(), data.begin(), data.end());
        bytes_.insert(bytes_.end(), padding, 0);
        return *this;
    }
    // dual: the older records draw the same picture.
    EmfPlusRecords& Header(bool dual)
    {
        Bytes d;
        for (uint32_t v : {0xDBC01002u, 1u, 96u, 96u}) {
            Put32(d, v);
        }
        return Record(0x4001, dual ? 1 : 0, d);
    }
    EmfPlusRecords& SolidBrush(int id, uint32_t argb)
    {
        Bytes d;
        for (uint32_t v : {0xDBC01002u, 0u, argb}) {
            Put32(d, v);
        }
        return Record(0x4008, uint16_t(0x0100 | id), d);
    }
    EmfPlusRecords& Pen(int id, float width, uint32_t argb)
    {
        Bytes d;
        for (uint32_t v : {0xDBC01002u, 0u, 0u, 0u}) {
            Put32(d, v); // version, type, no optional data, world units
        }
        PutF32(d, width);
        for (uint32_t v : {0xDBC01002u, 0u, argb}) {
            Put32(d, v);
        }
        return Record(0x4008, uint16_t(0x0200 | id), d);
    }
    // points with their types (0 start, 1 line, 3 Bezier; 0x80 closes the figure).
    EmfPlusRecords& Path(int id, const std::vector<QPointF>& points,
                         const std::vector<uint8_t>& types)
    {
        Bytes d;
        for (uint32_t v : {0xDBC01002u, uint32_t(points.size()), 0u}) {
            Put32(d, v);
        }
        for (const QPointF& p : points) {
            PutF32(d, float(p.x()));
            PutF32(d, float(p.y()));
        }
        d.insert(d.end(), types.begin(), types.end());
        return Record(0x4008, uint16_t(0x0300 | id), d);
    }
    // unit 0 world, 2 pixel, 3 point; style 1 bold, 2 italic.
    EmfPlusRecords& Font(int id, float em, uint32_t unit, int style, const std::u16string& family)
    {
        Bytes d;
        Put32(d, 0xDBC01002u);
        PutF32(d, em);
        for (uint32_t v : {unit, uint32_t(style), 0u, uint32_t(family.size())}) {
            Put32(d, v);
        }
        for (char16_t c : family) {
            Put16(d, c);
        }
        return Record(0x4008, uint16_t(0x0600 | id), d);
    }
    // alignment and line alignment: 0 near, 1 centre, 2 far; flags 1 right to left,
    // 2 vertical, 0x1000 no wrapping.
    EmfPlusRecords& StringFormat(int id, uint32_t alignment, uint32_t lineAlignment,
                                 uint32_t flags = 0)
    {
        Bytes d;
        for (uint32_t v : {0xDBC01002u, flags, 0u, alignment, lineAlignment}) {
            Put32(d, v);
        }
        for (int i = 0; i < 8; ++i) {
            Put32(d, 0);
        }
        return Record(0x4008, uint16_t(0x0700 | id), d);
    }
    static Bytes Rects(const std::vector<QRectF>& rects)
    {
        Bytes d;
        for (const QRectF& r : rects) {
            for (double v : {r.x(), r.y(), r.width(), r.height()}) {
                PutF32(d, float(v));
            }
        }
        return d;
    }
    // brush: an object id, or with colour set an ARGB colour.
    EmfPlusRecords& FillRects(uint32_t brush, bool colour, const std::vector<QRectF>& rects)
    {
        Bytes d;
        Put32(d, brush);
        Put32(d, uint32_t(rects.size()));
        const Bytes r = Rects(rects);
        d.insert(d.end(), r.begin(), r.end());
        return Record(0x400A, colour ? 0x8000 : 0, d);
    }
    EmfPlusRecords& DrawRects(int pen, const std::vector<QRectF>& rects)
    {
        Bytes d;
        Put32(d, uint32_t(rects.size()));
        const Bytes r = Rects(rects);
        d.insert(d.end(), r.begin(), r.end());
        return Record(0x400B, uint16_t(pen), d);
    }
    EmfPlusRecords& FillEllipse(uint32_t argb, QRectF rect)
    {
        Bytes d;
        Put32(d, argb);
        const Bytes r = Rects({rect});
        d.insert(d.end(), r.begin(), r.end());
        return Record(0x400E, 0x8000, d);
    }
    EmfPlusRecords& DrawEllipse(int pen, QRectF rect) { return Record(0x400F, pen, Rects({rect})); }
    // type 0x4010 fill pie (brush colour), 0x4011 draw pie, 0x4012 draw arc (pen).
    EmfPlusRecords& ArcLike(uint16_t type, uint32_t penOrArgb, float start, float sweep,
                            QRectF rect)
    {
        Bytes d;
        if (type == 0x4010) {
            Put32(d, penOrArgb);
        }
        PutF32(d, start);
        PutF32(d, sweep);
        const Bytes r = Rects({rect});
        d.insert(d.end(), r.begin(), r.end());
        return Record(type, type == 0x4010 ? 0x8000 : uint16_t(penOrArgb), d);
    }
    // Points as 16-bit integers.
    EmfPlusRecords& FillPolygon(uint32_t brush, const std::vector<QPoint>& points)
    {
        Bytes d;
        Put32(d, brush);
        Put32(d, uint32_t(points.size()));
        for (const QPoint& p : points) {
            Put16(d, uint32_t(p.x()));
            Put16(d, uint32_t(p.y()));
        }
        return Record(0x400C, 0x4000, d);
    }
    EmfPlusRecords& DrawLines(int pen, bool closed, const std::vector<QPointF>& points)
    {
        Bytes d;
        Put32(d, uint32_t(points.size()));
        for (const QPointF& p : points) {
            PutF32(d, float(p.x()));
            PutF32(d, float(p.y()));
        }
        return Record(0x400D, uint16_t(pen | (closed ? 0x2000 : 0)), d);
    }
    EmfPlusRecords& FillPath(int path, uint32_t argb)
    {
        Bytes d;
        Put32(d, argb);
        return Record(0x4014, uint16_t(0x8000 | path), d);
    }
    EmfPlusRecords& DrawPath(int path, int pen)
    {
        Bytes d;
        Put32(d, uint32_t(pen));
        return Record(0x4015, uint16_t(path), d);
    }
    EmfPlusRecords& DrawString(int font, uint32_t argb, uint32_t format, QRectF layout,
                               const std::u16string& text)
    {
        Bytes d;
        for (uint32_t v : {argb, format, uint32_t(text.size())}) {
            Put32(d, v);
        }
        const Bytes r = Rects({layout});
        d.insert(d.end(), r.begin(), r.end());
        for (char16_t c : text) {
            Put16(d, c);
        }
        return Record(0x401C, uint16_t(0x8000 | font), d);
    }
    // A bitmap object: PNG bytes (compressed), or 32-bit ARGB pixels; parts > 1 stores it
    // in that many records, each marked as continued and led by the whole size.
    EmfPlusRecords& Image(int id, const QImage& image, bool compressed, int parts = 1)
    {
        Bytes d;
        Put32(d, 0xDBC01002u);
        Put32(d, 1); // bitmap
        if (compressed) {
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "PNG");
            for (uint32_t v : {0u, 0u, 0u, 0u, 1u}) {
                Put32(d, v);
            }
            d.insert(d.end(), png.begin(), png.end());
        } else {
            const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
            for (uint32_t v : {uint32_t(argb.width()), uint32_t(argb.height()),
                               uint32_t(argb.width() * 4), 0x0026200Au, 0u}) {
                Put32(d, v);
            }
            for (int y = 0; y < argb.height(); ++y) {
                for (int x = 0; x < argb.width(); ++x) {
                    Put32(d, argb.pixel(x, y));
                }
            }
        }
        if (parts <= 1) {
            return Record(0x4008, uint16_t(0x0500 | id), d);
        }
        const size_t step = (d.size() + size_t(parts) - 1) / size_t(parts);
        for (size_t at = 0; at < d.size(); at += step) {
            Bytes part;
            Put32(part, uint32_t(d.size()));
            part.insert(part.end(), d.begin() + long(at),
                        d.begin() + long(std::min(d.size(), at + step)));
            RecordExact(0x4008, uint16_t(0x8500 | id), part);
        }
        return *this;
    }
    // source in image pixels onto a rectangle, or onto the parallelogram of three points.
    EmfPlusRecords& DrawImage(int id, QRectF source, QRectF dest)
    {
        Bytes d;
        Put32(d, 0);
        Put32(d, 2);
        const Bytes r = Rects({source, dest});
        d.insert(d.end(), r.begin(), r.end());
        return Record(0x401A, uint16_t(id), d);
    }
    EmfPlusRecords& DrawImagePoints(int id, QRectF source, const std::vector<QPointF>& points)
    {
        Bytes d;
        Put32(d, 0);
        Put32(d, 2);
        const Bytes r = Rects({source});
        d.insert(d.end(), r.begin(), r.end());
        Put32(d, uint32_t(points.size()));
        for (const QPointF& p : points) {
            PutF32(d, float(p.x()));
            PutF32(d, float(p.y()));
        }
        return Record(0x401B, uint16_t(id), d);
    }
    EmfPlusRecords& SetWorldTransform(const QTransform& m)
    {
        Bytes d;
        for (double v : {m.m11(), m.m12(), m.m21(), m.m22(), m.dx(), m.dy()}) {
            PutF32(d, float(v));
        }
        return Record(0x402A, 0, d);
    }
    EmfPlusRecords& ResetWorldTransform() { return Record(0x402B, 0, {}); }
    EmfPlusRecords& EndOfFile() { return Record(0x4002, 0, {}); }

    // The records so far as the data of one comment record, and no more records.
    Bytes TakeComment()
    {
        Bytes d{'E', 'M', 'F', '+'};
        d.insert(d.end(), bytes_.begin(), bytes_.end());
        bytes_.clear();
        return d;
    }

private:
    Bytes bytes_;
};

// A picture drawn only through the newer model: solid and outlined rectangles, ellipses,
// a pie and an arc, a polygon of 16-bit points and closed lines, a path with a curve,
// strings in a serif, a sans and the Symbol face, and a turned world.
inline Bytes EmfPlusOnly()
{
    constexpr uint32_t kPlusYellow = 0xFFFFFF00;
    constexpr uint32_t kPlusRed = 0xFFFF0000;
    constexpr uint32_t kPlusBlue = 0xFF0000FF;
    constexpr uint32_t kPlusGreen = 0xFF00A000;
    constexpr uint32_t kPlusBlack = 0xFF000000;
    EmfPlusRecords p;
    p.Header(false);
    p.SolidBrush(0, kPlusYellow).Pen(1, 3, kPlusBlue).Pen(2, 2, kPlusGreen);
    p.FillRects(0, false, {QRectF(10, 10, 100, 60)}).DrawRects(1, {QRectF(10, 10, 100, 60)});
    p.FillEllipse(kPlusRed, QRectF(130, 10, 100, 60)).DrawEllipse(2, QRectF(130, 10, 100, 60));
    p.ArcLike(0x4010, 0x8000A0FF, 0, 270, QRectF(250, 10, 60, 60));
    p.ArcLike(0x4012, 1, 180, 180, QRectF(320, 10, 56, 60));
    p.FillPolygon(0, {{10, 150}, {60, 90}, {110, 150}});
    p.DrawLines(1, true, {{130, 150}, {180, 90}, {230, 150}});
    p.Path(3, {{250, 150}, {270, 80}, {330, 80}, {370, 150}, {250, 150}}, {0, 3, 3, 3, 0x81});
    p.FillPath(3, 0xFF80C0FF).DrawPath(3, 2);
    Bytes first = p.TakeComment();
    p.Font(4, 26, 2, 1, u"Times New Roman").StringFormat(5, 1, 1);
    p.DrawRects(2, {QRectF(10, 170, 220, 40)});
    p.DrawString(4, kPlusBlack, 5, QRectF(10, 170, 220, 40), u"Centred title");
    p.Font(6, 14, 3, 0, u"Arial");
    p.DrawString(6, kPlusBlue, 99, QRectF(10, 220, 0, 0), u"Arial 14 points, no format");
    p.Font(7, 24, 2, 0, u"Symbol");
    p.DrawString(7, kPlusBlack, 99, QRectF(10, 248, 0, 0), u"a + b = g \uF0A3 p");
    p.SetWorldTransform(QTransform().translate(310, 220).rotate(30));
    p.FillRects(kPlusGreen, true, {QRectF(-25, -25, 50, 50)});
    p.ResetWorldTransform().EndOfFile();
    return Emf().Comment(first).Comment(p.TakeComment()).Finish();
}

// Bitmaps of the newer model: a PNG stretched into a rectangle, and 32-bit pixels stored in
// three records drawn onto a parallelogram.
inline Bytes EmfPlusImages()
{
    EmfPlusRecords p;
    p.Header(false).Image(0, Quarters(16, 12), true).Image(1, Quarters(8, 8), false, 3);
    p.DrawImage(0, QRectF(0, 0, 16, 12), QRectF(10, 10, 160, 120));
    p.DrawImagePoints(1, QRectF(0, 0, 8, 8), {{200, 40}, {360, 10}, {230, 140}});
    p.DrawImage(0, QRectF(8, 6, 8, 6), QRectF(10, 150, 120, 90)).EndOfFile();
    return Emf().Comment(p.TakeComment()).Finish();
}

// The same picture marked dual, with one older record for what the older model shows.
inline Bytes EmfPlusDual()
{
    EmfPlusRecords p;
    p.Header(true).FillRects(0xFFFF0000, true, {QRectF(0, 0, 384, 288)}).EndOfFile();
    return Emf()
        .Comment(p.TakeComment())
        .CreateBrush(1, 0, kBlue)
        .SelectObject(1)
        .Rectangle(10, 10, 100, 100)
        .Finish();
}

// A picture played on a white 384 x 288 image; `played` tells whether the player took it.
inline QImage Played(const Bytes& bytes, bool* played = nullptr)
{
    QImage image(384, 288, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const bool ok = PlayMetafile(bytes, painter, QRectF(0, 0, 384, 288));
    painter.end();
    if (played != nullptr) {
        *played = ok;
    }
    return image;
}

} // namespace figures::metafiletest
