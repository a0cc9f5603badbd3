#pragma once

#include <QString>
#include <QStringList>

namespace app {

// The shapes the palette offers: index 0 is the custom shape, index n >= 1 the catalogue
// shape number n that the control's AddShape and SetShape take.
QStringList PaletteShapeNames();

// The category whose root row goes before the shape at index, or an empty text when the
// shape continues the category above it.
QString PaletteCategoryBefore(int index);

} // namespace app
