#pragma once

// Records of the newer model for regions, clipping, the brushes beyond solid colours and
// strings of positioned glyphs, and a picture using each of them.

#include "tests/figures/render/pictures/metafile/emfplusscenes.h"

namespace figures::metafiletest::plus {

constexpr uint32_t kAnd = 1, kUnion = 2, kXor = 3, kExclude = 4, kComplement = 5;

// Nodes of a region's tree, written depth first.
inline Bytes RectNode(QRectF r)
{
    Bytes d;
    Put32(d, 0x10000000);
    const Bytes rect = EmfPlusRecords::Rects({r});
    d.insert(d.end(), rect.begin(), rect.end());
    return d;
}
inline Bytes InfiniteNode()
{
    Bytes d;
    Put32(d, 0x10000003);
    return d;
}
inline Bytes EmptyNode()
{
    Bytes d;
    Put32(d, 0x10000002);
    return d;
}
inline Bytes EllipseNode(QRectF r)
{
    // Four Bezier quarters of the ellipse, as a path node.
    const double cx = r.center().x(), cy = r.center().y(), a = r.width() / 2, b = r.height() / 2;
    constexpr double k = 0.5523;
    const std::vector<QPointF> pts = {
        {cx + a, cy},         {cx + a, cy + k * b}, {cx + k * a, cy + b}, {cx, cy + b},
        {cx - k * a, cy + b}, {cx - a, cy + k * b}, {cx - a, cy},         {cx - a, cy - k * b},
        {cx - k * a, cy - b}, {cx, cy - b},         {cx + k * a, cy - b}, {cx + a, cy - k * b},
        {cx + a, cy}};
    Bytes path;
    for (uint32_t v : {0xDBC01002u, uint32_t(pts.size()), 0u}) {
        Put32(path, v);
    }
    for (const QPointF& p : pts) {
        PutF32(path, float(p.x()));
        PutF32(path, float(p.y()));
    }
    path.push_back(0);
    for (size_t i = 1; i < pts.size(); ++i) {
        path.push_back(i + 1 == pts.size() ? 0x83 : 3);
    }
    while (path.size() % 4) {
        path.push_back(0);
    }
    Bytes d;
    Put32(d, 0x10000001);
    Put32(d, uint32_t(path.size()));
    d.insert(d.end(), path.begin(), path.end());
    return d;
}
inline Bytes Node(uint32_t op, const Bytes& left, const Bytes& right)
{
    Bytes d;
    Put32(d, op);
    d.insert(d.end(), left.begin(), left.end());
    d.insert(d.end(), right.begin(), right.end());
    return d;
}

inline void Region(EmfPlusRecords& p, int id, const Bytes& root, uint32_t childNodes = 0)
{
    Bytes d;
    Put32(d, 0xDBC01002u);
    Put32(d, childNodes);
    d.insert(d.end(), root.begin(), root.end());
    p.Record(0x4008, uint16_t(0x0400 | id), d);
}
inline void FillRegion(EmfPlusRecords& p, int id, uint32_t argb)
{
    Bytes d;
    Put32(d, argb);
    p.Record(0x4013, uint16_t(0x8000 | id), d);
}
inline void SetClipRect(EmfPlusRecords& p, uint32_t mode, QRectF r)
{
    p.Record(0x4032, uint16_t(mode << 8), EmfPlusRecords::Rects({r}));
}
inline void SetClipPath(EmfPlusRecords& p, uint32_t mode, int path)
{
    p.Record(0x4033, uint16_t(mode << 8 | path), {});
}
inline void SetClipRegion(EmfPlusRecords& p, uint32_t mode, int region)
{
    p.Record(0x4034, uint16_t(mode << 8 | region), {});
}
inline void ResetClip(EmfPlusRecords& p)
{
    p.Record(0x4031, 0, {});
}
inline void OffsetClip(EmfPlusRecords& p, float dx, float dy)
{
    Bytes d;
    PutF32(d, dx);
    PutF32(d, dy);
    p.Record(0x4035, 0, d);
}
inline void Save(EmfPlusRecords& p, uint32_t index)
{
    Bytes d;
    Put32(d, index);
    p.Record(0x4025, 0, d);
}
inline void Restore(EmfPlusRecords& p, uint32_t index)
{
    Bytes d;
    Put32(d, index);
    p.Record(0x4026, 0, d);
}

inline void BeginContainer(EmfPlusRecords& p, uint32_t index)
{
    Bytes d;
    Put32(d, index);
    p.Record(0x4028, 0, d);
}
// A container whose source rectangle lands on dest of the world around it.
inline void BeginContainer(EmfPlusRecords& p, QRectF dest, QRectF source, uint32_t index)
{
    Bytes d = EmfPlusRecords::Rects({dest, source});
    Put32(d, index);
    p.Record(0x4027, 0, d);
}
inline void EndContainer(EmfPlusRecords& p, uint32_t index)
{
    Bytes d;
    Put32(d, index);
    p.Record(0x4029, 0, d);
}

inline void BrushHead(Bytes& d, uint32_t type)
{
    Put32(d, 0xDBC01002u);
    Put32(d, type);
}
inline void HatchBrush(EmfPlusRecords& p, int id, uint32_t style, uint32_t fore, uint32_t back)
{
    Bytes d;
    BrushHead(d, 1);
    for (uint32_t v : {style, fore, back}) {
        Put32(d, v);
    }
    p.Record(0x4008, uint16_t(0x0100 | id), d);
}
// Colours from start to end across rect, repeated beyond it; factors, when given, as
// (position, share of the end colour) pairs.
inline void LinearGradient(EmfPlusRecords& p, int id, QRectF rect, uint32_t start, uint32_t end,
                           const std::vector<std::pair<float, float>>& factors = {},
                           int32_t wrap = 0)
{
    Bytes d;
    BrushHead(d, 4);
    Put32(d, factors.empty() ? 0 : 0x08);
    Put32(d, uint32_t(wrap));
    const Bytes r = EmfPlusRecords::Rects({rect});
    d.insert(d.end(), r.begin(), r.end());
    for (uint32_t v : {start, end, 0u, 0u}) {
        Put32(d, v);
    }
    if (!factors.empty()) {
        Put32(d, uint32_t(factors.size()));
        for (const auto& f : factors) {
            PutF32(d, f.first);
        }
        for (const auto& f : factors) {
            PutF32(d, f.second);
        }
    }
    p.Record(0x4008, uint16_t(0x0100 | id), d);
}
// From centre in its colour to the boundary points in the surrounding colour.
inline void PathGradient(EmfPlusRecords& p, int id, QPointF centre, uint32_t centreColour,
                         uint32_t surrounding, const std::vector<QPointF>& boundary)
{
    Bytes d;
    BrushHead(d, 3);
    Put32(d, 0);
    Put32(d, 0);
    Put32(d, centreColour);
    PutF32(d, float(centre.x()));
    PutF32(d, float(centre.y()));
    Put32(d, 1);
    Put32(d, surrounding);
    Put32(d, uint32_t(boundary.size()));
    for (const QPointF& q : boundary) {
        PutF32(d, float(q.x()));
        PutF32(d, float(q.y()));
    }
    p.Record(0x4008, uint16_t(0x0100 | id), d);
}
// A texture of 32-bit pixels, tiled from the world's origin.
inline void TextureBrush(EmfPlusRecords& p, int id, const QImage& image)
{
    Bytes d;
    BrushHead(d, 2);
    Put32(d, 0);
    Put32(d, 0);
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (uint32_t v : {0xDBC01002u, 1u, uint32_t(argb.width()), uint32_t(argb.height()),
                       uint32_t(argb.width() * 4), 0x0026200Au, 0u}) {
        Put32(d, v);
    }
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            Put32(d, argb.pixel(x, y));
        }
    }
    p.Record(0x4008, uint16_t(0x0100 | id), d);
}
// Characters (options 1) or glyph numbers at their baseline positions.
inline void DrawDriverString(EmfPlusRecords& p, int font, uint32_t argb, uint32_t options,
                             const std::u16string& glyphs, const std::vector<QPointF>& at)
{
    Bytes d;
    for (uint32_t v : {argb, options, 0u, uint32_t(glyphs.size())}) {
        Put32(d, v);
    }
    for (char16_t g : glyphs) {
        Put16(d, g);
    }
    for (const QPointF& q : at) {
        PutF32(d, float(q.x()));
        PutF32(d, float(q.y()));
    }
    p.Record(0x4036, uint16_t(0x8000 | font), d);
}

} // namespace figures::metafiletest::plus

namespace figures::metafiletest {

// Regions filled and used as clips (each combination mode), saved and restored clips.
inline void AddRegionsAndClips(EmfPlusRecords& p)
{
    using namespace plus;
    // Top row: a region of two overlapping squares combined each way, filled.
    const QRectF a(0, 0, 40, 40), b(20, 20, 40, 40);
    const uint32_t ops[] = {kAnd, kUnion, kXor, kExclude, kComplement};
    for (int i = 0; i < 5; ++i) {
        const QPointF at(10 + i * 74, 10);
        Region(p, 0, Node(ops[i], RectNode(a.translated(at)), RectNode(b.translated(at))), 2);
        FillRegion(p, 0, 0xFF2060C0);
    }
    // Second row: stripes clipped by an ellipse region, by a rectangle less a hole, and an
    // infinite region minus an ellipse; the clip saved, replaced and restored.
    Region(p, 1, EllipseNode(QRectF(10, 80, 110, 70)));
    SetClipRegion(p, 0, 1);
    p.FillRects(0xFFE04000, true, {QRectF(0, 80, 130, 20), QRectF(0, 110, 130, 20)});
    SetClipRect(p, 0, QRectF(140, 80, 110, 70));
    SetClipRect(p, 4, QRectF(170, 100, 50, 30));
    Save(p, 7);
    SetClipRect(p, 0, QRectF(0, 0, 1, 1));
    Restore(p, 7);
    p.FillRects(0xFF00A000, true, {QRectF(130, 70, 130, 90)});
    Region(p, 2, Node(kExclude, InfiniteNode(), EllipseNode(QRectF(290, 90, 60, 50))), 2);
    SetClipRect(p, 0, QRectF(270, 80, 100, 70));
    SetClipRegion(p, 1, 2);
    OffsetClip(p, 4, 0);
    p.FillRects(0xFF800080, true, {QRectF(260, 70, 120, 90)});
    ResetClip(p);
}

// Hatched, textured and gradient brushes.
inline void AddBrushes(EmfPlusRecords& p)
{
    using namespace plus;
    // Third row: hatches, a texture, a linear gradient with a blend, a path gradient.
    HatchBrush(p, 3, 5, 0xFF0000FF, 0xFFFFFFC0);
    p.FillRects(3, false, {QRectF(10, 165, 50, 50)});
    HatchBrush(p, 4, 2, 0xFFC00000, 0x00000000);
    p.FillRects(4, false, {QRectF(70, 165, 50, 50)});
    TextureBrush(p, 5, Quarters(8, 8));
    p.FillRects(5, false, {QRectF(130, 165, 50, 50)});
    LinearGradient(p, 6, QRectF(190, 165, 90, 50), 0xFFFF0000, 0xFF0000FF, {{0, 0}, {0.5f, 0.2f}, {1, 1}});
    p.FillRects(6, false, {QRectF(190, 165, 90, 50)});
    PathGradient(p, 7, QPointF(330, 190), 0xFFFFFFFF, 0xFF008000,
                 {{290, 165}, {370, 165}, {370, 215}, {290, 215}});
    p.FillRects(7, false, {QRectF(280, 160, 100, 60)});
}

inline void AddPositionedText(EmfPlusRecords& p)
{
    using namespace plus;
    constexpr uint32_t kPlusBlack = 0xFF000000;
    // Last row: characters at their own positions, one a Greek letter, and a string
    // whose later characters follow the first's advance.
    p.Font(8, 24, 2, 0, u"Arial");
    DrawDriverString(p, 8, kPlusBlack, 1, u"Spaced\u03A9", {{10, 250}, {30, 250}, {50, 250}, {70, 250},
                                                   {90, 250}, {110, 250}, {130, 250}});
    DrawDriverString(p, 8, 0xFF0000C0, 5, u"Advanced", std::vector<QPointF>(8, {170, 250}));
}

// A picture drawn only through the newer model of some of the parts above.
inline Bytes EmfPlusPicture(std::initializer_list<void (*)(EmfPlusRecords&)> parts)
{
    EmfPlusRecords p;
    p.Header(false);
    for (auto part : parts) {
        part(p);
    }
    p.EndOfFile();
    return Emf().Comment(p.TakeComment()).Finish();
}

// Regions and clips, brushes, and strings of positioned characters.
inline Bytes EmfPlusClipAndBrushes()
{
    return EmfPlusPicture({AddRegionsAndClips, AddBrushes, AddPositionedText});
}

} // namespace figures::metafiletest
