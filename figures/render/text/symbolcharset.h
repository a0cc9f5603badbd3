#pragma once

#include <QString>

#include <cstdint>
#include <string_view>

namespace figures {

// How the characters of a font are numbered. Symbol fonts place their pictures on the
// codes of Latin letters: the Symbol face has the Greek letters where "a", "b", "g" stand
// (a = alpha, D = Delta, r = rho) and the mathematical signs in the upper half; the
// Wingdings and Webdings faces pictograms. None of these faces is installed here, so
// their codes are turned into the Unicode characters they show and drawn with a font
// that has those.
enum class SymbolEncoding {
    None,      // the codes are the characters
    Symbol,    // the Symbol face and any font of the symbol character set
    Wingdings, // the Wingdings faces
    Webdings,
};

// The character set number of symbol fonts in font records.
constexpr uint8_t kSymbolCharset = 2;

// The Unicode character a symbol code (0..255) shows, or 0 when the code has no picture
// in the encoding or the picture has no Unicode counterpart; codes of None come back
// unchanged.
char32_t SymbolCodeToUnicode(SymbolEncoding encoding, uint8_t code);

// Text in a symbol font as the characters it shows. Programs writing wide text in a
// symbol font use either the codes themselves (U+0020..U+00FF) or the same codes in the
// private area U+F020..U+F0FF; both are turned. Characters beyond those stay as they are,
// codes without a picture are left out. None returns the text unchanged.
QString SymbolTextToUnicode(SymbolEncoding encoding, const QString& text);

// One-byte text in a symbol font, each byte a code.
QString SymbolBytesToUnicode(SymbolEncoding encoding, std::string_view bytes);

} // namespace figures
