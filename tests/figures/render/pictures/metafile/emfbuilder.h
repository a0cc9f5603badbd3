#pragma once

// Writes small enhanced metafiles byte by byte, for the player's tests and the fuzzers'
// seed corpora. Records are written as a recording device would write them; Raw lets a
// test write anything at all.

#include "tests/figures/render/pictures/metafile/wmfbuilder.h"

namespace figures::metafiletest {

class EmfBuilder {
public:
    // A header for a picture of bounds (reference-device pixels) and frame (HIMETRIC) on a
    // reference device of devicePixels that measures deviceMm millimetres.
    EmfBuilder(QRect bounds, QRect frame, QSize devicePixels = {960, 960},
               QSize deviceMm = {254, 254})
    {
        Bytes out;
        PutRect(out, bounds);
        PutRect(out, frame);
        Put32(out, 0x464D4520);
        Put32(out, 0x10000);
        Put32(out, 0); // file size, filled in by Finish
        Put32(out, 0); // record count, filled in by Finish
        Put16(out, 1); // handles, filled in by Finish
        Put16(out, 0);
        Put32(out, 0); // description
        Put32(out, 0);
        Put32(out, 0); // palette entries
        Put32(out, uint32_t(devicePixels.width()));
        Put32(out, uint32_t(devicePixels.height()));
        Put32(out, uint32_t(deviceMm.width()));
        Put32(out, uint32_t(deviceMm.height()));
        Raw(1, out);
    }

    // Inclusive right and bottom, as the header's rectangles are written.
    static void PutRect(Bytes& out, QRect r)
    {
        Put32(out, uint32_t(r.left()));
        Put32(out, uint32_t(r.top()));
        Put32(out, uint32_t(r.right()));
        Put32(out, uint32_t(r.bottom()));
    }
    // Exclusive right and bottom, as drawing records give boxes.
    static void PutBox(Bytes& out, int l, int t, int r, int b)
    {
        for (int v : {l, t, r, b}) {
            Put32(out, uint32_t(v));
        }
    }

    EmfBuilder& Raw(uint32_t type, const Bytes& params)
    {
        Put32(bytes_, type);
        Put32(bytes_, uint32_t(8 + (params.size() + 3) / 4 * 4));
        bytes_.insert(bytes_.end(), params.begin(), params.end());
        while (bytes_.size() % 4) {
            bytes_.push_back(0);
        }
        ++records_;
        return *this;
    }
    EmfBuilder& Ints(uint32_t type, std::initializer_list<int> params)
    {
        Bytes out;
        for (int v : params) {
            Put32(out, uint32_t(v));
        }
        return Raw(type, out);
    }

    EmfBuilder& SetMapMode(int mode) { return Ints(17, {mode}); }
    EmfBuilder& SetWindowOrg(int x, int y) { return Ints(10, {x, y}); }
    EmfBuilder& SetWindowExt(int w, int h) { return Ints(9, {w, h}); }
    EmfBuilder& SetViewportOrg(int x, int y) { return Ints(12, {x, y}); }
    EmfBuilder& SetViewportExt(int w, int h) { return Ints(11, {w, h}); }
    EmfBuilder& SetBkMode(int mode) { return Ints(18, {mode}); }
    EmfBuilder& SetPolyFillMode(int mode) { return Ints(19, {mode}); }
    EmfBuilder& SetTextAlign(int align) { return Ints(22, {align}); }
    EmfBuilder& SetTextColor(uint32_t colour) { return Ints(24, {int(colour)}); }
    EmfBuilder& SetBkColor(uint32_t colour) { return Ints(25, {int(colour)}); }
    EmfBuilder& SetArcDirection(int direction) { return Ints(57, {direction}); }
    EmfBuilder& SaveDc() { return Ints(33, {}); }
    EmfBuilder& RestoreDc(int which) { return Ints(34, {which}); }
    EmfBuilder& SelectObject(uint32_t index) { return Ints(37, {int(index)}); }
    EmfBuilder& DeleteObject(uint32_t index) { return Ints(40, {int(index)}); }
    EmfBuilder& MoveTo(int x, int y) { return Ints(27, {x, y}); }
    EmfBuilder& LineTo(int x, int y) { return Ints(54, {x, y}); }
    EmfBuilder& Rectangle(int l, int t, int r, int b) { return Ints(43, {l, t, r, b}); }
    EmfBuilder& Ellipse(int l, int t, int r, int b) { return Ints(42, {l, t, r, b}); }
    EmfBuilder& RoundRect(int l, int t, int r, int b, int w, int h)
    {
        return Ints(44, {l, t, r, b, w, h});
    }
    // type 45 arc, 46 chord, 47 pie, 55 arc-to
    EmfBuilder& ArcLike(uint32_t type, int l, int t, int r, int b, int xs, int ys, int xe, int ye)
    {
        return Ints(type, {l, t, r, b, xs, ys, xe, ye});
    }
    EmfBuilder& AngleArc(int x, int y, int radius, float start, float sweep)
    {
        Bytes out;
        Put32(out, uint32_t(x));
        Put32(out, uint32_t(y));
        Put32(out, uint32_t(radius));
        PutF32(out, start);
        PutF32(out, sweep);
        return Raw(41, out);
    }
    EmfBuilder& IntersectClipRect(int l, int t, int r, int b) { return Ints(30, {l, t, r, b}); }
    EmfBuilder& ExcludeClipRect(int l, int t, int r, int b) { return Ints(29, {l, t, r, b}); }
    EmfBuilder& BeginPath() { return Ints(59, {}); }
    EmfBuilder& EndPath() { return Ints(60, {}); }
    EmfBuilder& CloseFigure() { return Ints(61, {}); }
    EmfBuilder& FillPath() { return Ints(62, {0, 0, 0, 0}); }
    EmfBuilder& StrokeAndFillPath() { return Ints(63, {0, 0, 0, 0}); }
    EmfBuilder& StrokePath() { return Ints(64, {0, 0, 0, 0}); }
    EmfBuilder& WidenPath() { return Ints(66, {}); }
    EmfBuilder& SelectClipPath(int mode) { return Ints(67, {mode}); }
    // 6 floats; mode 0 sets it, 1..4 modify it
    EmfBuilder& Transform(int mode, float m11, float m12, float m21, float m22, float dx, float dy)
    {
        Bytes out;
        for (float v : {m11, m12, m21, m22, dx, dy}) {
            PutF32(out, v);
        }
        if (mode == 0) {
            return Raw(35, out);
        }
        Put32(out, uint32_t(mode));
        return Raw(36, out);
    }
    // Poly records: 32-bit types 2..6, 16-bit types 85..89.
    EmfBuilder& Poly(uint32_t type, const std::vector<QPoint>& points)
    {
        Bytes out;
        PutBox(out, 0, 0, 0, 0);
        Put32(out, uint32_t(points.size()));
        for (const QPoint& p : points) {
            if (type >= 85) {
                Put16(out, uint32_t(p.x()));
                Put16(out, uint32_t(p.y()));
            } else {
                Put32(out, uint32_t(p.x()));
                Put32(out, uint32_t(p.y()));
            }
        }
        return Raw(type, out);
    }
    // type 7/8 (32-bit) or 90/91 (16-bit)
    EmfBuilder& PolyPoly(uint32_t type, const std::vector<std::vector<QPoint>>& lists)
    {
        Bytes out;
        PutBox(out, 0, 0, 0, 0);
        Put32(out, uint32_t(lists.size()));
        size_t total = 0;
        for (const auto& l : lists) {
            total += l.size();
        }
        Put32(out, uint32_t(total));
        for (const auto& l : lists) {
            Put32(out, uint32_t(l.size()));
        }
        for (const auto& l : lists) {
            for (const QPoint& p : l) {
                if (type >= 90) {
                    Put16(out, uint32_t(p.x()));
                    Put16(out, uint32_t(p.y()));
                } else {
                    Put32(out, uint32_t(p.x()));
                    Put32(out, uint32_t(p.y()));
                }
            }
        }
        return Raw(type, out);
    }
    EmfBuilder& PolyDraw(const std::vector<QPoint>& points, const std::vector<uint8_t>& types)
    {
        Bytes out;
        PutBox(out, 0, 0, 0, 0);
        Put32(out, uint32_t(points.size()));
        for (const QPoint& p : points) {
            Put32(out, uint32_t(p.x()));
            Put32(out, uint32_t(p.y()));
        }
        out.insert(out.end(), types.begin(), types.end());
        return Raw(56, out);
    }
    EmfBuilder& CreatePen(uint32_t index, int style, int width, uint32_t colour)
    {
        Handle(index);
        return Ints(38, {int(index), style, width, 0, int(colour)});
    }
    EmfBuilder& ExtCreatePen(uint32_t index, uint32_t style, int width, uint32_t colour,
                             const std::vector<int>& dashes = {})
    {
        Handle(index);
        Bytes out;
        Put32(out, index);
        for (int i = 0; i < 4; ++i) {
            Put32(out, 0);
        }
        Put32(out, style);
        Put32(out, uint32_t(width));
        Put32(out, 0); // solid brush
        Put32(out, colour);
        Put32(out, 0);
        Put32(out, uint32_t(dashes.size()));
        for (int d : dashes) {
            Put32(out, uint32_t(d));
        }
        return Raw(95, out);
    }
    EmfBuilder& CreateBrush(uint32_t index, int style, uint32_t colour, int hatch = 0)
    {
        Handle(index);
        return Ints(39, {int(index), style, int(colour), hatch});
    }
    EmfBuilder& CreateDibPatternBrush(uint32_t index, const Bytes& dib, size_t infoSize)
    {
        Handle(index);
        Bytes out;
        Put32(out, index);
        Put32(out, 0);
        const uint32_t at = 8 + 24;
        Put32(out, at);
        Put32(out, uint32_t(infoSize));
        Put32(out, at + uint32_t(infoSize));
        Put32(out, uint32_t(dib.size() - infoSize));
        out.insert(out.end(), dib.begin(), dib.end());
        return Raw(94, out);
    }
    // A monochrome brush of 1-bit rows 32 bits apart, without a colour table.
    EmfBuilder& CreateMonoBrush(uint32_t index, int width, const std::vector<uint32_t>& rows)
    {
        Handle(index);
        Bytes out;
        const uint32_t info = 8 + 24;
        const uint32_t bits = info + 40;
        for (uint32_t v : {index, 2u, info, 40u, bits, uint32_t(4 * rows.size()), 40u}) {
            Put32(out, v);
        }
        Put32(out, uint32_t(width));
        Put32(out, uint32_t(rows.size()));
        Put16(out, 1); // planes
        Put16(out, 1); // bits a pixel
        for (uint32_t v : {0u, uint32_t(4 * rows.size()), 0u, 0u, 0u, 0u}) {
            Put32(out, v);
        }
        for (uint32_t row : rows) {
            Put32(out, row);
        }
        return Raw(93, out);
    }
    EmfBuilder& CreateFont(uint32_t index, int height, int weight, int charSet,
                           const std::u16string& face, int escapement = 0)
    {
        Handle(index);
        Bytes out;
        Put32(out, index);
        for (int v : {height, 0, escapement, escapement, weight}) {
            Put32(out, uint32_t(v));
        }
        for (int i = 0; i < 8; ++i) {
            out.push_back(i == 3 ? uint8_t(charSet) : 0);
        }
        for (size_t i = 0; i < 32; ++i) {
            Put16(out, i < face.size() ? face[i] : 0);
        }
        return Raw(82, out);
    }
    // EXTTEXTOUTW with an optional advance for every character.
    EmfBuilder& ExtTextOutW(int x, int y, const std::u16string& text, int options = 0,
                            QRect rect = {}, const std::vector<int>& dx = {})
    {
        Bytes out;
        PutBox(out, 0, 0, 0, 0);
        Put32(out, 1); // compatible graphics mode
        PutF32(out, 1);
        PutF32(out, 1);
        Put32(out, uint32_t(x));
        Put32(out, uint32_t(y));
        Put32(out, uint32_t(text.size()));
        const uint32_t stringAt = 8 + uint32_t(out.size()) + 4 + 4 + 16 + 4;
        Put32(out, stringAt);
        Put32(out, uint32_t(options));
        PutBox(out, rect.left(), rect.top(), rect.left() + rect.width(),
               rect.top() + rect.height());
        const uint32_t dxAt = dx.empty() ? 0 : stringAt + uint32_t((text.size() * 2 + 3) / 4 * 4);
        Put32(out, dxAt);
        for (char16_t c : text) {
            Put16(out, c);
        }
        while (out.size() % 4) {
            out.push_back(0);
        }
        for (int d : dx) {
            Put32(out, uint32_t(d));
        }
        return Raw(84, out);
    }
    // STRETCHDIBITS with the bitmap right after the fixed fields.
    EmfBuilder& StretchDiBits(QRect dest, QRect source, const Bytes& dib, size_t infoSize,
                              uint32_t rop = 0x00CC0020)
    {
        Bytes out;
        PutBox(out, 0, 0, 0, 0);
        for (int v :
             {dest.x(), dest.y(), source.x(), source.y(), source.width(), source.height()}) {
            Put32(out, uint32_t(v));
        }
        const uint32_t at = 80;
        Put32(out, at);
        Put32(out, uint32_t(infoSize));
        Put32(out, at + uint32_t(infoSize));
        Put32(out, uint32_t(dib.size() - infoSize));
        Put32(out, 0);
        Put32(out, rop);
        Put32(out, uint32_t(dest.width()));
        Put32(out, uint32_t(dest.height()));
        out.insert(out.end(), dib.begin(), dib.end());
        return Raw(81, out);
    }
    // BITBLT (76) or STRETCHBLT (77) with an identity source transform; an empty dib makes
    // the bitmap-less form. type 114 (alpha blend) and 116 (transparent) share the layout,
    // with operation holding the blend function or the transparent colour.
    EmfBuilder& Blit(uint32_t type, QRect dest, QRect source, uint32_t operation, const Bytes& dib,
                     size_t infoSize)
    {
        Bytes out;
        PutBox(out, 0, 0, 0, 0);
        for (int v : {dest.x(), dest.y(), dest.width(), dest.height()}) {
            Put32(out, uint32_t(v));
        }
        Put32(out, operation);
        Put32(out, uint32_t(source.x()));
        Put32(out, uint32_t(source.y()));
        for (float v : {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f}) {
            PutF32(out, v);
        }
        Put32(out, 0xFFFFFF);
        Put32(out, 0);
        const bool stretch = type != 76;
        const uint32_t at = stretch ? 108 : 100;
        Put32(out, dib.empty() ? 0 : at);
        Put32(out, uint32_t(dib.empty() ? 0 : infoSize));
        Put32(out, dib.empty() ? 0 : at + uint32_t(infoSize));
        Put32(out, uint32_t(dib.empty() ? 0 : dib.size() - infoSize));
        if (stretch) {
            Put32(out, uint32_t(source.width()));
            Put32(out, uint32_t(source.height()));
        }
        out.insert(out.end(), dib.begin(), dib.end());
        return Raw(type, out);
    }
    // Region data of the rectangles (reference-device pixels).
    static Bytes RegionData(const std::vector<QRect>& rects)
    {
        Bytes out;
        Put32(out, 32);
        Put32(out, 1);
        Put32(out, uint32_t(rects.size()));
        Put32(out, uint32_t(rects.size() * 16));
        PutBox(out, 0, 0, 0, 0);
        for (const QRect& r : rects) {
            PutBox(out, r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
        }
        return out;
    }
    EmfBuilder& ExtSelectClipRgn(int mode, const std::vector<QRect>& rects, bool noData = false)
    {
        const Bytes data = noData ? Bytes() : RegionData(rects);
        Bytes out;
        Put32(out, uint32_t(data.size()));
        Put32(out, uint32_t(mode));
        out.insert(out.end(), data.begin(), data.end());
        return Raw(75, out);
    }
    EmfBuilder& FillRgn(uint32_t brush, const std::vector<QRect>& rects)
    {
        const Bytes data = RegionData(rects);
        Bytes out;
        PutBox(out, 0, 0, 0, 0);
        Put32(out, uint32_t(data.size()));
        Put32(out, brush);
        out.insert(out.end(), data.begin(), data.end());
        return Raw(71, out);
    }
    // mode 0 horizontal, 1 vertical rectangles; 2 triangles. Colours as 0xRRGGBB values.
    struct Vertex {
        int x, y;
        QRgb colour;
    };
    EmfBuilder& GradientFill(const std::vector<Vertex>& vertices,
                             const std::vector<std::vector<uint32_t>>& mesh, int mode)
    {
        Bytes out;
        PutBox(out, 0, 0, 0, 0);
        Put32(out, uint32_t(vertices.size()));
        Put32(out, uint32_t(mesh.size()));
        Put32(out, uint32_t(mode));
        for (const Vertex& v : vertices) {
            Put32(out, uint32_t(v.x));
            Put32(out, uint32_t(v.y));
            Put16(out, uint32_t(qRed(v.colour)) << 8);
            Put16(out, uint32_t(qGreen(v.colour)) << 8);
            Put16(out, uint32_t(qBlue(v.colour)) << 8);
            Put16(out, 0);
        }
        for (const auto& m : mesh) {
            for (uint32_t i : m) {
                Put32(out, i);
            }
        }
        return Raw(118, out);
    }
    // A comment record; with "EMF+" data it looks like the records of the newer format.
    EmfBuilder& Comment(const Bytes& data)
    {
        Bytes out;
        Put32(out, uint32_t(data.size()));
        out.insert(out.end(), data.begin(), data.end());
        return Raw(70, out);
    }

    // Appends the end record and fills in the header's totals.
    Bytes Finish()
    {
        Ints(14, {0, 16, 20});
        Bytes out = bytes_;
        Set32(out, 48, uint32_t(out.size()));
        Set32(out, 52, records_);
        out[56] = uint8_t(handles_);
        out[57] = uint8_t(handles_ >> 8);
        return out;
    }

private:
    void Handle(uint32_t index)
    {
        if (index + 1 > handles_ && index < 0xFFFF) {
            handles_ = index + 1;
        }
    }

    Bytes bytes_;
    uint32_t records_ = 0;
    uint32_t handles_ = 1;
};

} // namespace figures::metafiletest
