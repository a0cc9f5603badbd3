#pragma once

// Pictures of Western text as pictures made on other systems carry it: system faces,
// character positions, squeezed fonts, symbol fonts and the Western code page; and a
// metafile without the placeable header. Reference pictures of the player's tests and
// seeds for its fuzzers.

#include "tests/figures/render/pictures/metafile/metafilescenes.h"

namespace figures::metafiletest {

// A bold Times New Roman title written with the character positions of that face, an
// Arial line at its own width, at half and at a quarter of its height, a formula in the
// Symbol face, and quotation marks, dashes and the euro sign of the Western code page.
inline Bytes WmfWesternText()
{
    WmfBuilder b(0, 0, 800, 500, 192);
    b.SetMapMode(8).SetWindowExt(800, 500);
    b.SetBkMode(1).SetTextColor(kBlack);
    b.CreateFont(-48, 700, 0, "Times New Roman").SelectObject(0);
    // The advances of Times New Roman Bold at 48 units: "Quarterly Report".
    b.ExtTextOut(20, 16, 0, {}, "Quarterly Report",
                 {37, 27, 24, 21, 16, 21, 21, 13, 24, 12, 35, 21, 27, 24, 21, 16});
    b.CreatePen(0, 1, kRed).SelectObject(1).MoveTo(20, 60).LineTo(409, 60);
    b.CreateFont(-32, 400, 0, "Arial").SelectObject(2);
    b.TextOut(20, 90, "Arial at its own width");
    b.CreateFont(-32, 400, 0, "Arial", 0, false, false, 16).SelectObject(3);
    b.TextOut(20, 140, "Arial at half the height");
    b.CreateFont(-32, 400, 0, "Arial", 0, false, false, 8).SelectObject(4);
    b.TextOut(20, 190, "Arial squeezed to a quarter of the height");
    b.CreateFont(-32, 400, 0, "Arial Narrow").SelectObject(5);
    b.TextOut(20, 240, "Arial Narrow");
    // "F" in Times, then in the Symbol face " = ∑ α Δρ ≤ ∞,  ∫ φ(ξ) δξ ≠ π".
    b.CreateFont(-40, 400, 0, "Times New Roman", 0, true).SelectObject(6);
    b.TextOut(20, 300, "F");
    b.CreateFont(-40, 400, 2, "Symbol").SelectObject(7);
    b.TextOut(50, 300, " = \xE5 a Dr \xA3 \xA5,  \xF2 f(x) dx \xB9 p");
    b.SelectObject(6).SetTextColor(kBlue);
    b.CreateFont(-32, 400, 0, "Courier New").SelectObject(8);
    b.TextOut(20, 370,
              "\x93Quoted\x94 \x96 \x80"
              "5 \x85");
    b.CreateFont(-32, 400, 2, "Wingdings").SelectObject(9);
    b.SetTextColor(kGreen).TextOut(20, 420, "\xFC \xFE \xFD \x81\x82\x83 \x4A \xE8");
    b.CreateFont(-28, 400, 0, "Tahoma").SelectObject(10);
    b.SetTextColor(kBlack).TextOut(420, 430, "Tahoma and Verdana");
    return b.Finish();
}

// A metafile without the placeable header: its window records say where the picture is
// (a window of 400 x 300 units from (100, 50)), at 96 units per inch.
inline Bytes WmfPlain()
{
    WmfBuilder b(0, 0, 1, 1); // the placeable header is dropped by FinishPlain
    b.SetMapMode(8).SetWindowOrg(100, 50).SetWindowExt(400, 300);
    b.CreatePen(0, 4, kBlue).CreateBrush(0, kYellow).SelectObject(0).SelectObject(1);
    b.Rectangle(110, 60, 490, 340);
    b.CreateBrush(0, kRed).SelectObject(2).Ellipse(140, 90, 300, 250);
    b.CreateBrush(2, kGreen, 3).SelectObject(3).Poly(0x0324, Star(400, 170, 80));
    b.CreateFont(-28, 700, 0, "Arial").SelectObject(4);
    b.SetBkMode(1).SetTextColor(kBlack).TextOut(130, 280, "Plain metafile");
    return b.FinishPlain();
}

// A metafile without the placeable header drawn in tenths of a millimetre (the y axis
// upward, no window extent): its picture is what it draws, a frame of 10 x 7.5 cm.
inline Bytes WmfPlainMetric()
{
    WmfBuilder b(0, 0, 1, 1);
    b.SetMapMode(2).SetWindowOrg(0, 0);
    b.CreatePen(0, 5, kBlack).CreateBrush(0, kYellow).SelectObject(0).SelectObject(1);
    b.Rectangle(0, 0, 1000, -750);
    b.CreatePen(0, 10, kBlue).CreateBrush(0, kCyan).SelectObject(2).SelectObject(3);
    b.Ellipse(100, -100, 450, -400);
    b.CreateBrush(2, kGreen, 3).SelectObject(4).Poly(0x0324, Star(720, -250, 180));
    b.Poly(0x0325, {{100, -650}, {300, -500}, {500, -650}, {700, -500}, {900, -650}});
    b.CreateFont(-60, 700, 0, "Arial").SelectObject(5);
    b.SetBkMode(1).SetTextColor(kBlack).TextOut(100, -430, "10 cm by 7.5 cm");
    return b.FinishPlain();
}

} // namespace figures::metafiletest
