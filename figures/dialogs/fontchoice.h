#pragma once

#include "figures/render/text/logfont.h"

#include <cstdint>

class QWidget;

namespace figures {

// Lets the user choose a font and a text colour, starting from a font record in document
// units shown at its size on this screen. On OK the record gets the chosen face, size
// (back in document units), weight, italic, underline and strike-out, and colour the
// chosen colour; on cancel both stay untouched and the result is false.
bool ChooseFont(QWidget* parent, LogFont& font, uint32_t& colour);

// The screen's pixels per document unit that font sizes are converted with.
double ScreenUnitScale(const QWidget* widget);

} // namespace figures
