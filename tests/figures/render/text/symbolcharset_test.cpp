// Codes of symbol fonts turned into the characters they show.
#include "figures/render/text/fontmapping.h"
#include "figures/render/text/symbolcharset.h"

#include <QGlyphRun>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace figures {
namespace {

TEST(SymbolCharset, CodesShowTheirPictures)
{
    struct Row {
        SymbolEncoding encoding;
        uint8_t code;
        char32_t unicode;
    };
    using enum SymbolEncoding;
    const std::vector<Row> rows = {
        {Symbol, 'D', 0x0394},      {Symbol, 'r', 0x03C1},     {Symbol, 'a', 0x03B1},
        {Symbol, 'W', 0x03A9},      {Symbol, 'p', 0x03C0},     {Symbol, 'j', 0x03D5},
        {Symbol, '1', '1'},         {Symbol, '+', '+'},        {Symbol, '-', 0x2212},
        {Symbol, '"', 0x2200},      {Symbol, 0xA5, 0x221E},    {Symbol, 0xB3, 0x2265},
        {Symbol, 0xB9, 0x2260},     {Symbol, 0xD6, 0x221A},    {Symbol, 0xE5, 0x2211},
        {Symbol, 0xF2, 0x222B},     {Symbol, 0xFE, 0x23AD},    {Symbol, 0x80, 0},
        {Symbol, 0x7F, 0},          {Symbol, 0x0A, 0},         {Symbol, 0xFF, 0},
        {Wingdings, 0xFC, 0x2713},  {Wingdings, 0x81, 0x2460}, {Wingdings, 0x8A, 0x2469},
        {Wingdings, 0x4A, 0x263A},  {Wingdings, 0x69, 0x2653}, {Wingdings, 0x6C, 0x25CF},
        {Wingdings, 0xC2, 0x1F55B}, {Wingdings, 0x30, 0},      {Wingdings, 0xFF, 0},
        {Webdings, 0x34, 0x25B6},   {Webdings, 0x3A, 0x23ED},  {Webdings, 'a', 0},
        {None, 'a', 'a'},           {None, 0xE9, 0xE9},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(SymbolCodeToUnicode(row.encoding, row.code), row.unicode)
            << int(row.encoding) << " " << int(row.code);
    }
}

TEST(SymbolCharset, TextInASymbolFontBecomesWhatItShows)
{
    // Wide text uses the codes or their private-use copies; other characters stay.
    EXPECT_EQ(SymbolTextToUnicode(SymbolEncoding::Symbol, QString::fromUtf16(u"Dx=\uF072\uF0B4p")),
              QString::fromUtf16(u"Δξ=ρ×π"));
    EXPECT_EQ(SymbolTextToUnicode(SymbolEncoding::Symbol, QString::fromUtf16(u"a\u4E2D\x80")),
              QString::fromUtf16(u"α中"))
        << "a code without a picture is left out";
    EXPECT_EQ(SymbolTextToUnicode(SymbolEncoding::Wingdings, QString::fromUtf16(u"\uF0B7")),
              QString::fromUcs4(U"\U0001F550"));
    EXPECT_EQ(SymbolTextToUnicode(SymbolEncoding::None, QStringLiteral("Dr")),
              QStringLiteral("Dr"));
    EXPECT_EQ(SymbolBytesToUnicode(SymbolEncoding::Symbol, "S\xE5\xA5"),
              QString::fromUtf16(u"Σ∑∞"));

    // Shape text in the Symbol face shows Greek, byte for byte rather than as GBK.
    LogFont font;
    font.SetFaceName("Symbol");
    font.SetCharSet(kSymbolCharset);
    EXPECT_EQ(DeviceText(FontFor(font, 1.0, 1.0), "a\xB3\xB1"), QString::fromUtf16(u"α≥±"));
    LogFont song;
    EXPECT_EQ(DeviceText(FontFor(song, 1.0, 1.0), "\xD6\xD0"), QString::fromUtf16(u"中"));
}

// Whether every character of text has a glyph in font.
bool AllGlyphsFound(const QFont& font, const QString& text)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const QGlyphRun& run : layout.glyphRuns()) {
        for (const quint32 glyph : run.glyphIndexes()) {
            if (glyph == 0) {
                return false;
            }
        }
    }
    return true;
}

TEST(SymbolCharset, PicturesInCommonUseHaveGlyphs)
{
    // Every picture of the Symbol face, which formulas are written in; of Wingdings the
    // bullets, numbers, check marks, boxes, hands and arrows of lists and forms. (Some
    // rarer pictures only show where a font of pictographs is installed.)
    struct Row {
        const char* face;
        std::vector<int> codes;
    };
    std::vector<int> symbolCodes;
    for (int code = 0x21; code <= 0xFF; ++code) {
        symbolCodes.push_back(code);
    }
    const std::vector<Row> rows = {
        {"Symbol", symbolCodes},
        {"Wingdings",
         {0x21, 0x22, 0x28, 0x46, 0x4A, 0x4C, 0x6C, 0x6E, 0x6F, 0x71, 0x75, 0x76, 0x81, 0x8A,
          0x8C, 0x95, 0x9F, 0xA1, 0xAB, 0xD8, 0xE8, 0xEF, 0xF0, 0xFB, 0xFC, 0xFD, 0xFE}},
        {"Webdings", {0x33, 0x34, 0x35, 0x36}},
    };
    for (const Row& row : rows) {
        LogFont record;
        record.SetFaceName(row.face);
        record.SetCharSet(kSymbolCharset);
        const DeviceFont font = FontFor(record, 1.0, 1.0);
        for (const int code : row.codes) {
            const char32_t c = SymbolCodeToUnicode(font.encoding, uint8_t(code));
            if (c != 0) {
                EXPECT_TRUE(AllGlyphsFound(font.font, QString::fromUcs4(&c, 1)))
                    << row.face << " code " << code;
            } else {
                EXPECT_NE(row.face, std::string_view("Wingdings")) << code;
            }
        }
    }
}

} // namespace
} // namespace figures
