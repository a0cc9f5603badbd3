#pragma once

// Small pictures of both metafile formats, each covering one family of records: the
// reference pictures of the player's tests and seeds for its fuzzers.

#include "figures/render/gbk.h"
#include "tests/figures/render/pictures/metafile/metafilebuilder.h"

#include <cmath>
#include <numbers>

namespace figures::metafiletest {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kGreen = 0x00A000;
constexpr uint32_t kBlue = 0xFF0000;
constexpr uint32_t kYellow = 0x00FFFF;
constexpr uint32_t kCyan = 0xFFFF00;
constexpr uint32_t kOrange = 0x0080FF;
constexpr uint32_t kGrey = 0xC0C0C0;
constexpr uint32_t kStock = 0x80000000;

inline std::string Gbk(const char* utf8)
{
    return ToGbk(QString::fromUtf8(utf8));
}

inline std::vector<QPoint> Star(int cx, int cy, int r)
{
    std::vector<QPoint> points;
    for (int i = 0; i < 5; ++i) {
        const double a = -std::numbers::pi / 2 + i * 4 * std::numbers::pi / 5;
        points.emplace_back(cx + int(r * std::cos(a)), cy + int(r * std::sin(a)));
    }
    return points;
}

// Pens, brushes and every closed and open figure of the placeable format, at half size.
inline Bytes WmfShapes()
{
    WmfBuilder b(0, 0, 800, 600, 192);
    b.SetMapMode(8).SetWindowOrg(0, 0).SetWindowExt(800, 600);
    b.CreatePen(0, 6, kBlue).CreateBrush(0, kYellow).SelectObject(0).SelectObject(1);
    b.Rectangle(20, 20, 180, 140);
    b.CreateBrush(2, kRed, 5).SelectObject(2); // diagonal cross hatch, opaque background
    b.Ellipse(200, 20, 380, 140);
    b.CreatePen(1, 1, kBlack).CreateBrush(1, 0).SelectObject(3).SelectObject(4);
    b.RoundRect(400, 20, 580, 140, 60, 60);
    b.CreatePen(0, 4, kGreen).CreateBrush(0, kCyan).SelectObject(5).SelectObject(6);
    b.ArcLike(0x081A, 600, 20, 780, 140, 780, 80, 690, 0);     // pie: right to top
    b.ArcLike(0x0830, 20, 170, 180, 290, 180, 230, 20, 230);   // chord: upper half
    b.ArcLike(0x0817, 200, 170, 380, 290, 290, 290, 380, 230); // arc: bottom to right, a quarter
    b.CreateBrush(0, kOrange).SelectObject(7);
    b.SetPolyFillMode(1).Poly(0x0324, Star(490, 230, 70));
    b.SetPolyFillMode(2).Poly(0x0324, Star(690, 230, 70));
    b.SetPolyFillMode(1).PolyPolygon({{{20, 320}, {180, 320}, {180, 480}, {20, 480}},
                                      {{60, 360}, {140, 360}, {140, 440}, {60, 440}}});
    b.CreatePen(0, 12, kRed).SelectObject(8);
    b.Poly(0x0325, {{200, 480}, {240, 330}, {290, 460}, {330, 340}, {380, 470}});
    b.CreatePen(2, 0, kBlue).SelectObject(9);
    b.MoveTo(400, 330).LineTo(580, 330).LineTo(580, 380).LineTo(400, 380);
    b.SelectObject(0).CreateBrush(0, kOrange).SelectObject(10);
    b.Rectangle(400, 400, 580, 480);
    b.SetBkMode(1).CreateBrush(2, kBlue, 3).SelectObject(11); // transparent hatch
    b.Rectangle(420, 390, 560, 500);
    b.SetBkMode(2);
    b.SelectObject(6).Rectangle(600, 320, 740, 440);
    b.SetRop2(7).SelectObject(7).Rectangle(660, 380, 780, 500).SetRop2(13); // XOR pen
    b.DeleteObject(3).DeleteObject(4);
    b.CreatePen(0, 2, kBlack).SelectObject(3).MoveTo(20, 560).LineTo(780, 560);
    return b.Finish();
}

// Text: GBK and Latin strings, opaque and transparent backgrounds, the alignments, advances,
// clipping to the rectangle and a turned font.
inline Bytes WmfText()
{
    WmfBuilder b(0, 0, 800, 400, 192);
    b.SetMapMode(8).SetWindowExt(800, 400);
    b.CreateFont(-48, 400, 134, Gbk("宋体")).SelectObject(0);
    b.SetTextColor(0x800000).SetBkMode(1);
    b.TextOut(20, 20, Gbk("你好，图元文件"));
    b.CreateFont(-40, 700, 0, "Arial").SelectObject(1);
    b.SetBkMode(2).SetBkColor(kYellow).SetTextColor(kBlack);
    b.TextOut(20, 100, "Latin text");
    b.CreatePen(0, 1, kRed).SelectObject(2).MoveTo(200, 220).LineTo(600, 220);
    b.SetBkMode(1).SetTextAlign(6 | 24);
    b.ExtTextOut(400, 220, 0, {}, "Spaced", {60, 60, 60, 60, 60, 60});
    b.SetTextAlign(0).SetBkColor(kGrey);
    b.ExtTextOut(20, 260, 2 | 4, QRect(20, 270, 200, 30), "Clipped and opaque");
    b.CreateFont(-36, 400, 0, "DejaVu Sans", 300).SelectObject(3);
    b.SetTextColor(kGreen).TextOut(560, 380, "Turned");
    b.SetTextAlign(2 | 8).SetTextColor(kBlue).SelectObject(1);
    b.TextOut(780, 180, Gbk("Right"));
    return b.Finish();
}

// Device-independent bitmaps: stretched, cut from a source rectangle, monochrome, mirrored,
// pattern-only transfers, a pattern brush and the mask-and-image transparency idiom.
inline Bytes WmfBitmaps()
{
    const QImage quarters = Quarters(16, 12);
    const Bytes dib24 = PackedDib(quarters, 24);
    const std::vector<QRgb> palette = {qRgb(255, 0, 0), qRgb(0, 160, 0), qRgb(0, 0, 255),
                                       qRgb(255, 200, 0), qRgb(0, 0, 0)};
    const Bytes dib8 = PackedDib(quarters, 8, palette);
    QImage checker(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            checker.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        }
    }
    const Bytes dib1 = PackedDib(checker, 1, {qRgb(0, 0, 0), qRgb(255, 255, 255)});
    QImage mask(16, 16, QImage::Format_RGB32);
    QImage sprite(16, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool inside = (x - 8) * (x - 8) + (y - 8) * (y - 8) < 49;
            mask.setPixel(x, y, inside ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
            sprite.setPixel(x, y, inside ? qRgb(200, 0, 200) : qRgb(0, 0, 0));
        }
    }
    WmfBuilder b(0, 0, 800, 600, 192);
    b.SetMapMode(8).SetWindowExt(800, 600);
    b.StretchDib(QRect(20, 20, 240, 180), QRect(0, 0, 16, 12), dib24);
    b.DibStretchBlt(QRect(280, 20, 160, 180), QRect(8, 0, 8, 12), dib8, 0x00CC0020);
    b.DibBitBlt(QPoint(470, 20), QPoint(0, 0), QSize(8, 8), dib1, 0x00CC0020);
    b.StretchDib(QRect(760, 120, -240, 90), QRect(0, 0, 16, 12), dib24); // mirrored
    b.CreateBrush(2, kBlue, 0).SelectObject(0);
    b.PatBlt(20, 240, 240, 100, 0x00F00021); // PATCOPY
    b.PatBlt(60, 60, 120, 100, 0x00550009);  // DSTINVERT
    b.CreateDibPatternBrush(PackedDib(Quarters(8, 8), 24)).SelectObject(1);
    b.CreatePen(5, 0, 0).SelectObject(2);
    b.Ellipse(300, 240, 560, 420);
    b.CreateBrush(0, kGreen).SelectObject(3).Rectangle(580, 240, 780, 420);
    b.StretchDib(QRect(600, 260, 160, 160), QRect(0, 0, 16, 16), PackedDib(mask, 24), 0x008800C6);
    b.StretchDib(QRect(600, 260, 160, 160), QRect(0, 0, 16, 16), PackedDib(sprite, 24), 0x00EE0086);
    return b.Finish();
}

// Clipping (rectangles, saved and restored, regions) and the mapping modes.
inline Bytes WmfClipAndMapping()
{
    WmfBuilder b(0, 0, 800, 600, 192);
    b.SetMapMode(8).SetWindowExt(800, 600);
    b.CreatePen(5, 0, 0).CreateBrush(0, kRed).SelectObject(0).SelectObject(1);
    b.SaveDc().IntersectClipRect(20, 20, 180, 120);
    b.Ellipse(0, 0, 200, 200);
    b.SaveDc().ExcludeClipRect(60, 40, 140, 100);
    b.CreateBrush(0, kBlue).SelectObject(2).Rectangle(0, 0, 800, 600);
    b.RestoreDc(-1);
    b.CreateBrush(0, kYellow).SelectObject(3).Rectangle(80, 60, 120, 80);
    b.RestoreDc(-1);
    b.CreateRegion({QRect(220, 20, 80, 40), QRect(260, 80, 120, 60)}).SelectObject(4);
    b.SelectObject(2).Rectangle(200, 0, 400, 200);
    b.SelectClipRegion(999); // no region: clipping ends
    b.SelectObject(3).Rectangle(200, 180, 400, 220);
    // Metric mapping: y goes up from the viewport origin at the bottom left.
    b.SaveDc().SetViewportOrg(40, 580).SetMapMode(2);
    b.CreatePen(0, 10, kBlack).SelectObject(5).SelectObject(1);
    b.Poly(0x0324, {{0, 0}, {300, 0}, {0, 300}});
    b.ArcLike(0x081A, 350, 0, 650, 300, 650, 150, 500, 300); // pie right to top, y up
    b.RestoreDc(-1);
    // Isotropic: the wider viewport is cut to keep a circle round.
    b.SetMapMode(7).SetWindowOrg(0, 0).SetWindowExt(100, 100);
    b.SetViewportOrg(600, 50).SetViewportExt(300, 150);
    b.SelectObject(2).SelectObject(5).Ellipse(0, 0, 100, 100);
    return b.Finish();
}

// A picture of 384 x 288 pixels on a 96-dpi reference device.
inline EmfBuilder Emf()
{
    return EmfBuilder(QRect(0, 0, 384, 288), QRect(0, 0, 10160, 7620));
}

// Both point sizes of every poly record, extended pens, stock objects and the arcs.
inline Bytes EmfShapes()
{
    EmfBuilder b = Emf();
    b.CreatePen(1, 0, 2, kBlue).SelectObject(1).SelectObject(kStock | 5);
    b.Poly(87, {{10, 60}, {40, 10}, {70, 60}, {100, 10}}); // polyline, 16-bit
    b.CreateBrush(2, 0, kYellow).SelectObject(2);
    b.Poly(3, {{120, 10}, {180, 10}, {150, 60}});               // polygon, 32-bit
    b.Poly(2, {{200, 60}, {210, 0}, {260, 0}, {270, 60}});      // bezier
    b.MoveTo(290, 60).Poly(5, {{300, 0}, {350, 0}, {370, 60}}); // bezier from the position
    b.Poly(6, {{370, 10}, {330, 30}});                          // polyline from the position
    b.PolyPoly(90, {{{10, 80}, {60, 80}}, {{10, 90}, {60, 110}}});
    b.SetPolyFillMode(2).PolyPoly(8, {{{80, 80}, {160, 80}, {160, 140}, {80, 140}},
                                      {{100, 100}, {140, 100}, {140, 120}, {100, 120}}});
    b.ExtCreatePen(3, 0x10000 | 0x200 | 0x2000, 14, kRed).SelectObject(3); // flat, miter
    b.Poly(4, {{180, 130}, {210, 85}, {240, 130}});
    b.ExtCreatePen(4, 0x10000 | 0x000 | 0x0000, 14, kGreen).SelectObject(4); // round, round
    b.Poly(4, {{260, 130}, {290, 85}, {320, 130}});
    b.ExtCreatePen(5, 0x10000 | 0x100 | 0x1000, 14, kBlue).SelectObject(5); // square, bevel
    b.Poly(4, {{340, 130}, {360, 95}, {375, 130}});
    b.ExtCreatePen(6, 0x10000 | 7 | 0x200, 4, kBlack, {20, 8, 4, 8}).SelectObject(6);
    b.MoveTo(10, 160).LineTo(370, 160);
    b.ExtCreatePen(7, 1, 1, kBlack).SelectObject(7); // cosmetic dashes
    b.MoveTo(10, 170).LineTo(370, 170);
    b.SelectObject(kStock | 8).SelectObject(kStock | 2); // null pen, grey brush
    b.Rectangle(10, 180, 70, 230);
    b.SelectObject(kStock | 7).SelectObject(kStock | 0);
    b.RoundRect(80, 180, 150, 230, 20, 20);
    b.MoveTo(170, 205).AngleArc(200, 205, 25, 0, 270);
    b.MoveTo(240, 180).ArcLike(55, 240, 180, 300, 240, 300, 210, 270, 180);
    b.SetArcDirection(2).ArcLike(45, 310, 180, 370, 240, 370, 210, 340, 180); // clockwise
    b.PolyDraw({{10, 250}, {60, 250}, {60, 280}, {80, 250}, {120, 250}, {90, 290}, {125, 285}},
               {6, 2, 2 | 1, 6, 4, 4, 4 | 1});
    b.SelectObject(2).ArcLike(47, 140, 240, 200, 288, 200, 264, 170, 240);
    b.ArcLike(46, 220, 240, 280, 288, 280, 264, 220, 264);
    return b.Finish();
}

// Paths, clip paths, regions, world transforms and the window mapping.
inline Bytes EmfPathsAndTransforms()
{
    EmfBuilder b = Emf();
    b.ExtCreatePen(1, 0x10000, 6, kBlue).CreateBrush(2, 0, kCyan).SelectObject(1).SelectObject(2);
    b.BeginPath().MoveTo(20, 20).LineTo(100, 20).LineTo(60, 80).CloseFigure();
    b.Ellipse(110, 20, 170, 80).EndPath().StrokeAndFillPath();
    b.BeginPath().MoveTo(190, 20).LineTo(260, 80).LineTo(260, 20).EndPath().FillPath();
    b.BeginPath().MoveTo(280, 20).LineTo(360, 80).LineTo(360, 20).EndPath().StrokePath();
    b.ExtCreatePen(3, 0x10000 | 0x200, 12, kBlack).SelectObject(3);
    b.BeginPath().MoveTo(20, 110).LineTo(160, 110).EndPath().WidenPath();
    b.SelectObject(2).FillPath();
    // A clip path: stripes show only inside the ellipse.
    b.SaveDc().BeginPath().Ellipse(190, 100, 370, 170).EndPath().SelectClipPath(5);
    b.SelectObject(kStock | 8).CreateBrush(4, 0, kRed).SelectObject(4);
    for (int x = 180; x < 380; x += 20) {
        b.Rectangle(x, 90, x + 10, 180);
    }
    b.RestoreDc(-1);
    // Region clipping, replaced, cut, then dropped.
    b.SaveDc().ExtSelectClipRgn(5, {QRect(20, 140, 60, 30), QRect(40, 180, 100, 20)});
    b.ExtSelectClipRgn(4, {QRect(50, 140, 10, 60)});
    b.SelectObject(kStock | 4).Rectangle(0, 130, 180, 210);
    b.ExtSelectClipRgn(5, {}, true);
    b.SelectObject(kStock | 7).MoveTo(10, 215).LineTo(170, 215);
    b.RestoreDc(-1);
    // Turned and scaled drawing through the world transform.
    const float c = std::cos(std::numbers::pi_v<float> / 6);
    const float s = std::sin(std::numbers::pi_v<float> / 6);
    b.SaveDc().Transform(0, c, s, -s, c, 270, 200);
    b.SelectObject(2).SelectObject(1).Rectangle(-50, -20, 50, 20);
    b.CreateFont(5, -16, 400, 0, u"DejaVu Sans").SelectObject(5);
    b.SetBkMode(1).SetTextAlign(6 | 24).ExtTextOutW(0, 5, u"turned");
    b.Transform(2, 0.5f, 0, 0, 0.5f, 0, 60); // scale first, then the turn
    b.SelectObject(4).Ellipse(-40, -20, 40, 20);
    b.Transform(1, 0, 0, 0, 0, 0, 0).SelectObject(kStock | 2).Rectangle(330, 240, 370, 280);
    b.RestoreDc(-1);
    // Anisotropic mapping: a 10 x 10 window on a 60 x 30 viewport.
    b.SetMapMode(8).SetWindowOrg(0, 0).SetWindowExt(10, 10);
    b.SetViewportOrg(20, 230).SetViewportExt(60, 30);
    b.SelectObject(kStock | 7).SelectObject(4).Ellipse(0, 0, 10, 10);
    return b.Finish();
}

// The bitmap records: device-independent and device transfers, raster operations, alpha
// blending, a transparent colour, gradients, region fills and a pattern brush.
inline Bytes EmfBitmaps()
{
    const QImage quarters = Quarters(16, 12);
    const Bytes dib24 = PackedDib(quarters, 24);
    const std::vector<QRgb> palette = {qRgb(255, 0, 0), qRgb(0, 160, 0), qRgb(0, 0, 255),
                                       qRgb(255, 200, 0), qRgb(0, 0, 0)};
    const Bytes dib8 = PackedDib(quarters, 8, palette, true);
    const Bytes dib4 = PackedDib(quarters, 4, palette);
    QImage alpha(16, 16, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const int a = x * 17;
            alpha.setPixel(x, y, qRgba(0, 0, a, a)); // premultiplied blue fading in
        }
    }
    QImage keyed = Quarters(16, 16);
    for (int y = 4; y < 12; ++y) {
        for (int x = 4; x < 12; ++x) {
            keyed.setPixel(x, y, qRgb(255, 0, 255));
        }
    }
    EmfBuilder b = Emf();
    b.StretchDiBits(QRect(10, 10, 96, 72), QRect(0, 0, 16, 12), dib24, DibInfoBytes(24, 0));
    b.StretchDiBits(QRect(116, 10, 48, 72), QRect(0, 6, 8, 6), dib8, DibInfoBytes(8, 5));
    b.Blit(76, QRect(174, 10, 16, 12), QRect(0, 0, 16, 12), 0x00CC0020, dib24, DibInfoBytes(24, 0));
    b.Blit(77, QRect(200, 10, 64, 48), QRect(0, 0, 16, 12), 0x00CC0020, dib4, DibInfoBytes(4, 5));
    b.CreateBrush(1, 2, kRed, 4).SelectObject(1);
    b.Blit(76, QRect(274, 10, 100, 60), QRect(), 0x00F00021, {}, 0); // pattern only
    b.CreateBrush(2, 0, kYellow).SelectObject(2).SelectObject(kStock | 8);
    b.Rectangle(10, 100, 130, 160);
    b.Blit(114, QRect(10, 100, 120, 60), QRect(0, 0, 16, 16), 0x01FF0000, PackedDib(alpha, 32),
           DibInfoBytes(32, 0)); // per-pixel alpha
    b.Blit(114, QRect(70, 120, 80, 60), QRect(0, 0, 16, 12), 0x00800000, dib24,
           DibInfoBytes(24, 0)); // half opacity
    b.Blit(116, QRect(160, 90, 80, 80), QRect(0, 0, 16, 16), Rgb(255, 0, 255), PackedDib(keyed, 24),
           DibInfoBytes(24, 0));
    b.GradientFill({{250, 90, qRgb(255, 0, 0)}, {370, 130, qRgb(0, 0, 255)}}, {{0, 1}}, 0);
    b.GradientFill({{250, 135, qRgb(0, 160, 0)}, {370, 175, qRgb(255, 255, 0)}}, {{0, 1}}, 1);
    b.GradientFill(
        {{10, 280, qRgb(255, 0, 0)}, {60, 190, qRgb(0, 255, 0)}, {110, 280, qRgb(0, 0, 255)}},
        {{0, 1, 2}}, 2);
    b.FillRgn(1, {QRect(130, 190, 60, 30), QRect(150, 230, 60, 30)});
    b.CreateDibPatternBrush(3, PackedDib(Quarters(8, 8), 24), DibInfoBytes(24, 0));
    b.SelectObject(3).SelectObject(kStock | 7).Ellipse(230, 190, 370, 280);
    return b.Finish();
}

// Text of the enhanced format: Chinese faces and strings, advances, opaque rectangles and
// the alignments.
inline Bytes EmfText()
{
    EmfBuilder b = Emf();
    b.CreateFont(1, -28, 400, 134, u"黑体").SelectObject(1);
    b.SetBkMode(1).SetTextColor(kBlue).ExtTextOutW(10, 10, u"图元文件 EMF");
    b.CreateFont(2, -24, 700, 134, u"宋体").SelectObject(2);
    b.SetTextColor(kBlack).SetBkColor(kYellow).SetBkMode(2);
    b.ExtTextOutW(10, 60, u"宋体加粗");
    b.SetBkMode(1).SetBkColor(kGrey);
    b.ExtTextOutW(10, 110, u"spaced", 2, QRect(5, 105, 250, 35), {40, 40, 40, 40, 40, 40});
    b.CreateFont(3, 20, 400, 0, u"DejaVu Serif").SelectObject(3);
    b.SetTextAlign(2 | 8).SetTextColor(kRed).ExtTextOutW(374, 200, u"Right bottom");
    b.SetTextAlign(6 | 24).SetTextColor(kGreen).ExtTextOutW(192, 240, u"Centre baseline");
    b.CreatePen(4, 0, 1, kRed).SelectObject(4).MoveTo(92, 240).LineTo(292, 240);
    b.CreateFont(5, -20, 400, 134, u"SimSun", 900).SelectObject(5);
    b.SetTextAlign(0).SetTextColor(kBlack).ExtTextOutW(350, 180, u"竖排");
    return b.Finish();
}

} // namespace figures::metafiletest
