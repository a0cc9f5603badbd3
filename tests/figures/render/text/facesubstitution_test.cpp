// The face substitution table, widths and weights as font records ask for them, and
// characters of mixed scripts finding their glyphs.
#include "figures/render/gbk.h"
#include "figures/render/text/facesubstitution.h"
#include "figures/render/text/fontmapping.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <vector>

namespace figures {
namespace {

LogFont Record(const char* face, int32_t height, uint8_t charSet = 0)
{
    LogFont font;
    font.SetFaceName(ToGbk(QString::fromUtf8(face)));
    font.SetHeight(height);
    font.SetCharSet(charSet);
    return font;
}

// The glyph indexes text is drawn with in font; 0 is the missing-glyph box.
std::vector<quint32> GlyphsOf(const QFont& font, const QString& text)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    std::vector<quint32> glyphs;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        for (const quint32 glyph : run.glyphIndexes()) {
            glyphs.push_back(glyph);
        }
    }
    return glyphs;
}

TEST(FaceSubstitution, SystemFacesAreDrawnByTheirInstalledKin)
{
    struct Row {
        const char* face;
        uint8_t charSet;
        const char* family; // what the installed fonts draw the face with
        int stretch;        // of the font made for the record without a width
        SymbolEncoding encoding;
    };
    const std::vector<Row> rows = {
        {"Arial", 0, "Liberation Sans", 0, SymbolEncoding::None},
        {"arial", 0, "Liberation Sans", 0, SymbolEncoding::None},
        {" Helvetica ", 0, "Liberation Sans", 0, SymbolEncoding::None},
        {"Times New Roman", 0, "Liberation Serif", 0, SymbolEncoding::None},
        {"Times", 0, "Liberation Serif", 0, SymbolEncoding::None},
        {"Courier New", 0, "Liberation Mono", 0, SymbolEncoding::None},
        {"Courier", 0, "Liberation Mono", 0, SymbolEncoding::None},
        {"Arial Narrow", 0, "Liberation Sans", 82, SymbolEncoding::None},
        {"Tahoma", 0, "DejaVu Sans", 0, SymbolEncoding::None},
        {"Verdana", 0, "DejaVu Sans", 0, SymbolEncoding::None},
        {"MS Sans Serif", 0, "DejaVu Sans", 0, SymbolEncoding::None},
        {"Symbol", 2, "Liberation Serif", 0, SymbolEncoding::Symbol},
        {"Symbol", 0, "Liberation Serif", 0, SymbolEncoding::Symbol},
        {"Wingdings", 2, "DejaVu Sans", 0, SymbolEncoding::Wingdings},
        {"Webdings", 2, "DejaVu Sans", 0, SymbolEncoding::Webdings},
        {"Some Formula Face", 2, "Liberation Serif", 0, SymbolEncoding::Symbol},
        {"Arial", 2, "Liberation Serif", 0, SymbolEncoding::Symbol},
        {"No Such Face", 0, "DejaVu Sans", 0, SymbolEncoding::None},
        {"宋体", 134, "Noto Serif CJK SC", 0, SymbolEncoding::None},
        {"黑体", 134, "Noto Sans CJK SC", 0, SymbolEncoding::None},
    };
    for (const Row& row : rows) {
        const DeviceFont font = FontFor(Record(row.face, -40, row.charSet), 1.0, 1.0);
        EXPECT_EQ(QFontInfo(font.font).family(), QString::fromUtf8(row.family)) << row.face;
        EXPECT_EQ(font.font.stretch(), row.stretch) << row.face;
        EXPECT_EQ(font.encoding, row.encoding) << row.face;
    }
    // A Western face stays first in its list, so a system that has it uses it.
    EXPECT_EQ(FontFamiliesFor("Times New Roman").front(), QStringLiteral("Times New Roman"));
    EXPECT_EQ(FontFamiliesFor("Times New Roman").at(1), QStringLiteral("Liberation Serif"));
}

TEST(FaceSubstitution, SubstitutesHaveTheAverageWidthsOfTheFacesTheyStandFor)
{
    // The average character widths the original faces record, in 2048ths of an em.
    struct Row {
        const char* face;
        int32_t weight;
        double average;
    };
    const std::vector<Row> rows = {
        {"Arial", 400, 904},
        {"Times New Roman", 400, 821},
        {"Courier New", 400, 1229},
    };
    for (const Row& row : rows) {
        LogFont record = Record(row.face, -2048);
        record.SetWeight(row.weight);
        const FaceSubstitute face = SubstituteFace(QString::fromUtf8(row.face), 0);
        EXPECT_NEAR(AverageCharWidth(FontFor(record, 1.0, 1.0).font, face), row.average, 1.5)
            << row.face << " " << row.weight;
    }
    // The Chinese faces' Latin letters are half an em wide.
    const FaceSubstitute song = SubstituteFace(QString::fromUtf8("宋体"), 134);
    EXPECT_EQ(AverageCharWidth(FontFor(Record("宋体", -32), 1.0, 1.0).font, song), 16);
}

TEST(FaceSubstitution, AWidthScalesTheFaceToThatAverageCharacter)
{
    const QString sample = QStringLiteral("The quick brown fox jumps over the lazy dog");
    for (const char* face : {"Arial", "Times New Roman", "Courier New", "Arial Narrow", "Tahoma"}) {
        for (const int32_t width : {10, 20, 40}) {
            LogFont natural = Record(face, -40);
            LogFont record = natural;
            record.SetWidth(width);
            const FaceSubstitute substitute = SubstituteFace(QString::fromUtf8(face), 0);
            QFont plain = FontFor(natural, 1.0, 1.0).font;
            plain.setStretch(100);
            const double average = AverageCharWidth(plain, substitute);
            const double expected =
                QFontMetricsF(plain).horizontalAdvance(sample) * width / average;
            const double actual =
                QFontMetricsF(FontFor(record, 1.0, 1.0).font).horizontalAdvance(sample);
            EXPECT_NEAR(actual / expected, 1.0, 0.02) << face << " " << width;
        }
    }
}

TEST(FaceSubstitution, WeightsTakeTheNearestInstalledCut)
{
    struct Row {
        int32_t weight;
        bool bold;
    };
    const std::vector<Row> rows = {{0, false},  {100, false}, {400, false}, {500, false},
                                   {600, true}, {700, true},  {900, true},  {5000, true}};
    for (const char* face : {"Times New Roman", "Arial", "Courier New"}) {
        for (const Row& row : rows) {
            LogFont record = Record(face, -40);
            record.SetWeight(row.weight);
            const QRawFont raw = QRawFont::fromFont(FontFor(record, 1.0, 1.0).font);
            EXPECT_EQ(raw.styleName().contains(QStringLiteral("Bold")), row.bold)
                << face << " " << row.weight << " " << raw.styleName().toStdString();
        }
    }
}

TEST(FaceSubstitution, MixedScriptsShowNoMissingGlyphs)
{
    const QString mixed = QString::fromUtf8("Area 面积 α+β≤γ ∑∫√∞ Ωμ 中文 Ä€“”–");
    for (const char* face : {"Times New Roman", "Arial", "Courier New", "Arial Narrow", "Tahoma",
                             "宋体", "黑体", "微软雅黑", "No Such Face", ""}) {
        for (const int32_t weight : {400, 700}) {
            LogFont record = Record(face, -40, 134);
            record.SetWeight(weight);
            const std::vector<quint32> glyphs = GlyphsOf(FontFor(record, 1.0, 1.0).font, mixed);
            EXPECT_EQ(glyphs.size(), size_t(mixed.size())) << face;
            for (size_t i = 0; i < glyphs.size(); ++i) {
                EXPECT_NE(glyphs[i], 0u) << face << " character " << i;
            }
        }
    }
}

} // namespace
} // namespace figures
