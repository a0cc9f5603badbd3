#include "figures/render/text/facesubstitution.h"

#include <QFontDatabase>

namespace figures {

namespace {

// What stands in for a face, by kind.
enum class Kind {
    Song,      // Chinese serif system faces with a one-em cell
    Hei,       // Chinese sans system face with a one-em cell
    Yahei,     // Chinese sans user-interface face with a taller cell
    Sans,      // Arial
    Serif,     // Times New Roman
    Mono,      // Courier New
    Narrow,    // Arial Narrow
    Humanist,  // Tahoma, Verdana and the user-interface sans faces
    Symbol,    // Symbol
    Wingdings, // Wingdings 1 to 3
    Webdings,
};

struct FaceEntry {
    const char* face; // UTF-8
    Kind kind;
};

constexpr FaceEntry kFaces[] = {
    {"宋体", Kind::Song},
    {"SimSun", Kind::Song},
    {"新宋体", Kind::Song},
    {"NSimSun", Kind::Song},
    {"仿宋", Kind::Song},
    {"FangSong", Kind::Song},
    {"仿宋_GB2312", Kind::Song},
    {"FangSong_GB2312", Kind::Song},
    {"楷体", Kind::Song},
    {"KaiTi", Kind::Song},
    {"楷体_GB2312", Kind::Song},
    {"KaiTi_GB2312", Kind::Song},
    {"黑体", Kind::Hei},
    {"SimHei", Kind::Hei},
    {"微软雅黑", Kind::Yahei},
    {"Microsoft YaHei", Kind::Yahei},
    {"Arial", Kind::Sans},
    {"Helvetica", Kind::Sans},
    {"Arial Narrow", Kind::Narrow},
    {"Times New Roman", Kind::Serif},
    {"Times", Kind::Serif},
    {"Courier New", Kind::Mono},
    {"Courier", Kind::Mono},
    {"Tahoma", Kind::Humanist},
    {"Verdana", Kind::Humanist},
    {"MS Sans Serif", Kind::Humanist},
    {"Microsoft Sans Serif", Kind::Humanist},
    {"MS Shell Dlg", Kind::Humanist},
    {"MS Shell Dlg 2", Kind::Humanist},
    {"Symbol", Kind::Symbol},
    {"Wingdings", Kind::Wingdings},
    {"Wingdings 2", Kind::Wingdings},
    {"Wingdings 3", Kind::Wingdings},
    {"Webdings", Kind::Webdings},
};

// The Song, Fangsong, Kai and Hei faces share a one-em cell; Yahei has a taller one.
constexpr double kEmAscent = 0.859;
constexpr double kEmDescent = 0.141;
constexpr double kYaheiAscent = 1.058;
constexpr double kYaheiDescent = 0.262;

// Arial Narrow's characters are 82 % as wide as Arial's.
constexpr int kNarrowStretch = 82;

const QString kSerifCjk = QStringLiteral("Noto Serif CJK SC");
const QString kSansCjk = QStringLiteral("Noto Sans CJK SC");
const QString kZenHei = QStringLiteral("WenQuanYi Zen Hei");
const QString kDejaVuSans = QStringLiteral("DejaVu Sans");
const QString kDejaVuSerif = QStringLiteral("DejaVu Serif");
const QString kNarrowSans = QStringLiteral("Liberation Sans Narrow");

// Families that cover what a Western substitute lacks: Greek, mathematical signs,
// pictograms, and Chinese after them.
QStringList CoverageAfter(bool serif)
{
    if (serif) {
        return {kDejaVuSerif, kDejaVuSans, kSerifCjk, kSansCjk, kZenHei};
    }
    return {kDejaVuSans, kSansCjk, kZenHei};
}

FaceSubstitute Chinese(const QString& face, bool serif, double ascent, double descent)
{
    FaceSubstitute s;
    s.families = serif ? QStringList{kSerifCjk, kZenHei} : QStringList{kSansCjk, kZenHei};
    s.families.append(kDejaVuSans);
    if (!face.isEmpty()) {
        s.families.append(face);
    }
    s.hint = serif ? QFont::Serif : QFont::SansSerif;
    s.ascent = ascent;
    s.descent = descent;
    s.halfWidthLatin = true;
    return s;
}

FaceSubstitute Western(const QString& face, const QStringList& kin, QFont::StyleHint hint)
{
    FaceSubstitute s;
    s.families = face.isEmpty() ? kin : QStringList{face} + kin;
    s.families.append(CoverageAfter(hint == QFont::Serif));
    s.hint = hint;
    return s;
}

// Whether the installed fonts have a narrow cut of the sans face. Fonts are not
// installed while the program runs, so the answer is looked up once.
bool NarrowInstalled(const QString& face)
{
    static const bool narrowSans = QFontDatabase::hasFamily(kNarrowSans);
    return narrowSans || QFontDatabase::hasFamily(face);
}

FaceSubstitute ForKind(Kind kind, const QString& face)
{
    switch (kind) {
    case Kind::Song: return Chinese(face, true, kEmAscent, kEmDescent);
    case Kind::Hei: return Chinese(face, false, kEmAscent, kEmDescent);
    case Kind::Yahei: return Chinese(face, false, kYaheiAscent, kYaheiDescent);
    case Kind::Sans: return Western(face, {QStringLiteral("Liberation Sans")}, QFont::SansSerif);
    case Kind::Serif: return Western(face, {QStringLiteral("Liberation Serif")}, QFont::Serif);
    case Kind::Mono: return Western(face, {QStringLiteral("Liberation Mono")}, QFont::Monospace);
    case Kind::Narrow: {
        FaceSubstitute s =
            Western(face, {kNarrowSans, QStringLiteral("Liberation Sans")}, QFont::SansSerif);
        s.stretch = NarrowInstalled(face) ? 100 : kNarrowStretch;
        return s;
    }
    case Kind::Humanist: return Western(face, {kDejaVuSans}, QFont::SansSerif);
    case Kind::Symbol: {
        // The Symbol face's Greek is drawn like Times; its signs come from DejaVu.
        FaceSubstitute s = Western({}, {QStringLiteral("Liberation Serif")}, QFont::Serif);
        s.encoding = SymbolEncoding::Symbol;
        return s;
    }
    case Kind::Wingdings:
    case Kind::Webdings: {
        FaceSubstitute s = Western({}, {kDejaVuSans}, QFont::SansSerif);
        s.encoding = kind == Kind::Wingdings ? SymbolEncoding::Wingdings : SymbolEncoding::Webdings;
        return s;
    }
    }
    return {};
}

} // namespace

FaceSubstitute SubstituteFace(const QString& name, uint8_t charSet)
{
    const QString face = name.trimmed();
    if (face.isEmpty()) {
        // The platform chose the Song face for a record without a name.
        return ForKind(Kind::Song, face);
    }
    for (const FaceEntry& entry : kFaces) {
        if (face.compare(QString::fromUtf8(entry.face), Qt::CaseInsensitive) == 0) {
            FaceSubstitute s = ForKind(entry.kind, face);
            if (charSet == kSymbolCharset && s.encoding == SymbolEncoding::None) {
                s = ForKind(Kind::Symbol, face);
            }
            return s;
        }
    }
    if (charSet == kSymbolCharset) {
        // A symbol font we do not know: formula editors write with the Symbol face's codes.
        return ForKind(Kind::Symbol, face);
    }
    // Any other face first, then the sans families that have every character.
    return Western(face, {}, QFont::SansSerif);
}

} // namespace figures
