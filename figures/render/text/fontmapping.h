#pragma once

#include "figures/render/text/facesubstitution.h"
#include "figures/render/text/logfont.h"

#include <QFont>
#include <QStringList>

#include <string_view>

namespace figures {

class DrawContext;

// The installed families that stand in for a face name of a font record (GBK bytes),
// best first: the families of SubstituteFace.
QStringList FontFamiliesFor(std::string_view gbkFace);

// The weight a record asks for as Qt's weight: 0 (don't care) is normal, 1..1000 as
// given (700 bold). The font matcher then takes the installed cut of the nearest weight,
// so 600 and above come out bold and 500 and below regular where a family has only
// those two.
QFont::Weight RecordWeight(int32_t weight);

// Families, style hint and weight of a face on font.
void ApplyFace(QFont& font, const FaceSubstitute& face, int32_t weight);

// The average character width of font (its pixel size, weight and face set) in pixels,
// as the platform the records come from measures it: the average of the small letters
// and the space weighted by how often they occur in English text (the definition fonts
// of that platform record, which the metric-compatible families reproduce exactly), or
// half the em for the Chinese faces, whose Latin letters are all half an em wide.
double AverageCharWidth(const QFont& font, const FaceSubstitute& face);

// Squeezes or widens font (pixel size, weight and face set) so that its average
// character width is widthPixels; a width of 0 keeps the face's own proportions (the
// substitute's stretch for faces drawn by a wider kin).
void ApplyWidth(QFont& font, const FaceSubstitute& face, double widthPixels);

// A font record made ready for a device: the Qt font and the cell (ascent plus descent)
// in which its lines are laid out, in device pixels. Lines are placed cell below cell
// and each is written with its baseline ascent below the cell's top.
// Symbol fonts number their characters their own way (encoding); their text is turned
// into the characters it shows before it is measured or drawn (DeviceText).
struct DeviceFont {
    QFont font;
    double ascent = 0;
    double cellHeight = 0;
    SymbolEncoding encoding = SymbolEncoding::None;
};

// The characters a line of GBK text shows in font: decoded from GBK, or for a symbol
// font each byte one code of its encoding.
QString DeviceText(const DeviceFont& font, std::string_view gbk);

// The font a record describes, sized for drawing at scaleX, scaleY device pixels per
// document unit:
// - height in document units: negative is the character (em) height, positive the
//   cell height, 0 the default of -32; the pixel size is rounded to whole pixels and is
//   at least 1, as the platform's fonts are;
// - width in document units: 0 keeps the face's proportions, otherwise the font is
//   stretched so that its average character width (AverageCharWidth) is that wide;
// - weight as RecordWeight; italic, underline and strike-out are on when their bytes
//   are non-zero.
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
