#pragma once

// Writes small placeable metafiles byte by byte, and the bitmaps both metafile formats
// carry, for the player's tests and the fuzzers' seed corpora. Records are written as a
// recording device would write them; Raw lets a test write anything at all. Enhanced
// metafiles are written by emfbuilder.h; metafilebuilder.h brings both.

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace figures::metafiletest {

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

inline void Put32(Bytes& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i) {
        out.push_back(uint8_t(v >> (8 * i)));
    }
}

inline void PutF32(Bytes& out, float v)
{
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    Put32(out, bits);
}

// Overwrites four bytes at `at`; a place beyond the end is a mistake in the test.
inline void Set32(Bytes& out, size_t at, uint32_t v)
{
    if (out.size() < 4 || at > out.size() - 4) {
        std::abort();
    }
    for (size_t i = 0; i < 4; ++i) {
        out[at + i] = uint8_t(v >> (8 * i));
    }
}

inline uint32_t Rgb(int r, int g, int b)
{
    return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16;
}

// A packed device-independent bitmap of the image: 40-byte header, colour table, rows
// bottom first (top first when topDown). bitCount 1, 4 and 8 use palette, which must hold
// every colour of the image; 24 and 32 store the colours directly.
inline Bytes PackedDib(const QImage& image, int bitCount, const std::vector<QRgb>& palette = {},
                       bool topDown = false)
{
    const int w = image.width();
    const int h = image.height();
    Bytes out;
    Put32(out, 40);
    Put32(out, uint32_t(w));
    Put32(out, uint32_t(topDown ? -h : h));
    Put16(out, 1);
    Put16(out, uint32_t(bitCount));
    Put32(out, 0); // uncompressed
    const int stride = (w * bitCount + 31) / 32 * 4;
    Put32(out, uint32_t(stride * h));
    Put32(out, 3780);
    Put32(out, 3780);
    Put32(out, bitCount <= 8 ? uint32_t(palette.size()) : 0);
    Put32(out, 0);
    if (bitCount <= 8) {
        for (QRgb c : palette) {
            out.push_back(uint8_t(qBlue(c)));
            out.push_back(uint8_t(qGreen(c)));
            out.push_back(uint8_t(qRed(c)));
            out.push_back(0);
        }
    }
    auto index = [&](QRgb c) {
        for (size_t i = 0; i < palette.size(); ++i) {
            if ((palette[i] & 0xFFFFFF) == (c & 0xFFFFFF)) {
                return uint32_t(i);
            }
        }
        return uint32_t(0);
    };
    for (int row = 0; row < h; ++row) {
        const int y = topDown ? row : h - 1 - row;
        Bytes line(size_t(stride), 0);
        for (int x = 0; x < w; ++x) {
            const QRgb c = image.pixel(x, y);
            switch (bitCount) {
            case 1: line[size_t(x / 8)] |= uint8_t(index(c) << (7 - x % 8)); break;
            case 4: line[size_t(x / 2)] |= uint8_t(index(c) << (x % 2 ? 0 : 4)); break;
            case 8: line[size_t(x)] = uint8_t(index(c)); break;
            case 24:
                line[size_t(3 * x)] = uint8_t(qBlue(c));
                line[size_t(3 * x + 1)] = uint8_t(qGreen(c));
                line[size_t(3 * x + 2)] = uint8_t(qRed(c));
                break;
            case 32:
                line[size_t(4 * x)] = uint8_t(qBlue(c));
                line[size_t(4 * x + 1)] = uint8_t(qGreen(c));
                line[size_t(4 * x + 2)] = uint8_t(qRed(c));
                line[size_t(4 * x + 3)] = uint8_t(qAlpha(c));
                break;
            }
        }
        out.insert(out.end(), line.begin(), line.end());
    }
    return out;
}

// The size of the header and colour table at the start of PackedDib's result.
inline size_t DibInfoBytes(int bitCount, size_t paletteSize)
{
    return 40 + (bitCount <= 8 ? 4 * paletteSize : 0);
}

// A test picture: four coloured quarters with a black diagonal.
inline QImage Quarters(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            QRgb c = x < w / 2 ? (y < h / 2 ? qRgb(255, 0, 0) : qRgb(0, 160, 0))
                               : (y < h / 2 ? qRgb(0, 0, 255) : qRgb(255, 200, 0));
            if (x * h / w == y) {
                c = qRgb(0, 0, 0);
            }
            image.setPixel(x, y, c);
        }
    }
    return image;
}

class WmfBuilder {
public:
    // A placeable header with the bounding box and units per inch, then the standard one.
    WmfBuilder(int16_t left, int16_t top, int16_t right, int16_t bottom, uint16_t inch = 1440)
    {
        Put32(bytes_, 0x9AC6CDD7);
        Put16(bytes_, 0);
        for (int16_t v : {left, top, right, bottom}) {
            Put16(bytes_, uint16_t(v));
        }
        Put16(bytes_, inch);
        Put32(bytes_, 0);
        uint16_t checksum = 0;
        for (size_t i = 0; i < 20; i += 2) {
            checksum ^= uint16_t(bytes_[i] | bytes_[i + 1] << 8);
        }
        Put16(bytes_, checksum);
        Put16(bytes_, 1); // in memory
        Put16(bytes_, 9); // header words
        Put16(bytes_, 0x0300);
        Put32(bytes_, 0); // file size, filled in by Finish
        Put16(bytes_, 0); // objects, filled in by Finish
        Put32(bytes_, 0); // largest record, filled in by Finish
        Put16(bytes_, 0);
    }

    // A record of the function with its parameter bytes as given.
    WmfBuilder& Raw(uint16_t function, const Bytes& params)
    {
        const uint32_t words = uint32_t(3 + (params.size() + 1) / 2);
        Put32(bytes_, words);
        Put16(bytes_, function);
        bytes_.insert(bytes_.end(), params.begin(), params.end());
        if (params.size() % 2) {
            bytes_.push_back(0);
        }
        largest_ = std::max(largest_, words);
        return *this;
    }
    // A record of 16-bit parameters in the order they are stored.
    WmfBuilder& Words(uint16_t function, std::initializer_list<int> params)
    {
        Bytes out;
        for (int v : params) {
            Put16(out, uint32_t(v));
        }
        return Raw(function, out);
    }

    WmfBuilder& SetMapMode(int mode) { return Words(0x0103, {mode}); }
    WmfBuilder& SetWindowOrg(int x, int y) { return Words(0x020B, {y, x}); }
    WmfBuilder& SetWindowExt(int w, int h) { return Words(0x020C, {h, w}); }
    WmfBuilder& SetViewportOrg(int x, int y) { return Words(0x020D, {y, x}); }
    WmfBuilder& SetViewportExt(int w, int h) { return Words(0x020E, {h, w}); }
    WmfBuilder& SetBkMode(int mode) { return Words(0x0102, {mode}); }
    WmfBuilder& SetPolyFillMode(int mode) { return Words(0x0106, {mode}); }
    WmfBuilder& SetTextAlign(int align) { return Words(0x012E, {align}); }
    WmfBuilder& SetRop2(int rop2) { return Words(0x0104, {rop2}); }
    WmfBuilder& SetTextColor(uint32_t colour) { return Colour(0x0209, colour); }
    WmfBuilder& SetBkColor(uint32_t colour) { return Colour(0x0201, colour); }
    WmfBuilder& SaveDc() { return Words(0x001E, {}); }
    WmfBuilder& RestoreDc(int which) { return Words(0x0127, {which}); }
    WmfBuilder& SelectObject(int index) { return Words(0x012D, {index}); }
    WmfBuilder& DeleteObject(int index) { return Words(0x01F0, {index}); }
    WmfBuilder& SelectClipRegion(int index) { return Words(0x012C, {index}); }
    WmfBuilder& MoveTo(int x, int y) { return Words(0x0214, {y, x}); }
    WmfBuilder& LineTo(int x, int y) { return Words(0x0213, {y, x}); }
    WmfBuilder& Rectangle(int l, int t, int r, int b) { return Words(0x041B, {b, r, t, l}); }
    WmfBuilder& Ellipse(int l, int t, int r, int b) { return Words(0x0418, {b, r, t, l}); }
    WmfBuilder& RoundRect(int l, int t, int r, int b, int w, int h)
    {
        return Words(0x061C, {h, w, b, r, t, l});
    }
    // function 0x0817 arc, 0x081A pie, 0x0830 chord
    WmfBuilder& ArcLike(uint16_t function, int l, int t, int r, int b, int xs, int ys, int xe,
                        int ye)
    {
        return Words(function, {ye, xe, ys, xs, b, r, t, l});
    }
    WmfBuilder& IntersectClipRect(int l, int t, int r, int b)
    {
        return Words(0x0416, {b, r, t, l});
    }
    WmfBuilder& ExcludeClipRect(int l, int t, int r, int b) { return Words(0x0415, {b, r, t, l}); }
    WmfBuilder& PatBlt(int x, int y, int w, int h, uint32_t rop)
    {
        Bytes out;
        Put32(out, rop);
        for (int v : {h, w, y, x}) {
            Put16(out, uint32_t(v));
        }
        return Raw(0x061D, out);
    }
    // function 0x0324 polygon, 0x0325 polyline
    WmfBuilder& Poly(uint16_t function, const std::vector<QPoint>& points)
    {
        Bytes out;
        Put16(out, uint32_t(points.size()));
        for (const QPoint& p : points) {
            Put16(out, uint32_t(p.x()));
            Put16(out, uint32_t(p.y()));
        }
        return Raw(function, out);
    }
    WmfBuilder& PolyPolygon(const std::vector<std::vector<QPoint>>& polygons)
    {
        Bytes out;
        Put16(out, uint32_t(polygons.size()));
        for (const auto& polygon : polygons) {
            Put16(out, uint32_t(polygon.size()));
        }
        for (const auto& polygon : polygons) {
            for (const QPoint& p : polygon) {
                Put16(out, uint32_t(p.x()));
                Put16(out, uint32_t(p.y()));
            }
        }
        return Raw(0x0538, out);
    }
    WmfBuilder& CreatePen(int style, int width, uint32_t colour)
    {
        Bytes out;
        Put16(out, uint32_t(style));
        Put16(out, uint32_t(width));
        Put16(out, 0);
        Put32(out, colour);
        ++objects_;
        return Raw(0x02FA, out);
    }
    WmfBuilder& CreateBrush(int style, uint32_t colour, int hatch = 0)
    {
        Bytes out;
        Put16(out, uint32_t(style));
        Put32(out, colour);
        Put16(out, uint32_t(hatch));
        ++objects_;
        return Raw(0x02FC, out);
    }
    // face: GBK bytes
    WmfBuilder& CreateFont(int height, int weight, int charSet, const std::string& face,
                           int escapement = 0, bool italic = false, bool underline = false,
                           int width = 0)
    {
        Bytes out;
        for (int v : {height, width, escapement, escapement, weight}) {
            Put16(out, uint32_t(v));
        }
        out.push_back(italic);
        out.push_back(underline);
        out.push_back(0);
        out.push_back(uint8_t(charSet));
        for (int i = 0; i < 4; ++i) {
            out.push_back(0);
        }
        Bytes name(32, 0);
        std::memcpy(name.data(), face.data(), std::min<size_t>(face.size(), 31));
        out.insert(out.end(), name.begin(), name.end());
        ++objects_;
        return Raw(0x02FB, out);
    }
    // A region of rectangles, one scan each.
    WmfBuilder& CreateRegion(const std::vector<QRect>& rects)
    {
        Bytes out;
        Put16(out, 0); // next in chain
        Put16(out, 6); // object type
        Put32(out, 0); // object count
        Put16(out, 0); // region size
        Put16(out, uint32_t(rects.size()));
        Put16(out, 2); // largest scan
        for (int i = 0; i < 4; ++i) {
            Put16(out, 0); // bounds, not read
        }
        for (const QRect& r : rects) {
            Put16(out, 2);
            Put16(out, uint32_t(r.top()));
            Put16(out, uint32_t(r.top() + r.height()));
            Put16(out, uint32_t(r.left()));
            Put16(out, uint32_t(r.left() + r.width()));
            Put16(out, 2);
        }
        ++objects_;
        return Raw(0x06FF, out);
    }
    WmfBuilder& CreateDibPatternBrush(const Bytes& dib)
    {
        Bytes out;
        Put16(out, 6); // device-independent pattern
        Put16(out, 0); // RGB colours
        out.insert(out.end(), dib.begin(), dib.end());
        ++objects_;
        return Raw(0x0142, out);
    }
    WmfBuilder& TextOut(int x, int y, const std::string& bytes)
    {
        Bytes out;
        Put16(out, uint32_t(bytes.size()));
        out.insert(out.end(), bytes.begin(), bytes.end());
        if (bytes.size() % 2) {
            out.push_back(0);
        }
        Put16(out, uint32_t(y));
        Put16(out, uint32_t(x));
        return Raw(0x0521, out);
    }
    WmfBuilder& ExtTextOut(int x, int y, int options, QRect rect, const std::string& bytes,
                           const std::vector<int>& dx = {})
    {
        Bytes out;
        Put16(out, uint32_t(y));
        Put16(out, uint32_t(x));
        Put16(out, uint32_t(bytes.size()));
        Put16(out, uint32_t(options));
        if (options & 6) {
            for (int v : {rect.left(), rect.top(), rect.left() + rect.width(),
                          rect.top() + rect.height()}) {
                Put16(out, uint32_t(v));
            }
        }
        out.insert(out.end(), bytes.begin(), bytes.end());
        if (bytes.size() % 2) {
            out.push_back(0);
        }
        for (int v : dx) {
            Put16(out, uint32_t(v));
        }
        return Raw(0x0A32, out);
    }
    WmfBuilder& StretchDib(QRect dest, QRect source, const Bytes& dib, uint32_t rop = 0x00CC0020)
    {
        Bytes out;
        Put32(out, rop);
        Put16(out, 0); // RGB colours
        for (int v : {source.height(), source.width(), source.y(), source.x(), dest.height(),
                      dest.width(), dest.y(), dest.x()}) {
            Put16(out, uint32_t(v));
        }
        out.insert(out.end(), dib.begin(), dib.end());
        return Raw(0x0F43, out);
    }
    WmfBuilder& DibStretchBlt(QRect dest, QRect source, const Bytes& dib, uint32_t rop)
    {
        Bytes out;
        Put32(out, rop);
        for (int v : {source.height(), source.width(), source.y(), source.x(), dest.height(),
                      dest.width(), dest.y(), dest.x()}) {
            Put16(out, uint32_t(v));
        }
        out.insert(out.end(), dib.begin(), dib.end());
        return Raw(0x0B41, out);
    }
    WmfBuilder& DibBitBlt(QPoint dest, QPoint source, QSize size, const Bytes& dib, uint32_t rop)
    {
        Bytes out;
        Put32(out, rop);
        for (int v : {source.y(), source.x(), size.height(), size.width(), dest.y(), dest.x()}) {
            Put16(out, uint32_t(v));
        }
        out.insert(out.end(), dib.begin(), dib.end());
        return Raw(0x0940, out);
    }

    // Appends the end record and fills in the header's totals.
    Bytes Finish()
    {
        Words(0x0000, {});
        Bytes out = bytes_;
        const size_t header = 22;
        Set32(out, header + 6, uint32_t((out.size() - header) / 2));
        out[header + 10] = uint8_t(objects_);
        out[header + 11] = uint8_t(objects_ >> 8);
        Set32(out, header + 12, largest_);
        return out;
    }
    // The same records without the placeable header: a metafile that says its size only
    // through its window records.
    Bytes FinishPlain()
    {
        Bytes out = Finish();
        out.erase(out.begin(), out.begin() + 22);
        return out;
    }

private:
    WmfBuilder& Colour(uint16_t function, uint32_t colour)
    {
        Bytes out;
        Put32(out, colour);
        return Raw(function, out);
    }

    Bytes bytes_;
    uint32_t largest_ = 3;
    uint32_t objects_ = 0;
};

} // namespace figures::metafiletest
