#pragma once

#include "figures/render/text/symbolcharset.h"

#include <QFont>
#include <QStringList>

#include <cstdint>

namespace figures {

// How the installed fonts stand in for a face a font record names. Documents and
// pictures name the faces of the systems they were made on; this one table serves text
// in shapes and text in metafile pictures alike.
//
// - The Chinese system faces (宋体, 黑体, 楷体, 仿宋, 微软雅黑 and their kin, by Chinese or
//   English name) are drawn by installed CJK families of the same kind, serif or sans,
//   and keep their own cells (ascent and descent in ems), so that as many lines fit a box
//   as where the document was made.
// - The Western system faces are drawn by metric-compatible families, whose characters
//   have the same advances, so that text runs exactly as long: Arial and Helvetica by
//   Liberation Sans, Times New Roman and Times by Liberation Serif, Courier New and Courier
//   by Liberation Mono; Arial Narrow by a narrow sans, or Liberation Sans condensed to
//   the narrow face's width when no narrow family is installed; Tahoma, Verdana and the
//   MS Sans Serif user-interface faces by DejaVu Sans, their nearest kin.
// - Symbol, Wingdings and Webdings, and any face of the symbol character set, keep their
//   own character numbering (see SymbolEncoding) and are drawn with families that have
//   the Unicode characters their codes show.
// A Western face comes first in its own list, so a system that has it uses it; a
// Chinese face comes last, after the substitutes whose cells are known. Every list
// ends with families that cover Greek, mathematical signs and Chinese, so no character
// an installed font has is drawn as a missing-glyph box.
struct FaceSubstitute {
    QStringList families;
    QFont::StyleHint hint = QFont::SansSerif;
    // Cell of a Chinese system face in ems; both 0 when the installed face's own ascent
    // and descent apply.
    double ascent = 0;
    double descent = 0;
    // Percent of the family's natural width, for faces drawn by a wider kin when the
    // record asks for no width of its own.
    int stretch = 100;
    SymbolEncoding encoding = SymbolEncoding::None;
    // The face draws Latin letters a half em wide, as the Chinese system faces do; their
    // average character width is that half em.
    bool halfWidthLatin = false;
};

// The substitute for a face name (surrounding spaces ignored, English names compared
// without regard to case) in a character set. An empty name is the system's Song face.
FaceSubstitute SubstituteFace(const QString& face, uint8_t charSet);

} // namespace figures
