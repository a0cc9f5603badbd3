#include "figures/render/text/fontmapping.h"

#include "figures/render/drawcontext.h"
#include "figures/render/gbk.h"

#include <QFontMetricsF>

#include <algorithm>
#include <array>
#include <cmath>

namespace figures {

namespace {

// Installed CJK families, by kind. The serif ones carry the brush-like strokes of the
// Song, Fangsong and Kai faces; the sans ones the even strokes of Hei and Yahei.
const QStringList& SerifFamilies()
{
    static const QStringList families{QStringLiteral("Noto Serif CJK SC"),
                                      QStringLiteral("WenQuanYi Zen Hei")};
    return families;
}

const QStringList& SansFamilies()
{
    static const QStringList families{QStringLiteral("Noto Sans CJK SC"),
                                      QStringLiteral("WenQuanYi Zen Hei")};
    return families;
}

// A Chinese system face and its cell in ems: ascent above the baseline, descent below.
struct FaceSubstitute {
    const char* face; // UTF-8
    bool serif;
    double ascent;
    double descent;
};

// The Song, Fangsong, Kai and Hei faces share a one-em cell; Yahei has a taller one.
constexpr double kEmAscent = 0.859;
constexpr double kEmDescent = 0.141;
constexpr double kYaheiAscent = 1.058;
constexpr double kYaheiDescent = 0.262;

constexpr FaceSubstitute kSubstitutes[] = {
    {"宋体", true, kEmAscent, kEmDescent},
    {"SimSun", true, kEmAscent, kEmDescent},
    {"新宋体", true, kEmAscent, kEmDescent},
    {"NSimSun", true, kEmAscent, kEmDescent},
    {"仿宋", true, kEmAscent, kEmDescent},
    {"FangSong", true, kEmAscent, kEmDescent},
    {"仿宋_GB2312", true, kEmAscent, kEmDescent},
    {"FangSong_GB2312", true, kEmAscent, kEmDescent},
    {"楷体", true, kEmAscent, kEmDescent},
    {"KaiTi", true, kEmAscent, kEmDescent},
    {"楷体_GB2312", true, kEmAscent, kEmDescent},
    {"KaiTi_GB2312", true, kEmAscent, kEmDescent},
    {"黑体", false, kEmAscent, kEmDescent},
    {"SimHei", false, kEmAscent, kEmDescent},
    {"微软雅黑", false, kYaheiAscent, kYaheiDescent},
    {"Microsoft YaHei", false, kYaheiAscent, kYaheiDescent},
};

// The record's height when it is 0: the objects' default character height of 3.2 mm.
constexpr int32_t kDefaultHeight = -32;
// Cell heights are turned into character heights by measuring the face at this size.
constexpr int kProbePixels = 100;

const FaceSubstitute* SubstituteFor(const QString& face)
{
    for (const FaceSubstitute& s : kSubstitutes) {
        if (face.compare(QString::fromUtf8(s.face), Qt::CaseInsensitive) == 0) {
            return &s;
        }
    }
    return nullptr;
}

// The cell of a face in ems: the Chinese system face's own when the record names one,
// else the installed face's ascent and descent.
struct Cell {
    double ascent = 0;
    double descent = 0;
};

Cell CellOf(QFont& font, const FaceSubstitute* substitute)
{
    if (substitute != nullptr) {
        return {substitute->ascent, substitute->descent};
    }
    font.setPixelSize(kProbePixels);
    const QFontMetricsF metrics(font);
    return {metrics.ascent() / kProbePixels, metrics.descent() / kProbePixels};
}

// The pixel size (em height) for the record's height at scale pixels per unit.
int PixelSize(int32_t height, double scale, const Cell& cell)
{
    if (height == 0) {
        height = kDefaultHeight;
    }
    double pixels = std::abs(double(height)) * scale;
    const double cellEms = cell.ascent + cell.descent;
    if (height > 0 && cellEms > 0) {
        // A positive height is the cell; the em is smaller or larger by the face's ratio.
        pixels /= cellEms;
    }
    return int(std::clamp(std::lround(pixels), 1L, 0x7FFFL));
}

// Percent of the natural width that makes the average Latin letter width pixels wide.
int Stretch(const QFont& font, double widthPixels)
{
    static const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyz");
    const double natural = QFontMetricsF(font).horizontalAdvance(letters) / letters.size();
    if (natural <= 0) {
        return 100;
    }
    return int(std::clamp(std::lround(100.0 * widthPixels / natural), 1L, 4000L));
}

DeviceFont MakeFont(const LogFont& record, double scaleX, double scaleY)
{
    QFont font;
    font.setFamilies(FontFamiliesFor(record.FaceName()));
    const FaceSubstitute* substitute = SubstituteFor(FromGbk(record.FaceName()).trimmed());
    font.setStyleHint(substitute != nullptr && !substitute->serif ? QFont::SansSerif
                                                                  : QFont::Serif);
    font.setWeight(record.Weight() <= 0
                       ? QFont::Normal
                       : QFont::Weight(std::clamp(record.Weight(), int32_t(1), int32_t(1000))));
    font.setItalic(record.Italic() != 0);
    font.setUnderline(record.Underline() != 0);
    font.setStrikeOut(record.StrikeOut() != 0);
    const Cell cell = CellOf(font, substitute);
    const int pixels = PixelSize(record.Height(), scaleY, cell);
    font.setPixelSize(pixels);
    if (record.Width() != 0) {
        font.setStretch(Stretch(font, std::abs(double(record.Width())) * scaleX));
    }
    return {font, cell.ascent * pixels, (cell.ascent + cell.descent) * pixels};
}

// Recent fonts by record and scale. Painting asks for the same few fonts object after
// object. The cache only saves work (a font made again is the same font), and each
// thread keeps its own, so threads painting at once never meet here.
struct CachedFont {
    LogFont key;
    double scaleX = 0;
    double scaleY = 0;
    DeviceFont font;
    bool used = false;
};

constexpr size_t kCachedFonts = 8;
thread_local std::array<CachedFont, kCachedFonts> g_fonts;
thread_local size_t g_nextFont = 0;

} // namespace

QStringList FontFamiliesFor(std::string_view gbkFace)
{
    const QString face = FromGbk(gbkFace).trimmed();
    if (face.isEmpty()) {
        // The platform chose the Song face for a record without a name.
        return SerifFamilies();
    }
    if (const FaceSubstitute* s = SubstituteFor(face)) {
        QStringList families = s->serif ? SerifFamilies() : SansFamilies();
        families.append(face);
        return families;
    }
    QStringList families{face};
    families.append(SansFamilies());
    return families;
}

DeviceFont FontFor(const LogFont& font, double scaleX, double scaleY)
{
    // The turn is the caller's business, so records differing only in it share a font.
    LogFont key = font;
    key.SetEscapement(0);
    key.SetOrientation(0);
    for (const CachedFont& cached : g_fonts) {
        if (cached.used && cached.key == key && cached.scaleX == scaleX &&
            cached.scaleY == scaleY) {
            return cached.font;
        }
    }
    CachedFont& slot = g_fonts[g_nextFont];
    g_nextFont = (g_nextFont + 1) % kCachedFonts;
    slot = {key, scaleX, scaleY, MakeFont(key, scaleX, scaleY), true};
    return slot.font;
}

DeviceFont FontFor(const LogFont& font, const DrawContext& dc)
{
    return FontFor(font, dc.ScaleX(), dc.ScaleY());
}

} // namespace figures
