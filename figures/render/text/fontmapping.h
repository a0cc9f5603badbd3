#pragma once

#include "figures/render/text/logfont.h"

#include <QFont>
#include <QStringList>

#include <string_view>

namespace figures {

class DrawContext;

// The installed families that stand in for a face name of a font record (GBK bytes),
// best first. The Chinese system faces documents name (宋体, 新宋体, 黑体, 楷体, 仿宋,
// 微软雅黑, by their Chinese or English names, case-insensitive for the latter) map to
// installed CJK families of the same kind, serif or sans; any other face comes first
// in its own list and is followed by the CJK families, so that Chinese characters
// always find glyphs. The face's own name always closes the list, so a system that has
// the original face still uses it when none of the substitutes is installed.
QStringList FontFamiliesFor(std::string_view gbkFace);

// A font record made ready for a device: the Qt font and the cell (ascent plus descent)
// in which its lines are laid out, in device pixels. Lines are placed cell below cell
// and each is written with its baseline ascent below the cell's top.
struct DeviceFont {
    QFont font;
    double ascent = 0;
    double cellHeight = 0;
};

// The font a record describes, sized for drawing at scaleX, scaleY device pixels per
// document unit:
// - height in document units: negative is the character (em) height, positive the
//   cell height, 0 the default of -32; the pixel size is rounded to whole pixels and is
//   at least 1, as the platform's fonts are;
// - width in document units: 0 keeps the face's proportions, otherwise the font is
//   stretched so that its average Latin letter is that wide;
// - weight 0 is normal, 1..1000 as given (700 bold); italic, underline and strike-out
//   are on when their bytes are non-zero.
// The Chinese system faces keep their own cells when substituted: the Song, Hei, Kai and
// Fangsong faces have a cell of exactly one em (baseline at 0.859 em), the Yahei face
// one of 1.32 em, so that as many lines fit a box as where the document was made. Other
// faces use the installed face's own ascent and descent.
// Escapement and orientation are not part of the result: the caller turns the painter.
// Fonts are kept in a small cache of recent requests, so asking again for a font of the
// same record and scale allocates nothing.
DeviceFont FontFor(const LogFont& font, double scaleX, double scaleY);
DeviceFont FontFor(const LogFont& font, const DrawContext& dc);

} // namespace figures
